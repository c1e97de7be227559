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

struct DataLocationFixture : ::testing::Test {
    TempDir prefix;
    std::string bin = prefix.path.string() + "/bin/";
    std::string share = prefix.path.string() + "/share/drovana/";
    TempDir configured;
    std::string installed = configured.path.string() + "/";
};

TEST_F(DataLocationFixture, ArchiveBesideTheProgramComesFirst) {
    touch(bin + "data.pak");
    touch(share + "data.pak");
    touch(installed + "data.pak");
    EXPECT_EQ(chooseDataFolder(bin, installed), bin);
}

TEST_F(DataLocationFixture, InstalledGameReadsItsOwnPrefixsShareFolder) {
    touch(share + "data.pak");
    touch(installed + "data.pak");
    EXPECT_EQ(chooseDataFolder(bin, installed), share); // a moved prefix still finds its data
}

TEST_F(DataLocationFixture, ConfiguredFolderIsTheLastResort) {
    touch(installed + "data.pak");
    EXPECT_EQ(chooseDataFolder(bin, installed), installed);
    EXPECT_EQ(chooseDataFolder(bin, configured.path.string()), installed); // slash added
}

TEST_F(DataLocationFixture, NoArchiveAnywhereNamesTheProgramsFolder) {
    std::filesystem::create_directories(share + "data.pak"); // a folder is not the archive
    EXPECT_EQ(chooseDataFolder(bin, installed), bin);
    EXPECT_EQ(chooseDataFolder(bin, ""), bin);
}

TEST(DataLocation, TheBuiltGameFindsTheBuiltArchive) {
    const std::string build = std::string(DROVANA_BUILD_DIR) + "/";
    EXPECT_EQ(chooseDataFolder(build, ""), build);
}

} // namespace
