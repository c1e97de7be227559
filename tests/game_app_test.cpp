// The game object through the real shell, the headless display and the built data.pak.
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
    Platform* platform = platformOpenHeadless();
    SoundOutput* sound = soundOutputOpenHeadless();
    GameApp* app = nullptr;
    ShellState shell;
    void SetUp() override {
        std::srand(11);
        app = makeGameApp(fromUtf8(std::string(DROVANA_BUILD_DIR) + "/"), sound);
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
    }
};

TEST(GameAppStart, MissingArchiveRaisesCannotOpenFileWithoutLeaks) {
    TempDir dir;
    try {
        makeGameApp(fromUtf8(dir.path.string() + "/"), nullptr);
        FAIL() << "no FileError";
    } catch (const FileError& error) {
        EXPECT_EQ(error.message, u"Cannot open file");
    }
}

TEST_F(GameAppFixture, PlaysTheMatchOnTheFirstCourt) {
    EXPECT_EQ(app->screen, ExhibitionMatch);
    EXPECT_EQ(app->stadium, 0);
    const Fixed pauseBefore = fxAdd(app->match->pointDelay, app->match->setupDelay);
    runFrames(60);
    EXPECT_NE(fxAdd(app->match->pointDelay, app->match->setupDelay), pauseBefore);
    // The first frame wrote the whole display; the court picture is there, not the fills.
    EXPECT_NE(platformDisplayPixel(platform, 120, 300), 0x0000);
    EXPECT_NE(platformDisplayPixel(platform, 120, 300), toRgb565(0x01010101));
}

TEST_F(GameAppFixture, CloseButtonStartsANewMatchOnTheNextCourt) {
    runFrames(5);
    ImageButton* close = app->buttons[kCloseButtonSlot];
    const size_t before = sound->requests.size();
    tap(close->left + 2, close->top + 2);
    runFrames(1);
    EXPECT_EQ(app->stadium, 1);
    ASSERT_GT(sound->requests.size(), before);
    EXPECT_EQ(sound->requests[before], SoundStroke2);
}

TEST_F(GameAppFixture, FinishedMatchMovesToTheNextStadiumAfterItsPause) {
    runFrames(1); // the first frame advances nothing
    app->match->matchOver = 1;
    app->match->pointDelay = 1;
    runFrames(1);
    EXPECT_EQ(app->stadium, 1);
    EXPECT_EQ(app->match->matchOver, 0);
}

TEST_F(GameAppFixture, TapOnTheCourtReachesTheMatch) {
    runFrames(3);
    platformInjectEvent(platform, {PlatformEventType::StylusDown, 120, 280});
    runFrames(1);
    EXPECT_EQ(app->screen, ExhibitionMatch); // no button there: the tap went onto the court
}

TEST_F(GameAppFixture, PlaysTheSoundsOfEachStepInTheirOrderWithinTheFrame) {
    // Both players left to the computer, so the match plays itself.
    app->match->players[0].isComputer = 1;
    size_t heard = 0;
    for (int frame = 0; frame < 3000 && heard < 40; ++frame) {
        const size_t before = sound->requests.size();
        gameUpdate(app, 3276);
        const StepSounds& step = app->match->stepSounds;
        const std::vector<int> played(sound->requests.begin() + static_cast<long>(before),
                                      sound->requests.end());
        ASSERT_EQ(played, std::vector<int>(step.ids, step.ids + step.count)) << "frame " << frame;
        heard += played.size();
    }
    EXPECT_GE(heard, 40u);
}

} // namespace
