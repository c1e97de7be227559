// rasteriser.cpp: scan-line triangle filling with 21.11 sub-pixel edges, a 16-bit depth buffer
// and the fixed alpha blend.
#include "render/rasteriser.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>

#include "core/vector_instructions.h"
#include "render/blended_fill.h"
#include "render/depth_tested_fill.h"
#include "render/render_context.h"
#include "render/row_order.h"

namespace {

constexpr int32_t kVectorFillMinimum = 16; // shorter spans stay in the scalar loop
constexpr int32_t kVectorBlendMinimum = 4; // the blend does four pixels at a time

using Corner = ScreenCorner;

Fixed subpixelToFixed(Subpixel s) {
    return static_cast<Fixed>(static_cast<uint32_t>(s) << kFixedToSubpixelShift);
}

// ceil(x) - 1 in whole pixels: the first column whose centre is not left of x.
int32_t columnBefore(Subpixel x) {
    return (x - 1) >> kSubpixelBits;
}

// fxDiv(dx, dy) for an edge that reaches a row centre, so that dy > 0: only the saturation of a
// nearly level edge is left to decide, and it is decided without a branch.
Fixed edgeSlope(Fixed dx, Fixed dy) {
    constexpr int64_t kSaturated = 0x7FFFFFFF;
    const int64_t q = int64_t{dx} * kFxOne / dy;
    return static_cast<Fixed>(std::clamp(q, -kSaturated, kSaturated));
}

struct Edge {
    const Corner* start;
    Fixed slope;   // x per row, the one division of the edge
    Subpixel step; // the slope in sub-pixels
    Subpixel x;    // on the current row
    Fixed prestep; // from the start vertex down to the first row
    int32_t rows;
};

[[gnu::always_inline]] inline Edge makeEdge(const Corner& start, const Corner& end,
                                            Subpixel firstRow) {
    Edge edge = {&start, 0, 0, 0, 0, rowsUntil(firstRow, end.y)};
    if (edge.rows < 1)
        return edge;
    edge.slope = edgeSlope(fxSub(end.v.x, start.v.x), fxSub(end.v.y, start.v.y));
    edge.step = edge.slope >> kFixedToSubpixelShift;
    edge.prestep = subpixelToFixed(firstRow - start.y);
    // The pre-step takes the slope at the precision the division gave, before its shift.
    edge.x = start.x + (fxMul(edge.prestep, edge.slope) >> kFixedToSubpixelShift);
    return edge;
}

struct DepthGradients {
    Fixed dzdx; // per pixel across
    Fixed dzdy; // per row down
};

// a b - c d, each product truncated as fxMul truncates it, carried wide. When the result fits
// 32 bits it equals what the 32-bit products and difference give, however those wrapped on the
// way; when it does not, the 32-bit value is meaningless.
int64_t wideProductDifference(Fixed a, Fixed b, Fixed c, Fixed d) {
    return ((int64_t{a} * b) >> kFixedFractionBits) - ((int64_t{c} * d) >> kFixedFractionBits);
}

bool fitsFixed(int64_t v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}

bool beyondDepthLimit(int64_t gradient) {
    return gradient > kMaxDepthGradient || gradient < -kMaxDepthGradient;
}

// The doubled area of a triangle: exact when it fits Fixed, else the wide value, which only
// large triangles (about 180 x 180 pixels and up) reach.
struct Area {
    int64_t wide;
    Fixed reciprocal; // the truncated 1 / area, or the stand-in for slivers; 0 when wide
};

bool areaIsWide(const Area& a) {
    return !fitsFixed(a.wide);
}

// Both gradients by one wide division each, where the 32-bit arithmetic would wrap: an area that
// does not fit Fixed (a truncated reciprocal would keep no bits anyway), or a numerator that
// does not.
DepthGradients dividedDepthGradients(int64_t acrossNumerator, int64_t downNumerator, int64_t area) {
    const int64_t dzdx = acrossNumerator * kFxOne / area;
    const int64_t dzdy = downNumerator * kFxOne / area;
    if (beyondDepthLimit(dzdx) || beyondDepthLimit(dzdy))
        return {0, 0};
    return {static_cast<Fixed>(dzdx), static_cast<Fixed>(dzdy)};
}

// r x n, for a numerator that fits 32 bits, carried wide: in 32 bits a gradient beyond the Fixed
// range wraps into a plausible value and escapes the overflow test.
int64_t reciprocalGradient(Fixed reciprocal, int64_t numerator) {
    return (reciprocal * numerator) >> kFixedFractionBits;
}

[[gnu::always_inline]] inline DepthGradients depthGradients(const ScreenVertex& t,
                                                            const ScreenVertex& m,
                                                            const ScreenVertex& b,
                                                            const Area& area) {
    const Fixed dzt = fxSub(b.z, t.z), dzm = fxSub(m.z, t.z);
    const int64_t across = wideProductDifference(dzt, fxSub(m.y, t.y), fxSub(b.y, t.y), dzm);
    const int64_t down = wideProductDifference(fxSub(b.x, t.x), dzm, dzt, fxSub(m.x, t.x));
    // A numerator beyond 32 bits (a deep triangle tens of pixels across) has no 32-bit value
    // to scale; its gradient is usually small, and only the wide division finds it.
    if (areaIsWide(area) || !fitsFixed(across) || !fitsFixed(down))
        return dividedDepthGradients(across, down, area.wide);
    const int64_t dzdx = reciprocalGradient(area.reciprocal, across);
    const int64_t dzdy = reciprocalGradient(area.reciprocal, down);
    if (beyondDepthLimit(dzdx) || beyondDepthLimit(dzdy))
        return {0, 0};
    return {static_cast<Fixed>(dzdx), static_cast<Fixed>(dzdy)};
}

// The left end of the spans, walked down the rows with an error term so that no row needs a
// division or a multiplication; depth is carried at the centre of the first pixel.
struct LeftWalk {
    int32_t column;          // first pixel of the span
    int32_t wholeStep;       // k: the span start moves k or k + 1 pixels per row
    Subpixel stepFraction;   // the step minus k pixels, 1..2048
    Subpixel error;          // negative when the next row moves k + 1 pixels
    uint32_t depth;          // 21.11; wraps at 32 bits, as the vector set-up's sums do
    uint32_t depthStepSmall; // for a move of k pixels
    uint32_t depthStepLarge; // for a move of k + 1 pixels
};

// Depth at the centre of the span's first pixel on the edge's first row, 21.11.
uint32_t depthAtFirstCentre(const Edge& edge, int32_t column, const DepthGradients& g) {
    const Subpixel firstCentre = (column + 1) * kSubpixelOne;
    const Fixed across = subpixelToFixed(firstCentre - edge.start->x);
    const Fixed z =
        fxAdd(fxAdd(edge.start->v.z, fxMul(g.dzdx, across)), fxMul(g.dzdy, edge.prestep)) >>
        kFixedToSubpixelShift;
    return z < 0 ? kUnreachableDepth : static_cast<uint32_t>(z);
}

// The walk as it stands after `advanced` rows of the edge, without taking them one by one: the
// column is always columnBefore of the edge's x, the error its distance from the edge, and the
// depth moved by the small step on every row and by one pixel's depth more on each row whose
// column moved k + 1. The sums wrap as the row-by-row sums do.
[[gnu::always_inline]] inline LeftWalk startLeftWalk(const Edge& edge, const DepthGradients& g,
                                                     int32_t advanced) {
    LeftWalk walk;
    const int32_t firstColumn = columnBefore(edge.x);
    const uint32_t firstDepth = depthAtFirstCentre(edge, firstColumn, g);
    walk.wholeStep = (edge.step - 1) >> kSubpixelBits;
    walk.stepFraction = edge.step - walk.wholeStep * kSubpixelOne;
    const Fixed small =
        fxAdd(fxMul(fxFromInt(walk.wholeStep), g.dzdx), g.dzdy) >> kFixedToSubpixelShift;
    const uint32_t pixelDepth = static_cast<uint32_t>(g.dzdx >> kFixedToSubpixelShift);
    walk.depthStepSmall = static_cast<uint32_t>(small);
    walk.depthStepLarge = static_cast<uint32_t>(small) + pixelDepth;

    const uint32_t rows = static_cast<uint32_t>(advanced);
    const Subpixel x = static_cast<Subpixel>(static_cast<uint32_t>(edge.x) +
                                             rows * static_cast<uint32_t>(edge.step));
    walk.column = columnBefore(x);
    walk.error = walk.column * kSubpixelOne - x;
    const uint32_t largeMoves = static_cast<uint32_t>(walk.column - firstColumn) -
                                rows * static_cast<uint32_t>(walk.wholeStep);
    walk.depth = firstDepth + rows * walk.depthStepSmall + largeMoves * pixelDepth;
    return walk;
}

// Chosen by a mask rather than a branch: along a random edge the two moves alternate without
// a pattern the branch predictor could learn.
void advanceLeftWalk(LeftWalk& walk) {
    walk.error += kSubpixelOne - walk.stepFraction;
    const int32_t movesFurther = walk.error >> 31; // all ones for a move of k + 1 pixels
    walk.error -= kSubpixelOne & ~movesFurther;
    walk.column += walk.wholeStep - movesFurther;
    const uint32_t further = static_cast<uint32_t>(movesFurther);
    walk.depth += (walk.depthStepLarge & further) | (walk.depthStepSmall & ~further);
}

// What a span needs besides its position: the colour word and the blend's constant terms.
struct Paint {
    uint32_t word;
    BlendTerms blend; // the destination's weight 255 - alpha, and the source's share
};

Paint makePaint(Rgba c) {
    const uint32_t weight = c.a + 1u;
    return {pixelWord(c),
            {255u - c.a, (c.r * weight) >> 8, (c.g * weight) >> 8, (c.b * weight) >> 8}};
}

inline uint32_t blendPixel(uint32_t dst, const Paint& p) {
    const BlendTerms& t = p.blend;
    const uint32_t r = (((dst & 0xFF) * t.keep) >> 8) + t.addR;
    const uint32_t g = ((((dst >> 8) & 0xFF) * t.keep) >> 8) + t.addG;
    const uint32_t b = ((((dst >> 16) & 0xFF) * t.keep) >> 8) + t.addB;
    return (dst & 0xFF000000u) | (b << 16) | (g << 8) | r;
}

inline int32_t depthOf(uint32_t z) {
    return static_cast<int32_t>(z) >> kSubpixelBits;
}

// The four pixel loops, one per state, so that the inner loop tests nothing but depth.
// The test is strictly less-than: equal depth keeps what is there.
// True when every depth of the span lies in 0..32767, as the vector fill requires.
inline bool spanDepthFitsSixteenBits(uint32_t z, uint32_t dz, int32_t count) {
    const int64_t first = static_cast<int32_t>(z);
    const int64_t last = first + int64_t{static_cast<int32_t>(dz)} * (count - 1);
    constexpr int64_t kLimit = (int64_t{kFarthestDepth} + 1) << kSubpixelBits;
    return first >= 0 && last >= 0 && first < kLimit && last < kLimit;
}

inline void fillSpanDepthTested(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                                uint32_t dz, const Paint& p) {
    int32_t i = 0;
    if (count >= kVectorFillMinimum && spanDepthFitsSixteenBits(z, dz, count)) {
        i = fillDepthTestedVector(colour, depth, count, z, dz, p.word);
        z += static_cast<uint32_t>(i) * dz;
    }
    for (; i < count; ++i, z += dz) {
        const int32_t d = depthOf(z);
        if (depth[i] > d) {
            colour[i] = p.word;
            depth[i] = static_cast<uint16_t>(d);
        }
    }
}

inline void blendSpanDepthTested(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                                 uint32_t dz, const Paint& p) {
    int32_t i = 0;
    if (count >= kVectorBlendMinimum && spanDepthFitsSixteenBits(z, dz, count)) {
        i = blendDepthTestedVector(colour, depth, count, z, dz, p.blend);
        z += static_cast<uint32_t>(i) * dz;
    }
    for (; i < count; ++i, z += dz) {
        const int32_t d = depthOf(z);
        if (depth[i] > d) {
            colour[i] = blendPixel(colour[i], p);
            depth[i] = static_cast<uint16_t>(d);
        }
    }
}

inline void fillSpan(uint32_t* colour, uint16_t*, int32_t count, uint32_t, uint32_t,
                     const Paint& p) {
    for (int32_t i = 0; i < count; ++i)
        colour[i] = p.word;
}

inline void blendSpan(uint32_t* colour, uint16_t*, int32_t count, uint32_t, uint32_t,
                      const Paint& p) {
    int32_t i = count >= kVectorBlendMinimum ? blendSpanVector(colour, count, p.blend) : 0;
    for (; i < count; ++i)
        colour[i] = blendPixel(colour[i], p);
}

using SpanFunction = void (*)(uint32_t*, uint16_t*, int32_t, uint32_t, uint32_t, const Paint&);

// Only the blending spans read the blend terms; the filling ones are spared their products.
template <SpanFunction span> Paint paintFor(Rgba c) {
    if constexpr (span == fillSpan || span == fillSpanDepthTested)
        return {pixelWord(c), {}};
    else
        return makePaint(c);
}

// Where the rows go: the colour buffer is bottom-up, the depth buffer top-down. Indices rather
// than pointers, so that stepping past the last row never forms an out-of-range pointer.
struct RowCursor {
    uint32_t* colour;
    uint16_t* depth;
    ptrdiff_t colourRow;
    ptrdiff_t depthRow;
    ptrdiff_t width;
};

RowCursor startRow(const RenderContext& rc, int32_t row) {
    return {rc.colourBuffer, rc.depthBuffer, static_cast<ptrdiff_t>(rc.height - 1 - row) * rc.width,
            static_cast<ptrdiff_t>(row) * rc.width, rc.width};
}

// The walk, the right edge's x and the cursor are held in locals and written back once: a
// pixel store could otherwise be one of their ints, and every row would read them again.
template <SpanFunction span>
[[gnu::always_inline]] inline void drawRows(RowCursor& cursor, LeftWalk& left, Edge& right,
                                            int32_t rows, uint32_t dz, const Paint& paint) {
    LeftWalk walk = left;
    Subpixel rightX = right.x;
    const Subpixel rightStep = right.step;
    uint32_t* const colour = cursor.colour;
    uint16_t* const depth = cursor.depth;
    ptrdiff_t colourRow = cursor.colourRow, depthRow = cursor.depthRow;
    const ptrdiff_t width = cursor.width;
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t count = columnBefore(rightX) - walk.column;
        if (count > 0)
            span(colour + colourRow + walk.column, depth + depthRow + walk.column, count,
                 walk.depth, dz, paint);
        rightX += rightStep;
        advanceLeftWalk(walk);
        colourRow -= width;
        depthRow += width;
    }
    left = walk;
    right.x = rightX;
    cursor.colourRow = colourRow;
    cursor.depthRow = depthRow;
}

