// built_data.cpp: where the build leaves data.pak.
#include "built_data.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "assets/pak_archive.h"

std::string builtDataPath() {
    return std::string(DROVANA_BUILD_DIR) + "/data.pak";
}

PakArchive* openBuiltData() {
    const std::string path = builtDataPath();
    EXPECT_TRUE(std::filesystem::exists(path)) << path << " was not built";
    PakArchive* archive = pakOpen(fromUtf8(path), 1);
    EXPECT_GT(archive->entryCount, 0);
    return archive;
}
