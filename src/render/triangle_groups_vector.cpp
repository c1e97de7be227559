// triangle_groups_vector.cpp: eight triangles at a time, the same decisions as rasteriseCorners
// from the projected vertices in the cache.
#include "render/triangle_groups_vector.h"

#include <algorithm>
#include <cstddef>

#include "core/vector_instructions.h"
#include "render/render_context.h"
#include "render/vertex_cache.h"

#if defined(DROVANA_X86_VECTORS)

namespace {

constexpr int32_t kGroup = kTriangleGroupIndices / 3;

// A slot's fields as 32-bit offsets from the start of the slots, for gathering by vertex index.
constexpr int32_t kSlotWords = sizeof(CachedVertex) / sizeof(int32_t);
constexpr int32_t kVisibleWord = offsetof(CachedVertex, visible) / sizeof(int32_t);
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

__attribute__((target("avx2"))) GroupCorner loadCorner(const uint32_t* group) {
    const __m256i stride = _mm256_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21);
    const __m256i index =
        _mm256_i32gather_epi32(reinterpret_cast<const int*>(group), stride, sizeof(int32_t));
    return {index, _mm256_slli_epi32(index, 3)};
}

__attribute__((target("avx2"))) __m256i gatherSlotWord(const int32_t* slots, const GroupCorner& c,
                                                       int32_t word) {
    return _mm256_i32gather_epi32(slots + word, c.slot, sizeof(int32_t));
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

struct GroupRows {
    __m256i firstRow;
    __m256i rows;
    uint32_t reaching; // one bit per triangle that reaches a row and a column centre
};

// rasteriseCorners' tests for eight triangles: visible vertices, a row centre, a column centre.
__attribute__((target("avx2"))) GroupRows reachingLanes(const int32_t* slots,
                                                        const GroupCorner (&c)[3]) {
    const __m256i visible =
        _mm256_and_si256(gatherSlotWord(slots, c[0], kVisibleWord),
                         _mm256_and_si256(gatherSlotWord(slots, c[1], kVisibleWord),
                                          gatherSlotWord(slots, c[2], kVisibleWord)));
    const __m256i y0 = gatherSlotWord(slots, c[0], kCornerYWord);
    const __m256i y1 = gatherSlotWord(slots, c[1], kCornerYWord);
    const __m256i y2 = gatherSlotWord(slots, c[2], kCornerYWord);
    const __m256i x0 = gatherSlotWord(slots, c[0], kCornerXWord);
    const __m256i x1 = gatherSlotWord(slots, c[1], kCornerXWord);
    const __m256i x2 = gatherSlotWord(slots, c[2], kCornerXWord);
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
    out.reaching = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(reaching)));
    return out;
}

__attribute__((target("avx2"))) void drawReaching(RenderContext& rc, const GroupCorner (&c)[3],
                                                  const GroupRows& r) {
    alignas(32) uint32_t index[3][kGroup];
    alignas(32) int32_t firstRow[kGroup];
    alignas(32) int32_t rows[kGroup];
    for (int k = 0; k < 3; ++k)
        _mm256_store_si256(reinterpret_cast<__m256i*>(index[k]), c[k].index);
    _mm256_store_si256(reinterpret_cast<__m256i*>(firstRow), r.firstRow);
    _mm256_store_si256(reinterpret_cast<__m256i*>(rows), r.rows);
    const CachedVertex* slots = rc.vertexCache.slots;
    for (uint32_t lanes = r.reaching; lanes != 0; lanes &= lanes - 1) {
        const int lane = __builtin_ctz(lanes);
        rasteriseReaching(rc, slots[index[0][lane]].corner, slots[index[1][lane]].corner,
                          slots[index[2][lane]].corner, firstRow[lane], rows[lane]);
    }
}

} // namespace

__attribute__((target("avx2"))) uint32_t highestIndexAvx2(const uint32_t* indices, int32_t count) {
    __m256i highest = _mm256_setzero_si256();
    int32_t i = 0;
    for (; count - i >= 8; i += 8)
        highest = _mm256_max_epu32(
            highest, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(indices + i)));
    alignas(32) uint32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), highest);
    uint32_t result = 0;
    for (uint32_t lane : lanes)
        result = std::max(result, lane);
    for (; i < count; ++i)
        result = std::max(result, indices[i]);
    return result;
}

__attribute__((target("avx2"))) int32_t
drawTriangleGroupsAvx2(RenderContext& rc, const uint32_t* indices, int32_t begin, int32_t end) {
    const int32_t* slots = reinterpret_cast<const int32_t*>(rc.vertexCache.slots);
    int32_t i = begin;
    for (; end - i >= kTriangleGroupIndices; i += kTriangleGroupIndices) {
        const GroupCorner c[3] = {loadCorner(indices + i), loadCorner(indices + i + 1),
                                  loadCorner(indices + i + 2)};
        const GroupRows r = reachingLanes(slots, c);
        if (r.reaching != 0)
            drawReaching(rc, c, r);
    }
    return i;
}

#else

uint32_t highestIndexAvx2(const uint32_t* indices, int32_t count) {
    return count > 0 ? *std::max_element(indices, indices + count) : 0;
}

int32_t drawTriangleGroupsAvx2(RenderContext&, const uint32_t*, int32_t begin, int32_t) {
    return begin;
}

#endif
