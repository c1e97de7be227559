// triangle_groups_vector.cpp: eight triangles at a time, the same decisions as rasteriseCorners
// from the projected vertices in the cache.
#include "render/triangle_groups_vector.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "core/vector_instructions.h"
#include "render/fixed_point_lanes.h"
#include "render/render_context.h"
#include "render/render_limits.h"
#include "render/row_order.h"
#include "render/vertex_cache.h"

#if defined(DROVANA_X86_VECTORS)

namespace {

constexpr int32_t kGroup = kGroupTriangles;
static_assert(kGroup == 8, "a group is eight triangles, one to a lane");

// A slot's fields as 32-bit offsets from the start of the slots, for gathering by vertex index.
constexpr int32_t kSlotWords = sizeof(CachedVertex) / sizeof(int32_t);
constexpr int32_t kVisibleWord = offsetof(CachedVertex, visible) / sizeof(int32_t);
constexpr int32_t kVertexXWord =
    (offsetof(CachedVertex, corner) + offsetof(ScreenCorner, v) + offsetof(ScreenVertex, x)) /
    sizeof(int32_t);
constexpr int32_t kVertexYWord =
    (offsetof(CachedVertex, corner) + offsetof(ScreenCorner, v) + offsetof(ScreenVertex, y)) /
    sizeof(int32_t);
constexpr int32_t kVertexZWord =
    (offsetof(CachedVertex, corner) + offsetof(ScreenCorner, v) + offsetof(ScreenVertex, z)) /
    sizeof(int32_t);
constexpr int32_t kCornerXWord =
    (offsetof(CachedVertex, corner) + offsetof(ScreenCorner, x)) / sizeof(int32_t);
constexpr int32_t kCornerYWord =
    (offsetof(CachedVertex, corner) + offsetof(ScreenCorner, y)) / sizeof(int32_t);
static_assert(kSlotWords == 8, "a slot is found by shifting its index by three");

// One corner of each of the eight triangles: the vertex indices and their slots' word offsets.
struct GroupCorner {
    __m256i index;
    __m256i slot;
};

// Index `place` of each triangle, lane k reading group[3k + place]; a lane outside `valid`
// (past the last triangle) reads nothing and names vertex 0.
__attribute__((target("avx2"))) __m256i indexAt(const uint32_t* group, __m256i place,
                                                __m256i valid) {
    const __m256i word = _mm256_add_epi32(_mm256_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21), place);
    return _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int*>(group),
                                       word, valid, sizeof(int32_t));
}

__attribute__((target("avx2"))) GroupCorner loadCorner(const uint32_t* group, int32_t place,
                                                       __m256i valid) {
    const __m256i index = indexAt(group, _mm256_set1_epi32(place), valid);
    return {index, _mm256_slli_epi32(index, 3)};
}

// The three corners of eight triangles; `whole` when all eight are there.
__attribute__((target("avx2"))) void loadCorners(const uint32_t* group, __m256i valid, bool whole,
                                                 GroupCorner (&c)[3]) {
#if defined(__wasm_simd128__)
    // WebAssembly gathers lane by lane; a whole group's 24 indices are read whole instead.
    if (whole) {
        wideLoadTriples(reinterpret_cast<const int32_t*>(group), c[0].index, c[1].index,
                        c[2].index);
        for (GroupCorner& corner : c)
            corner.slot = _mm256_slli_epi32(corner.index, 3);
        return;
    }
#else
    (void)whole;
#endif
    for (int32_t place = 0; place < 3; ++place)
        c[place] = loadCorner(group, place, valid);
}

__attribute__((target("avx2"))) __m256i gatherSlotWord(const int32_t* slots, const GroupCorner& c,
                                                       int32_t word) {
    return _mm256_i32gather_epi32(slots + word, c.slot, sizeof(int32_t));
}

// The words of each lane's slot that a set-up reads.
struct SlotLanes {
    __m256i visible;
    __m256i x, y, z; // on the screen, Fixed
    __m256i cx, cy;  // on the sample grid
};

