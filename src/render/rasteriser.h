// rasteriser.h: fills one screen-space triangle into the bound colour and depth buffers.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/fixed_point.h"
#include "render/render_limits.h"

struct RenderContext;

// x, y in pixels from the top-left corner, z the depth 0..32767.0 (0 nearest); the vertex
// transform clamps all three to the screen before they arrive here.
struct ScreenVertex {
    Fixed x, y, z;
};

// A vertex with its place on the sample grid, worked out once per vertex rather than once per
// triangle that shares it. x is shifted half a pixel forward and y half a pixel back, so that
// rounding up to whole pixels lands on pixel centres.
struct ScreenCorner {
    ScreenVertex v;
    Subpixel x;
    Subpixel y;
};

inline ScreenCorner screenCorner(const ScreenVertex& v) {
    return {v, fxAdd(v.x, kFxHalf) >> kFixedToSubpixelShift,
            fxSub(v.y, kFxHalf) >> kFixedToSubpixelShift};
}

// Flat colour, optional strict less-than depth test, optional alpha blend, as the context says.
// Row r is drawn when top.y <= r + 0.5 < bottom.y; column c when xl <= c + 0.5 < xr.
// Depth is interpolated with the truncated reciprocal of the doubled area. Where that area
// (32768 square pixels or more, about 180 x 180) or a depth numerator no longer fits Fixed,
// it is carried in 64 bits and the gradients divided out directly instead.
void rasteriseTriangle(RenderContext& rc, const ScreenVertex& v0, const ScreenVertex& v1,
                       const ScreenVertex& v2);

// The same for vertices that the vertex transform has clamped to the screen of a context whose
// buffers are bound: the checks above are left out, since they cannot fail.
void rasteriseOnScreen(RenderContext& rc, const ScreenVertex& v0, const ScreenVertex& v1,
                       const ScreenVertex& v2);

// Nested pairs rather than a list: the compiler keeps these free of branches, which a random
// triangle's coordinates would mispredict.
inline Subpixel min3(Subpixel a, Subpixel b, Subpixel c) {
    return std::min(a, std::min(b, c));
}

inline Subpixel max3(Subpixel a, Subpixel b, Subpixel c) {
    return std::max(a, std::max(b, c));
}

// The sample grid: row r's centre lies at r x 2048 in corner y, column c's at (c + 1) x 2048
// in corner x.
inline Subpixel ceilToRow(Subpixel y) {
    return (y + kSubpixelOne - 1) & -kSubpixelOne;
}

inline int32_t rowsUntil(Subpixel firstRow, Subpixel endY) {
    return (endY - firstRow + kSubpixelOne - 1) >> kSubpixelBits;
}

// False when no row of the triangle can hold a pixel: no column centre (a multiple of 2048)
// lies between the leftmost and the rightmost x any edge takes. An edge's x on the rows it
// covers never passes its end vertices on the right, and on the left falls short of them by
// at most one sub-pixel unit per row (the floor of each step) plus one for the pre-step.
inline bool reachesAColumnCentre(const ScreenCorner& a, const ScreenCorner& b,
                                 const ScreenCorner& c, int32_t rows) {
    const Subpixel lowest = min3(a.x, b.x, c.x) - rows;
    const Subpixel highest = max3(a.x, b.x, c.x);
    return ((lowest + kSubpixelOne - 1) & -kSubpixelOne) < highest;
}

// The set-up and the drawing, for a triangle that reaches `rows` row centres from firstRow
// and a column centre.
void rasteriseReaching(RenderContext& rc, const ScreenCorner& c0, const ScreenCorner& c1,
                       const ScreenCorner& c2, Subpixel firstRow, int32_t rows);

// Eight triangles set up together, elsewhere. Those in `prepared` have at most kPreparedRows
// rows and come as spans worked out exactly as rasteriseReaching works them out: row
// firstRow + k holds count[k] pixels (none when below 1) from column[k], the depth starting at
// depth[k] (21.11) and moving by depthStep a pixel. Those in `others` come as corners, with
// their first row and rows, for rasteriseReaching itself. firstRow is in sub-pixels. Each is
// drawn in its colour, a pixel word.
struct TriangleGroup {
    alignas(32) int32_t firstRow[kGroupTriangles];
    alignas(32) int32_t rows[kGroupTriangles];
    alignas(32) int32_t column[kPreparedRows][kGroupTriangles];
    alignas(32) int32_t count[kPreparedRows][kGroupTriangles];
    alignas(32) uint32_t depth[kPreparedRows][kGroupTriangles];
    alignas(32) uint32_t depthStep[kGroupTriangles];
    alignas(32) uint32_t colour[kGroupTriangles];
    const ScreenCorner* corners[kGroupTriangles][3];
    uint32_t prepared;
    uint32_t others;
};

// Draws the group's triangles in lane order, with the pixel loop of the context's state; the
// context's colour is left as the last triangle drawn one by one set it. The caller marks the
// prepared triangles' rows drawn (a whole mesh's at once); the others mark their own. On x86
// compiled for AVX2, as the set-up is: only where the processor has it.
void drawTriangleGroup(RenderContext& rc, const TriangleGroup& g);

// The same as rasteriseOnScreen for vertices whose corners are already known. Inline, since
// most of a distant figure's triangles reach no row or no column centre, and they should cost
// no more than these few comparisons. The grid y keeps the order of the vertex y.
inline void rasteriseCorners(RenderContext& rc, const ScreenCorner& c0, const ScreenCorner& c1,
                             const ScreenCorner& c2) {
    const Subpixel firstRow = ceilToRow(min3(c0.y, c1.y, c2.y));
    const int32_t rows = rowsUntil(firstRow, max3(c0.y, c1.y, c2.y));
    if (rows >= 1 && reachesAColumnCentre(c0, c1, c2, rows))
        rasteriseReaching(rc, c0, c1, c2, firstRow, rows);
}

// Source colour (with its alpha) over a destination pixel, each channel's two terms truncated
// separately; the destination's alpha byte is kept.
uint32_t blendOver(uint32_t destination, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha);
