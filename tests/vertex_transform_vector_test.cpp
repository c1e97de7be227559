// The vertex transform in vector registers, one vertex or eight at a time, against the scalar
// one, result for result.
#include "render/vertex_transform_vector.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "core/processor_features.h"
#include "render/camera.h"
#include "render/fixed_point_lanes.h"
#include "render/pipeline.h"
#include "render/vertex_cache.h"

namespace {

// Everything a projected vertex or corner holds, to compare in one go.
std::tuple<Fixed, Fixed, Fixed> fieldsOf(const ScreenVertex& v) {
    return {v.x, v.y, v.z};
}
std::tuple<Fixed, Fixed, Fixed, Subpixel, Subpixel> fieldsOf(const ScreenCorner& c) {
    return {c.v.x, c.v.y, c.v.z, c.x, c.y};
}

// One vertex: the transform, and the corner placed on the grid as the rasteriser places it (the
// clamped borders, where y - 0.5 goes negative, included).
void expectSameTransform(const Vec3& v, const FxMatrix& m, int32_t width, int32_t height) {
    VectorProjection projection;
    prepareVectorProjection(m, width, height, projection);
    ScreenVertex scalar = {-1, -1, -1}, vector = {-1, -1, -1};
    ScreenCorner corner = {};
    const bool scalarVisible = transformVertex(v, m, width, height, scalar);
    ASSERT_EQ(scalarVisible, transformVertexAvx2(v, projection, vector))
        << v.x << " " << v.y << " " << v.z;
    ASSERT_EQ(scalarVisible, projectCornerAvx2(v, projection, corner))
        << v.x << " " << v.y << " " << v.z;
    if (scalarVisible) {
        ASSERT_EQ(fieldsOf(scalar), fieldsOf(vector)) << v.x << " " << v.y << " " << v.z;
        ASSERT_EQ(fieldsOf(screenCorner(scalar)), fieldsOf(corner))
            << v.x << " " << v.y << " " << v.z;
    }
}

// Vertices projected eight at a time into the cache: each slot holds what the scalar transform
// placed on the grid gives, stamped with the generation, for the lanes past the last vertex too.
// The projection is asked for in two runs, so that the second starts mid-group.
void expectSameInCache(const std::vector<Vec3>& vertices, const FxMatrix& m, int32_t width,
                       int32_t height) {
    static const auto cache = std::make_unique<VertexCache>();
    vertexCacheForget(*cache);
    VectorProjection projection;
    prepareVectorProjection(m, width, height, projection);
    const uint32_t last = static_cast<uint32_t>(vertices.size() - 1);
    projectRunAvx2(*cache, vertices.data(), 0, last / 3, projection);
    if (last > 0)
        projectRunAvx2(*cache, vertices.data(), last / 3 + 1, last, projection);
    for (uint32_t i = 0; i <= last; ++i) {
        const CachedVertex& slot = cache->slots[i];
        const Vec3& v = vertices[i];
        ScreenVertex scalar;
        const bool visible = transformVertex(v, m, width, height, scalar);
        ASSERT_EQ(slot.generation, cache->generation);
        ASSERT_EQ(slot.visible, visible ? 1u : 0u) << v.x << " " << v.y << " " << v.z;
        if (!visible)
            continue;
        ASSERT_EQ(fieldsOf(screenCorner(scalar)), fieldsOf(slot.corner))
            << v.x << " " << v.y << " " << v.z;
    }
    // Nothing past the last vertex was written.
    if (last + 1 < kVertexCacheSlots) {
        ASSERT_NE(cache->slots[last + 1].generation, cache->generation);
    }
}

#if defined(DROVANA_X86_VECTORS)
// fxMul's truncation lane by lane where the products reach the ends of 64 bits and change sign
// in the dropped bits.
__attribute__((target("avx2"))) void expectLaneProductsAsFxMul(const int32_t (&a)[8],
                                                               const int32_t (&b)[8]) {
    alignas(32) int32_t out[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(out),
                       fxMulLanes(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a)),
                                  _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b))));
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(out[k], fxMul(a[k], b[k])) << a[k] << " x " << b[k];
}

