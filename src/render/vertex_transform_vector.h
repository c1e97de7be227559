// vertex_transform_vector.h: the vertex transform in vector registers, bit for bit the scalar
// one; element drawing spends a good part of its time transforming.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "render/rasteriser.h"

struct VertexCache;

// The combined matrix and the screen laid out once per element drawing as the vector lanes
// want them: each matrix column and the screen scales one value to a 64-bit lane.
struct VectorProjection {
    alignas(32) int64_t columns[4][4];
    alignas(32) int64_t scales[4];     // width / 2, height / 2, 32767.0, 0
    alignas(16) int32_t lastInside[4]; // the largest x, y, z that stay as they are
    alignas(16) int32_t clampedTo[4];  // what a larger one becomes
};

void prepareVectorProjection(const FxMatrix& combined, int32_t width, int32_t height,
                             VectorProjection& out);

// transformVertex with every product, truncation, wrap and clamp the same, in AVX2 registers.
// These three run only where cpuHasAvx2(): their caller asks.
bool transformVertexAvx2(const Vec3& v, const VectorProjection& projection, ScreenVertex& out);
// The same, giving the vertex's sample-grid corner (screenCorner of the transformed vertex),
// worked out in the same registers.
bool projectCornerAvx2(const Vec3& v, const VectorProjection& projection, ScreenCorner& out);

// Projects vertices first .. last of the array into their cache slots (last below
// kVertexCacheSlots), eight at a time in AVX2 registers, each slot exactly as projectCornerAvx2
// would fill it and stamped with the cache's generation.
void projectRunAvx2(VertexCache& cache, const Vec3* array, uint32_t first, uint32_t last,
                    const VectorProjection& projection);
