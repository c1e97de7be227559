// fixed_point_lanes.h: Fixed arithmetic on eight 32-bit lanes at once, each result bit for bit
// the scalar one: products truncated as fxMul truncates, 64-bit differences, and the divisions
// (done in doubles, exact for the dividends used here). Include only where DROVANA_X86_VECTORS
// is defined.
#pragma once

#include <cstdint>

#include "core/fixed_point.h"
#include "core/vector_instructions.h"

#if defined(DROVANA_X86_VECTORS)

// 64-bit products of the even lanes and of the odd lanes, four each.
struct WideLanes {
    __m256i even, odd;
};

inline __attribute__((target("avx2"))) WideLanes wideProduct(__m256i a, __m256i b) {
    return {_mm256_mul_epi32(a, b),
            _mm256_mul_epi32(_mm256_srli_epi64(a, 32), _mm256_srli_epi64(b, 32))};
}

// Bits 16..47 of each lane's product, back in its own lane: fxMul lane by lane. The odd
// lanes' bits land in the upper half of their 64-bit lane.
inline __attribute__((target("avx2"))) __m256i fxMulOf(const WideLanes& p) {
    return _mm256_blend_epi32(_mm256_srli_epi64(p.even, kFixedFractionBits),
                              _mm256_slli_epi64(p.odd, 32 - kFixedFractionBits), 0xAA);
}

#if defined(DROVANA_WASM_VECTORS)
// WebAssembly multiplies neighbouring lanes wide, not even and odd ones: each half's low and
// high pairs of products, their bits 16..47 picked back into the lanes in order.
inline v128_t fxMulHalf(v128_t a, v128_t b) {
    return wasm_i32x4_shuffle(
        wasm_u64x2_shr(wasm_i64x2_extmul_low_i32x4(a, b), kFixedFractionBits),
        wasm_u64x2_shr(wasm_i64x2_extmul_high_i32x4(a, b), kFixedFractionBits), 0, 2, 4, 6);
}
inline __m256i fxMulLanes(__m256i a, __m256i b) {
    return {fxMulHalf(a.lo, b.lo), fxMulHalf(a.hi, b.hi)};
}
#else
inline __attribute__((target("avx2"))) __m256i fxMulLanes(__m256i a, __m256i b) {
    return fxMulOf(wideProduct(a, b));
}
#endif

// The arithmetic shift of 64-bit lanes by the fraction's bits, which AVX2 lacks.
inline __attribute__((target("avx2"))) __m256i shiftDownFraction(__m256i v) {
    const __m256i negative = _mm256_cmpgt_epi64(_mm256_setzero_si256(), v);
    return _mm256_or_si256(_mm256_srli_epi64(v, kFixedFractionBits),
                           _mm256_slli_epi64(negative, 64 - kFixedFractionBits));
}

// (a b >> 16) - (c d >> 16) carried wide, as the rasteriser's area and depth numerators are.
inline __attribute__((target("avx2"))) WideLanes wideProductDifference(__m256i a, __m256i b,
                                                                       __m256i c, __m256i d) {
    const WideLanes ab = wideProduct(a, b), cd = wideProduct(c, d);
    return {_mm256_sub_epi64(shiftDownFraction(ab.even), shiftDownFraction(cd.even)),
            _mm256_sub_epi64(shiftDownFraction(ab.odd), shiftDownFraction(cd.odd))};
}

inline __attribute__((target("avx2"))) __m256i wideOutside(__m256i v, __m256i lowest,
                                                           __m256i highest) {
    return _mm256_or_si256(_mm256_cmpgt_epi64(v, highest), _mm256_cmpgt_epi64(lowest, v));
}

// Lanes whose wide value lies outside low..high, as a 32-bit lane mask.
inline __attribute__((target("avx2"))) __m256i outsideLanes(const WideLanes& w, int64_t low,
                                                            int64_t high) {
    const __m256i lowest = _mm256_set1_epi64x(low), highest = _mm256_set1_epi64x(high);
    return _mm256_blend_epi32(wideOutside(w.even, lowest, highest),
                              wideOutside(w.odd, lowest, highest), 0xAA);
}

// The low 32 bits of each lane's wide value.
inline __attribute__((target("avx2"))) __m256i lowHalves(const WideLanes& w) {
    return _mm256_blend_epi32(w.even, _mm256_slli_epi64(w.odd, 32), 0xAA);
}

// A quotient n / d truncated and saturated to Fixed, four lanes in doubles: with the dividend far
// below 2^53, truncating the rounded quotient gives the integer one.
inline __attribute__((target("avx2"))) __m128i quotientFour(__m256d n, __m128i d) {
    const __m256d q = _mm256_div_pd(n, _mm256_cvtepi32_pd(d));
    const __m256d limit = _mm256_set1_pd(INT32_MAX);
    return _mm256_cvttpd_epi32(
        _mm256_min_pd(_mm256_max_pd(q, _mm256_sub_pd(_mm256_setzero_pd(), limit)), limit));
}

inline __attribute__((target("avx2"))) __m256d timesFxOne(__m128i v) {
    return _mm256_mul_pd(_mm256_cvtepi32_pd(v), _mm256_set1_pd(kFxOne));
}

// dx * 65536 / dy, as the rasteriser divides for an edge's slope.
inline __attribute__((target("avx2"))) __m256i slopeLanes(__m256i dx, __m256i dy) {
    return _mm256_set_m128i(
        quotientFour(timesFxOne(_mm256_extracti128_si256(dx, 1)), _mm256_extracti128_si256(dy, 1)),
        quotientFour(timesFxOne(_mm256_castsi256_si128(dx)), _mm256_castsi256_si128(dy)));
}

// fxDiv(kFxOne, v) for v other than 0: 2^32 / v truncated, saturated where |v| is 2 or less.
inline __attribute__((target("avx2"))) __m256i reciprocalLanes(__m256i v) {
    // 1.0 as the dividend of fxDiv: kFxOne scaled up by kFxOne once more.
    const __m256d one = _mm256_set1_pd(static_cast<double>(kFxOne) * kFxOne);
    return _mm256_set_m128i(quotientFour(one, _mm256_extracti128_si256(v, 1)),
                            quotientFour(one, _mm256_castsi256_si128(v)));
}

#endif
