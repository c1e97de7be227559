// triangle_groups_vector.h: element drawing eight triangles at a time in AVX2 registers. Most of
// a figure's triangles reach no pixel centre; here they are told apart for eight at once, from
// the projected vertices in the cache, before any one of them costs a call.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "render/vertex_transform_vector.h"

struct RenderContext;

// The indices of the eight triangles drawn together.
constexpr int32_t kTriangleGroupIndices = 24;

// Draws the triangles of indices[begin, end) in order, eight at a time, projecting into the
// context's vertex cache the vertices it has not seen in this drawing. Stops at the first group
// of eight that has a vertex beyond the cache's slots, or when fewer than eight triangles are
// left, and returns where it stopped: the caller draws those one by one. Without AVX2 it
// returns begin at once; call it only where cpuHasAvx2().
int32_t drawTriangleGroupsAvx2(RenderContext& rc, const Vec3* array, const uint32_t* indices,
                               int32_t begin, int32_t end, const VectorProjection& projection);
