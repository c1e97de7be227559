// sim_figures.cpp: adding one match's tally to the simulator's figures.
#include "sim_figures.h"

namespace {

// A match's tally and a player's summed figures count the same things under the same names.
template <typename Counts> void addCounts(SimPlayerFigures& sum, const Counts& c) {
    sum.pointsWon += c.pointsWon;
    sum.gamesWon += c.gamesWon;
    sum.servicePoints += c.servicePoints;
    sum.servicePointsWon += c.servicePointsWon;
    sum.firstServes += c.firstServes;
    sum.firstServesIn += c.firstServesIn;
    sum.secondServes += c.secondServes;
    sum.secondServesIn += c.secondServesIn;
    sum.aces += c.aces;
    sum.doubleFaults += c.doubleFaults;
    sum.netTouches += c.netTouches;
    for (int k = 0; k < kStrokeKinds; ++k) {
        sum.strokes[k] += c.strokes[k];
        sum.winners[k] += c.winners[k];
        sum.errors[k] += c.errors[k];
    }
}

void addPlayer(SimPlayerFigures& f, const PlayerTally& t) {
    addCounts(f, t);
}

void addFigures(SimPlayerFigures& sum, const SimPlayerFigures& f) {
    sum.matchesWon += f.matchesWon;
    addCounts(sum, f);
}

} // namespace

void addMatchFigures(SimFigures& figures, const MatchTally& tally, int winner, double seconds) {
    ++figures.matches;
    if (winner == 0)
        ++figures.unfinished;
    else
        ++figures.players[winner - 1].matchesWon;
    for (int i = 0; i < 2; ++i)
        addPlayer(figures.players[i], tally.players[i]);
    figures.points += tally.points;
    figures.strokes += tally.strokes;
    figures.faults += tally.faults;
    figures.lets += tally.lets;
    figures.rallyStrokes += tally.rallyStrokes;
    if (tally.longestRally > figures.longestRally)
        figures.longestRally = tally.longestRally;
    figures.simSeconds += seconds;
    if (seconds > figures.longestMatchSeconds)
        figures.longestMatchSeconds = seconds;
}

SimPlayerFigures bothPlayers(const SimFigures& figures) {
    SimPlayerFigures sum;
    addFigures(sum, figures.players[0]);
    addFigures(sum, figures.players[1]);
    return sum;
}
