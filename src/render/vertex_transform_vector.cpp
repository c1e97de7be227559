// vertex_transform_vector.cpp: the vertex transform in vector registers, bit for bit the scalar
// one.
#include "render/vertex_transform_vector.h"

#include <climits>
#include <cstddef>

#include "core/vector_instructions.h"
#include "render/fixed_point_lanes.h"
#include "render/render_limits.h"
#include "render/vertex_cache.h"

namespace {

#if defined(DROVANA_X86_VECTORS)

// Four products of the low 32 bits of each 64-bit lane by s, shifted right by 16 as fxMul
// does: bits 16..47 of a product are the same whether the shift is arithmetic or logical, and
// only the low 32 bits of each lane are read afterwards.
__attribute__((target("avx2"))) inline __m256i fxMulFourWide(__m256i lanes, __m256i s) {
    return _mm256_srli_epi64(_mm256_mul_epi32(lanes, s), kFixedFractionBits);
}

__attribute__((target("avx2"))) inline __m256i load(const int64_t* lanes) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
}

// The low 32 bits of the four 64-bit lanes, as four Fixed.
__attribute__((target("avx2"))) inline __m128i lowHalvesOfFour(__m256i lanes) {
    return _mm256_castsi256_si128(
        _mm256_permutevar8x32_epi32(lanes, _mm256_setr_epi32(0, 2, 4, 6, 0, 2, 4, 6)));
}

#endif

} // namespace

void prepareVectorProjection(const FxMatrix& combined, int32_t width, int32_t height,
                             VectorProjection& out) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            out.columns[c][r] = combined.m[4 * c + r];
    out.scales[0] = fxFromInt(width / 2);
    out.scales[1] = fxFromInt(height / 2);
    out.scales[2] = kDepthRange;
    out.scales[3] = 0;
    const int32_t lastInside[4] = {fxFromInt(width) - 1, fxFromInt(height) - 1, kDepthRange,
                                   INT32_MAX};
    const int32_t clampedTo[4] = {fxFromInt(width - 1), fxFromInt(height - 1), kDepthRange, 0};
    for (int i = 0; i < 4; ++i) {
        out.lastInside[i] = lastInside[i];
        out.clampedTo[i] = clampedTo[i];
    }
}

#if defined(DROVANA_X86_VECTORS)

namespace {

// x, y, z on the screen in the low three lanes, or false when the vertex is rejected.
__attribute__((target("avx2"))) inline bool projectLanes(const Vec3& v, const VectorProjection& p,
                                                         __m128i& screen) {
    // (X, Y, Z, W): the four rows of fxTransformPoint side by side; the sums wrap in the low
    // halves of the lanes.
    const __m256i clip = _mm256_add_epi32(
        _mm256_add_epi32(
            _mm256_add_epi32(fxMulFourWide(load(p.columns[0]), _mm256_set1_epi32(v.x)),
                             fxMulFourWide(load(p.columns[1]), _mm256_set1_epi32(v.y))),
            fxMulFourWide(load(p.columns[2]), _mm256_set1_epi32(v.z))),
        load(p.columns[3]));
    const int32_t w = _mm256_extract_epi32(clip, 6);
    if (w == 0)
        return false;
    // X', Y', Z' and a W' that nothing reads.
    const __m128i unit = lowHalvesOfFour(fxMulFourWide(clip, _mm256_set1_epi32(fxDiv(kFxOne, w))));
    const __m128i outside =
        _mm_or_si128(_mm_cmpgt_epi32(_mm_setr_epi32(-kFxOne, -kFxOne, 0, INT32_MIN), unit),
                     _mm_cmpgt_epi32(unit, _mm_setr_epi32(kFxOne, kFxOne, kFxOne, INT32_MAX)));
    if (_mm_movemask_epi8(outside) != 0)
        return false;
    // (1 + X') x width / 2, (1 - Y') x height / 2, Z' x 32767.0, one fxMul each.
    const __m128i offsets = _mm_add_epi32(_mm_setr_epi32(kFxOne, kFxOne, 0, 0),
                                          _mm_sign_epi32(unit, _mm_setr_epi32(1, -1, 1, 0)));
    screen = lowHalvesOfFour(fxMulFourWide(_mm256_cvtepu32_epi64(offsets), load(p.scales)));
    // Below 0 becomes 0; from the size on the last pixel; above 32767.0 becomes 32767.0.
    screen = _mm_andnot_si128(_mm_cmpgt_epi32(_mm_setzero_si128(), screen), screen);
    const __m128i beyond =
        _mm_cmpgt_epi32(screen, _mm_load_si128(reinterpret_cast<const __m128i*>(p.lastInside)));
    screen = _mm_blendv_epi8(screen, _mm_load_si128(reinterpret_cast<const __m128i*>(p.clampedTo)),
                             beyond);
    return true;
}

} // namespace

__attribute__((target("avx2"))) bool transformVertexAvx2(const Vec3& v, const VectorProjection& p,
                                                         ScreenVertex& out) {
    __m128i screen;
    if (!projectLanes(v, p, screen))
        return false;
    out.x = _mm_cvtsi128_si32(screen);
    out.y = _mm_extract_epi32(screen, 1);
    out.z = _mm_extract_epi32(screen, 2);
    return true;
}

