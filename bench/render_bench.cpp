// Rasteriser and pipeline throughput, next to memset/memcpy of the same buffers.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "render/camera.h"
#include "render/rasteriser.h"
#include "render/render_context.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;
constexpr int kPixels = kWidth * kHeight;
constexpr int64_t kColourAndDepthBytes = int64_t{kPixels} * (4 + 2);

struct Screen {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kPixels, 0xFF204060u);
    RenderContext* rc = rcCreate();
    Screen() {
        rcBindBuffer(rc, pixels.data(), kWidth, kHeight);
        rcClear(rc, GL_DEPTH_BUFFER_BIT);
    }
    ~Screen() { rcDestroy(rc); }
};

struct Triangle {
    ScreenVertex v[3];
};

// Triangles whose vertices lie within `radius` pixels of a random centre.
std::vector<Triangle> randomTriangles(int count, int radius) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<Fixed> cx(radius << 16, (kWidth - 1 - radius) << 16);
    std::uniform_int_distribution<Fixed> cy(radius << 16, (kHeight - 1 - radius) << 16);
    std::uniform_int_distribution<Fixed> off(-(radius << 16), radius << 16);
    std::uniform_int_distribution<Fixed> depth(100 << 16, 30000 << 16);
    std::vector<Triangle> out(count);
    for (Triangle& t : out) {
        const Fixed x = cx(rng), y = cy(rng), z = depth(rng);
        for (ScreenVertex& v : t.v)
            v = {x + off(rng), y + off(rng), z + (off(rng) >> 4)};
    }
    return out;
}

void runTriangles(benchmark::State& state, int radius, bool blend) {
    Screen screen;
    if (blend) {
        rcEnable(screen.rc, GL_BLEND);
        rcColor4(screen.rc, 26, 26, 26, 96);
    }
    const std::vector<Triangle> triangles = randomTriangles(4096, radius);
    size_t i = 0;
    for (auto _ : state) {
        const Triangle& t = triangles[i];
        rasteriseTriangle(*screen.rc, t.v[0], t.v[1], t.v[2]);
        if (++i == triangles.size()) {
            i = 0;
            rcClear(screen.rc, GL_DEPTH_BUFFER_BIT);
        }
    }
    state.SetItemsProcessed(state.iterations());
}

// The player figures: a few pixels per triangle, depth-tested.
void BM_PlayerSizedTriangles(benchmark::State& state) {
    runTriangles(state, 3, false);
}
// Shadows: the same size, blended.
void BM_PlayerSizedBlendedTriangles(benchmark::State& state) {
    runTriangles(state, 3, true);
}
// Tens of pixels across, a few hundred to a few thousand pixels each.
void BM_LargeTriangles(benchmark::State& state) {
    runTriangles(state, 40, false);
}

// Player-sized triangles in world space through the match camera: transform, rejection and
// rasterisation, the path the figures take.
void BM_PlayerSizedTrianglesThroughThePipeline(benchmark::State& state) {
    Screen screen;
    const CameraSetup cam = makeCameraSetup();
    rcMatrixMode(screen.rc, GL_PROJECTION);
    rcLoadMatrix(screen.rc, cam.projection);
    rcMatrixMode(screen.rc, GL_MODELVIEW);
    rcLoadMatrix(screen.rc, cam.matchView);
    std::mt19937 rng(5);
    std::uniform_int_distribution<Fixed> around(-kFxOne, kFxOne);
    std::vector<Vec3> vertices(3 * 4096);
    for (size_t i = 0; i < vertices.size(); i += 3) {
        const Vec3 c = {around(rng) * 4, (around(rng) + kFxOne) / 2 + kFxHalf, around(rng) * 8};
        for (int k = 0; k < 3; ++k)
            vertices[i + k] = {c.x + around(rng) / 8, c.y + around(rng) / 8, c.z + around(rng) / 8};
    }
    std::vector<uint32_t> indices(vertices.size());
    for (size_t i = 0; i < indices.size(); ++i)
        indices[i] = static_cast<uint32_t>(i);
    rcVertexPointer(screen.rc, 3, GL_FLOAT, 0, vertices.data());
    const int32_t perCall = 300; // one material run of a figure
    int32_t start = 0;
    for (auto _ : state) {
        rcDrawElements(screen.rc, GL_TRIANGLES, perCall, GL_UNSIGNED_INT, &indices[start]);
        start += perCall;
        if (start + perCall > static_cast<int32_t>(indices.size())) {
            start = 0;
            rcClear(screen.rc, GL_DEPTH_BUFFER_BIT);
        }
    }
    state.SetItemsProcessed(state.iterations() * (perCall / 3));
}

// Two triangles covering every pixel, each pass nearer than the last so every pixel is written.
void fullScreenQuad(benchmark::State& state, bool depthTest) {
    Screen screen;
    if (!depthTest)
        rcDisable(screen.rc, GL_DEPTH_TEST);
    const Fixed w = kWidth << 16, h = kHeight << 16;
    Fixed z = 30000 << 16;
    auto draw = [&] {
        rasteriseTriangle(*screen.rc, {0, 0, z}, {w, 0, z}, {w, h, z});
        rasteriseTriangle(*screen.rc, {0, 0, z}, {w, h, z}, {0, h, z});
    };
    rcColor3(screen.rc, 1, 2, 3);
    draw();
    if (std::count(screen.pixels.begin(), screen.pixels.end(), 0xFF030201u) != kPixels)
        state.SkipWithError("the quad does not cover the screen");
    for (auto _ : state) {
        z -= kFxOne;
        if (z < kFxOne) {
            z = 30000 << 16;
            rcClear(screen.rc, GL_DEPTH_BUFFER_BIT);
        }
        draw();
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * (depthTest ? kColourAndDepthBytes : kPixels * 4));
}

void BM_FullScreenQuadDepthTested(benchmark::State& state) {
    fullScreenQuad(state, true);
}
void BM_FullScreenQuadNoDepthTest(benchmark::State& state) {
    fullScreenQuad(state, false);
}

// The memory limit: clearing the colour and depth buffers, and copying one frame.
void BM_MemsetColourAndDepth(benchmark::State& state) {
    std::vector<uint32_t> colour(kPixels);
    std::vector<uint16_t> depth(kPixels);
    for (auto _ : state) {
        std::memset(colour.data(), 0x11, colour.size() * 4);
        std::memset(depth.data(), 0x22, depth.size() * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kColourAndDepthBytes);
}

void BM_MemsetColour(benchmark::State& state) {
    std::vector<uint32_t> colour(kPixels);
    for (auto _ : state) {
        std::memset(colour.data(), 0x11, colour.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kPixels * 4);
}

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<uint32_t> from(kPixels, 7), to(kPixels);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kPixels * 4);
}

} // namespace

BENCHMARK(BM_PlayerSizedTriangles);
BENCHMARK(BM_PlayerSizedBlendedTriangles);
BENCHMARK(BM_LargeTriangles);
BENCHMARK(BM_PlayerSizedTrianglesThroughThePipeline);
BENCHMARK(BM_FullScreenQuadDepthTested);
BENCHMARK(BM_FullScreenQuadNoDepthTest);
BENCHMARK(BM_MemsetColourAndDepth);
BENCHMARK(BM_MemsetColour);
BENCHMARK(BM_MemcpyFrame);
