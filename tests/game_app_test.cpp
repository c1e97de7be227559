// The game object through the real shell, the headless display, the built data.pak and a real
// players.dat in a temporary folder.
#include "app/game_app.h"
#include "app/shell.h"
#include "assets/file_error.h"
#include "assets/image_button.h"
#include "assets/sound_set.h"
#include "match/match.h"
#include "platform/sound_output.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct GameAppFixture : ::testing::Test {
    TempDir home;
    Platform* platform = platformOpenHeadless();
    SoundOutput* sound = soundOutputOpenHeadless();
    GameApp* app = nullptr;
    ShellState shell;
    void SetUp() override {
        std::srand(11);
        GameSetup setup;
        setup.dataFolder = fromUtf8(std::string(DROVANA_BUILD_DIR) + "/");
        setup.playersPath = home.file("players.dat");
        setup.output = sound;
        setup.platform = platform;
        app = makeGameApp(setup);
        shell.platform = platform;
        shellStartClock(shell);
    }
    void TearDown() override {
        destroyGameApp(app);
        soundOutputClose(sound);
        platformClose(platform);
    }
    void runFrames(int frames) {
        for (int i = 0; i < frames; ++i) {
            platform->clockNow += 20000;
            ASSERT_TRUE(shellPass(shell, app));
        }
    }
    void tap(int x, int y) {
        platformInjectEvent(platform, {PlatformEventType::StylusDown, x, y});
        platformInjectEvent(platform, {PlatformEventType::StylusUp, x, y});
        runFrames(1);
    }
};

TEST(GameAppStart, MissingArchiveRaisesCannotOpenFileWithoutLeaks) {
    TempDir dir;
    GameSetup setup;
    setup.dataFolder = fromUtf8(dir.path.string() + "/");
    setup.playersPath = dir.file("players.dat");
    try {
        makeGameApp(setup);
        FAIL() << "no FileError";
    } catch (const FileError& error) {
        EXPECT_EQ(error.message, u"Cannot open file");
    }
}

TEST_F(GameAppFixture, StartsAtTheLogoAndTheFirstTapOpensTheMainMenu) {
    EXPECT_EQ(app->screen, Logo);
    EXPECT_TRUE(app->buttons.empty());
    runFrames(2);
    tap(120, 160);
    EXPECT_EQ(app->screen, MainMenu);
    EXPECT_EQ(app->buttons.size(), 7u);
}

} // namespace
