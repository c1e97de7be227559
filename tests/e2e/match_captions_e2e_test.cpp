// match_captions_e2e_test.cpp: the caption of a change of ends, on the screens the driver shoots
// during the pause and just after it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "driver_runner.h"
#include "temp_dir.h"
#include "writers/png_reader.h"

namespace {

// Where "Change of ends" stands: fourteen 8 x 16 cells centred on (120, 120).
constexpr int kCaptionLeft = 64, kCaptionTop = 112, kCaptionWidth = 112, kCaptionHeight = 16;
constexpr int kMaxWaits = 2000;      // half seconds: far beyond the first games of a match
constexpr int32_t kFrameStep = 1092; // 1/60 s, as the driver's frames step the game

struct Shot {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
};

Shot shoot(DriverProcess& driver, const TempDir& home, const std::string& name) {
    const std::string path = home.file(name);
    sendCommand(driver, "shot " + path);
    Shot shot;
    readState(driver); // the shot is written once the driver answers the next command
    EXPECT_TRUE(readPngRgb(path, shot.rgb, shot.width, shot.height)) << path;
    return shot;
}

// The share of the caption's pixels that are the picture behind them darkened to half, as
// every text cell draws its blank pixels; near 0 where no text stands.
double darkenedShare(const Shot& withText, const Shot& without) {
    if (withText.rgb.size() != 240u * 320u * 3u || without.rgb.size() != withText.rgb.size())
        return -1;
    int darkened = 0;
    for (int y = kCaptionTop; y < kCaptionTop + kCaptionHeight; ++y)
        for (int x = kCaptionLeft; x < kCaptionLeft + kCaptionWidth; ++x) {
            bool halved = true;
            for (int c = 0; c < 3; ++c) {
                const size_t i = (static_cast<size_t>(y) * 240 + x) * 3 + c;
                // The display keeps 5 or 6 bits a channel: a step of 8 either way is one unit.
                halved = halved && std::abs(withText.rgb[i] - without.rgb[i] / 2) <= 8 &&
                         without.rgb[i] > 24;
            }
            darkened += halved ? 1 : 0;
        }
    return static_cast<double>(darkened) / (kCaptionWidth * kCaptionHeight);
}

// Plays on until a point ends a game; the state at the start of that pause.
Json playToTheNextGame(DriverProcess& driver) {
    Json state = readState(driver);
    const Json gamesBefore = state["match"]["setScoreText"];
    for (int i = 0; i < kMaxWaits; ++i) {
        sendCommand(driver, "wait 0.5");
        state = readState(driver);
        const Json& m = state["match"];
        if (m["setScoreText"] != gamesBefore && m["pointDelay"] > 0)
            return state;
    }
    ADD_FAILURE() << "no game ended";
    return state;
}

// In the pause after the game of `state`, once the players stand at their new ends, and at
// the first frame after it: how much of the caption's place is darkened text.
double captionInPause(DriverProcess& driver, const TempDir& home, const Json& state) {
    sendCommand(driver, "wait 2.5"); // the next point is laid out 2 s into the pause
    Json during = readState(driver);
    EXPECT_EQ(during["match"]["setupDelay"], 0);
    EXPECT_GT(during["match"]["pointDelay"], 0);
    EXPECT_EQ(during["match"]["endsSwapped"], state["match"]["endsSwapped"]);
    const Shot paused = shoot(driver, home, "paused.png");
    const int32_t left = during["match"]["pointDelay"];
    sendCommand(driver, "frames " + std::to_string(left / kFrameStep + 1));
    EXPECT_EQ(readState(driver)["match"]["pointDelay"], 0);
    return darkenedShare(paused, shoot(driver, home, "after.png"));
}

} // namespace

// The first game's odd total changes the ends, the second's even one does not; a computer
// plays player 1 so the match runs by itself.
TEST(ChangeOfEnds, CaptionShownInThePauseOfAChangeAndNotInAnother) {
    TempDir home;
    DriverProcess driver;
    startDriver(driver, {"--home", home.path.string(), "--seed", "11"});
    for (const char* tap : {"tap 1 1", "tap 180 147", "tap 214 306", "tap 214 306"})
        sendCommand(driver, tap);
    sendCommand(driver, "auto on");
    sendCommand(driver, "tap 214 306");
    ASSERT_EQ(readState(driver)["screen"], "ExhibitionMatch");

    const Json first = playToTheNextGame(driver);
    ASSERT_EQ(first["match"]["games"][0].get<int>() + first["match"]["games"][1].get<int>(), 1);
    EXPECT_EQ(first["match"]["endsSwapped"], 1);
    EXPECT_GT(captionInPause(driver, home, first), 0.6);

    const Json second = playToTheNextGame(driver);
    ASSERT_EQ(second["match"]["games"][0].get<int>() + second["match"]["games"][1].get<int>(), 2);
    EXPECT_EQ(second["match"]["endsSwapped"], 1);
    EXPECT_LT(captionInPause(driver, home, second), 0.05);

    sendCommand(driver, "key a");
    EXPECT_EQ(finishDriver(driver), 0);
}