struct TriangleEdges {
    Edge longEdge; // top to bottom
    Edge upper;    // top to middle
    Edge lower;    // middle to bottom
    bool longEdgeOnLeft;
};

constexpr int32_t kNoPixel = -1;

// The first row, counted from the triangle's top row, whose span holds a pixel centre, or
// kNoPixel: the same x values and column rounding as the drawing, without depth, so that a
// triangle covering no pixel (most of a distant figure's) leaves before the depth gradients,
// and the drawing starts where the pixels do. The left column the walk keeps with its error
// term is always columnBefore of the left edge's x.
int32_t firstRowWithAPixel(const TriangleEdges& e) {
    Subpixel longX = e.longEdge.x;
    int32_t row = 0;
    for (const Edge* half : {&e.upper, &e.lower}) {
        Subpixel shortX = half->x;
        for (int32_t i = 0; i < half->rows; ++i, ++row) {
            const Subpixel xl = e.longEdgeOnLeft ? longX : shortX;
            const Subpixel xr = e.longEdgeOnLeft ? shortX : longX;
            if (columnBefore(xr) > columnBefore(xl))
                return row;
            longX += e.longEdge.step;
            shortX += half->step;
        }
    }
    return kNoPixel;
}

void advanceEdge(Edge& edge, int32_t rows) {
    edge.x = static_cast<Subpixel>(static_cast<uint32_t>(edge.x) +
                                   static_cast<uint32_t>(rows) * static_cast<uint32_t>(edge.step));
}

