// match_support.h: a match with a recording sound output, shared by the match tests.
#pragma once

#include "assets/sound_set.h"
#include "frontend/player_profile.h"
#include "match/match.h"
#include "platform/sound_output.h"

#include <gtest/gtest.h>

#include <vector>

inline MatchPlayer rosterPlayer(int slot, bool computer) {
    MatchPlayer p{};
    copyProfileToPlayer(kDefaultRoster[slot], p);
    p.isComputer = computer ? 1 : 0;
    return p;
}

struct MatchFixture : ::testing::Test {
    SoundOutput* output = soundOutputOpenHeadless();
    SoundSet* sounds = makeSoundSet(nullptr, output);
    Match* match = createMatch(sounds);

    ~MatchFixture() override {
        destroyMatch(match);
        destroySoundSet(sounds);
        soundOutputClose(output);
    }

    // Two human players: nothing moves or swings unless the test asks for it.
    void setUpHumans(int setsToWin = 1, Fixed level = 0) {
        setUpMatch(match, setsToWin, level, rosterPlayer(0, false), rosterPlayer(4, false));
        output->requests.clear();
    }
    std::vector<int> takeSounds() {
        std::vector<int> played = output->requests;
        output->requests.clear();
        return played;
    }
    void step(Fixed dt = 3276) { stepMatch(match, dt); }
    // Runs until the pause is over and the point has been laid out again.
    void runPause() {
        for (int i = 0; i < 400 && (match->pointDelay > 0 || match->setupDelay > 0); ++i)
            step();
    }
};
