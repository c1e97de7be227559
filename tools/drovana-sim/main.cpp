// main.cpp: plays computer-against-computer matches without a display and prints the figures.
#include "frontend/player_profile.h"
#include "match/match.h"
#include "sim_options.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr Fixed kSimStep = 3276; // 0.05 s, the game's longest update
// A match still running after six simulated hours is counted as unfinished.
constexpr int64_t kMaxMatchSteps = 6 * 3600 * 20;

struct SimFigures {
    int wins[2] = {0, 0};
    int unfinished = 0;
    int64_t points = 0, aces = 0, faults = 0, doubleFaults = 0, lets = 0, netTouches = 0;
    int64_t rallyStrokes = 0;
    int longestRally = 0;
    double simSeconds = 0;
};

MatchPlayer computerPlayer(int slot) {
    MatchPlayer player{};
    copyProfileToPlayer(kDefaultRoster[slot], player);
    player.isComputer = 1;
    return player;
}

void playOneMatch(Match* match, const SimOptions& o, SimFigures& figures) {
    // The level as the game computes it: in float, truncated.
    const Fixed level = static_cast<Fixed>(static_cast<float>(o.level) * 0.25f * 65536.0f);
    setUpMatch(match, o.setsToWin, level, computerPlayer(o.player1Slot),
               computerPlayer(o.player2Slot));
    setSurface(match, o.surface);
    int64_t steps = 0;
    while (!(match->matchOver && match->pointDelay <= 0) && steps < kMaxMatchSteps) {
        Fixed dt = kSimStep;
        stepMatch(match, dt);
        ++steps;
    }
    figures.simSeconds += steps * (kSimStep / 65536.0);
    if (!match->matchOver)
        ++figures.unfinished;
    else
        ++figures.wins[match->setsWon[0] == match->setsToWin ? 0 : 1];
    const MatchTally& t = match->tally;
    figures.points += t.points;
    figures.aces += t.aces;
    figures.faults += t.faults;
    figures.doubleFaults += t.doubleFaults;
    figures.lets += t.lets;
    figures.netTouches += t.netTouches;
    figures.rallyStrokes += t.rallyStrokes;
    if (t.longestRally > figures.longestRally)
        figures.longestRally = t.longestRally;
}

void printFigures(const SimOptions& o, const SimFigures& f, double wallSeconds) {
    std::printf("{\"matches\": %d, \"wins\": [%d, %d], \"points\": %lld, \"aces\": %lld, "
                "\"faults\": %lld, \"doubleFaults\": %lld, \"lets\": %lld, \"netTouches\": %lld, "
                "\"averageRally\": %.3f, \"longestRally\": %d, \"averageMatchSeconds\": %.1f, "
                "\"simSecondsPerWallSecond\": %.0f}\n",
                o.matches, f.wins[0], f.wins[1], static_cast<long long>(f.points),
                static_cast<long long>(f.aces), static_cast<long long>(f.faults),
                static_cast<long long>(f.doubleFaults), static_cast<long long>(f.lets),
                static_cast<long long>(f.netTouches),
                f.points ? static_cast<double>(f.rallyStrokes) / f.points : 0.0, f.longestRally,
                f.simSeconds / o.matches, wallSeconds > 0 ? f.simSeconds / wallSeconds : 0.0);
}

} // namespace

int main(int argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!parseSimOptions(argc, argv, options, error)) {
        std::fprintf(stderr,
                     "drovana-sim: %s\nusage: drovana-sim [--matches N] [--sets 1|2|3] "
                     "[--level 0..4] [--p1 SLOT] [--p2 SLOT] [--surface 0..4] [--seed N]\n",
                     error.c_str());
        return 2;
    }
    std::srand(options.seed);
    Match* match = createMatch();
    SimFigures figures;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < options.matches; ++i)
        playOneMatch(match, options, figures);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    printFigures(options, figures, wall.count());
    if (figures.unfinished)
        std::fprintf(stderr, "drovana-sim: %d matches did not finish\n", figures.unfinished);
    destroyMatch(match);
    return figures.unfinished ? 1 : 0;
}