// Gathered word by word on x86 (a word the caller does not read is never gathered); WebAssembly
// gathers lane by lane, so there each lane's slot is read whole and the slots transposed.
[[gnu::always_inline]] __attribute__((target("avx2"))) inline SlotLanes
slotLanes(const int32_t* slots, const GroupCorner& c) {
#if defined(__wasm_simd128__)
    __m256i words[kSlotWords];
    wideGatherRecords(slots, c.slot, words);
    return {words[kVisibleWord], words[kVertexXWord], words[kVertexYWord],
            words[kVertexZWord], words[kCornerXWord], words[kCornerYWord]};
#else
    return {gatherSlotWord(slots, c, kVisibleWord), gatherSlotWord(slots, c, kVertexXWord),
            gatherSlotWord(slots, c, kVertexYWord), gatherSlotWord(slots, c, kVertexZWord),
            gatherSlotWord(slots, c, kCornerXWord), gatherSlotWord(slots, c, kCornerYWord)};
#endif
}

__attribute__((target("avx2"))) __m256i min3(__m256i a, __m256i b, __m256i c) {
    return _mm256_min_epi32(a, _mm256_min_epi32(b, c));
}

__attribute__((target("avx2"))) __m256i max3(__m256i a, __m256i b, __m256i c) {
    return _mm256_max_epi32(a, _mm256_max_epi32(b, c));
}

// ceilToRow and the like, lane by lane: (v + 2047) & -2048.
__attribute__((target("avx2"))) __m256i ceilToGrid(__m256i v) {
    return _mm256_and_si256(_mm256_add_epi32(v, _mm256_set1_epi32(kSubpixelOne - 1)),
                            _mm256_set1_epi32(-kSubpixelOne));
}

// One bit per lane whose mask is set.
__attribute__((target("avx2"))) uint32_t laneBits(__m256i mask) {
    return static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(mask)));
}

template <typename T> struct Lanes { alignas(32) T at[kGroup]; };

template <typename T> __attribute__((target("avx2"))) Lanes<T> storeLanes(__m256i v) {
    Lanes<T> out;
    _mm256_store_si256(reinterpret_cast<__m256i*>(out.at), v);
    return out;
}

struct GroupRows {
    __m256i firstRow;
    __m256i rows;
    uint32_t reaching; // one bit per triangle that reaches a row and a column centre
};

// rasteriseCorners' tests for eight triangles: visible vertices, a row centre, a column centre.
__attribute__((target("avx2"))) GroupRows reachingLanes(const int32_t* slots,
                                                        const GroupCorner (&c)[3]) {
    const SlotLanes s0 = slotLanes(slots, c[0]), s1 = slotLanes(slots, c[1]),
                    s2 = slotLanes(slots, c[2]);
    const __m256i visible = _mm256_and_si256(s0.visible, _mm256_and_si256(s1.visible, s2.visible));
    const __m256i y0 = s0.cy, y1 = s1.cy, y2 = s2.cy;
    const __m256i x0 = s0.cx, x1 = s1.cx, x2 = s2.cx;
    GroupRows out;
    out.firstRow = ceilToGrid(min3(y0, y1, y2));
    out.rows = _mm256_srai_epi32(_mm256_add_epi32(_mm256_sub_epi32(max3(y0, y1, y2), out.firstRow),
                                                  _mm256_set1_epi32(kSubpixelOne - 1)),
                                 kSubpixelBits);
    const __m256i lowest = _mm256_sub_epi32(min3(x0, x1, x2), out.rows);
    const __m256i column = _mm256_cmpgt_epi32(max3(x0, x1, x2), ceilToGrid(lowest));
    const __m256i row = _mm256_cmpgt_epi32(out.rows, _mm256_setzero_si256());
    const __m256i hidden = _mm256_cmpeq_epi32(visible, _mm256_setzero_si256());
    const __m256i reaching = _mm256_andnot_si256(hidden, _mm256_and_si256(row, column));
    out.reaching = laneBits(reaching);
    return out;
}

constexpr std::array<int32_t, 32> kTopOf = rowOrderColumn(0);
constexpr std::array<int32_t, 32> kMiddleOf = rowOrderColumn(1);
constexpr std::array<int32_t, 32> kBottomOf = rowOrderColumn(2);

