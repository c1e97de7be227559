// The game object with the built data.pak: start-up to the first presented frame, and every
// screen change, the way a player meets them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/game_app.h"
#include "platform/platform.h"

namespace {

struct BenchHome {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "drovana-game-bench";
    BenchHome() { std::filesystem::create_directories(path); }
    ~BenchHome() { std::filesystem::remove_all(path); }
};

GameSetup benchSetup(const BenchHome& home) {
    GameSetup setup;
    setup.dataFolder = fromUtf8(std::string(DROVANA_BUILD_DIR) + "/");
    setup.playersPath = (home.path / "players.dat").string();
    return setup;
}

// The game's own work from nothing to the logo on the display: archive, engine (models,
// twenty baked animations, fonts), players.dat, sounds, match, the first frame and its copy.
void BM_StartUpToFirstFrame(benchmark::State& state) {
    BenchHome home;
    std::vector<uint8_t> display(240 * 320 * 2);
    const DisplayPitches pitches;
    for (auto _ : state) {
        GameApp* app = makeGameApp(benchSetup(home));
        gameRender(app);
        ScreenRows written;
        gamePresent(app, display.data(), pitches, 1, written);
        benchmark::DoNotOptimize(display.data());
        destroyGameApp(app);
    }
}
BENCHMARK(BM_StartUpToFirstFrame)->Unit(benchmark::kMillisecond);

// Entering one screen from the main menu: freeing the old buttons, decoding the backdrop and
// every face, the entry actions (a match set-up on the play screens), then drawing it.
void BM_ScreenChange(benchmark::State& state) {
    BenchHome home;
    GameApp* app = makeGameApp(benchSetup(home));
    const auto screen = static_cast<int32_t>(state.range(0));
    if (screen == NewPlayer)
        app->editor.slot = 5;
    for (auto _ : state) {
        changeScreen(app, screen);
        gameRender(app);
        state.PauseTiming();
        changeScreen(app, MainMenu);
        state.ResumeTiming();
    }
    destroyGameApp(app);
}
BENCHMARK(BM_ScreenChange)->DenseRange(kFirstScreen, kLastScreen)->Unit(benchmark::kMillisecond);

} // namespace