template <SpanFunction span>
void drawSpan(const RenderContext& rc, int32_t row, int32_t column, int32_t count, uint32_t z,
              uint32_t dz) {
    const RowCursor cursor = startRow(rc, row);
    span(cursor.colour + cursor.colourRow + column, cursor.depth + cursor.depthRow + column, count,
         z, dz, paintFor<span>(rc.colour));
}

// The rows from `skip` (counted from firstRow) down, the rows above holding no pixel.
template <SpanFunction span>
[[gnu::always_inline]] inline void drawHalves(const RenderContext& rc, TriangleEdges& e,
                                              const DepthGradients& g, int32_t firstRow,
                                              int32_t skip) {
    const Paint paint = paintFor<span>(rc.colour);
    const uint32_t dz = static_cast<uint32_t>(g.dzdx >> kFixedToSubpixelShift);
    RowCursor cursor = startRow(rc, firstRow + skip);
    LeftWalk left = {};
    if (e.longEdgeOnLeft)
        left = startLeftWalk(e.longEdge, g, skip);
    else
        advanceEdge(e.longEdge, skip);

    // Upper half: the long edge against the upper edge.
    const int32_t upperRows = std::max(e.upper.rows, 0);
    if (skip < upperRows) {
        if (e.longEdgeOnLeft) {
            advanceEdge(e.upper, skip);
            drawRows<span>(cursor, left, e.upper, upperRows - skip, dz, paint);
        } else {
            left = startLeftWalk(e.upper, g, skip);
            drawRows<span>(cursor, left, e.longEdge, upperRows - skip, dz, paint);
        }
        skip = 0;
    } else {
        skip -= upperRows;
    }
    if (e.lower.rows <= skip)
        return;

    // Lower half: only the lower edge is new; the long edge carries on where it was.
    if (e.longEdgeOnLeft) {
        advanceEdge(e.lower, skip);
        drawRows<span>(cursor, left, e.lower, e.lower.rows - skip, dz, paint);
    } else {
        left = startLeftWalk(e.lower, g, skip);
        drawRows<span>(cursor, left, e.longEdge, e.lower.rows - skip, dz, paint);
    }
}