// A vertex in the lanes: what the edges and the depth read of it.
struct VertexLanes {
    __m256i x, y, z; // on the screen, Fixed
    __m256i cx, cy;  // on the sample grid
};

// The vertex at a place (top, middle or bottom, as `places` gives it for the lane's row-order
// index) of each triangle, chosen from its three corners.
__attribute__((target("avx2"))) VertexLanes vertexAt(const int32_t* slots,
                                                     const GroupCorner (&corners)[3], __m256i order,
                                                     const std::array<int32_t, 32>& places) {
    const __m256i place = _mm256_i32gather_epi32(places.data(), order, sizeof(int32_t));
    const __m256i index =
        _mm256_blendv_epi8(_mm256_blendv_epi8(corners[0].index, corners[1].index,
                                              _mm256_cmpeq_epi32(place, _mm256_set1_epi32(1))),
                           corners[2].index, _mm256_cmpeq_epi32(place, _mm256_set1_epi32(2)));
    const SlotLanes s = slotLanes(slots, {index, _mm256_slli_epi32(index, 3)});
    return {s.x, s.y, s.z, s.cx, s.cy};
}

// rowOrderIndex, lane by lane.
__attribute__((target("avx2"))) __m256i rowOrderLanes(__m256i y0, __m256i y1, __m256i y2) {
    const __m256i after01 = _mm256_and_si256(_mm256_cmpgt_epi32(y0, y1), _mm256_set1_epi32(1));
    const __m256i upTo02 = _mm256_andnot_si256(_mm256_cmpgt_epi32(y0, y2), _mm256_set1_epi32(2));
    const __m256i upTo21 = _mm256_andnot_si256(_mm256_cmpgt_epi32(y2, y1), _mm256_set1_epi32(4));
    const __m256i upTo12 = _mm256_andnot_si256(_mm256_cmpgt_epi32(y1, y2), _mm256_set1_epi32(8));
    const __m256i after20 = _mm256_and_si256(_mm256_cmpgt_epi32(y2, y0), _mm256_set1_epi32(16));
    return _mm256_or_si256(
        _mm256_or_si256(_mm256_or_si256(after01, upTo02), _mm256_or_si256(upTo21, upTo12)),
        after20);
}

struct EdgeLanes {
    __m256i step, x, prestep, rows;
    __m256i startX, startZ; // the start vertex's grid x and depth
};

// The rasteriser's edge set-up, lane by lane; a lane whose edge reaches no row centre gets
// values that nothing reads. Inlined: called, its three results went through memory.
[[gnu::always_inline]] __attribute__((target("avx2"))) inline EdgeLanes
edgeLanes(const VertexLanes& start, const VertexLanes& end, __m256i firstRow) {
    EdgeLanes e;
    e.rows = _mm256_srai_epi32(
        _mm256_add_epi32(_mm256_sub_epi32(end.cy, firstRow), _mm256_set1_epi32(kSubpixelOne - 1)),
        kSubpixelBits);
    const __m256i slope =
        slopeLanes(_mm256_sub_epi32(end.x, start.x), _mm256_sub_epi32(end.y, start.y));
    e.step = _mm256_srai_epi32(slope, kFixedToSubpixelShift);
    e.prestep = _mm256_slli_epi32(_mm256_sub_epi32(firstRow, start.cy), kFixedToSubpixelShift);
    e.x = _mm256_add_epi32(start.cx,
                           _mm256_srai_epi32(fxMulLanes(e.prestep, slope), kFixedToSubpixelShift));
    e.startX = start.cx;
    e.startZ = start.z;
    return e;
}

__attribute__((target("avx2"))) __m256i pick(__m256i a, __m256i b, __m256i mask) {
    return _mm256_blendv_epi8(a, b, mask);
}

// Lane by lane, each field from `a` where the mask is clear and from `b` where it is set.
__attribute__((target("avx2"))) EdgeLanes chooseEdge(const EdgeLanes& a, const EdgeLanes& b,
                                                     __m256i mask) {
    return {pick(a.step, b.step, mask),       pick(a.x, b.x, mask),
            pick(a.prestep, b.prestep, mask), pick(a.rows, b.rows, mask),
            pick(a.startX, b.startX, mask),   pick(a.startZ, b.startZ, mask)};
}

