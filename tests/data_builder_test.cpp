// The data builder itself: the same bytes on every run.
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<char> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(DataBuilder, TwoRunsWriteIdenticalBytes) {
    TempDir dir;
    const std::string builder = std::string(DROVANA_BUILD_DIR) + "/make-data";
    for (const char* name : {"a.pak", "b.pak"}) {
        const std::string command = "'" + builder + "' '" + dir.file(name) + "' > /dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    const std::vector<char> a = readAll(dir.file("a.pak"));
    EXPECT_GT(a.size(), 100000u);
    EXPECT_LT(a.size(), 3u * 1024 * 1024) << "pictures, model, animations and sounds together";
    EXPECT_TRUE(a == readAll(dir.file("b.pak")));
    EXPECT_TRUE(a == readAll(std::string(DROVANA_BUILD_DIR) + "/data.pak"));
}

TEST(DataBuilder, ContactSheetsComposeEveryScreen) {
    TempDir dir;
    const std::string command = "'" + std::string(DROVANA_BUILD_DIR) +
                                "/make-data' --contact-sheets '" + std::string(DROVANA_BUILD_DIR) +
                                "/data.pak' '" + dir.file("sheets") + "' > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* sheet :
         {"01_start.png", "02_pressed.png", "07_court5.png", "19_keyboard.png", "21_start.png",
          "all_screens.png", "Tenista_Saque.png", "Tenista_Salto_Reves.png"})
        EXPECT_FALSE(readAll(dir.file("sheets") + "/" + sheet).empty()) << sheet;
}

} // namespace
