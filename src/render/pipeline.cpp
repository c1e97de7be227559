// pipeline.cpp: matrix products, the vertex transform with whole-primitive rejection, and the
// hand-over of projected triangles and quads to the rasteriser.
#include "render/pipeline.h"

#include <algorithm>

#include "core/processor_features.h"
#include "render/render_context.h"
#include "render/render_limits.h"
#include "render/triangle_groups_vector.h"
#include "render/vertex_cache.h"
#include "render/vertex_transform_vector.h"

namespace {

Fixed clampToScreen(Fixed v, int32_t size) {
    if (v < 0)
        return 0;
    if (v >= fxFromInt(size))
        return fxFromInt(size - 1);
    return v;
}

bool outsideUnitRange(Fixed v, Fixed low) {
    return v < low || v > kFxOne;
}

} // namespace

FxMatrix fxMatrixIdentity() {
    FxMatrix m = {};
    m.m[0] = m.m[5] = m.m[10] = m.m[15] = kFxOne;
    return m;
}

FxMatrix fxMatrixMultiply(const FxMatrix& a, const FxMatrix& b) {
    FxMatrix out;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            Fixed sum = 0;
            for (int k = 0; k < 4; ++k)
                sum = fxAdd(sum, fxMul(a.m[k * 4 + r], b.m[c * 4 + k]));
            out.m[c * 4 + r] = sum;
        }
    return out;
}

bool transformVertex(const Vec3& v, const FxMatrix& combined, int32_t width, int32_t height,
                     ScreenVertex& out) {
    Fixed clip[4];
    fxTransformPoint(v, combined, clip);
    if (clip[3] == 0)
        return false;
    const Fixed reciprocal = fxDiv(kFxOne, clip[3]);
    const Fixed x = fxMul(clip[0], reciprocal);
    const Fixed y = fxMul(clip[1], reciprocal);
    const Fixed z = fxMul(clip[2], reciprocal);
    // Depth starts at 0, not -1: vertices nearer than 2fn / (f + n) are dropped too.
    if (outsideUnitRange(x, -kFxOne) || outsideUnitRange(y, -kFxOne) || outsideUnitRange(z, 0))
        return false;
    out.x = clampToScreen(fxMul(fxAdd(kFxOne, x), fxFromInt(width / 2)), width);
    out.y = clampToScreen(fxMul(fxSub(kFxOne, y), fxFromInt(height / 2)), height);
    out.z = fxMul(z, kDepthRange);
    if (out.z < 0)
        out.z = 0;
    if (out.z > kDepthRange)
        out.z = kDepthRange;
    return true;
}

void updateCombinedMatrix(RenderContext* rc) {
    if (rc->combinedValid)
        return;
    rc->combined = fxMatrixMultiply(*rc->projectionTop, *rc->modelViewTop);
    rc->combinedValid = 1;
    rc->projectionValid = 0;
    vertexCacheForget(rc->vertexCache);
}

namespace {

// The combined matrix and the screen laid out for the vector lanes, once per change of either.
const VectorProjection& vectorProjection(RenderContext& rc) {
    if (!rc.projectionValid) {
        prepareVectorProjection(rc.combined, rc.width, rc.height, rc.projection);
        rc.projectionValid = 1;
    }
    return rc.projection;
}

// The corners of a primitive in the vector registers, bit for bit what transformVertex and
// screenCorner give; false when any is rejected.
template <int count> bool projectCornersAvx2(RenderContext& rc, const Vec3* v, ScreenCorner* out) {
    const VectorProjection& projection = vectorProjection(rc);
    for (int i = 0; i < count; ++i)
        if (!projectCornerAvx2(v[i], projection, out[i]))
            return false;
    return true;
}

} // namespace

