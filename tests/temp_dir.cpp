// temp_dir.cpp
#include "temp_dir.h"

#include <cstdlib>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "drovana-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        std::abort();
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}
