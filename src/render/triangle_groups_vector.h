// triangle_groups_vector.h: element drawing eight triangles at a time in AVX2 registers. Most of
// a figure's triangles reach no pixel centre; here they are told apart for eight at once, from
// the projected vertices in the cache, before any one of them costs a call. Both functions run
// only where cpuHasAvx2(): their caller asks.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "render/render_limits.h"
#include "render/vertex_transform_vector.h"

struct RenderContext;
struct ColourRun;

struct IndexRange {
    uint32_t lowest;
    uint32_t highest;
};

// The smallest and the largest of indices[0, count), count at least 1.
IndexRange indexRangeAvx2(const uint32_t* indices, int32_t count);

// Draws the triangles of indices[begin, end) in order, eight at a time (the last group may hold
// fewer), each in the colour of its run (runs[runCount - 1].end at least end), and returns where
// it stopped: end less a partial triangle's indices. Every
// vertex the indices name must be projected into the context's vertex cache for its current
// generation. Where the x86 vector instructions are not compiled in it returns begin at once.
int32_t drawTriangleGroupsAvx2(RenderContext& rc, const uint32_t* indices, int32_t begin,
                               int32_t end, const ColourRun* runs, int32_t runCount);
