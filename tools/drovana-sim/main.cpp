// main.cpp: plays computer-against-computer matches without a display and prints the figures.
#include "core/game_random.h"
#include "frontend/player_profile.h"
#include "match/match.h"
#include "sim_figures.h"
#include "sim_options.h"
#include "sim_report.h"

#include <cstdio>

namespace {

constexpr Fixed kSimStep = 3276; // 0.05 s, the game's longest update
// A match still running after six simulated hours is counted as unfinished.
constexpr int64_t kMaxMatchSteps = 6 * 3600 * 20;

MatchPlayer computerPlayer(int slot) {
    return matchPlayerFromProfile(kDefaultRoster[slot], true);
}

// The level as the game computes it: in float, truncated.
Fixed levelFixed(int level) {
    return static_cast<Fixed>(static_cast<float>(level) * 0.25f * 65536.0f);
}

// Plays one match to its end and adds it to the figures; returns the winner, 0 if unfinished.
int playOneMatch(Match* match, const SimOptions& o, int level, int slot1, int slot2,
                 SimFigures& figures) {
    setUpMatch(match, o.setsToWin, levelFixed(level), computerPlayer(slot1), computerPlayer(slot2));
    setSurface(match, o.surface);
    int64_t steps = 0;
    while (!(match->matchOver && match->pointDelay <= 0) && steps < kMaxMatchSteps) {
        Fixed dt = kSimStep;
        stepMatch(match, dt);
        ++steps;
    }
    const int winner = !match->matchOver ? 0 : (match->setsWon[0] == match->setsToWin ? 1 : 2);
    addMatchFigures(figures, match->tally, winner, steps * (kSimStep / 65536.0));
    return winner;
}

int runPairing(Match* match, const SimOptions& o) {
    seedGameRandom(o.seed);
    SimFigures figures;
    for (int i = 0; i < o.matches; ++i)
        playOneMatch(match, o, o.level, o.player1Slot, o.player2Slot, figures);
    const std::string names[2] = {rosterName(o.player1Slot), rosterName(o.player2Slot)};
    if (o.json)
        std::printf("%s\n", figuresJson(figures, names).dump(2).c_str());
    else
        printFiguresTable(figures, names);
    return figures.unfinished;
}

// Each pair plays the given number of matches with either profile on the near side, every
// ordering from the same seed so that any one cell can be played again alone.
SimMatrix playMatrix(Match* match, const SimOptions& o, int level) {
    SimMatrix matrix;
    matrix.level = level;
    for (int a = 0; a < kDefaultRosterSize; ++a) {
        for (int b = 0; b < kDefaultRosterSize; ++b) {
            if (a == b)
                continue;
            seedGameRandom(o.seed);
            SimFigures figures;
            for (int i = 0; i < o.matches; ++i) {
                const int winner = playOneMatch(match, o, level, a, b, figures);
                if (winner == 1)
                    ++matrix.wins[a][b];
                else if (winner == 2)
                    ++matrix.wins[b][a];
                else
                    ++matrix.unfinished;
                ++matrix.played[a][b];
                ++matrix.played[b][a];
            }
        }
    }
    return matrix;
}

int runMatrix(Match* match, const SimOptions& o) {
    nlohmann::ordered_json levels = nlohmann::ordered_json::array();
    int unfinished = 0;
    const int first = o.allLevels ? 0 : o.level, last = o.allLevels ? 4 : o.level;
    for (int level = first; level <= last; ++level) {
        const SimMatrix matrix = playMatrix(match, o, level);
        unfinished += matrix.unfinished;
        if (o.json) {
            levels.push_back(matrixJson(matrix));
        } else {
            printMatrixTable(matrix);
            std::printf("\n");
        }
    }
    if (o.json)
        std::printf("%s\n",
                    nlohmann::ordered_json{{"matchesPerOrdering", o.matches}, {"levels", levels}}
                        .dump(2)
                        .c_str());
    return unfinished;
}

} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!parseSimOptions(argc, argv, options, error)) {
        std::fprintf(stderr,
                     "drovana-sim: %s\nusage: drovana-sim [--matches N] [--sets 1|2|3] "
                     "[--level 0..4] [--p1 SLOT] [--p2 SLOT] [--surface 0..4] [--seed N] "
                     "[--json] [--matrix [--all-levels]]\n",
                     error.c_str());
        return 2;
    }
    Match* match = createMatch();
    const int unfinished = options.matrix ? runMatrix(match, options) : runPairing(match, options);
    if (unfinished)
        std::fprintf(stderr, "drovana-sim: %d matches did not finish\n", unfinished);
    destroyMatch(match);
    return unfinished ? 1 : 0;
}
