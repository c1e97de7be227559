// vertex_transform_vector.cpp: the vertex transform in vector registers, bit for bit the scalar
// one.
#include "render/vertex_transform_vector.h"

#include <climits>
#include <cstddef>

#include "core/vector_instructions.h"

namespace {

constexpr int32_t kDepthRange = 0x7FFF0000;

#if defined(DROVANA_X86_VECTORS)

// Four products of the low 32 bits of each 64-bit lane by s, shifted right by 16 as fxMul
// does: bits 16..47 of a product are the same whether the shift is arithmetic or logical, and
// only the low 32 bits of each lane are read afterwards.
__attribute__((target("avx2"))) inline __m256i fxMulLanes(__m256i lanes, __m256i s) {
    return _mm256_srli_epi64(_mm256_mul_epi32(lanes, s), 16);
}

__attribute__((target("avx2"))) inline __m256i load(const int64_t* lanes) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
}

// The low 32 bits of the four 64-bit lanes, as four Fixed.
__attribute__((target("avx2"))) inline __m128i lowHalves(__m256i lanes) {
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
        _mm256_add_epi32(_mm256_add_epi32(fxMulLanes(load(p.columns[0]), _mm256_set1_epi32(v.x)),
                                          fxMulLanes(load(p.columns[1]), _mm256_set1_epi32(v.y))),
                         fxMulLanes(load(p.columns[2]), _mm256_set1_epi32(v.z))),
        load(p.columns[3]));
    const int32_t w = _mm256_extract_epi32(clip, 6);
    if (w == 0)
        return false;
    // X', Y', Z' and a W' that nothing reads.
    const __m128i unit = lowHalves(fxMulLanes(clip, _mm256_set1_epi32(fxDiv(kFxOne, w))));
    const __m128i outside =
        _mm_or_si128(_mm_cmpgt_epi32(_mm_setr_epi32(-kFxOne, -kFxOne, 0, INT32_MIN), unit),
                     _mm_cmpgt_epi32(unit, _mm_setr_epi32(kFxOne, kFxOne, kFxOne, INT32_MAX)));
    if (_mm_movemask_epi8(outside) != 0)
        return false;
    // (1 + X') x width / 2, (1 - Y') x height / 2, Z' x 32767.0, one fxMul each.
    const __m128i offsets = _mm_add_epi32(_mm_setr_epi32(kFxOne, kFxOne, 0, 0),
                                          _mm_sign_epi32(unit, _mm_setr_epi32(1, -1, 1, 0)));
    screen = lowHalves(fxMulLanes(_mm256_cvtepu32_epi64(offsets), load(p.scales)));
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