// The edge's x `rows` rows below its first row, wrapping as the row-by-row sums do.
__attribute__((target("avx2"))) __m256i xAfter(const EdgeLanes& e, __m256i rows) {
    return _mm256_add_epi32(e.x, _mm256_mullo_epi32(rows, e.step));
}

__attribute__((target("avx2"))) __m256i columnBeforeLanes(__m256i x) {
    return _mm256_srai_epi32(_mm256_sub_epi32(x, _mm256_set1_epi32(1)), kSubpixelBits);
}

struct GradientLanes {
    __m256i dzdx, dzdy;
    __m256i inexact; // lanes whose numerators leave 32 bits: the rasteriser divides those wide
};

// depthGradients for areas that fit 32 bits and are not 0.
__attribute__((target("avx2"))) GradientLanes
gradientLanes(const VertexLanes& t, const VertexLanes& m, const VertexLanes& b, __m256i area) {
    const __m256i thin = _mm256_and_si256(_mm256_cmpgt_epi32(area, _mm256_set1_epi32(-kThinArea)),
                                          _mm256_cmpgt_epi32(_mm256_set1_epi32(kThinArea), area));
    // The thin lanes divide by 1 instead, and take the stand-in.
    const __m256i reciprocal =
        _mm256_blendv_epi8(reciprocalLanes(_mm256_blendv_epi8(area, _mm256_set1_epi32(1), thin)),
                           _mm256_set1_epi32(kThinAreaReciprocal), thin);
    const __m256i dzt = _mm256_sub_epi32(b.z, t.z), dzm = _mm256_sub_epi32(m.z, t.z);
    const WideLanes across =
        wideProductDifference(dzt, _mm256_sub_epi32(m.y, t.y), _mm256_sub_epi32(b.y, t.y), dzm);
    const WideLanes down =
        wideProductDifference(_mm256_sub_epi32(b.x, t.x), dzm, dzt, _mm256_sub_epi32(m.x, t.x));
    GradientLanes g;
    g.inexact = _mm256_or_si256(outsideLanes(across, INT32_MIN, INT32_MAX),
                                outsideLanes(down, INT32_MIN, INT32_MAX));
    const WideLanes dzdx = wideProduct(reciprocal, lowHalves(across));
    const WideLanes dzdy = wideProduct(reciprocal, lowHalves(down));
    // Beyond +-kMaxDepthGradient after fxMul's shift, decided on the products themselves.
    constexpr int64_t kAbove = (int64_t{kMaxDepthGradient} << kFixedFractionBits) + (kFxOne - 1);
    constexpr int64_t kBelow = -(int64_t{kMaxDepthGradient} << kFixedFractionBits);
    const __m256i flat =
        _mm256_or_si256(outsideLanes(dzdx, kBelow, kAbove), outsideLanes(dzdy, kBelow, kAbove));
    g.dzdx = _mm256_andnot_si256(flat, fxMulOf(dzdx));
    g.dzdy = _mm256_andnot_si256(flat, fxMulOf(dzdy));
    return g;
}

// startLeftWalk's depth for the walk along e, `advanced` rows down, whose column there is
// `column`.
__attribute__((target("avx2"))) __m256i walkDepth(const EdgeLanes& e, const GradientLanes& g,
                                                  __m256i advanced, __m256i column) {
    const __m256i firstColumn = columnBeforeLanes(e.x);
    const __m256i firstCentre =
        _mm256_slli_epi32(_mm256_add_epi32(firstColumn, _mm256_set1_epi32(1)), kSubpixelBits);
    const __m256i across =
        _mm256_slli_epi32(_mm256_sub_epi32(firstCentre, e.startX), kFixedToSubpixelShift);
    const __m256i z =
        _mm256_srai_epi32(_mm256_add_epi32(_mm256_add_epi32(e.startZ, fxMulLanes(g.dzdx, across)),
                                           fxMulLanes(g.dzdy, e.prestep)),
                          kFixedToSubpixelShift);
    const __m256i firstDepth =
        _mm256_blendv_epi8(z, _mm256_set1_epi32(static_cast<int32_t>(kUnreachableDepth)),
                           _mm256_cmpgt_epi32(_mm256_setzero_si256(), z));
    const __m256i wholeStep =
        _mm256_srai_epi32(_mm256_sub_epi32(e.step, _mm256_set1_epi32(1)), kSubpixelBits);
    const __m256i small = _mm256_srai_epi32(
        _mm256_add_epi32(fxMulLanes(_mm256_slli_epi32(wholeStep, kFixedFractionBits), g.dzdx),
                         g.dzdy),
        kFixedToSubpixelShift);
    const __m256i pixelDepth = _mm256_srai_epi32(g.dzdx, kFixedToSubpixelShift);
    const __m256i largeMoves = _mm256_sub_epi32(_mm256_sub_epi32(column, firstColumn),
                                                _mm256_mullo_epi32(advanced, wholeStep));
    return _mm256_add_epi32(_mm256_add_epi32(firstDepth, _mm256_mullo_epi32(advanced, small)),
                            _mm256_mullo_epi32(largeMoves, pixelDepth));
}

