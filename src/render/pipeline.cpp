// pipeline.cpp: matrix products, the vertex transform with whole-primitive rejection, and the
// hand-over of projected triangles and quads to the rasteriser.
#include "render/pipeline.h"

#include "render/depth_tested_fill.h"
#include "render/render_context.h"
#include "render/vertex_cache.h"
#include "render/vertex_transform_vector.h"

namespace {

constexpr Fixed kDepthRange = 0x7FFF0000; // 32767.0: the far end of the depth buffer

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
    vertexCacheForget(rc->vertexCache);
}

void drawTriangle(RenderContext* rc, const Vec3& v0, const Vec3& v1, const Vec3& v2) {
    updateCombinedMatrix(rc);
    ScreenVertex s[3];
    if (!transformVertex(v0, rc->combined, rc->width, rc->height, s[0]) ||
        !transformVertex(v1, rc->combined, rc->width, rc->height, s[1]) ||
        !transformVertex(v2, rc->combined, rc->width, rc->height, s[2]))
        return;
    rasteriseTriangle(*rc, s[0], s[1], s[2]);
}

void drawQuad(RenderContext* rc, const Vec3 corners[4]) {
    updateCombinedMatrix(rc);
    ScreenVertex s[4];
    for (int i = 0; i < 4; ++i)
        if (!transformVertex(corners[i], rc->combined, rc->width, rc->height, s[i]))
            return;
    rasteriseTriangle(*rc, s[0], s[1], s[2]);
    rasteriseTriangle(*rc, s[0], s[2], s[3]);
}

namespace {

template <typename Project>
int32_t drawIndexedWith(RenderContext* rc, const Vec3* array, const uint32_t* indices,
                        int32_t count, const Project& project) {
    const bool bound = rc->colourBuffer && rc->depthBuffer;
    VertexCache& cache = rc->vertexCache;
    int32_t i = 0;
    for (; i + 2 < count; i += 3) {
        // Each corner is copied out before the next lookup: two indices can share a slot.
        const uint32_t i0 = indices[i], i1 = indices[i + 1], i2 = indices[i + 2];
        const CachedVertex& c0 = cachedTransform(cache, i0, array[i0], project);
        if (!c0.visible)
            continue;
        const ScreenVertex s0 = c0.screen;
        const CachedVertex& c1 = cachedTransform(cache, i1, array[i1], project);
        if (!c1.visible)
            continue;
        const ScreenVertex s1 = c1.screen;
        const CachedVertex& c2 = cachedTransform(cache, i2, array[i2], project);
        if (c2.visible && bound)
            rasteriseOnScreen(*rc, s0, s1, c2.screen);
    }
    return i;
}

} // namespace

void drawIndexedTriangles(RenderContext* rc, const Vec3* array, const uint32_t* indices,
                          int32_t count) {
    updateCombinedMatrix(rc);
    int32_t end;
    if (cpuHasAvx2()) {
        VectorProjection projection;
        prepareVectorProjection(rc->combined, rc->width, rc->height, projection);
        end = drawIndexedWith(rc, array, indices, count,
                              [&projection](const Vec3& v, ScreenVertex& out) {
                                  return transformVertexAvx2(v, projection, out);
                              });
    } else {
        end = drawIndexedWith(rc, array, indices, count, [rc](const Vec3& v, ScreenVertex& out) {
            return transformVertex(v, rc->combined, rc->width, rc->height, out);
        });
    }
    if (end == 0)
        return;
    for (int k = 0; k < 3; ++k)
        rc->vertexSlots[k] = array[indices[end - 3 + k]];
}