// The vertex transform clamps to the screen; a direct caller that did not would make spans
// leave the buffers, so such a triangle is not drawn. The far borders themselves are fine:
// the coverage rule never reaches the column or row that starts there.
// Compared unsigned, so that a negative coordinate counts as beyond the far border.
bool insideBuffer(uint32_t xLimit, uint32_t yLimit, const ScreenVertex& v) {
    return static_cast<uint32_t>(v.x) <= xLimit && static_cast<uint32_t>(v.y) <= yLimit;
}

// fxDiv(kFxOne, a) for an area of at least kThinArea either way: the quotient stays far from
// saturation, so the division alone gives it.
Fixed wholeReciprocal(Fixed a) {
    return static_cast<Fixed>(int64_t{kFxOne} * kFxOne / a);
}

// Its sign says on which side of the long edge the middle vertex lies.
Area triangleArea(const ScreenVertex& t, const ScreenVertex& m, const ScreenVertex& b) {
    return {
        wideProductDifference(fxSub(b.x, t.x), fxSub(m.y, t.y), fxSub(m.x, t.x), fxSub(b.y, t.y)),
        0};
}

// The sign of the reciprocal, known before dividing: a thin area takes the positive stand-in,
// any other area keeps its sign through the division.
bool longEdgeIsOnLeft(const Area& area) {
    return areaIsWide(area) ? area.wide < 0 : area.wide <= -kThinArea;
}