__attribute__((target("avx2"))) bool projectCornerAvx2(const Vec3& v, const VectorProjection& p,
                                                       ScreenCorner& out) {
    __m128i screen;
    if (!projectLanes(v, p, screen))
        return false;
    // x + 0.5 and y - 0.5, wrapping as fxAdd and fxSub do, then the arithmetic shift.
    const __m128i grid = _mm_srai_epi32(
        _mm_add_epi32(screen, _mm_setr_epi32(kFxHalf, -kFxHalf, 0, 0)), kFixedToSubpixelShift);
    static_assert(offsetof(ScreenCorner, x) == sizeof(ScreenVertex));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&out.v), screen); // x, y, z and a lane over x
    out.x = _mm_cvtsi128_si32(grid);
    out.y = _mm_extract_epi32(grid, 1);
    return true;
}

#else

bool transformVertexAvx2(const Vec3&, const VectorProjection&, ScreenVertex&) {
    return false;
}

bool projectCornerAvx2(const Vec3&, const VectorProjection&, ScreenCorner&) {
    return false;
}

#endif

#if defined(DROVANA_X86_VECTORS)

namespace {

// Eight vertices side by side, one 32-bit lane each, with each lane's value also shifted down
// into the low half of its 64-bit pair, where the odd lanes' products take it from.
struct EightLanes {
    __m256i x, y, z;
    __m256i oddX, oddY, oddZ;
};

// What every eight vertices of a run are multiplied by or compared with, each value in all eight
// lanes: laid out once per run, a product reads its factor straight from memory.
struct RunLanes {
    __m256i entry[4][4]; // [column][row] of the combined matrix
    __m256i scale[3];
    __m256i lastInside[3];
    __m256i clampedTo[3];
    __m256i generation;
};

__attribute__((target("avx2"))) RunLanes runLanes(const VectorProjection& p, uint32_t generation) {
    RunLanes r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            r.entry[c][row] = _mm256_set1_epi32(static_cast<int32_t>(p.columns[c][row]));
    for (int i = 0; i < 3; ++i) {
        r.scale[i] = _mm256_set1_epi32(static_cast<int32_t>(p.scales[i]));
        r.lastInside[i] = _mm256_set1_epi32(p.lastInside[i]);
        r.clampedTo[i] = _mm256_set1_epi32(p.clampedTo[i]);
    }
    r.generation = _mm256_set1_epi32(static_cast<int32_t>(generation));
    return r;
}

__attribute__((target("avx2"))) inline __m256i oddHalves(__m256i v) {
    return _mm256_srli_epi64(v, 32);
}

// fxMul of each lane by k, the same in every lane; vOdd is oddHalves(v), shared by the products
// of v. The same bits as fxMulLanes.
__attribute__((target("avx2"))) inline __m256i fxMulSpread(const __m256i& k, __m256i v,
                                                           __m256i vOdd) {
    return _mm256_blend_epi32(_mm256_srli_epi64(_mm256_mul_epi32(k, v), kFixedFractionBits),
                              _mm256_slli_epi64(_mm256_mul_epi32(k, vOdd), 32 - kFixedFractionBits),
                              0xAA);
}

// One row of fxTransformPoint: the products summed in the scalar order, wrapping.
__attribute__((target("avx2"))) inline __m256i clipRow(const EightLanes& v, const RunLanes& r,
                                                       int row) {
    const __m256i sum = _mm256_add_epi32(fxMulSpread(r.entry[0][row], v.x, v.oddX),
                                         fxMulSpread(r.entry[1][row], v.y, v.oddY));
    return _mm256_add_epi32(_mm256_add_epi32(sum, fxMulSpread(r.entry[2][row], v.z, v.oddZ)),
                            r.entry[3][row]);
}

__attribute__((target("avx2"))) inline __m256i outsideRange(__m256i v, int32_t low, int32_t high) {
    return _mm256_or_si256(_mm256_cmpgt_epi32(_mm256_set1_epi32(low), v),
                           _mm256_cmpgt_epi32(v, _mm256_set1_epi32(high)));
}

// v times the scale, then below 0 becomes 0 and above lastInside becomes clampedTo.
__attribute__((target("avx2"))) inline __m256i scaleAndClamp(__m256i v, const RunLanes& r,
                                                             int axis) {
    v = fxMulSpread(r.scale[axis], v, oddHalves(v));
    v = _mm256_andnot_si256(_mm256_cmpgt_epi32(_mm256_setzero_si256(), v), v);
    return _mm256_blendv_epi8(v, r.clampedTo[axis], _mm256_cmpgt_epi32(v, r.lastInside[axis]));
}

// Row k of the result is what lane k held in the eight inputs.
__attribute__((target("avx2"))) inline void transposeEight(__m256i (&r)[8]) {
    __m256i t[8], u[8];
    for (int k = 0; k < 8; k += 2) {
        t[k] = _mm256_unpacklo_epi32(r[k], r[k + 1]);
        t[k + 1] = _mm256_unpackhi_epi32(r[k], r[k + 1]);
    }
    for (int k = 0; k < 8; k += 4) {
        u[k] = _mm256_unpacklo_epi64(t[k], t[k + 2]);
        u[k + 1] = _mm256_unpackhi_epi64(t[k], t[k + 2]);
        u[k + 2] = _mm256_unpacklo_epi64(t[k + 1], t[k + 3]);
        u[k + 3] = _mm256_unpackhi_epi64(t[k + 1], t[k + 3]);
    }
    for (int k = 0; k < 4; ++k) {
        r[k] = _mm256_permute2x128_si256(u[k], u[k + 4], 0x20);
        r[k + 4] = _mm256_permute2x128_si256(u[k], u[k + 4], 0x31);
    }
}

// The cache words of vertices first .. last, at most eight of them; the lanes past `last` read
// it again and are not stored.
[[gnu::always_inline]] __attribute__((target("avx2"))) inline void
projectEight(CachedVertex* slots, const Vec3* array, uint32_t first, uint32_t last,
             const RunLanes& r) {
    const __m256i lane =
        _mm256_min_epu32(_mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(first)),
                                          _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)),
                         _mm256_set1_epi32(static_cast<int32_t>(last)));
    const __m256i word = _mm256_mullo_epi32(lane, _mm256_set1_epi32(3));
    const int* coordinates = reinterpret_cast<const int*>(array);
    EightLanes v;
