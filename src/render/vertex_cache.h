// vertex_cache.h: the projected vertices of one element drawing, so that a vertex shared by
// several triangles is transformed and placed on the sample grid only once.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "render/rasteriser.h"
#include "render/render_limits.h"

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
    // Vertices projectedBegin .. projectedEnd - 1 are projected in this generation (others may
    // be as well, one by one).
    uint32_t projectedBegin = 0;
    uint32_t projectedEnd = 0;
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

// Vertices first .. last; none when first > last.
struct VertexRun {
    uint32_t first = 1;
    uint32_t last = 0;
};

// What a drawing whose indices lie in lowest .. highest must project to have every vertex of
// that range projected: the parts outside the projected range, at most one on either side. When
// the drawing's range neither meets nor touches the projected one, the whole of it is projected
// and becomes the new range.
struct ProjectionPlan {
    VertexRun runs[2];
    uint32_t vertices = 0; // in the runs together
    uint32_t begin = 0;    // the projected range afterwards
    uint32_t end = 0;
};

ProjectionPlan planProjection(const VertexCache& cache, uint32_t lowest, uint32_t highest);