void drawTriangle(RenderContext* rc, const Vec3& v0, const Vec3& v1, const Vec3& v2) {
    updateCombinedMatrix(rc);
    if (cpuHasAvx2()) {
        // Without buffers nothing is drawn; with them, projected vertices lie on the screen.
        const Vec3 v[3] = {v0, v1, v2};
        ScreenCorner c[3];
        if (rc->colourBuffer && rc->depthBuffer && projectCornersAvx2<3>(*rc, v, c))
            rasteriseCorners(*rc, c[0], c[1], c[2]);
        return;
    }
    ScreenVertex s[3];
    if (!transformVertex(v0, rc->combined, rc->width, rc->height, s[0]) ||
        !transformVertex(v1, rc->combined, rc->width, rc->height, s[1]) ||
        !transformVertex(v2, rc->combined, rc->width, rc->height, s[2]))
        return;
    rasteriseTriangle(*rc, s[0], s[1], s[2]);
}

void drawQuad(RenderContext* rc, const Vec3 corners[4]) {
    updateCombinedMatrix(rc);
    if (cpuHasAvx2()) {
        ScreenCorner c[4];
        if (rc->colourBuffer && rc->depthBuffer && projectCornersAvx2<4>(*rc, corners, c)) {
            rasteriseCorners(*rc, c[0], c[1], c[2]);
            rasteriseCorners(*rc, c[0], c[2], c[3]);
        }
        return;
    }
    ScreenVertex s[4];
    for (int i = 0; i < 4; ++i)
        if (!transformVertex(corners[i], rc->combined, rc->width, rc->height, s[i]))
            return;
    rasteriseTriangle(*rc, s[0], s[1], s[2]);
    rasteriseTriangle(*rc, s[0], s[2], s[3]);
}

namespace {

// A triangle with a vertex beyond the cache's slots: its corners are projected on the spot.
template <typename Project>
void drawUncached(RenderContext& rc, const Vec3& v0, const Vec3& v1, const Vec3& v2,
                  const Project& project) {
    ScreenCorner c0, c1, c2;
    if (project(v0, c0) && project(v1, c1) && project(v2, c2))
        rasteriseCorners(rc, c0, c1, c2);
}

// A new array, or one not locked, says nothing about the vertices remembered from before.
void startIndexedDrawing(RenderContext& rc, const Vec3* array) {
    if (!rc.arraysLocked || rc.cachedArray != array)
        vertexCacheForget(rc.vertexCache);
    rc.cachedArray = array;
}

// The triangles of indices[begin, end), one at a time.
template <typename Project>
void drawIndexedRange(RenderContext& rc, const Vec3* array, const uint32_t* indices, int32_t begin,
                      int32_t end, const Project& project) {
    VertexCache& cache = rc.vertexCache;
    for (int32_t i = begin; i < end; i += 3) {
        const uint32_t i0 = indices[i], i1 = indices[i + 1], i2 = indices[i + 2];
        if ((i0 | i1 | i2) >= kVertexCacheSlots) {
            drawUncached(rc, array[i0], array[i1], array[i2], project);
            continue;
        }
        const CachedVertex& c0 = cachedTransform(cache, i0, array[i0], project);
        if (!c0.visible)
            continue;
        const CachedVertex& c1 = cachedTransform(cache, i1, array[i1], project);
        if (!c1.visible)
            continue;
        const CachedVertex& c2 = cachedTransform(cache, i2, array[i2], project);
        if (c2.visible)
            rasteriseCorners(rc, c0.corner, c1.corner, c2.corner);
    }
}

// Vertices projected for a drawing per index it holds (and a few more for small drawings), beyond
// which it goes one by one. A run of one material projects the whole of its figure's range for
// the runs after it.
constexpr uint32_t kProjectionAllowance = 4;
constexpr uint32_t kProjectionAllowanceExtra = 64;

// The triangles of indices[begin, end) one at a time, each in its run's colour.
template <typename Project>
void drawRunsOneByOne(RenderContext& rc, const Vec3* array, const uint32_t* indices, int32_t begin,
                      int32_t end, const ColourRun* runs, int32_t runCount,
                      const Project& project) {
    int32_t runStart = 0;
    for (int32_t r = 0; r < runCount; runStart = runs[r].end, ++r) {
        const int32_t from = std::max(runStart, begin), to = std::min(runs[r].end, end);
        if (from >= to)
            continue;
        rc.colour = runs[r].colour;
        drawIndexedRange(rc, array, indices, from, to, project);
    }
}

// Every vertex from the smallest index to the largest projected eight at a time, then the
// triangles eight at a time (the last group masked to those left). Projecting a vertex no triangle
// uses changes nothing but the cache. A drawing with an index beyond the cache's slots, or whose
// indices lie so far apart that projecting between them would cost more than it saves, goes
// one by one.
void drawIndexedAvx2(RenderContext& rc, const Vec3* array, const uint32_t* indices, int32_t end,
                     const ColourRun* runs, int32_t runCount, const IndexRange* known) {
    const VectorProjection& projection = vectorProjection(rc);
    const auto project = [&projection](const Vec3& v, ScreenCorner& out) {
        return projectCornerAvx2(v, projection, out);
    };
    VertexCache& cache = rc.vertexCache;
    const IndexRange range = known ? *known : indexRangeAvx2(indices, end);
    const ProjectionPlan plan = range.highest < kVertexCacheSlots
                                    ? planProjection(cache, range.lowest, range.highest)
                                    : ProjectionPlan{};
    if (range.highest >= kVertexCacheSlots ||
        plan.vertices >
            kProjectionAllowance * static_cast<uint32_t>(end) + kProjectionAllowanceExtra) {
        drawRunsOneByOne(rc, array, indices, 0, end, runs, runCount, project);
        return;
    }
    for (const VertexRun& run : plan.runs)
        if (run.first <= run.last)
            projectRunAvx2(cache, array, run.first, run.last, projection);
    cache.projectedBegin = plan.begin;
    cache.projectedEnd = plan.end;
    const int32_t rest = drawTriangleGroupsAvx2(rc, indices, 0, end, runs, runCount);
    drawRunsOneByOne(rc, array, indices, rest, end, runs, runCount, project);
}

void keepLastTriangle(RenderContext& rc, const Vec3* array, const uint32_t* indices, int32_t end) {
    for (int k = 0; k < 3; ++k)
        rc.vertexSlots[k] = array[indices[end - 3 + k]];
}

} // namespace

