// The shell's frame stepping and event routing, driven through the headless platform.
#include "app/shell.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct RecordingGame {
    std::vector<Fixed> updates;
    int afterUpdates = 0;
    int renders = 0;
    std::vector<int> presents; // fullCopy of each present
    std::vector<std::pair<int, int>> downs, ups;
    uint8_t acceptPress = 1;
};

void gameUpdate(RecordingGame* g, Fixed dt) {
    g->updates.push_back(dt);
}
void gameAfterUpdate(RecordingGame* g) {
    ++g->afterUpdates;
}
void gameRender(RecordingGame* g) {
    ++g->renders;
}
bool gamePresent(RecordingGame* g, uint8_t*, const DisplayPitches&, uint8_t fullCopy, ScreenRows&) {
    g->presents.push_back(fullCopy);
    return true;
}
uint8_t gameStylusDown(RecordingGame* g, int x, int y) {
    g->downs.push_back({x, y});
    return g->acceptPress;
}
void gameStylusUp(RecordingGame* g, int dx, int dy) {
    g->ups.push_back({dx, dy});
}

std::vector<Fixed> stepsFor(double seconds) {
    Fixed steps[2];
    return std::vector<Fixed>(steps, steps + frameSteps(seconds, steps));
}

TEST(FrameSteps, SplitElapsedTimeThroughSinglePrecision) {
    EXPECT_EQ(stepsFor(0.030), (std::vector<Fixed>{1966}));
    EXPECT_EQ(stepsFor(0.070), (std::vector<Fixed>{3276, 1310}));
    EXPECT_EQ(stepsFor(0.050), (std::vector<Fixed>{3276})); // from the rest, not two steps
    EXPECT_EQ(stepsFor(0.100), (std::vector<Fixed>{3276, 3276}));
    EXPECT_EQ(stepsFor(7.500), (std::vector<Fixed>{3276, 3276}));
    EXPECT_TRUE(stepsFor(0.005).empty());
    EXPECT_TRUE(stepsFor(0.004).empty());
    EXPECT_TRUE(stepsFor(-1.0).empty()); // a clock that went backwards advances nothing
}

struct ShellFixture : ::testing::Test {
    Platform* platform = platformOpenHeadless();
    ShellState shell;
    RecordingGame game;
    ShellFixture() {
        platform->clockFrequency = 1000000;
        platform->clockNow = 5000000;
        shell.platform = platform;
        shellStartClock(shell);
    }
    ~ShellFixture() override { platformClose(platform); }
    void tickAt(uint64_t microseconds) {
        platform->clockNow = 5000000 + microseconds;
        frameTick(shell, &game);
    }
    void send(PlatformEventType type, int x = 0, int y = 0, int key = KeyOther) {
        handleEvent(shell, &game, PlatformEvent{type, x, y, key});
    }
};

TEST_F(ShellFixture, FirstFrameAdvancesNothingAndShortPassesKeepTheirTime) {
    tickAt(0);
    EXPECT_EQ(game.renders, 1);
    EXPECT_EQ(game.presents, (std::vector<int>{0}));
    tickAt(3000); // 3 ms: nothing advanced, drawn again
    EXPECT_TRUE(game.updates.empty());
    EXPECT_EQ(game.afterUpdates, 0);
    EXPECT_EQ(game.renders, 2);
    tickAt(30000); // counted from the last advancing frame
    EXPECT_EQ(game.updates, (std::vector<Fixed>{1966}));
    EXPECT_EQ(game.afterUpdates, 1);
    tickAt(100000);
    EXPECT_EQ(game.updates, (std::vector<Fixed>{1966, 3276, 1310}));
    EXPECT_EQ(game.afterUpdates, 2);
}

TEST_F(ShellFixture, BackgroundAdvancesWithoutDrawing) {
    tickAt(0);
    platform->foreground = false;
    tickAt(40000);
    EXPECT_EQ(game.updates.size(), 1u);
    EXPECT_EQ(game.renders, 1);
    send(PlatformEventType::Paint);
    EXPECT_EQ(game.presents, (std::vector<int>{0}));
    platform->foreground = true;
    send(PlatformEventType::Paint);
    EXPECT_EQ(game.presents, (std::vector<int>{0, 1}));
}

TEST_F(ShellFixture, ReleaseReachesTheGameOnlyAfterAnAcceptedPress) {
    game.acceptPress = 0;
    send(PlatformEventType::StylusDown, 10, 20);
    send(PlatformEventType::StylusUp, 15, 22);
    EXPECT_TRUE(game.ups.empty());
    game.acceptPress = 1;
    send(PlatformEventType::StylusDown, 100, 200);
    send(PlatformEventType::StylusUp, 90, 230);
    ASSERT_EQ(game.ups.size(), 1u);
    EXPECT_EQ(game.ups[0], std::make_pair(-10, 30));
    send(PlatformEventType::StylusUp, 1, 1); // a second release has no press behind it
    EXPECT_EQ(game.ups.size(), 1u);
}

// A pass handles every waiting event, then draws; the quit key or closing the window ends the game
// before the frame, any other key does not.
TEST_F(ShellFixture, PassDrainsEventsBeforeTheFrameAndOnlyTheQuitKeyOrCloseEndsIt) {
    platformInjectEvent(platform, {PlatformEventType::StylusDown, 3, 4});
    platformInjectEvent(platform, {PlatformEventType::StylusUp, 3, 4});
    platformInjectEvent(platform, {PlatformEventType::KeyDown, 0, 0, KeyOther});
    EXPECT_TRUE(shellPass(shell, &game));
    EXPECT_EQ(game.downs.size(), 1u);
    EXPECT_EQ(game.ups.size(), 1u);
    EXPECT_EQ(game.renders, 1);
    platformInjectEvent(platform, {PlatformEventType::KeyDown, 0, 0, KeyA});
    EXPECT_FALSE(shellPass(shell, &game));
    shell.quitRequested = false;
    platformInjectEvent(platform, {PlatformEventType::Close});
    EXPECT_FALSE(shellPass(shell, &game));
    EXPECT_EQ(game.renders, 1);
}

} // namespace
