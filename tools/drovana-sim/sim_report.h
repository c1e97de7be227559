// sim_report.h: the simulator's figures as JSON and as readable tables.
#pragma once

#include "frontend/player_profile.h"
#include "sim_figures.h"

#include <nlohmann/json.hpp>
#include <string>

// Who beat whom among the built-in profiles at one level: wins[a][b] is the matches a won
// against b, over played[a][b] matches with each on the near side half of the time.
struct SimMatrix {
    int level = 0;
    int wins[kDefaultRosterSize][kDefaultRosterSize] = {};
    int played[kDefaultRosterSize][kDefaultRosterSize] = {};
    int unfinished = 0;
};

std::string rosterName(int slot);

nlohmann::ordered_json figuresJson(const SimFigures& figures, const std::string names[2]);
void printFiguresTable(const SimFigures& figures, const std::string names[2]);

nlohmann::ordered_json matrixJson(const SimMatrix& matrix);
void printMatrixTable(const SimMatrix& matrix);
// Pairs in which the profile of the higher slot (the stronger one) won at most half the matches.
int matrixInversions(const SimMatrix& matrix);