Area withReciprocal(Area area) {
    if (!areaIsWide(area)) {
        const Fixed a = static_cast<Fixed>(area.wide);
        area.reciprocal =
            (a > -kThinArea && a < kThinArea) ? kThinAreaReciprocal : wholeReciprocal(a);
    }
    return area;
}

struct SortedVertices {
    const ScreenVertex &t, &m, &b;
};

struct SortedCorners {
    const Corner &top, &middle, &bottom;
};

// A triangle of one row: the long edge and the short edge that crosses the row bound a single
// span, so the third edge and the row walk are left out. The short edge is the upper one when
// the middle vertex lies below the row's centre, else the lower one, which then starts on this
// row as well. Whichever side the long edge takes, the span holds no pixel when both edges
// round to the same column; most such triangles leave on that before the area's products.
[[gnu::always_inline]] inline void drawOneRow(RenderContext& rc, const SortedVertices& v,
                                              const SortedCorners& c, Subpixel firstRow) {
    const Edge longEdge = makeEdge(c.top, c.bottom, firstRow);
    const Edge shortEdge = c.middle.y > firstRow ? makeEdge(c.top, c.middle, firstRow)
                                                 : makeEdge(c.middle, c.bottom, firstRow);
    if (columnBefore(longEdge.x) == columnBefore(shortEdge.x))
        return;
    const Area area = triangleArea(v.t, v.m, v.b);
    if (area.wide == 0)
        return;
    const bool longEdgeOnLeft = longEdgeIsOnLeft(area);
    const Edge& left = longEdgeOnLeft ? longEdge : shortEdge;
    const Edge& right = longEdgeOnLeft ? shortEdge : longEdge;
    const int32_t column = columnBefore(left.x);
    const int32_t count = columnBefore(right.x) - column;
    if (count < 1)
        return;
    const DepthGradients g = depthGradients(v.t, v.m, v.b, withReciprocal(area));
    const uint32_t z = depthAtFirstCentre(left, column, g);
    const uint32_t dz = static_cast<uint32_t>(g.dzdx >> kFixedToSubpixelShift);
    const int32_t row = firstRow >> kSubpixelBits;
    markRowsDrawn(rc, row, row + 1);
    if (rc.depthTestOn)
        rc.blendOn ? drawSpan<blendSpanDepthTested>(rc, row, column, count, z, dz)
                   : drawSpan<fillSpanDepthTested>(rc, row, column, count, z, dz);
    else
        rc.blendOn ? drawSpan<blendSpan>(rc, row, column, count, z, dz)
                   : drawSpan<fillSpan>(rc, row, column, count, z, dz);
}

} // namespace