void drawIndexedTriangles(RenderContext* rc, const Vec3* array, const uint32_t* indices,
                          int32_t count, const IndexRange* known) {
    updateCombinedMatrix(rc);
    const int32_t end = count >= 3 ? count - count % 3 : 0;
    if (end == 0)
        return;
    // Without buffers nothing is drawn, and no vertex needs projecting.
    if (rc->colourBuffer && rc->depthBuffer) {
        startIndexedDrawing(*rc, array);
        if (cpuHasAvx2()) {
            const ColourRun run = {end, rc->colour};
            drawIndexedAvx2(*rc, array, indices, end, &run, 1, known);
        } else {
            drawIndexedRange(*rc, array, indices, 0, end, [rc](const Vec3& v, ScreenCorner& out) {
                ScreenVertex screen;
                if (!transformVertex(v, rc->combined, rc->width, rc->height, screen))
                    return false;
                out = screenCorner(screen);
                return true;
            });
        }
    }
    keepLastTriangle(*rc, array, indices, end);
}

bool drawIndexedColourRuns(RenderContext* rc, const Vec3* array, const uint32_t* indices,
                           const ColourRun* runs, int32_t runCount, const IndexRange* known) {
    if (!cpuHasAvx2() || !rc->colourBuffer || !rc->depthBuffer)
        return false;
    int32_t runStart = 0;
    for (int32_t r = 0; r < runCount; runStart = runs[r].end, ++r) {
        const int32_t count = runs[r].end - runStart;
        if (count < 3 || count % 3 != 0)
            return false;
    }
    updateCombinedMatrix(rc);
    startIndexedDrawing(*rc, array);
    const int32_t end = runs[runCount - 1].end;
    drawIndexedAvx2(*rc, array, indices, end, runs, runCount, known);
    rc->colour = runs[runCount - 1].colour;
    keepLastTriangle(*rc, array, indices, end);
    return true;
}
