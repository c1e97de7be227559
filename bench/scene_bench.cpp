// A typical match frame from the built data.pak: both players animated, the ball streaking, the
// HUD and the score message; render plus the dirty copy to a display, and their parts.
#include <benchmark/benchmark.h>

#include <vector>

#include "assets/model.h"
#include "assets/pose.h"
#include "match/match.h"
#include "scenes/scene_states.h"
#include "view/engine3d.h"
#include "view/figure_posing.h"
#include "view/screen_render.h"

namespace {

constexpr Fixed kFrameStep = 3276; // 0.05 s

// The pause after a point, and the same moment one update later: drawing them in turn gives
// the display copy a real frame-to-frame change to write.
struct MatchFrames {
    SceneRig* rig = makeSceneRig(std::string(DROVANA_BUILD_DIR) + "/data.pak");
    Match frames[2];
    std::vector<uint16_t> display = std::vector<uint16_t>(240 * 320);
    DisplayPitches pitches;
    ScreenRows written;
    int next = 0;

    MatchFrames() {
        setUpScene(*rig, {SceneKind::PointOver, 0, 7, 0});
        frames[0] = *rig->resources.match;
        Fixed dt = kFrameStep;
        stepMatch(rig->resources.match, dt);
        frames[1] = *rig->resources.match;
    }
    ~MatchFrames() { destroySceneRig(rig); }

    // The game's per-frame order: pose the figures, draw, copy what changed.
    void showNextFrame(bool present) {
        *rig->resources.match = frames[next];
        next ^= 1;
        const GameView view = sceneView(*rig);
        afterUpdateScreen(*rig->resources.engine, view, rig->figures);
        renderScreen(*rig->resources.engine, view);
        if (present)
            presentFrame(rig->resources.engine->frame, reinterpret_cast<uint8_t*>(display.data()),
                         pitches, 0, written);
    }
};

// The figures' triangles a frame sends to the renderer: each visible mesh once for the figure
// and once for its shadow. With the frame's time, the cost of a triangle sent, which falls as
// more of them are turned away before their set-up.
double figureTrianglesPerFrame(const Engine3D& engine) {
    double triangles = 0;
    for (const Pose* pose : engine.playerPoses)
        for (const Mesh& mesh : primaryLod(*pose->model).meshes)
            if (mesh.visible)
                triangles += 2.0 * static_cast<double>(mesh.faces.size());
    return triangles;
}

void BM_MatchFrame(benchmark::State& state) {
    MatchFrames frames;
    for (auto _ : state) {
        frames.showNextFrame(true);
        benchmark::DoNotOptimize(frames.display.data());
    }
    const double triangles = figureTrianglesPerFrame(*frames.rig->resources.engine);
    state.counters["trianglesPerFrame"] = triangles;
    state.counters["trianglesSent"] = benchmark::Counter(
        triangles * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MatchFrame)->Unit(benchmark::kMicrosecond);

void BM_MatchFrameWithoutPresent(benchmark::State& state) {
    MatchFrames frames;
    for (auto _ : state) {
        frames.showNextFrame(false);
        benchmark::DoNotOptimize(frames.rig->resources.engine->frame.drawBuffer);
    }
}
BENCHMARK(BM_MatchFrameWithoutPresent)->Unit(benchmark::kMicrosecond);

// The fixed cost under every frame: the backdrop copy and the depth clear.
void BM_BeginFrameOnly(benchmark::State& state) {
    MatchFrames frames;
    for (auto _ : state) {
        frames.rig->resources.engine->frame.frameShown = 1;
        beginFrame(frames.rig->resources.engine->frame);
        benchmark::DoNotOptimize(frames.rig->resources.engine->frame.drawBuffer);
    }
}
BENCHMARK(BM_BeginFrameOnly)->Unit(benchmark::kMicrosecond);

// A fixed count, for instruction counting under callgrind (the README gives the command).
BENCHMARK(BM_MatchFrame)->Name("BM_MatchFrame/callgrind")->Iterations(200);

} // namespace
