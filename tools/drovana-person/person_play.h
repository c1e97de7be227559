// person_play.h: a person playing one match as player 1: reaction delays, noisy taps, the serve
// meter watched, returns aimed at the open court.
#pragma once

#include <cstdint>
#include <random>

#include "match/match.h"
#include "person_options.h"

struct ScriptSession;

struct PersonTraits {
    double reactionMin = 0.20, reactionMax = 0.30; // seconds
    double tapNoise = 2.5;                         // pixels, standard deviation per axis
    double serveAt = 0.9;                          // folded meter
    ReturnCue cue = ReturnCue::Net;
};

// What one match gave: the game's own tally, and what the person's taps did.
struct PersonMatch {
    bool finished = false;
    bool won = false;
    double seconds = 0; // game time
    MatchTally tally{};
    int64_t ballsToReturn = 0;  // the other player's strokes, serves included
    int64_t aimTaps = 0;        // taps on the other half to return a ball
    int64_t aimTapsPlanned = 0; // ... after which the player went for the ball
    int64_t aimTapsMet = 0;     // ... whose stroke then met the ball
    int64_t earlySwings = 0;    // ... that came too early and swung at nothing
    int64_t serveTaps = 0;
};

// Plays the match on the screen from now to its result screen (or for at most six hours of game
// time). The person's own choices come from random; the game's from the game's generator.
PersonMatch playPersonMatch(ScriptSession& session, const PersonTraits& traits,
                            std::mt19937& random);
