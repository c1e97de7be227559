// Where the game finds data.pak: beside itself in the build, in its share folder when installed.
#include "platform/data_location.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

void touch(const std::filesystem::path& file) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "x";
}

// Beside the program first, then the share folder of its own prefix (so a moved prefix still
// finds its data), then the configured folder; with none of them, the program's own folder.
TEST(DataLocation, BesideTheProgramThenItsShareFolderThenTheConfiguredOne) {
    TempDir prefix, configured;
    const std::string bin = prefix.file("bin") + "/", share = prefix.file("share/drovana") + "/";
    const std::string installed = configured.path.string() + "/";
    std::filesystem::create_directories(share + "data.pak"); // a folder is not the archive
    EXPECT_EQ(chooseDataFolder(bin, installed), bin);
    EXPECT_EQ(chooseDataFolder(bin, ""), bin);
    touch(installed + "data.pak");
    EXPECT_EQ(chooseDataFolder(bin, installed), installed);
    EXPECT_EQ(chooseDataFolder(bin, configured.path.string()), installed); // slash added
    std::filesystem::remove(share + "data.pak");
    touch(share + "data.pak");
    EXPECT_EQ(chooseDataFolder(bin, installed), share);
    touch(bin + "data.pak");
    EXPECT_EQ(chooseDataFolder(bin, installed), bin);
}

} // namespace
