// What a replay costs: recording a step, finishing and writing a three-set match's file at its
// end (within the frame that ends the match), and reading it back.
#include "frontend/replay_file.h"
#include "temp_dir.h"

#include <benchmark/benchmark.h>

namespace {

// A three-set match as drovana-person plays one: 336,000 steps of the driver's clock and some
// four thousand stylus events.
ReplayWriter threeSetMatch() {
    ReplayWriter writer;
    for (uint32_t step = 0; step < 336000; ++step) {
        if (step % 160 == 0) {
            writeReplayEvent(writer, {ReplayEventKind::StylusDown, step, 120, 80});
            writeReplayEvent(writer, {ReplayEventKind::StylusUp, step, 120, 80});
        }
        writeReplayStep(writer, 1092);
    }
    return writer;
}

ReplayStart sampleStart() {
    ReplayStart start;
    start.options = {0, 1, 0, 3, 2, 0};
    start.players[0] = kDefaultRoster[0];
    start.players[1] = kDefaultRoster[1];
    seedRandom(start.random, 1);
    return start;
}

void BM_recordStep(benchmark::State& state) {
    ReplayWriter writer;
    Fixed dt = 1092;
    for (auto _ : state) {
        writeReplayStep(writer, dt);
        dt = 2184 - dt + (writer.stepCount & 1); // a wandering clock, not a free run of repeats
    }
}
BENCHMARK(BM_recordStep);

// The frame that ends a three-set match: the file finished, written and the folder pruned.
void BM_finishAndKeepThreeSetMatch(benchmark::State& state) {
    const ReplayWriter recorded = threeSetMatch();
    TempDir home;
    size_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ReplayWriter writer = recorded;
        state.ResumeTiming();
        const std::vector<uint8_t> file =
            finishReplayFile(writer, 1, sampleStart(), ReplayEnd::MatchOver, 2, 3);
        std::string error;
        keepReplayFile(home.file("replays"), "2025-01-01_10-00-00_A_v_B.replay", file, error);
        pruneReplays(home.file("replays"), kKeptReplays);
        bytes = file.size();
    }
    state.counters["fileBytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_finishAndKeepThreeSetMatch)->Unit(benchmark::kMicrosecond);

void BM_readThreeSetMatch(benchmark::State& state) {
    ReplayWriter writer = threeSetMatch();
    const std::vector<uint8_t> file =
        finishReplayFile(writer, 1, sampleStart(), ReplayEnd::MatchOver, 2, 3);
    for (auto _ : state) {
        ReplayFile replay;
        std::string error;
        benchmark::DoNotOptimize(parseReplayBytes(file, "bench.replay", replay, error));
    }
}
BENCHMARK(BM_readThreeSetMatch)->Unit(benchmark::kMillisecond);

} // namespace
