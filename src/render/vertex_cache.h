// vertex_cache.h: the projected vertices of one element drawing, so that a vertex shared by
// several triangles is transformed and placed on the sample grid only once.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "render/rasteriser.h"

// Vertices with a larger index are projected afresh for every triangle that uses them.
constexpr uint32_t kVertexCacheSlots = 4096;

// Slots are indexed by the vertex index itself, 32 bytes each so that finding one is a shift.
// An entry lives for one element drawing, or for the drawings of one locked array: otherwise
// the caller may change the array's coordinates between drawings.
struct alignas(32) CachedVertex {
    uint32_t generation; // the drawing that projected it; 0 never matches
    uint32_t visible;    // 0: the vertex drops every primitive it belongs to
    ScreenCorner corner;
};

struct VertexCache {
    uint32_t generation = 1;
    uint32_t projectedEnd = 0; // vertices 0 .. projectedEnd - 1 are projected in this generation
    CachedVertex slots[kVertexCacheSlots] = {};
};

// A new drawing, or the matrix or the screen changed: every remembered vertex is stale.
void vertexCacheForget(VertexCache& cache);

// Projects v (project(v, corner) -> visible) unless this drawing already did.
template <typename Project>
inline const CachedVertex& cachedTransform(VertexCache& cache, uint32_t index, const Vec3& v,
                                           const Project& project) {
    CachedVertex& slot = cache.slots[index];
    if (slot.generation == cache.generation)
        return slot;
    slot.generation = cache.generation;
    slot.visible = project(v, slot.corner);
    return slot;
}
