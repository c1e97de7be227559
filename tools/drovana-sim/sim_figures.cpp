// sim_figures.cpp: adding one match's tally to the simulator's figures.
#include "sim_figures.h"

namespace {

void addPlayer(SimPlayerFigures& f, const PlayerTally& t) {
    f.pointsWon += t.pointsWon;
    f.gamesWon += t.gamesWon;
    f.servicePoints += t.servicePoints;
    f.servicePointsWon += t.servicePointsWon;
    f.firstServes += t.firstServes;
    f.firstServesIn += t.firstServesIn;
    f.secondServes += t.secondServes;
    f.secondServesIn += t.secondServesIn;
    f.aces += t.aces;
    f.doubleFaults += t.doubleFaults;
    f.netTouches += t.netTouches;
    for (int k = 0; k < kStrokeKinds; ++k) {
        f.strokes[k] += t.strokes[k];
        f.winners[k] += t.winners[k];
        f.errors[k] += t.errors[k];
    }
}

void addFigures(SimPlayerFigures& sum, const SimPlayerFigures& f) {
    sum.matchesWon += f.matchesWon;
    sum.pointsWon += f.pointsWon;
    sum.gamesWon += f.gamesWon;
    sum.servicePoints += f.servicePoints;
    sum.servicePointsWon += f.servicePointsWon;
    sum.firstServes += f.firstServes;
    sum.firstServesIn += f.firstServesIn;
    sum.secondServes += f.secondServes;
    sum.secondServesIn += f.secondServesIn;
    sum.aces += f.aces;
    sum.doubleFaults += f.doubleFaults;
    sum.netTouches += f.netTouches;
    for (int k = 0; k < kStrokeKinds; ++k) {
        sum.strokes[k] += f.strokes[k];
        sum.winners[k] += f.winners[k];
        sum.errors[k] += f.errors[k];
    }
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
