// temp_dir.h: a fresh folder per test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct TempDir {
    std::filesystem::path path;
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name) const { return (path / name).string(); }
    // The names of what the folder holds, sorted.
    std::vector<std::string> names() const;
};
