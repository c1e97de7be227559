// Cost of a whole computer-against-computer match, of one stroke plan and of one launch search.
#include "core/game_random.h"
#include "frontend/player_profile.h"
#include "match/match.h"
#include "match/stroke_table.h"
#include "match/strokes.h"

#include <benchmark/benchmark.h>

namespace {

constexpr Fixed kStep = 3276;

MatchPlayer computer(int slot) {
    return matchPlayerFromProfile(kDefaultRoster[slot], true);
}

struct BenchMatch {
    Match* match = createMatch();
    ~BenchMatch() { destroyMatch(match); }
};

void BM_wholeOneSetMatch(benchmark::State& state) {
    BenchMatch b;
    unsigned seed = 1;
    double simulated = 0;
    for (auto _ : state) {
        seedGameRandom(seed++);
        setUpMatch(b.match, 1, static_cast<Fixed>(state.range(0)) * 16384, computer(1),
                   computer(3));
        setSurface(b.match, 0);
        int64_t steps = 0;
        while (!(b.match->matchOver && b.match->pointDelay <= 0) && steps < 6 * 3600 * 20) {
            Fixed dt = kStep;
            stepMatch(b.match, dt);
            ++steps;
        }
        simulated += steps * (kStep / 65536.0);
    }
    state.counters["simSecondsPerWallSecond"] =
        benchmark::Counter(simulated, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_wholeOneSetMatch)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

// A deep rally ball toward player 1 at its baseline, who plans its return.
void rallyBall(Match* m) {
    setUpMatch(m, 1, 32768, computer(2), computer(2));
    m->pointDelay = 0;
    m->serveState = ServeState::None;
    m->ballStruck = 1;
    m->nextStriker = 1;
    m->players[0].isServing = m->players[1].isServing = 0;
    m->players[0].position = {65536, 0, 11 * 65536};
    m->players[0].zMin = 19660;
    m->players[0].zMax = 18 * 65536;
    m->targetBox[BoxZMin] = 1310;
    m->targetBox[BoxZMax] = 779223;
    m->ball.dead = 0;
    m->ball.position = {0, 65536, -11 * 65536};
    m->ball.velocity = {2 * 65536, 5 * 65536, 22 * 65536};
}

void BM_planStroke(benchmark::State& state) {
    BenchMatch b;
    rallyBall(b.match);
    for (auto _ : state) {
        MatchPlayer p = b.match->players[0];
        Fixed factor = 65536;
        planStroke(p, b.match, b.match->players[1], factor);
        benchmark::DoNotOptimize(p.strokeSpot);
    }
}
BENCHMARK(BM_planStroke);

void BM_solveLaunch(benchmark::State& state) {
    BenchMatch b;
    rallyBall(b.match);
    MatchPlayer p = b.match->players[0];
    const StrokeRow& row = strokeRow(StrokeForehand);
    p.pitchMin = row.pitchMin;
    p.pitchMax = row.pitchMax;
    p.strokeSkill = 0xC000;
    b.match->ball.position = {65536, 65536, 10 * 65536};
    const Ball start = b.match->ball;
    const Vec3 direction = {0, 0, -65536};
    seedGameRandom(1);
    for (auto _ : state) {
        b.match->ball = start;
        Fixed speed = 38 * 65536;
        solveLaunch(p, b.match, direction, 19 * 65536, speed);
        benchmark::DoNotOptimize(b.match->ball.velocity);
    }
}
BENCHMARK(BM_solveLaunch);

} // namespace
