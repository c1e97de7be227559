// Eight triangles at a time in vector registers draw exactly what the rasteriser draws one by
// one: the same pixels and depths, in the same order, for triangles chosen where the set-up's
// choices turn (thin areas, wrapping numerators, flat depth, ties, a few rows or more).
#include "render/triangle_groups_vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/processor_features.h"
#include "render/render_context.h"
#include "render/vertex_cache.h"
#include "render_fixture.h"

namespace {

constexpr Fixed kDeepest = 0x7FFF0000;

struct TriangleMaker {
    std::mt19937 rng{2024};

    Fixed uniform(Fixed low, Fixed high) {
        return std::uniform_int_distribution<Fixed>(low, high)(rng);
    }
    Fixed onScreen(Fixed v, int32_t size) { return std::clamp(v, 0, fxFromInt(size - 1)); }
    ScreenVertex vertex(Fixed x, Fixed y, Fixed z) {
        return {onScreen(x, kTargetWidth), onScreen(y, kTargetHeight), std::clamp(z, 0, kDeepest)};
    }
    Fixed depth() {
        switch (uniform(0, 3)) {
        case 0:
            return uniform(0, kDeepest); // anything: numerators wrap, gradients go flat
        case 1:
            return uniform(0, 4 * kFxOne); // near the front, where a start can dip below 0
        default:
            return uniform(900 * kFxOne, 1000 * kFxOne); // a figure's triangles
        }
    }

    // A figure's triangle: within a few pixels of a point in a small crowded patch.
    void tiny(std::vector<ScreenVertex>& out, Fixed spread) {
        const Fixed cx = uniform(100 * kFxOne, 112 * kFxOne),
                    cy = uniform(150 * kFxOne, 162 * kFxOne);
        const Fixed z = depth();
        const bool deep = uniform(0, 3) == 0; // corners far apart in depth: numerators wrap
        for (int k = 0; k < 3; ++k)
            out.push_back(vertex(cx + uniform(-spread, spread), cy + uniform(-spread, spread),
                                 deep ? depth() : z + uniform(-kFxOne, kFxOne)));
    }

    // Doubled area exactly `area` raw units: two vertices on one row, the third a pixel below
    // and a few to the side, so that the row through it mostly holds a pixel.
    void withArea(std::vector<ScreenVertex>& out, Fixed area) {
        const Fixed x = uniform(100 * kFxOne, 110 * kFxOne),
                    y = uniform(150 * kFxOne, 160 * kFxOne);
        const Fixed z = depth();
        ScreenVertex v[3] = {vertex(x, y, z), vertex(x + area, y, depth()),
                             vertex(x + uniform(-4 * kFxOne, 4 * kFxOne), y + kFxOne, depth())};
        std::shuffle(v, v + 3, rng);
        out.insert(out.end(), v, v + 3);
    }

    // Vertices on pixel centres and borders, so that rows and columns are met exactly.
    void onGrid(std::vector<ScreenVertex>& out) {
        const Fixed z = depth();
        for (int k = 0; k < 3; ++k)
            out.push_back(vertex(fxFromInt(uniform(100, 106)) + kFxHalf * uniform(0, 1),
                                 fxFromInt(uniform(150, 154)) + kFxHalf * uniform(0, 1),
                                 z + uniform(-kFxOne, kFxOne)));
    }

