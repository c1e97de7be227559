// Element drawing with its vertex cache draws exactly what drawing each triangle alone draws.
#include "render/vertex_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "render/camera.h"
#include "render/pipeline.h"
#include "render/render_context.h"
#include "render_fixture.h"

namespace {

// A triangle projected by the scalar transform, whichever paths the processor takes: the
// reference the vector projections are held to.
void drawTriangleScalar(RenderContext* rc, const Vec3& v0, const Vec3& v1, const Vec3& v2) {
    updateCombinedMatrix(rc);
    ScreenVertex s[3];
    const Vec3* v[3] = {&v0, &v1, &v2};
    for (int k = 0; k < 3; ++k)
        if (!transformVertex(*v[k], rc->combined, rc->width, rc->height, s[k]))
            return;
    rasteriseTriangle(*rc, s[0], s[1], s[2]);
}

struct Scene {
    const Target byElements = target(), oneByOne = target();
    template <typename Step> void onBoth(Step step) {
        step(byElements->rc);
        step(oneByOne->rc);
    }
    // The same triangles, once through rcDrawElements and once each through the scalar transform.
    // With a range, the elements are drawn as those known to lie in it.
    void draw(const std::vector<Vec3>& array, const uint32_t* indices, int32_t count,
              const IndexRange* range = nullptr) {
        rcVertexPointer(byElements->rc, 3, GL_FLOAT, 0, array.data());
        if (range)
            rcDrawRangeElements(byElements->rc, GL_TRIANGLES, *range, count, GL_UNSIGNED_INT,
                                indices);
        else
            rcDrawElements(byElements->rc, GL_TRIANGLES, count, GL_UNSIGNED_INT, indices);
        for (int32_t i = 0; i + 2 < count; i += 3)
            drawTriangleScalar(oneByOne->rc, array[indices[i]], array[indices[i + 1]],
                               array[indices[i + 2]]);
    }
    void draw(const std::vector<Vec3>& array, const std::vector<uint32_t>& indices, int32_t count) {
        draw(array, indices.data(), count);
    }
    void expectSame(const char* what) {
        EXPECT_EQ(byElements->pixels, oneByOne->pixels) << what;
        const size_t depthValues = kTargetWidth * kTargetHeight;
        EXPECT_TRUE(std::equal(byElements->rc->depthBuffer,
                               byElements->rc->depthBuffer + depthValues,
                               oneByOne->rc->depthBuffer))
            << what;
    }
};

// A figure-like mesh: vertices in a box a few metres across, many triangles sharing them, some
// of them beyond the near plane or the screen so that whole triangles drop.
struct MeshMaker {
    std::mt19937 rng{77};
    Fixed uniform(Fixed low, Fixed high) {
        return std::uniform_int_distribution<Fixed>(low, high)(rng);
    }
    std::vector<Vec3> vertices(int n, Fixed size) {
        std::vector<Vec3> v(n);
        for (Vec3& p : v)
            p = {uniform(-size, size), uniform(-size, size), uniform(-size, size)};
        return v;
    }
    std::vector<uint32_t> indices(int triangles, int vertices) {
        std::vector<uint32_t> i(3 * triangles);
        for (uint32_t& k : i)
            k = static_cast<uint32_t>(uniform(0, vertices - 1));
        return i;
    }
};

void lookFrom(RenderContext* rc, const FxMatrix& projection, Fixed x, Fixed y, Fixed z) {
    FxMatrix view = fxMatrixIdentity();
    view.m[12] = x;
    view.m[13] = y;
    view.m[14] = z;
    rcMatrixMode(rc, GL_PROJECTION);
    rcLoadMatrix(rc, projection);
    rcMatrixMode(rc, GL_MODELVIEW);
    rcLoadMatrix(rc, view);
}

TEST(VertexCache, ElementDrawingMatchesTriangleByTriangleOverRandomMeshes) {
    const FxMatrix projection = makeCameraSetup().projection;
    Scene scene;
    MeshMaker maker;
    Vec3 lastTriangle[3];
    for (int trial = 0; trial < 300; ++trial) {
        const int vertices = maker.uniform(1, 400);
        const std::vector<Vec3> array = maker.vertices(vertices, maker.uniform(4096, 12 * kFxOne));
        const std::vector<uint32_t> indices = maker.indices(maker.uniform(1, 300), vertices);
        const Fixed x = maker.uniform(-8 * kFxOne, 8 * kFxOne);
        const Fixed y = maker.uniform(-8 * kFxOne, 8 * kFxOne);
        const Fixed z = maker.uniform(-90 * kFxOne, -20 * kFxOne);
        const Rgba colour = {static_cast<uint8_t>(trial), 90, 200, static_cast<uint8_t>(trial * 7)};
        const bool blend = trial % 3 == 0;
        scene.onBoth([&](RenderContext* rc) {
            lookFrom(rc, projection, x, y, z);
            rcColor4(rc, colour.r, colour.g, colour.b, colour.a);
            blend ? rcEnable(rc, GL_BLEND) : rcDisable(rc, GL_BLEND);
        });
        // A count that is not a multiple of three leaves the partial triangle undrawn.
        const int32_t count = static_cast<int32_t>(indices.size()) - trial % 4 / 3;
        const auto [lowest, highest] = std::minmax_element(indices.begin(), indices.end());
        const IndexRange range = {*lowest, *highest};
        scene.draw(array, indices.data(), count, trial % 2 ? &range : nullptr);
        for (int k = 0; k < 3 && count >= 3; ++k)
            lastTriangle[k] = array[indices[(count / 3 - 1) * 3 + k]];
        if (trial % 25 == 24)
            scene.onBoth([](RenderContext* rc) { rcClear(rc, GL_DEPTH_BUFFER_BIT); });
    }
    scene.expectSame("random meshes");
    EXPECT_GT(countDrawn(*scene.byElements), 20000);
    // The slots hold the last whole triangle, as copying each triangle in would leave them.
    EXPECT_EQ(0, std::memcmp(scene.byElements->rc->vertexSlots, lastTriangle, sizeof lastTriangle));
}

// What could make a remembered vertex stale: indices a cache size apart (every other triangle
// has its three corners in one slot), the same index with new coordinates in the same
// array, another matrix, a buffer of another size. Each step starts from cleared buffers.
TEST(VertexCache, NothingStaleIsDrawn) {
    const FxMatrix projection = makeCameraSetup().projection;
    Scene scene;
    MeshMaker maker;
    std::vector<Vec3> array = maker.vertices(3 * kVertexCacheSlots, 3 * kFxOne);
    std::vector<uint32_t> indices;
    for (uint32_t i = 0; i + 2 < kVertexCacheSlots; ++i)
        for (uint32_t k : {i, i + 1, i + 2, i, i + kVertexCacheSlots, i + 2 * kVertexCacheSlots})
            indices.push_back(k);
    // Then a strip whose vertices the next drawing finds still in the cache.
    for (uint32_t i = 0; i + 2 < kVertexCacheSlots; ++i)
        for (uint32_t k : {i, i + 1, i + 2})
            indices.push_back(k);
    const int32_t count = static_cast<int32_t>(indices.size());
    const auto step = [&](const char* what) {
        scene.onBoth(
            [](RenderContext* rc) { rcClear(rc, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
        scene.draw(array, indices, count);
        scene.expectSame(what);
        const std::vector<uint32_t>& pixels = scene.byElements->pixels;
        EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0xFFFFFFFFu), 2000) << what;
    };
    scene.onBoth([&](RenderContext* rc) { lookFrom(rc, projection, 0, 0, -40 * kFxOne); });
    step("corners sharing a slot");
    for (Vec3& v : array)
        v.x = fxAdd(v.x, kFxOne / 3);
    step("moved vertices");
    scene.onBoth([&](RenderContext* rc) { lookFrom(rc, projection, kFxOne, 0, -60 * kFxOne); });
    step("another matrix");

    // A narrower buffer of the same pixel count keeps the depth buffer but projects elsewhere.
    std::vector<uint32_t> narrowA(160 * 480), narrowB(160 * 480);
    rcBindBuffer(scene.byElements->rc, narrowA.data(), 160, 480);
    rcBindBuffer(scene.oneByOne->rc, narrowB.data(), 160, 480);
    scene.onBoth([](RenderContext* rc) { rcClear(rc, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
    scene.draw(array, indices, count);
    EXPECT_EQ(narrowA, narrowB);
    EXPECT_GT(std::count(narrowA.begin(), narrowA.end(), 0xFFFFFFFFu), 2000);
}

// A drawing projects only what its index range adds to the projected range; a range apart from
// it starts afresh; forgetting empties it.
TEST(VertexCache, ProjectionPlansCoverTheIndexRangeOnce) {
    VertexCache cache;
    const auto plan = [&cache](uint32_t lowest, uint32_t highest) {
        const ProjectionPlan p = planProjection(cache, lowest, highest);
        cache.projectedBegin = p.begin;
        cache.projectedEnd = p.end;
        return p;
    };
    const auto runs = [](const ProjectionPlan& p) {
        std::vector<uint32_t> out;
        for (const VertexRun& run : p.runs)
            if (run.first <= run.last)
                out.insert(out.end(), {run.first, run.last});
        return out;
    };
    EXPECT_EQ(runs(plan(10, 20)), (std::vector<uint32_t>{10, 20}));
    EXPECT_EQ(plan(12, 18).vertices, 0u);
    const ProjectionPlan wider = plan(5, 30);
    EXPECT_EQ(runs(wider), (std::vector<uint32_t>{5, 9, 21, 30}));
    EXPECT_EQ(wider.vertices, 15u);
    EXPECT_EQ(runs(plan(31, 40)), (std::vector<uint32_t>{31, 40})); // touching: one range
    EXPECT_EQ(cache.projectedBegin, 5u);
    EXPECT_EQ(cache.projectedEnd, 41u);
    EXPECT_EQ(runs(plan(100, 110)), (std::vector<uint32_t>{100, 110})); // apart: afresh
    EXPECT_EQ(cache.projectedBegin, 100u);
    EXPECT_EQ(runs(plan(0, kVertexCacheSlots - 1)),
              (std::vector<uint32_t>{0, 99, 111, kVertexCacheSlots - 1}));
    vertexCacheForget(cache);
    EXPECT_EQ(runs(plan(7, 7)), (std::vector<uint32_t>{7, 7}));
}

// A drawing whose few indices lie far apart is drawn one by one rather than projecting the
// whole range between them; either way it draws what the triangles alone draw.
TEST(VertexCache, SparseIndicesDrawTheSame) {
    const FxMatrix projection = makeCameraSetup().projection;
    Scene scene;
    MeshMaker maker;
    const std::vector<Vec3> array = maker.vertices(kVertexCacheSlots, 3 * kFxOne);
    std::vector<uint32_t> indices;
    for (uint32_t i = 0; i < 60; ++i)
        indices.push_back(i % 3 == 2 ? kVertexCacheSlots - 1 - i : i);
    scene.onBoth([&](RenderContext* rc) { lookFrom(rc, projection, 0, 0, -40 * kFxOne); });
    scene.draw(array, indices, static_cast<int32_t>(indices.size()));
    scene.expectSame("sparse indices");
    EXPECT_EQ(scene.byElements->rc->vertexCache.projectedEnd, 0u);
}

TEST(VertexCache, ForgettingFourBillionTimesClearsTheStamps) {
    VertexCache cache;
    cache.slots[5].generation = 0xFFFFFFFFu;
    cache.generation = 0xFFFFFFFFu;
    vertexCacheForget(cache);
    EXPECT_EQ(cache.generation, 1u);
    EXPECT_EQ(cache.slots[5].generation, 0u);
}

// Runs of one material drawn from a locked array share its projected vertices; another array,
// another matrix or moved vertices after unlocking are projected afresh.
TEST(VertexCache, LockedArraysShareVerticesAcrossDrawingsAndNothingStale) {
    const FxMatrix projection = makeCameraSetup().projection;
    Scene scene;
    MeshMaker maker;
    std::vector<Vec3> array = maker.vertices(300, 3 * kFxOne);
    std::vector<Vec3> other = maker.vertices(300, 3 * kFxOne);
    const std::vector<uint32_t> indices = maker.indices(400, 300);
    const int32_t half = 600;
    // The second run reads `second`, which is the first run's array or another one.
    const auto drawInRuns = [&](const std::vector<Vec3>& first, const std::vector<Vec3>& second,
                                const char* what) {
        scene.onBoth(
            [](RenderContext* rc) { rcClear(rc, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); });
        rcVertexPointer(scene.byElements->rc, 3, GL_FLOAT, 0, first.data());
        rcLockArrays(scene.byElements->rc);
        scene.onBoth([](RenderContext* rc) { rcColor4(rc, 200, 40, 40, 255); });
        scene.draw(first, indices.data(), half);
        scene.onBoth([](RenderContext* rc) { rcColor4(rc, 40, 200, 40, 255); });
        scene.draw(second, indices.data() + half, half);
        rcUnlockArrays(scene.byElements->rc);
        scene.expectSame(what);
        const std::vector<uint32_t>& pixels = scene.byElements->pixels;
        EXPECT_GT(std::count(pixels.begin(), pixels.end(), 0xFF28C828u), 500) << what;
    };
    scene.onBoth([&](RenderContext* rc) { lookFrom(rc, projection, 0, 0, -40 * kFxOne); });
    drawInRuns(array, array, "locked runs");
    drawInRuns(array, other, "another array while locked");
    for (Vec3& v : array)
        v.y = fxAdd(v.y, kFxOne / 2);
    drawInRuns(array, array, "moved after unlocking");
    scene.onBoth([&](RenderContext* rc) { lookFrom(rc, projection, kFxOne, 0, -50 * kFxOne); });
    drawInRuns(array, array, "another matrix");
}

} // namespace

// Runs of colours drawn together draw what each run drawn alone in its colour draws, blended or
// not, in runs shorter and longer than a group; a run that is not whole triangles sends the
// drawing run by run. Either way the last run's colour is left current.
TEST(VertexCache, ColourRunsDrawWhatEachRunDrawsAlone) {
    const FxMatrix projection = makeCameraSetup().projection;
    Scene scene;
    MeshMaker maker;
    for (int trial = 0; trial < 60; ++trial) {
        const int vertices = maker.uniform(3, 300);
        const std::vector<Vec3> array = maker.vertices(vertices, maker.uniform(kFxOne, 6 * kFxOne));
        const std::vector<uint32_t> indices = maker.indices(maker.uniform(1, 200), vertices);
        const int32_t count = static_cast<int32_t>(indices.size());
        const bool partial = trial % 10 == 9;
        std::vector<ColourRun> runs;
        for (int32_t end = 0; end < count;) {
            end = std::min(count, end + 3 * maker.uniform(1, 20) - (partial ? 1 : 0));
            const uint8_t shade = static_cast<uint8_t>(maker.uniform(0, 255));
            runs.push_back({end,
                            {shade, 90, static_cast<uint8_t>(255 - shade),
                             static_cast<uint8_t>(trial % 3 == 0 ? shade : 255)}});
        }
        const Fixed distance = maker.uniform(30 * kFxOne, 60 * kFxOne);
        scene.onBoth([&](RenderContext* rc) {
            lookFrom(rc, projection, 0, 0, -distance);
            trial % 3 == 0 ? rcEnable(rc, GL_BLEND) : rcDisable(rc, GL_BLEND);
            rcClear(rc, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        });
        RenderContext* together = scene.byElements->rc;
        rcVertexPointer(together, 3, GL_FLOAT, 0, array.data());
        // Given, the range holds every index, exactly or with room around it.
        const auto [lowest, highest] = std::minmax_element(indices.begin(), indices.end());
        const IndexRange range = {
            *lowest - (trial % 4 == 2 ? std::min(*lowest, 5u) : 0),
            *highest + (trial % 4 == 3
                            ? std::min(static_cast<uint32_t>(vertices) - 1 - *highest, 7u)
                            : 0)};
        if (trial % 4 == 0)
            rcDrawColourRuns(together, indices.data(), runs.data(),
                             static_cast<int32_t>(runs.size()));
        else
            rcDrawRangeColourRuns(together, range, indices.data(), runs.data(),
                                  static_cast<int32_t>(runs.size()));
        int32_t begin = 0;
        for (const ColourRun& run : runs) {
            scene.oneByOne->rc->colour = run.colour;
            for (int32_t i = begin; i + 2 < run.end; i += 3)
                drawTriangle(scene.oneByOne->rc, array[indices[i]], array[indices[i + 1]],
                             array[indices[i + 2]]);
            begin = run.end;
        }
        scene.expectSame(partial ? "runs with partial triangles" : "runs of whole triangles");
        EXPECT_EQ(pixelWord(together->colour), pixelWord(runs.back().colour));
    }
    EXPECT_GT(countDrawn(*scene.byElements), 5000);
}
