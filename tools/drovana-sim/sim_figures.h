// sim_figures.h: the tallies of many simulated matches added up, per player and in total.
#pragma once

#include "match/match.h"

#include <cstdint>

// One side's figures summed over the matches; the same fields as PlayerTally.
struct SimPlayerFigures {
    int64_t matchesWon = 0;
    int64_t pointsWon = 0, gamesWon = 0;
    int64_t servicePoints = 0, servicePointsWon = 0;
    int64_t firstServes = 0, firstServesIn = 0, secondServes = 0, secondServesIn = 0;
    int64_t aces = 0, doubleFaults = 0, netTouches = 0;
    int64_t strokes[kStrokeKinds] = {}, winners[kStrokeKinds] = {}, errors[kStrokeKinds] = {};
};

struct SimFigures {
    int matches = 0;
    int unfinished = 0;
    SimPlayerFigures players[2];
    int64_t points = 0, strokes = 0, faults = 0, lets = 0, rallyStrokes = 0;
    int longestRally = 0;
    double simSeconds = 0, longestMatchSeconds = 0;
};

// Adds one match that ran for seconds of game time; winner is 1 or 2, 0 when it did not finish.
void addMatchFigures(SimFigures& figures, const MatchTally& tally, int winner, double seconds);
// The same fields summed over both players.
SimPlayerFigures bothPlayers(const SimFigures& figures);

inline double percentOf(int64_t part, int64_t whole) {
    return whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}