    std::vector<ScreenVertex> triangles(int count) {
        std::vector<ScreenVertex> out;
        static constexpr Fixed kAreas[] = {3274, 3275, 3276, 3277, -3274, -3275, -3276, -3277, 0};
        while (static_cast<int>(out.size()) < 3 * count) {
            // Half of them thin, at the areas where the reciprocal's stand-in takes over: so
            // thin, only a few in a hundred hold a pixel.
            switch (uniform(0, 9)) {
            case 0:
                tiny(out, kFxOne / 2);
                break;
            case 1:
                tiny(out, 2 * kFxOne);
                break;
            case 2:
                tiny(out, 6 * kFxOne); // often more rows than are set up in vectors
                break;
            case 3:
                onGrid(out);
                break;
            case 5:
                withArea(out, uniform(-4000, 4000));
                break;
            default:
                withArea(out, kAreas[uniform(0, 8)]);
                break;
            }
        }
        return out;
    }
};

struct Targets {
    const Target groups = target(), oneByOne = target();
};

// Some vertex of about one triangle in five is rejected (behind the camera, say): the drawn
// triangles around such a one are packed into groups across it.
bool rejected(uint32_t vertex) {
    return (vertex * 2654435761u) >> 28 == 0;
}

// The vertices go straight into the cache's slots, each triangle its own three, those of a
// rejected vertex left out; one by one, each run's colour is made current before its triangles.
void drawRuns(Targets& t, const std::vector<ScreenVertex>& vertices,
              const std::vector<ColourRun>& runs, bool rejectSome) {
    VertexCache& cache = t.groups->rc->vertexCache;
    vertexCacheForget(cache);
    std::vector<uint32_t> indices(vertices.size());
    std::vector<ScreenCorner> corners(vertices.size());
    const auto out = [rejectSome](uint32_t i) { return rejectSome && rejected(i); };
    for (uint32_t i = 0; i < vertices.size(); ++i) {
        indices[i] = i;
        corners[i] = screenCorner(vertices[i]);
        cache.slots[i] = {cache.generation, out(i) ? 0u : 1u, corners[i]};
    }
    const int32_t end = static_cast<int32_t>(indices.size());
    const int32_t rest = drawTriangleGroupsAvx2(*t.groups->rc, indices.data(), 0, end, runs.data(),
                                                static_cast<int32_t>(runs.size()));
    ASSERT_EQ(rest, end); // the last group's missing lanes masked off
    uint32_t i = 0;
    for (const ColourRun& run : runs)
        for (t.oneByOne->rc->colour = run.colour; i < static_cast<uint32_t>(run.end); i += 3)
            if (!out(i) && !out(i + 1) && !out(i + 2))
                rasteriseCorners(*t.oneByOne->rc, corners[i], corners[i + 1], corners[i + 2]);
}

// The triangles come in runs of a few (often fewer than a group) in the colours given in turn.
void drawBoth(Targets& t, const std::vector<ScreenVertex>& vertices, TriangleMaker& maker,
              const std::vector<Rgba>& colours) {
    const int32_t end = static_cast<int32_t>(vertices.size());
    std::vector<ColourRun> runs;
    for (int32_t runEnd = 0; runEnd < end;) {
        runEnd = std::min(end, runEnd + 3 * maker.uniform(1, 12));
        runs.push_back({runEnd, colours[runs.size() % colours.size()]});
    }
    drawRuns(t, vertices, runs, true);
}

TEST(TriangleGroups, DrawWhatTheRasteriserDrawsOneByOne) {
    if (!cpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    Targets t;
    TriangleMaker maker;
    const Rgba colours[] = {{200, 30, 30, 255}, {30, 200, 90, 120}};
    for (int state = 0; state < 4; ++state) {
        const bool depthTest = state & 1, blend = state & 2;
        for (RenderContext* rc : {t.groups->rc, t.oneByOne->rc}) {
            rcClear(rc, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            depthTest ? rcEnable(rc, GL_DEPTH_TEST) : rcDisable(rc, GL_DEPTH_TEST);
            blend ? rcEnable(rc, GL_BLEND) : rcDisable(rc, GL_BLEND);
        }
        // Compared after every batch: a later triangle could paint over a wrong pixel.
        for (int batch = 0; batch < 300; ++batch) {
            const uint8_t shade = static_cast<uint8_t>(batch);
            drawBoth(t, maker.triangles(maker.uniform(1, 200)), maker,
                     {colours[0], {shade, 30, 200, 255}, colours[1], {30, shade, 30, 40}});
            ASSERT_EQ(t.groups->pixels, t.oneByOne->pixels)
                << "state " << state << " batch " << batch;
            const size_t values = kTargetWidth * kTargetHeight;
            ASSERT_TRUE(std::equal(t.groups->rc->depthBuffer, t.groups->rc->depthBuffer + values,
                                   t.oneByOne->rc->depthBuffer))
                << "state " << state << " batch " << batch;
        }
        EXPECT_GT(countDrawn(*t.groups), 300);
    }
}

// A depth below 0 passes the test and is stored as a large one, so within one group a stored
// depth can rise: a one-pixel triangle behind what was stored before the group, but in front of
// what an earlier triangle of the group stored, is drawn.
TEST(TriangleGroups, OnePixelTriangleMeetsTheDepthAnEarlierOneRaised) {
    if (!cpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    Targets t;
    const auto at = [](double x, double y, double z) {
        return ScreenVertex{static_cast<Fixed>(x * kFxOne), static_cast<Fixed>(y * kFxOne),
                            static_cast<Fixed>(z * kFxOne)};
    };
    const ScreenCorner front[3] = {screenCorner(at(90, 140, 0)), screenCorner(at(120, 140, 0)),
                                   screenCorner(at(90, 170, 0))};
    for (RenderContext* rc : {t.groups->rc, t.oneByOne->rc}) {
        rcClear(rc, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        rcEnable(rc, GL_DEPTH_TEST);
        rcDisable(rc, GL_BLEND);
        rc->colour = {90, 90, 90, 255};
        rasteriseCorners(*rc, front[0], front[1], front[2]); // depth 0 all round
    }
    // Two pixels of row 150, the first starting below 0, the second wrapping to a depth of
    // about 100 as stored; then one pixel, the second of them, at depth 50.
    const std::vector<ScreenVertex> vertices = {at(100.1, 149.9, -60), at(103.9, 149.9, 320),
                                                at(100.1, 150.9, -60), at(101.3, 150.3, 50),
                                                at(101.8, 150.3, 50),  at(101.3, 150.8, 50)};
    const Rgba lone = {20, 220, 40, 255};
    drawRuns(t, vertices, {{3, {200, 30, 30, 255}}, {6, lone}}, false);
    EXPECT_EQ(t.groups->pixels, t.oneByOne->pixels);
    const uint32_t loneWord = 0xFF000000u | 40u << 16 | 220u << 8 | 20u;
    EXPECT_EQ(std::count(t.oneByOne->pixels.begin(), t.oneByOne->pixels.end(), loneWord), 1);
}

} // namespace
