// F12 screenshots: the picture equals the display pixel for pixel, its name and its folder.
#include "platform/screenshot.h"

#include "game_fixture.h"
#include "writers/png_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// RGB565 widened as a viewer expects: the top bits repeated, so full intensity is 255.
void expectPixelMatchesDisplay(const std::vector<uint8_t>& rgb, int width, int px, int py,
                               uint16_t display) {
    const size_t at = (static_cast<size_t>(py) * width + px) * 3;
    const int r = display >> 11, g = (display >> 5) & 0x3F, b = display & 0x1F;
    ASSERT_EQ(rgb[at], (r << 3) | (r >> 2)) << px << "," << py;
    ASSERT_EQ(rgb[at + 1], (g << 2) | (g >> 4)) << px << "," << py;
    ASSERT_EQ(rgb[at + 2], (b << 3) | (b >> 2)) << px << "," << py;
}

// The real game on the headless display, at the logo, so the picture has real content.
struct ShownGame : ::testing::Test {
    RunningGame game{{.dataFolder = DROVANA_BUILD_DIR, .pitches = {2, 480}}};
    Platform* platform = game.platform.get();
    const TempDir& home = game.home;
    ShownGame() { frameTick(game.shell, game.app.get()); }
};

TEST_F(ShownGame, PictureIsTheDisplayPixelForPixelAtEachScale) {
    for (const int scale : {1, 3}) {
        const std::string path = home.file("shot" + std::to_string(scale) + ".png");
        ASSERT_TRUE(writeDisplayPng(platform, scale, path));
        std::vector<uint8_t> rgb;
        int width = 0, height = 0;
        ASSERT_TRUE(readPngRgb(path, rgb, width, height));
        ASSERT_EQ(width, 240 * scale);
        ASSERT_EQ(height, 320 * scale);
        int distinct = 0;
        for (int y = 0; y < 320; ++y)
            for (int x = 0; x < 240; ++x) {
                const uint16_t shown = platformDisplayPixel(platform, x, y);
                distinct += shown != platformDisplayPixel(platform, 0, 0);
                // Every copy of a display pixel, nearest neighbour.
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx)
                        expectPixelMatchesDisplay(rgb, width, x * scale + sx, y * scale + sy,
                                                  shown);
            }
        EXPECT_GT(distinct, 1000); // the logo, not an empty display
    }
}

// The installed game's F12 (tests/release) shows where a shot goes and what the game says; here,
// two shots within one second.
TEST_F(ShownGame, SavedIntoThePicturesFolderWithoutOverwriting) {
    const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const char* oldConfig = std::getenv("XDG_CONFIG_HOME");
    const std::string keptConfig = oldConfig ? oldConfig : "";
    setenv("HOME", home.path.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    const std::string first = saveScreenshot(platform);
    const std::string second = saveScreenshot(platform); // very likely the same second
    setenv("HOME", oldHome.c_str(), 1);
    if (oldConfig)
        setenv("XDG_CONFIG_HOME", keptConfig.c_str(), 1);
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    EXPECT_NE(first, second);
    EXPECT_EQ(std::filesystem::path(second).parent_path(), home.path / "Pictures");
    EXPECT_TRUE(std::filesystem::exists(first) && std::filesystem::exists(second));
}

TEST(ScreenshotName, DateAndTimeThenACounter) {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    EXPECT_EQ(screenshotFileName(t, 1), "drovana-2026-12-07_09-05-03.png");
    EXPECT_EQ(screenshotFileName(t, 2), "drovana-2026-12-07_09-05-03-2.png");
}

TEST(PicturesFolder, UserDirsFileThenPicturesInHome) {
    TempDir dir;
    const std::string home = dir.path.string();
    EXPECT_EQ(picturesFolder(home, ""), home + "/Pictures");
    EXPECT_EQ(picturesFolder("", ""), "");
    std::filesystem::create_directories(dir.path / "config");
    std::ofstream(dir.file("config/user-dirs.dirs"))
        << "# written by a desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(picturesFolder(home, home + "/config"), home + "/Bilder");
    EXPECT_EQ(picturesFolder(home, "config"), home + "/Pictures"); // relative: not a config home
    std::ofstream(dir.file("config/user-dirs.dirs")) << "XDG_PICTURES_DIR=\"/srv/shots\"\n";
    EXPECT_EQ(picturesFolder(home, home + "/config"), "/srv/shots");
    // A pictures folder set to home itself means "none": keep home tidy.
    std::ofstream(dir.file("config/user-dirs.dirs")) << "XDG_PICTURES_DIR=\"$HOME/\"\n";
    EXPECT_EQ(picturesFolder(home, home + "/config"), home + "/Pictures");
}

TEST_F(ShownGame, UnwritableFolderIsAFailureNotASave) {
    EXPECT_FALSE(writeDisplayPng(platform, 1, "/proc/no-such-folder/shot.png"));
}

} // namespace