uint32_t blendOver(uint32_t destination, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha) {
    return blendPixel(destination, makePaint({r, g, b, alpha}));
}

void rasteriseTriangle(RenderContext& rc, const ScreenVertex& v0, const ScreenVertex& v1,
                       const ScreenVertex& v2) {
    const uint32_t xLimit = static_cast<uint32_t>(fxFromInt(rc.width));
    const uint32_t yLimit = static_cast<uint32_t>(fxFromInt(rc.height));
    if (!rc.colourBuffer || !rc.depthBuffer || !insideBuffer(xLimit, yLimit, v0) ||
        !insideBuffer(xLimit, yLimit, v1) || !insideBuffer(xLimit, yLimit, v2))
        return;
    rasteriseOnScreen(rc, v0, v1, v2);
}

void rasteriseOnScreen(RenderContext& rc, const ScreenVertex& v0, const ScreenVertex& v1,
                       const ScreenVertex& v2) {
    rasteriseCorners(rc, screenCorner(v0), screenCorner(v1), screenCorner(v2));
}

void rasteriseReaching(RenderContext& rc, const ScreenCorner& c0, const ScreenCorner& c1,
                       const ScreenCorner& c2, Subpixel firstRow, int32_t rows) {
    // Sort: top, middle and bottom vertex by y.
    const Corner* in[3] = {&c0, &c1, &c2};
    const RowOrder order = sortByRow(c0.v.y, c1.v.y, c2.v.y);
    const Corner& top = *in[order.top];
    const Corner& middle = *in[order.middle];
    const Corner& bottom = *in[order.bottom];
    const ScreenVertex& t = top.v;
    const ScreenVertex& m = middle.v;
    const ScreenVertex& b = bottom.v;

    if (rows == 1) {
        drawOneRow(rc, {t, m, b}, {top, middle, bottom}, firstRow);
        return;
    }
    const Area area = triangleArea(t, m, b);
    if (area.wide == 0)
        return;
    const bool longEdgeOnLeft = longEdgeIsOnLeft(area);

    // Edges, each starting on the first row whose centre it reaches.
    TriangleEdges edges;
    edges.longEdge = makeEdge(top, bottom, firstRow);
    edges.lower = makeEdge(middle, bottom, ceilToRow(middle.y));
    edges.upper = makeEdge(top, middle, firstRow);
    edges.longEdgeOnLeft = longEdgeOnLeft;
    const int32_t skip = firstRowWithAPixel(edges);
    if (skip == kNoPixel)
        return;
    // Gradients of depth across and down.
    const DepthGradients g = depthGradients(t, m, b, withReciprocal(area));

    // Upper half, then lower half, with the pixel loop of the current state.
    const int32_t row = firstRow >> kSubpixelBits;
    markRowsDrawn(rc, row + skip, row + rows);
    if (rc.depthTestOn)
        rc.blendOn ? drawHalves<blendSpanDepthTested>(rc, edges, g, row, skip)
                   : drawHalves<fillSpanDepthTested>(rc, edges, g, row, skip);
    else
        rc.blendOn ? drawHalves<blendSpan>(rc, edges, g, row, skip)
                   : drawHalves<fillSpan>(rc, edges, g, row, skip);
}