TEST(VertexTransformVector, LaneProductsTruncateAsFxMul) {
    if (!cpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    expectLaneProductsAsFxMul({INT32_MIN, INT32_MIN, INT32_MAX, -1, -1, 3, -65536, 65535},
                              {INT32_MIN, INT32_MAX, INT32_MAX, 1, -1, -1, 65536, -65537});
}
#endif

TEST(VertexTransformVector, MatchesTheScalarTransformEverywhere) {
    if (!cpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    std::mt19937 rng(31);
    const auto uniform = [&rng](int64_t low, int64_t high) {
        return static_cast<Fixed>(std::uniform_int_distribution<int64_t>(low, high)(rng));
    };
    const CameraSetup camera = makeCameraSetup();
    const FxMatrix views[] = {fxMatrixMultiply(camera.projection, camera.matchView),
                              fxMatrixMultiply(camera.projection, camera.previewView)};
    int visible = 0;
    // The game's cameras over the court and well beyond it, behind the camera included.
    for (const FxMatrix& m : views)
        for (int batch = 0; batch < 25; ++batch) {
            std::vector<Vec3> vertices(kVertexCacheSlots - batch);
            for (Vec3& v : vertices) {
                v = {uniform(-40 * kFxOne, 40 * kFxOne), uniform(-5 * kFxOne, 20 * kFxOne),
                     uniform(-120 * kFxOne, 120 * kFxOne)};
                expectSameTransform(v, m, 240, 320);
                ScreenVertex s;
                visible += transformVertex(v, m, 240, 320, s);
            }
            expectSameInCache(vertices, m, 240, 320);
        }
    EXPECT_GT(visible, 2000);

    // Through identity: the view volume's faces exactly, a raw unit either side, the clamps,
    // w of 0, and screens of odd and tiny sizes.
    const Fixed edges[] = {-kFxOne - 1, -kFxOne, -kFxOne + 1, -1,     0,
                           1,           kFxHalf, kFxOne - 1,  kFxOne, kFxOne + 1};
    FxMatrix identity = fxMatrixIdentity();
    for (int32_t size : {1, 2, 239, 240, 321}) {
        std::vector<Vec3> vertices;
        for (Fixed x : edges)
            for (Fixed y : edges)
                for (Fixed z : edges) {
                    expectSameTransform({x, y, z}, identity, size, size + 80);
                    vertices.push_back({x, y, z});
                }
        expectSameInCache(vertices, identity, size, size + 80);
    }
    // w = z: 0 at the origin, and a raw unit or two either way, where 1 / w saturates.
    FxMatrix flat = identity;
    flat.m[15] = 0;
    flat.m[11] = kFxOne;
    const std::vector<Vec3> nearW = {{0, 0, 0},  {0, 0, 1},      {0, 0, -1},    {0, 0, 2},
                                     {0, 0, -2}, {kFxOne, 0, 0}, {0, 0, kFxOne}};
    for (const Vec3& v : nearW)
        expectSameTransform(v, flat, 240, 320);
    expectSameInCache(nearW, flat, 240, 320);

    // The cameras shaken, so that points land on the borders and get clamped.
    for (int i = 0; i < 100000; ++i) {
        FxMatrix m = views[i % 2];
        for (Fixed& e : m.m)
            e = fxAdd(e, uniform(-kFxOne / 4, kFxOne / 4));
        std::vector<Vec3> vertices(1 + i % 17);
        for (Vec3& v : vertices) {
            v = {uniform(-20 * kFxOne, 20 * kFxOne), uniform(-5 * kFxOne, 20 * kFxOne),
                 uniform(-60 * kFxOne, 60 * kFxOne)};
            expectSameTransform(v, m, 240, 320);
        }
        if (i % 10 == 0)
            expectSameInCache(vertices, m, 240, 320);
    }

    // Random matrices and points whose products and sums wrap.
    for (int i = 0; i < 200000; ++i) {
        FxMatrix m;
        for (Fixed& e : m.m)
            e = uniform(INT32_MIN, INT32_MAX) >> uniform(0, 31);
        std::vector<Vec3> vertices(1 + i % 9);
        for (Vec3& v : vertices) {
            v = {uniform(INT32_MIN, INT32_MAX) >> uniform(0, 31),
                 uniform(INT32_MIN, INT32_MAX) >> uniform(0, 31),
                 uniform(INT32_MIN, INT32_MAX) >> uniform(0, 31)};
            expectSameTransform(v, m, 240, 320);
        }
        if (i % 10 == 0)
            expectSameInCache(vertices, m, 240, 320);
    }
}

} // namespace