// The most rows any triangle set up here has: most groups need one or two.
__attribute__((target("avx2"))) int32_t rowsToPrepare(const GroupRows& r, __m256i few) {
    const uint32_t prepared = laneBits(few) & r.reaching;
    int32_t rows = 1;
    while (rows < kPreparedRows &&
           (laneBits(_mm256_cmpgt_epi32(r.rows, _mm256_set1_epi32(rows))) & prepared) != 0)
        ++rows;
    return rows;
}

template <typename T> __attribute__((target("avx2"))) void storeTo(T (&lanes)[kGroup], __m256i v) {
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), v);
}

// rasteriseReaching for the triangles of up to kPreparedRows rows: the sort, the three edges,
// the side of the long edge, the depth gradients, and each row's span with the depth its left
// walk reaches there. Rows from the first holding a pixel on, as the rasteriser draws them;
// the rows above hold none.
__attribute__((target("avx2"))) uint32_t prepareLanes(const int32_t* slots,
                                                      const GroupCorner (&c)[3], const GroupRows& r,
                                                      TriangleGroup& out) {
    const __m256i few = _mm256_cmpgt_epi32(_mm256_set1_epi32(kPreparedRows + 1), r.rows);
    if ((laneBits(few) & r.reaching) == 0) {
        out.prepared = 0;
        return 0;
    }
    const __m256i order =
        rowOrderLanes(slotLanes(slots, c[0]).y, slotLanes(slots, c[1]).y, slotLanes(slots, c[2]).y);
    const VertexLanes top = vertexAt(slots, c, order, kTopOf);
    const VertexLanes middle = vertexAt(slots, c, order, kMiddleOf);
    const VertexLanes bottom = vertexAt(slots, c, order, kBottomOf);
    const EdgeLanes longEdge = edgeLanes(top, bottom, r.firstRow);
    const EdgeLanes upper = edgeLanes(top, middle, r.firstRow);
    const EdgeLanes lower = edgeLanes(middle, bottom, ceilToGrid(middle.cy));

    // Under kPreparedRows + 1 pixels high and at most a screen wide, the doubled area fits 32 bits.
    const __m256i area = lowHalves(wideProductDifference(
        _mm256_sub_epi32(bottom.x, top.x), _mm256_sub_epi32(middle.y, top.y),
        _mm256_sub_epi32(middle.x, top.x), _mm256_sub_epi32(bottom.y, top.y)));
    // At or below -kThinArea the reciprocal, and so the long edge's side, is negative.
    const __m256i longEdgeOnLeft = _mm256_cmpgt_epi32(_mm256_set1_epi32(1 - kThinArea), area);
    const GradientLanes g = gradientLanes(top, middle, bottom, area);
    storeTo(out.depthStep, _mm256_srai_epi32(g.dzdx, kFixedToSubpixelShift));

    // Row by row: the long edge against the upper edge, then against the lower one. With the
    // long edge on the left its walk runs through both halves; otherwise the lower half starts
    // a walk of its own.
    const __m256i upperRows = _mm256_max_epi32(upper.rows, _mm256_setzero_si256());
    __m256i anyPixel = _mm256_setzero_si256();
    const int32_t rows = rowsToPrepare(r, few);
    for (int32_t k = 0; k < rows; ++k) {
        const __m256i row = _mm256_set1_epi32(k);
        const __m256i inUpper = _mm256_cmpgt_epi32(upperRows, row);
        const EdgeLanes shortEdge = chooseEdge(lower, upper, inUpper);
        const __m256i shortRows =
            _mm256_blendv_epi8(_mm256_sub_epi32(row, upperRows), row, inUpper);
        const __m256i shortX = xAfter(shortEdge, shortRows);
        const __m256i longX = xAfter(longEdge, row);
        const __m256i left = _mm256_blendv_epi8(shortX, longX, longEdgeOnLeft);
        const __m256i right = _mm256_blendv_epi8(longX, shortX, longEdgeOnLeft);
        const __m256i column = columnBeforeLanes(left);
        const __m256i count = _mm256_and_si256(_mm256_sub_epi32(columnBeforeLanes(right), column),
                                               _mm256_cmpgt_epi32(r.rows, row));
        anyPixel = _mm256_or_si256(anyPixel, _mm256_cmpgt_epi32(count, _mm256_setzero_si256()));
        const EdgeLanes walked = chooseEdge(shortEdge, longEdge, longEdgeOnLeft);
        const __m256i advanced = _mm256_blendv_epi8(shortRows, row, longEdgeOnLeft);
        storeTo(out.column[k], column);
        storeTo(out.count[k], count);
        storeTo(out.depth[k], walkDepth(walked, g, advanced, column));
    }
    const __m256i holds = _mm256_andnot_si256(_mm256_cmpeq_epi32(area, _mm256_setzero_si256()),
                                              _mm256_and_si256(anyPixel, few));
    out.prepared = laneBits(_mm256_andnot_si256(g.inexact, holds)) & r.reaching;
    return laneBits(_mm256_andnot_si256(holds, few)) & r.reaching;
}

