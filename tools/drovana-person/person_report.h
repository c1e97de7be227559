// person_report.h: the person's matches added up per level, as a table or as JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <vector>

#include "person_play.h"

struct PersonLevelFigures {
    int level = 0;
    int matches = 0, matchesWon = 0, unfinished = 0;
    int64_t points = 0, pointsWon = 0;
    int64_t firstServes = 0, firstServesIn = 0, secondServes = 0, secondServesIn = 0;
    int64_t aces = 0, doubleFaults = 0;                 // the person's
    int64_t opponentAces = 0, opponentDoubleFaults = 0; // the computer's
    int64_t rallyStrokes = 0, longestRally = 0;
    int64_t ballsToReturn = 0, returned = 0; // returned: the person's strokes other than serves
    int64_t aimTaps = 0, aimTapsPlanned = 0, aimTapsMet = 0, earlySwings = 0;
    // By stroke kind, the person's [0] and the computer's [1]: how points ended.
    int64_t strokes[2][kStrokeKinds] = {}, winners[2][kStrokeKinds] = {},
            errors[2][kStrokeKinds] = {};
    double seconds = 0;
};

void addPersonMatch(PersonLevelFigures& figures, const PersonMatch& match);
nlohmann::ordered_json personFiguresJson(const std::vector<PersonLevelFigures>& levels);
void printPersonTable(const std::vector<PersonLevelFigures>& levels);
