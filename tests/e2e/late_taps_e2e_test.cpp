// late_taps_e2e_test.cpp: taps as a person makes them, through the real game: the return asked
// for after the ball has bounced, the natural cue. (Taps before it are what the scripted person
// and every played match make.)
#include <gtest/gtest.h>

#include "driver_runner.h"
#include "temp_dir.h"

namespace {

constexpr double kRaw = 65536.0;
// More frames than any one wait below can need: a serve or a ball's flight takes a second or two.
constexpr int kMaxFrames = 900;
// Screen points of the court: the opponent's half beyond the net, its service box on the left
// of the screen, and its deep centre.
constexpr const char* kOpponentHalf = "tap 120 107";
constexpr const char* kServiceBox = "tap 97 116";
constexpr const char* kDeepCentre = "tap 120 91";

Json matchOf(DriverProcess& driver) {
    return readState(driver)["match"];
}

// Runs frame by frame until the condition holds or the point ends; the last match state.
template <typename Condition> Json runUntil(DriverProcess& driver, Condition condition) {
    Json m = matchOf(driver);
    for (int i = 0; i < kMaxFrames && !condition(m) && m["pointDelay"] == 0; ++i) {
        sendCommand(driver, "frames 1");
        m = matchOf(driver);
    }
    return m;
}

// An exhibition against the Beginner: player 1 serves toward the box, the computer returns, and
// player 1 asks for its shot once the ball has bounced, a tenth of a second late as a person is.
// The match state after the return was met, or after the point ended.
Json returnAfterTheBounce(unsigned seed) {
    TempDir home;
    DriverProcess driver;
    startDriver(driver, {"--home", home.path.string(), "--seed", std::to_string(seed)});
    for (const char* tap : {"tap 1 1", "tap 180 147", "tap 214 306", "tap 214 306", "tap 214 306",
                            kOpponentHalf}) // the last one cuts the pause before the first point
        sendCommand(driver, tap);
    Json m = matchOf(driver);
    for (int i = 0; i < kMaxFrames && !(m["serveMeterOn"] == 1 && m["serveMeter"] > 0.9 * kRaw);
         ++i) {
        sendCommand(driver, "frames 1");
        m = matchOf(driver);
    }
    sendCommand(driver, kServiceBox);
    m = runUntil(driver, [](const Json& s) { return s["tally"]["strokes"] == 2; });
    EXPECT_EQ(m["tally"]["strokes"], 2) << "seed " << seed << ": the serve was not returned";
    runUntil(driver,
             [](const Json& s) { return s["ball"]["position"][2] > 0 && s["bounced"] == 1; });
    sendCommand(driver, "frames 6");
    sendCommand(driver, kDeepCentre);
    return runUntil(driver, [](const Json& s) { return s["tally"]["strokes"] == 3; });
}

int32_t groundStrokes(const Json& m) {
    const Json& strokes = m["tally"]["players"][0]["strokes"];
    return strokes["forehand"].get<int32_t>() + strokes["backhand"].get<int32_t>();
}

} // namespace

TEST(LateTaps, AReturnAskedForAfterTheBounceIsStillPlayed) {
    for (unsigned seed : {1u, 3u, 4u}) {
        const Json m = returnAfterTheBounce(seed);
        EXPECT_EQ(m["tally"]["strokes"], 3) << "seed " << seed << ": the return never met the ball";
        EXPECT_EQ(groundStrokes(m), 1) << "seed " << seed;
    }
}