#if defined(__wasm_simd128__)
    // WebAssembly gathers lane by lane; eight whole vertices in a row are read whole instead.
    if (last - first >= 7) {
        wideLoadTriples(coordinates + 3 * first, v.x, v.y, v.z);
    } else
#endif
    {
        v.x = _mm256_i32gather_epi32(coordinates, word, 4);
        v.y = _mm256_i32gather_epi32(coordinates + 1, word, 4);
        v.z = _mm256_i32gather_epi32(coordinates + 2, word, 4);
    }
    v.oddX = oddHalves(v.x);
    v.oddY = oddHalves(v.y);
    v.oddZ = oddHalves(v.z);
    const __m256i w = clipRow(v, r, 3);
    const __m256i wIsZero = _mm256_cmpeq_epi32(w, _mm256_setzero_si256());
    const __m256i reciprocal = reciprocalLanes(_mm256_or_si256(w, _mm256_srli_epi32(wIsZero, 31)));
    const __m256i x = fxMulLanes(clipRow(v, r, 0), reciprocal);
    const __m256i y = fxMulLanes(clipRow(v, r, 1), reciprocal);
    const __m256i z = fxMulLanes(clipRow(v, r, 2), reciprocal);
    const __m256i rejected = _mm256_or_si256(
        _mm256_or_si256(wIsZero, outsideRange(x, -kFxOne, kFxOne)),
        _mm256_or_si256(outsideRange(y, -kFxOne, kFxOne), outsideRange(z, 0, kFxOne)));

    const __m256i one = _mm256_set1_epi32(kFxOne);
    const __m256i screenX = scaleAndClamp(_mm256_add_epi32(one, x), r, 0);
    const __m256i screenY = scaleAndClamp(_mm256_sub_epi32(one, y), r, 1);
    const __m256i screenZ = scaleAndClamp(z, r, 2);

    // The slot's eight words, in its order: generation, visible, x, y, z, corner x, corner y.
    static_assert(sizeof(CachedVertex) == 32 && offsetof(CachedVertex, corner) == 8);
    __m256i words[8] = {
        r.generation,
        _mm256_andnot_si256(rejected, _mm256_set1_epi32(1)),
        screenX,
        screenY,
        screenZ,
        _mm256_srai_epi32(_mm256_add_epi32(screenX, _mm256_set1_epi32(kFxHalf)),
                          kFixedToSubpixelShift),
        _mm256_srai_epi32(_mm256_sub_epi32(screenY, _mm256_set1_epi32(kFxHalf)),
                          kFixedToSubpixelShift),
        _mm256_setzero_si256(),
    };
    transposeEight(words);
    CachedVertex* to = slots + first;
    const uint32_t count = last - first + 1;
    if (count >= 8) {
        for (int k = 0; k < 8; ++k)
            _mm256_store_si256(reinterpret_cast<__m256i*>(to + k), words[k]);
        return;
    }
    for (uint32_t k = 0; k < count; ++k)
        _mm256_store_si256(reinterpret_cast<__m256i*>(to + k), words[k]);
}

} // namespace

__attribute__((target("avx2"))) void projectRunAvx2(VertexCache& cache, const Vec3* array,
                                                    uint32_t first, uint32_t last,
                                                    const VectorProjection& projection) {
    const RunLanes lanes = runLanes(projection, cache.generation);
    for (uint64_t k = first; k <= last; k += 8)
        projectEight(cache.slots, array, static_cast<uint32_t>(k), last, lanes);
}

#else

void projectRunAvx2(VertexCache&, const Vec3*, uint32_t, uint32_t, const VectorProjection&) {}

#endif