// The prepared triangles that hold a pixel and the others that reach one, in the group's order.
__attribute__((target("avx2"))) void drawReaching(RenderContext& rc, const GroupCorner (&c)[3],
                                                  const GroupRows& r, __m256i colours) {
    TriangleGroup g;
    const uint32_t dropped =
        prepareLanes(reinterpret_cast<const int32_t*>(rc.vertexCache.slots), c, r, g);
    g.others = r.reaching & ~(g.prepared | dropped);
    if ((g.prepared | g.others) == 0)
        return;
    storeTo(g.firstRow, r.firstRow);
    storeTo(g.rows, r.rows);
    storeTo(g.colour, colours);
    if (g.others != 0) {
        const Lanes<uint32_t> index[3] = {storeLanes<uint32_t>(c[0].index),
                                          storeLanes<uint32_t>(c[1].index),
                                          storeLanes<uint32_t>(c[2].index)};
        for (uint32_t lanes = g.others; lanes != 0; lanes &= lanes - 1) {
            const int lane = __builtin_ctz(lanes);
            for (int k = 0; k < 3; ++k)
                g.corners[lane][k] = &rc.vertexCache.slots[index[k].at[lane]].corner;
        }
    }
    drawTriangleGroup(rc, g);
}

// The reaching triangles met and not yet drawn, packed to the front in their order: most groups
// hold only a few, and eight gathered from several groups cost one set-up rather than several.
// Room for one group's worth left over and a whole group more.
struct PendingTriangles {
    alignas(32) int32_t index[3][2 * kGroup] = {};
    alignas(32) int32_t firstRow[2 * kGroup] = {};
    alignas(32) int32_t rows[2 * kGroup] = {};
    alignas(32) uint32_t colour[2 * kGroup] = {}; // pixel words
    int32_t count = 0;
};

// For each lane mask, the lanes that are set, in order, as bytes (the rest 0).
constexpr std::array<uint64_t, 256> kPackedLanes = [] {
    std::array<uint64_t, 256> table{};
    for (uint32_t mask = 0; mask < 256; ++mask) {
        int out = 0;
        for (uint64_t lane = 0; lane < kGroup; ++lane)
            if (mask >> lane & 1)
                table[mask] |= lane << (8 * out++);
    }
    return table;
}();