namespace {

// The group's prepared triangles that hold exactly one pixel (most of a distant figure's), with
// that pixel's place in the depth buffer and in the colour buffer and its depth: each is then
// drawn without the span loop. Each is still tested against the depth stored at its turn, not
// once for the whole group beforehand: a depth below 0 passes the test and is stored as a large
// one, so an earlier triangle of the group can raise a stored depth as well as lower it.
struct LonePixels {
    alignas(32) int32_t depthAt[kGroupTriangles];
    alignas(32) int32_t colourAt[kGroupTriangles];
    alignas(32) int32_t depth[kGroupTriangles];
    uint32_t lanes;
};

#if defined(DROVANA_X86_VECTORS)

// Groups are set up eight at a time only where the processor has AVX2, so they are drawn with
// it too: the search below is then inlined into the drawing.
#define DROVANA_GROUP_TARGET __attribute__((target("avx2")))

[[gnu::always_inline]] DROVANA_GROUP_TARGET inline void
findLonePixels(const RenderContext& rc, const TriangleGroup& g, LonePixels& out) {
    const __m256i width = _mm256_set1_epi32(rc.width);
    const __m256i rows = _mm256_load_si256(reinterpret_cast<const __m256i*>(g.rows));
    __m256i rowAt = _mm256_mullo_epi32(
        _mm256_srai_epi32(_mm256_load_si256(reinterpret_cast<const __m256i*>(g.firstRow)),
                          kSubpixelBits),
        width);
    __m256i pixels = _mm256_setzero_si256();
    __m256i pixelRow = rowAt;
    __m256i column = pixels;
    __m256i depth = pixels;
    // Only the rows set up: most groups have one or two.
    for (int32_t k = 0; k < kPreparedRows; ++k, rowAt = _mm256_add_epi32(rowAt, width)) {
        const __m256i inRow = _mm256_cmpgt_epi32(rows, _mm256_set1_epi32(k));
        if ((static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(inRow))) & g.prepared) ==
            0)
            break;
        const __m256i count = _mm256_and_si256(
            _mm256_load_si256(reinterpret_cast<const __m256i*>(g.count[k])), inRow);
        const __m256i holds = _mm256_cmpgt_epi32(count, _mm256_setzero_si256());
        pixels = _mm256_add_epi32(pixels, _mm256_and_si256(count, holds));
        pixelRow = _mm256_blendv_epi8(pixelRow, rowAt, holds);
        column = _mm256_blendv_epi8(
            column, _mm256_load_si256(reinterpret_cast<const __m256i*>(g.column[k])), holds);
        depth = _mm256_blendv_epi8(
            depth, _mm256_load_si256(reinterpret_cast<const __m256i*>(g.depth[k])), holds);
    }
    depth = _mm256_srai_epi32(depth, kSubpixelBits);
    const __m256i depthAt = _mm256_add_epi32(pixelRow, column);
    const __m256i lastRow =
        _mm256_set1_epi32(static_cast<int32_t>((static_cast<int64_t>(rc.height) - 1) * rc.width));
    const __m256i colourAt = _mm256_add_epi32(_mm256_sub_epi32(lastRow, pixelRow), column);
    const __m256i lone = _mm256_cmpeq_epi32(pixels, _mm256_set1_epi32(1));
    _mm256_store_si256(reinterpret_cast<__m256i*>(out.depthAt), depthAt);
    _mm256_store_si256(reinterpret_cast<__m256i*>(out.colourAt), colourAt);
    _mm256_store_si256(reinterpret_cast<__m256i*>(out.depth), depth);
    out.lanes = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(lone))) & g.prepared;
}

