// match_support.h: a match that keeps the sounds its steps asked for, shared by the match tests.
#pragma once

#include "assets/sound_ids.h"
#include "frontend/player_profile.h"
#include "match/match.h"

#include <gtest/gtest.h>

#include <vector>

inline MatchPlayer rosterPlayer(int slot, bool computer) {
    return matchPlayerFromProfile(kDefaultRoster[slot], computer);
}

struct MatchFixture : ::testing::Test {
    Match* match = createMatch();
    std::vector<int> heard; // every step's sounds, in order

    ~MatchFixture() override { destroyMatch(match); }

    // Two human players: nothing moves or swings unless the test asks for it.
    void setUpHumans(int setsToWin = 1, Fixed level = 0) {
        setUpMatch(match, setsToWin, level, rosterPlayer(0, false), rosterPlayer(4, false));
        heard.clear();
    }
    std::vector<int> takeSounds() {
        std::vector<int> played = heard;
        heard.clear();
        return played;
    }
    void step(Fixed dt = 3276) {
        stepMatch(match, dt);
        const StepSounds& s = match->stepSounds;
        heard.insert(heard.end(), s.ids, s.ids + s.count);
    }
    // Runs until the pause is over and the point has been laid out again.
    void runPause() {
        for (int i = 0; i < 400 && (match->pointDelay > 0 || match->setupDelay > 0); ++i)
            step();
    }
};
