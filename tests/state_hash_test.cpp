// The match state hash: every part of the state counts, stale step sounds do not, and the value
// itself stays put (replays already written hold it).
#include "core/game_random.h"
#include "match/match.h"
#include "match/state_hash.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

MatchPlayer player(bool computer) {
    MatchPlayer p = {};
    p.isComputer = computer ? 1 : 0;
    p.skills = {fx(5.0), fx(0.5), fx(0.5), fx(0.5), fx(0.5), fx(0.5), fx(0.5), fx(0.5)};
    return p;
}

struct StateHash : ::testing::Test {
    Match* match = createMatch();
    ~StateHash() override { destroyMatch(match); }
    void SetUp() override {
        seedGameRandom(5);
        setUpMatch(match, 2, fx(0.5), player(false), player(true));
        setSurface(match, 3);
        for (int i = 0; i < 200; ++i) { // into the first points, the computer drawing numbers
            Fixed dt = 1092;
            stepMatch(match, dt);
        }
    }
};

TEST_F(StateHash, AChangeAnywhereInTheStateChangesIt) {
    const uint64_t base = matchStateHash(*match);
    EXPECT_EQ(matchStateHash(*match), base);
    const std::vector<std::function<void(Match&)>> changes = {
        [](Match& m) { m.setScoreText[kSetScoreTextLength - 1] ^= 1; },
        [](Match& m) { m.players[1].animTime += 1; },
        [](Match& m) { m.players[0].skills.lob += 1; },
        [](Match& m) { m.players[1].lostSet ^= 1; },
        [](Match& m) { m.ball.spinAxis.z += 1; },
        [](Match& m) { m.net.hasTopEdge ^= 1; },
        [](Match& m) { m.ground.friction += 1; },
        [](Match& m) { m.tally.rallyStrokes += int64_t{1} << 32; }, // the high word counts too
        [](Match& m) { m.tally.players[1].errors[kStrokeKinds - 1] += 1; },
        [](Match& m) { m.targetBox[BoxZMax] += 1; },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        Match changed = *match;
        changes[i](changed);
        EXPECT_NE(matchStateHash(changed), base) << "change " << i;
    }
}

TEST_F(StateHash, SoundsLeftFromEarlierStepsDoNotCount) {
    Match a = *match, b = *match;
    a.stepSounds.count = 1;
    b.stepSounds.count = 1;
    a.stepSounds.ids[0] = b.stepSounds.ids[0] = 3;
    a.stepSounds.ids[5] = 1;
    b.stepSounds.ids[5] = 7;
    EXPECT_EQ(matchStateHash(a), matchStateHash(b));
    b.stepSounds.ids[0] = 4;
    EXPECT_NE(matchStateHash(a), matchStateHash(b));
}

// The known FNV-1a values, and one match state pinned: a replay holds the hash its match ended
// in, so the function and the simulation both must stay as they are.
TEST_F(StateHash, KnownValues) {
    const uint8_t text[] = {'a'};
    EXPECT_EQ(hashBytes(kStateHashStart, text, 1), 0xaf63dc4c8601ec8cull);
    EXPECT_EQ(hashWord(kStateHashStart, 0x64636261u),
              hashBytes(kStateHashStart, reinterpret_cast<const uint8_t*>("abcd"), 4));
    EXPECT_EQ(matchStateHash(*match), 0x9e38515f29c3f7d9ull);
}

} // namespace