#else

#define DROVANA_GROUP_TARGET

inline void findLonePixels(const RenderContext&, const TriangleGroup&, LonePixels& out) {
    out.lanes = 0;
}

#endif

// A triangle's one pixel, tested against the depth stored now.
template <SpanFunction span>
inline void drawLonePixel(uint32_t* colour, uint16_t* depth, const LonePixels& lone, int lane,
                          uint32_t word, uint32_t& paintWord, Paint& paint) {
    const int32_t at = lone.depthAt[lane];
    const int32_t d = lone.depth[lane];
    if (depth[at] <= d)
        return;
    depth[at] = static_cast<uint16_t>(d);
    uint32_t& pixel = colour[lone.colourAt[lane]];
    if constexpr (span == fillSpanDepthTested) {
        pixel = word;
    } else {
        if (word != paintWord) {
            paintWord = word;
            paint = paintFor<span>(colourOfWord(paintWord));
        }
        pixel = blendPixel(pixel, paint);
    }
}

// The span loop chosen once for the group; the paint made again only where the colour changes.
// The buffers and their size are held in locals: a pixel store could otherwise be the context's
// or the group's ints, and every span would read them again.
template <SpanFunction span>
DROVANA_GROUP_TARGET void drawGroupWith(RenderContext& rc, const TriangleGroup& g) {
    uint32_t* const colour = rc.colourBuffer;
    uint16_t* const depth = rc.depthBuffer;
    const ptrdiff_t width = rc.width;
    const ptrdiff_t lastRow = static_cast<ptrdiff_t>(rc.height - 1) * width;
    const uint32_t others = g.others;
    uint32_t paintWord = g.colour[__builtin_ctz(g.prepared | others)];
    Paint paint = paintFor<span>(colourOfWord(paintWord));
    constexpr bool depthTested = span == fillSpanDepthTested || span == blendSpanDepthTested;
    LonePixels lone;
    if constexpr (depthTested)
        findLonePixels(rc, g, lone);
    for (uint32_t lanes = g.prepared | others; lanes != 0; lanes &= lanes - 1) {
        const int lane = __builtin_ctz(lanes);
        if constexpr (depthTested) {
            if (lone.lanes >> lane & 1) {
                drawLonePixel<span>(colour, depth, lone, lane, g.colour[lane], paintWord, paint);
                continue;
            }
        }
        if (others >> lane & 1) {
            const ScreenCorner* const* c = g.corners[lane];
            rc.colour = colourOfWord(g.colour[lane]);
            rasteriseReaching(rc, *c[0], *c[1], *c[2], g.firstRow[lane], g.rows[lane]);
            continue;
        }
        if constexpr (span == fillSpan || span == fillSpanDepthTested) {
            paint.word = g.colour[lane]; // the whole paint of a filling span
        } else if (g.colour[lane] != paintWord) {
            paintWord = g.colour[lane];
            paint = paintFor<span>(colourOfWord(paintWord));
        }
        const int32_t rows = g.rows[lane];
        const uint32_t dz = g.depthStep[lane];
        ptrdiff_t depthRow = static_cast<ptrdiff_t>(g.firstRow[lane] >> kSubpixelBits) * width;
        for (int32_t k = 0; k < rows; ++k, depthRow += width) {
            const int32_t count = g.count[k][lane];
            if (count > 0) {
                const int32_t column = g.column[k][lane];
                span(colour + (lastRow - depthRow) + column, depth + depthRow + column, count,
                     g.depth[k][lane], dz, paint);
            }
        }
    }
}

} // namespace

DROVANA_GROUP_TARGET void drawTriangleGroup(RenderContext& rc, const TriangleGroup& g) {
    if (rc.depthTestOn)
        rc.blendOn ? drawGroupWith<blendSpanDepthTested>(rc, g)
                   : drawGroupWith<fillSpanDepthTested>(rc, g);
    else
        rc.blendOn ? drawGroupWith<blendSpan>(rc, g) : drawGroupWith<fillSpan>(rc, g);
}
