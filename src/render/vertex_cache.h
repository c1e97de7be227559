// vertex_cache.h: projected vertices remembered while the matrix and the screen stay the same,
// so that element drawing transforms a vertex shared by several triangles only once.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "render/rasteriser.h"

constexpr uint32_t kVertexCacheSlots = 1024; // a power of two: the slot is the index's low bits

// A projected vertex is a function of the vertex, the combined matrix and the screen size
// alone, so an entry is reused only for the same coordinates within the same generation.
struct CachedVertex {
    uint32_t generation; // 0 never matches
    Vec3 source;
    ScreenVertex screen;
    uint8_t visible; // false: the vertex drops every primitive it belongs to
};

struct VertexCache {
    uint32_t generation = 1;
    CachedVertex slots[kVertexCacheSlots] = {};
};

// The matrix or the screen changed: every remembered vertex is stale.
void vertexCacheForget(VertexCache& cache);

// The projected vertex v, transformed by project(v, screen) -> visible only if the slot chosen
// by key does not hold it yet.
template <typename Project>
inline const CachedVertex& cachedTransform(VertexCache& cache, uint32_t key, const Vec3& v,
                                           const Project& project) {
    CachedVertex& slot = cache.slots[key & (kVertexCacheSlots - 1)];
    if (slot.generation == cache.generation && slot.source.x == v.x && slot.source.y == v.y &&
        slot.source.z == v.z)
        return slot;
    slot.generation = cache.generation;
    slot.source = v;
    slot.visible = project(v, slot.screen);
    return slot;
}