__attribute__((target("avx2"))) void storePacked(int32_t* to, __m256i v, __m256i order) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), _mm256_permutevar8x32_epi32(v, order));
}

__attribute__((target("avx2"))) void appendReaching(PendingTriangles& p, const GroupCorner (&c)[3],
                                                    const GroupRows& r, __m256i colours) {
    const __m256i order = _mm256_cvtepu8_epi32(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(&kPackedLanes[r.reaching])));
    for (int k = 0; k < 3; ++k)
        storePacked(p.index[k] + p.count, c[k].index, order);
    storePacked(p.firstRow + p.count, r.firstRow, order);
    storePacked(p.rows + p.count, r.rows, order);
    storePacked(reinterpret_cast<int32_t*>(p.colour) + p.count, colours, order);
    p.count += __builtin_popcount(r.reaching);
}

template <typename T> __attribute__((target("avx2"))) __m256i loadAt(const T* lanes) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes));
}

// The lanes below `triangles`, all of them from eight on.
__attribute__((target("avx2"))) __m256i lanesBelow(int32_t triangles) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(triangles),
                              _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// Bit k of `bits` as all of lane k.
__attribute__((target("avx2"))) __m256i laneMask(uint32_t bits) {
    const __m256i bit = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    return _mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(static_cast<int32_t>(bits)), bit),
                              bit);
}

__attribute__((target("avx2"))) int32_t leastLane(__m256i v) {
    v = _mm256_min_epi32(v, _mm256_permute2x128_si256(v, v, 1));
    v = _mm256_min_epi32(v, _mm256_shuffle_epi32(v, 0x4E));
    return _mm256_cvtsi256_si32(_mm256_min_epi32(v, _mm256_shuffle_epi32(v, 0xB1)));
}

__attribute__((target("avx2"))) int32_t greatestLane(__m256i v) {
    v = _mm256_max_epi32(v, _mm256_permute2x128_si256(v, v, 1));
    v = _mm256_max_epi32(v, _mm256_shuffle_epi32(v, 0x4E));
    return _mm256_cvtsi256_si32(_mm256_max_epi32(v, _mm256_shuffle_epi32(v, 0xB1)));
}

// The first eight pending triangles, or all of them when fewer, drawn; the rest moved forward.
__attribute__((target("avx2"))) void drawPending(RenderContext& rc, PendingTriangles& p) {
    GroupCorner c[3];
    for (int k = 0; k < 3; ++k) {
        const __m256i index = loadAt(p.index[k]);
        c[k] = {index, _mm256_slli_epi32(index, 3)};
    }
    GroupRows r;
    r.firstRow = loadAt(p.firstRow);
    r.rows = loadAt(p.rows);
    r.reaching = laneBits(lanesBelow(p.count));
    drawReaching(rc, c, r, loadAt(p.colour));
    for (int k = 0; k < 3; ++k)
        _mm256_store_si256(reinterpret_cast<__m256i*>(p.index[k]), loadAt(p.index[k] + kGroup));
    _mm256_store_si256(reinterpret_cast<__m256i*>(p.firstRow), loadAt(p.firstRow + kGroup));
    _mm256_store_si256(reinterpret_cast<__m256i*>(p.rows), loadAt(p.rows + kGroup));
    _mm256_store_si256(reinterpret_cast<__m256i*>(p.colour), loadAt(p.colour + kGroup));
    p.count = std::max(p.count - kGroup, 0);
}

} // namespace

__attribute__((target("avx2"))) IndexRange indexRangeAvx2(const uint32_t* indices, int32_t count) {
    __m256i lowest = _mm256_set1_epi32(-1), highest = _mm256_setzero_si256();
    int32_t i = 0;
    for (; count - i >= 8; i += 8) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(indices + i));
        lowest = _mm256_min_epu32(lowest, v);
        highest = _mm256_max_epu32(highest, v);
    }
    // Halves, quarters, then neighbours folded onto each other.
    lowest = _mm256_min_epu32(lowest, _mm256_permute2x128_si256(lowest, lowest, 1));
    highest = _mm256_max_epu32(highest, _mm256_permute2x128_si256(highest, highest, 1));
    lowest = _mm256_min_epu32(lowest, _mm256_shuffle_epi32(lowest, 0x4E));
    highest = _mm256_max_epu32(highest, _mm256_shuffle_epi32(highest, 0x4E));
    lowest = _mm256_min_epu32(lowest, _mm256_shuffle_epi32(lowest, 0xB1));
    highest = _mm256_max_epu32(highest, _mm256_shuffle_epi32(highest, 0xB1));
    IndexRange range = {static_cast<uint32_t>(_mm256_cvtsi256_si32(lowest)),
                        static_cast<uint32_t>(_mm256_cvtsi256_si32(highest))};
    for (; i < count; ++i) {
        range.lowest = std::min(range.lowest, indices[i]);
        range.highest = std::max(range.highest, indices[i]);
    }
    return range;
}

namespace {

// Each lane's colour: the run holding its triangle, from `run` on, as a pixel word.
__attribute__((target("avx2"))) __m256i laneColours(const ColourRun* runs, int32_t runCount,
                                                    int32_t& run, int32_t groupStart) {
    while (runs[run].end <= groupStart)
        ++run;
    __m256i colours = _mm256_set1_epi32(static_cast<int32_t>(pixelWord(runs[run].colour)));
    // Runs ending within the group: the lanes after each end take the next run's colour.
    for (int32_t r = run; r + 1 < runCount && runs[r].end < groupStart + kTriangleGroupIndices;
         ++r) {
        const __m256i next = _mm256_set1_epi32(static_cast<int32_t>(pixelWord(runs[r + 1].colour)));
        const __m256i after = _mm256_cmpgt_epi32(_mm256_setr_epi32(1, 2, 3, 4, 5, 6, 7, 8),
                                                 _mm256_set1_epi32((runs[r].end - groupStart) / 3));
        colours = _mm256_blendv_epi8(colours, next, after);
    }
    return colours;
}

} // namespace

__attribute__((target("avx2"))) int32_t
drawTriangleGroupsAvx2(RenderContext& rc, const uint32_t* indices, int32_t begin, int32_t end,
                       const ColourRun* runs, int32_t runCount) {
    const int32_t* slots = reinterpret_cast<const int32_t*>(rc.vertexCache.slots);
    int32_t i = begin;
    int32_t run = 0;
    PendingTriangles pending;
    // The rows of every triangle drawn, marked once at the end: the mesh's own rows.
    __m256i top = _mm256_set1_epi32(INT32_MAX);
    __m256i bottom = _mm256_setzero_si256();
    // The last group may hold fewer than eight triangles: its missing lanes are masked off.
    for (; end - i >= 3; i += std::min(end - i, kTriangleGroupIndices)) {
        const __m256i valid = lanesBelow((end - i) / 3);
        const uint32_t* group = indices + i;
        GroupCorner c[3];
        loadCorners(group, valid, end - i >= kTriangleGroupIndices, c);
        GroupRows r = reachingLanes(slots, c);
        r.reaching &= laneBits(valid);
        if (r.reaching == 0)
            continue;
        const __m256i reaching = laneMask(r.reaching);
        top = _mm256_min_epi32(top, _mm256_blendv_epi8(top, r.firstRow, reaching));
        bottom = _mm256_max_epi32(
            bottom,
            _mm256_and_si256(_mm256_add_epi32(r.firstRow, _mm256_slli_epi32(r.rows, kSubpixelBits)),
                             reaching));
        appendReaching(pending, c, r, laneColours(runs, runCount, run, i));
        if (pending.count >= kGroup)
            drawPending(rc, pending);
    }
    if (pending.count > 0)
        drawPending(rc, pending);
    markRowsDrawn(rc, leastLane(top) >> kSubpixelBits, greatestLane(bottom) >> kSubpixelBits);
    return i;
}

#else

IndexRange indexRangeAvx2(const uint32_t* indices, int32_t count) {
    const auto [lowest, highest] = std::minmax_element(indices, indices + count);
    return {*lowest, *highest};
}

int32_t drawTriangleGroupsAvx2(RenderContext&, const uint32_t*, int32_t begin, int32_t,
                               const ColourRun*, int32_t) {
    return begin;
}

#endif
