// wide_vectors_wasm.h: the 256-bit vector operations of the eight-lane paths, each as a pair of
// 128-bit WebAssembly vectors, so that the browser build compiles those paths from the same
// source. Every operation gives what the x86 instruction gives, lane for lane, on every input
// (saturations, out-of-range conversions, minimum and maximum of doubles as x86 orders them);
// the names are the x86 ones for that reason. Included only by core/vector_instructions.h, after
// Emscripten's translation of the SSE operations, which the halves use where it is cheap.
#pragma once

#include <wasm_simd128.h>

#include <cstdint>

struct __m256i {
    __m128i lo, hi;
};
struct __m256d {
    __m128d lo, hi;
};
struct __m256 {
    __m128 lo, hi;
};

#define DROVANA_WIDE inline __attribute__((always_inline))

// --- Making, loading and storing

DROVANA_WIDE __m256i _mm256_setzero_si256() {
    return {wasm_i32x4_splat(0), wasm_i32x4_splat(0)};
}
DROVANA_WIDE __m256i _mm256_set1_epi32(int32_t v) {
    return {wasm_i32x4_splat(v), wasm_i32x4_splat(v)};
}
DROVANA_WIDE __m256i _mm256_set1_epi16(int16_t v) {
    return {wasm_i16x8_splat(v), wasm_i16x8_splat(v)};
}
DROVANA_WIDE __m256i _mm256_set1_epi64x(int64_t v) {
    return {wasm_i64x2_splat(v), wasm_i64x2_splat(v)};
}
DROVANA_WIDE __m256i _mm256_setr_epi32(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                                       int32_t f, int32_t g, int32_t h) {
    return {wasm_i32x4_make(a, b, c, d), wasm_i32x4_make(e, f, g, h)};
}
DROVANA_WIDE __m256i _mm256_setr_epi16(int16_t a0, int16_t a1, int16_t a2, int16_t a3, int16_t a4,
                                       int16_t a5, int16_t a6, int16_t a7, int16_t b0, int16_t b1,
                                       int16_t b2, int16_t b3, int16_t b4, int16_t b5, int16_t b6,
                                       int16_t b7) {
    return {wasm_i16x8_make(a0, a1, a2, a3, a4, a5, a6, a7),
            wasm_i16x8_make(b0, b1, b2, b3, b4, b5, b6, b7)};
}
DROVANA_WIDE __m256i _mm256_setr_epi8(int8_t a0, int8_t a1, int8_t a2, int8_t a3, int8_t a4,
                                      int8_t a5, int8_t a6, int8_t a7, int8_t a8, int8_t a9,
                                      int8_t a10, int8_t a11, int8_t a12, int8_t a13, int8_t a14,
                                      int8_t a15, int8_t b0, int8_t b1, int8_t b2, int8_t b3,
                                      int8_t b4, int8_t b5, int8_t b6, int8_t b7, int8_t b8,
                                      int8_t b9, int8_t b10, int8_t b11, int8_t b12, int8_t b13,
                                      int8_t b14, int8_t b15) {
    return {wasm_i8x16_make(a0, a1, a2, a3, a4, a5, a6, a7, a8, a9, a10, a11, a12, a13, a14, a15),
            wasm_i8x16_make(b0, b1, b2, b3, b4, b5, b6, b7, b8, b9, b10, b11, b12, b13, b14, b15)};
}
DROVANA_WIDE __m256i _mm256_set_m128i(__m128i hi, __m128i lo) {
    return {lo, hi};
}
DROVANA_WIDE __m256i _mm256_broadcastsi128_si256(__m128i v) {
    return {v, v};
}
DROVANA_WIDE __m256i _mm256_broadcastq_epi64(__m128i v) {
    const v128_t low = wasm_i64x2_shuffle(v, v, 0, 0);
    return {low, low};
}
DROVANA_WIDE __m128i _mm256_castsi256_si128(__m256i v) {
    return v.lo;
}
DROVANA_WIDE __m256 _mm256_castsi256_ps(__m256i v) {
    return {reinterpret_cast<__m128>(v.lo), reinterpret_cast<__m128>(v.hi)};
}
#define _mm256_extracti128_si256(v, half) (((half)&1) ? (v).hi : (v).lo)
#define _mm256_extract_epi32(v, lane)                                                              \
    (((lane)&4) ? wasm_i32x4_extract_lane((v).hi, (lane)&3)                                        \
                : wasm_i32x4_extract_lane((v).lo, (lane)&3))
DROVANA_WIDE int32_t _mm256_cvtsi256_si32(__m256i v) {
    return wasm_i32x4_extract_lane(v.lo, 0);
}

DROVANA_WIDE __m256i _mm256_loadu_si256(const __m256i* p) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(p);
    return {wasm_v128_load(bytes), wasm_v128_load(bytes + 16)};
}
DROVANA_WIDE __m256i _mm256_load_si256(const __m256i* p) {
    return _mm256_loadu_si256(p);
}
DROVANA_WIDE void _mm256_storeu_si256(__m256i* p, __m256i v) {
    auto* bytes = reinterpret_cast<uint8_t*>(p);
    wasm_v128_store(bytes, v.lo);
    wasm_v128_store(bytes + 16, v.hi);
}
DROVANA_WIDE void _mm256_store_si256(__m256i* p, __m256i v) {
    _mm256_storeu_si256(p, v);
}

// The lanes a mask leaves out are neither read nor written, one at a time: a whole load could
// run past the end of memory, and a whole store would write them.
DROVANA_WIDE __m256i _mm256_maskload_epi32(const int* p, __m256i mask) {
    alignas(16) int32_t lanes[8], in[8];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(in), mask);
    for (int i = 0; i < 8; ++i)
        lanes[i] = in[i] < 0 ? p[i] : 0;
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes));
}
DROVANA_WIDE void _mm256_maskstore_epi32(int* p, __m256i mask, __m256i v) {
    alignas(16) int32_t lanes[8], in[8];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(in), mask);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), v);
    for (int i = 0; i < 8; ++i)
        if (in[i] < 0)
            p[i] = lanes[i];
}

// WebAssembly has no gather: eight loads, each lane's index taken out of its vector and the
// value put into its lane, never through memory (a vector read back right after lanes were
// stored waits for the stores). Masked lanes are neither read nor changed.
DROVANA_WIDE int32_t wideLoadLane(const uint8_t* base, int32_t index, int scale) {
    int32_t value;
    __builtin_memcpy(&value, base + static_cast<intptr_t>(index) * scale, 4);
    return value;
}
DROVANA_WIDE v128_t wideGatherHalf(const uint8_t* base, v128_t index, int scale) {
    return wasm_i32x4_make(wideLoadLane(base, wasm_i32x4_extract_lane(index, 0), scale),
                           wideLoadLane(base, wasm_i32x4_extract_lane(index, 1), scale),
                           wideLoadLane(base, wasm_i32x4_extract_lane(index, 2), scale),
                           wideLoadLane(base, wasm_i32x4_extract_lane(index, 3), scale));
}
template <int lane>
DROVANA_WIDE v128_t wideGatherLane(v128_t into, const uint8_t* base, v128_t index, int scale,
                                   v128_t mask) {
    if (wasm_i32x4_extract_lane(mask, lane) >= 0)
        return into;
    return wasm_i32x4_replace_lane(into, lane,
                                   wideLoadLane(base, wasm_i32x4_extract_lane(index, lane), scale));
}
DROVANA_WIDE v128_t wideGatherHalf(const uint8_t* base, v128_t index, int scale, v128_t mask,
                                   v128_t fallback) {
    if (wasm_i32x4_bitmask(mask) == 15)
        return wideGatherHalf(base, index, scale);
    v128_t lanes = wideGatherLane<0>(fallback, base, index, scale, mask);
    lanes = wideGatherLane<1>(lanes, base, index, scale, mask);
    lanes = wideGatherLane<2>(lanes, base, index, scale, mask);
    return wideGatherLane<3>(lanes, base, index, scale, mask);
}
DROVANA_WIDE __m256i wideGather(const void* base, __m256i index, int scale) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(base);
    return {wideGatherHalf(bytes, index.lo, scale), wideGatherHalf(bytes, index.hi, scale)};
}
DROVANA_WIDE __m256i wideGather(const void* base, __m256i index, int scale, __m256i mask,
                                __m256i fallback) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(base);
    return {wideGatherHalf(bytes, index.lo, scale, mask.lo, fallback.lo),
            wideGatherHalf(bytes, index.hi, scale, mask.hi, fallback.hi)};
}
// Where the lanes are consecutive triples (x, y, z of eight points in a row), no gather is
// needed: the 24 words are read as six vectors and taken apart by shuffles, two to a result.
DROVANA_WIDE void wideSplitTriples(v128_t a, v128_t b, v128_t c, v128_t& first, v128_t& second,
                                   v128_t& third) {
    first = wasm_i32x4_shuffle(wasm_i32x4_shuffle(a, b, 0, 3, 6, 0), c, 0, 1, 2, 5);
    second = wasm_i32x4_shuffle(wasm_i32x4_shuffle(a, b, 1, 4, 7, 0), c, 0, 1, 2, 6);
    third = wasm_i32x4_shuffle(wasm_i32x4_shuffle(a, b, 2, 5, 0, 0), c, 0, 1, 4, 7);
}
DROVANA_WIDE void wideLoadTriples(const int32_t* words, __m256i& first, __m256i& second,
                                  __m256i& third) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(words);
    wideSplitTriples(wasm_v128_load(bytes), wasm_v128_load(bytes + 16), wasm_v128_load(bytes + 32),
                     first.lo, second.lo, third.lo);
    wideSplitTriples(wasm_v128_load(bytes + 48), wasm_v128_load(bytes + 64),
                     wasm_v128_load(bytes + 80), first.hi, second.hi, third.hi);
}
// Eight records of eight words, lane k's at base + index[k] words, turned so that words[w]
// holds word w of every lane's record: two loads a lane and four 4 x 4 transposes, where
// gathering each wanted word would take a load a lane per word.
DROVANA_WIDE void wideTransposeFour(v128_t a, v128_t b, v128_t c, v128_t d, v128_t* out) {
    const v128_t ab01 = wasm_i32x4_shuffle(a, b, 0, 4, 1, 5);
    const v128_t ab23 = wasm_i32x4_shuffle(a, b, 2, 6, 3, 7);
    const v128_t cd01 = wasm_i32x4_shuffle(c, d, 0, 4, 1, 5);
    const v128_t cd23 = wasm_i32x4_shuffle(c, d, 2, 6, 3, 7);
    out[0] = wasm_i64x2_shuffle(ab01, cd01, 0, 2);
    out[1] = wasm_i64x2_shuffle(ab01, cd01, 1, 3);
    out[2] = wasm_i64x2_shuffle(ab23, cd23, 0, 2);
    out[3] = wasm_i64x2_shuffle(ab23, cd23, 1, 3);
}
DROVANA_WIDE void wideGatherRecordHalf(const int32_t* base, v128_t index, v128_t (&low)[4],
                                       v128_t (&high)[4]) {
    const int32_t* at[4] = {
        base + wasm_i32x4_extract_lane(index, 0), base + wasm_i32x4_extract_lane(index, 1),
        base + wasm_i32x4_extract_lane(index, 2), base + wasm_i32x4_extract_lane(index, 3)};
    wideTransposeFour(wasm_v128_load(at[0]), wasm_v128_load(at[1]), wasm_v128_load(at[2]),
                      wasm_v128_load(at[3]), low);
    wideTransposeFour(wasm_v128_load(at[0] + 4), wasm_v128_load(at[1] + 4),
                      wasm_v128_load(at[2] + 4), wasm_v128_load(at[3] + 4), high);
}
DROVANA_WIDE void wideGatherRecords(const int32_t* base, __m256i index, __m256i (&words)[8]) {
    v128_t low[2][4], high[2][4];
    wideGatherRecordHalf(base, index.lo, low[0], high[0]);
    wideGatherRecordHalf(base, index.hi, low[1], high[1]);
    for (int w = 0; w < 4; ++w) {
        words[w] = {low[0][w], low[1][w]};
        words[w + 4] = {high[0][w], high[1][w]};
    }
}

#define _mm256_i32gather_epi32(base, index, scale) wideGather((base), (index), (scale))
#define _mm256_mask_i32gather_epi32(fallback, base, index, mask, scale)                            \
    wideGather((base), (index), (scale), (mask), (fallback))

// --- Each half on its own: the x86 operations work within 128-bit halves too.

#define DROVANA_WIDE_HALVES(name, half)                                                            \
    DROVANA_WIDE __m256i name(__m256i a, __m256i b) {                                              \
        return {half(a.lo, b.lo), half(a.hi, b.hi)};                                               \
    }
DROVANA_WIDE_HALVES(_mm256_add_epi16, _mm_add_epi16)
DROVANA_WIDE_HALVES(_mm256_add_epi32, _mm_add_epi32)
DROVANA_WIDE_HALVES(_mm256_sub_epi16, _mm_sub_epi16)
DROVANA_WIDE_HALVES(_mm256_sub_epi32, _mm_sub_epi32)
DROVANA_WIDE_HALVES(_mm256_sub_epi64, _mm_sub_epi64)
DROVANA_WIDE_HALVES(_mm256_adds_epu8, _mm_adds_epu8)
DROVANA_WIDE_HALVES(_mm256_mullo_epi16, _mm_mullo_epi16)
DROVANA_WIDE_HALVES(_mm256_mullo_epi32, _mm_mullo_epi32)
DROVANA_WIDE_HALVES(_mm256_and_si256, _mm_and_si128)
DROVANA_WIDE_HALVES(_mm256_andnot_si256, _mm_andnot_si128)
DROVANA_WIDE_HALVES(_mm256_or_si256, _mm_or_si128)
DROVANA_WIDE_HALVES(_mm256_xor_si256, _mm_xor_si128)
DROVANA_WIDE_HALVES(_mm256_cmpeq_epi32, _mm_cmpeq_epi32)
DROVANA_WIDE_HALVES(_mm256_cmpgt_epi32, _mm_cmpgt_epi32)
DROVANA_WIDE_HALVES(_mm256_cmpgt_epi64, _mm_cmpgt_epi64)
DROVANA_WIDE_HALVES(_mm256_min_epi32, _mm_min_epi32)
DROVANA_WIDE_HALVES(_mm256_max_epi32, _mm_max_epi32)
DROVANA_WIDE_HALVES(_mm256_min_epu32, _mm_min_epu32)
DROVANA_WIDE_HALVES(_mm256_max_epu32, _mm_max_epu32)
DROVANA_WIDE_HALVES(_mm256_packs_epi16, _mm_packs_epi16)
DROVANA_WIDE_HALVES(_mm256_packs_epi32, _mm_packs_epi32)
DROVANA_WIDE_HALVES(_mm256_packus_epi16, _mm_packus_epi16)
DROVANA_WIDE_HALVES(_mm256_packus_epi32, _mm_packus_epi32)
DROVANA_WIDE_HALVES(_mm256_unpacklo_epi8, _mm_unpacklo_epi8)
DROVANA_WIDE_HALVES(_mm256_unpackhi_epi8, _mm_unpackhi_epi8)
DROVANA_WIDE_HALVES(_mm256_unpacklo_epi32, _mm_unpacklo_epi32)
DROVANA_WIDE_HALVES(_mm256_unpackhi_epi32, _mm_unpackhi_epi32)
DROVANA_WIDE_HALVES(_mm256_unpacklo_epi64, _mm_unpacklo_epi64)
DROVANA_WIDE_HALVES(_mm256_unpackhi_epi64, _mm_unpackhi_epi64)
DROVANA_WIDE_HALVES(_mm256_shuffle_epi8, _mm_shuffle_epi8)
#undef DROVANA_WIDE_HALVES

// Even lanes' signed products, widened: the sign extension and the multiply in one operation.
DROVANA_WIDE __m256i _mm256_mul_epi32(__m256i a, __m256i b) {
    const auto even = [](v128_t x, v128_t y) {
        return wasm_i64x2_extmul_low_i32x4(wasm_i32x4_shuffle(x, x, 0, 2, 0, 2),
                                           wasm_i32x4_shuffle(y, y, 0, 2, 0, 2));
    };
    return {even(a.lo, b.lo), even(a.hi, b.hi)};
}

// Shifts by a count, which x86 takes as everything shifted out from the lane's width on.
#define DROVANA_WIDE_SHIFT(name, half)                                                             \
    DROVANA_WIDE __m256i name(__m256i v, int n) {                                                  \
        return {half(v.lo, n), half(v.hi, n)};                                                     \
    }
DROVANA_WIDE_SHIFT(_mm256_slli_epi32, _mm_slli_epi32)
DROVANA_WIDE_SHIFT(_mm256_srli_epi16, _mm_srli_epi16)
DROVANA_WIDE_SHIFT(_mm256_srli_epi32, _mm_srli_epi32)
DROVANA_WIDE_SHIFT(_mm256_srai_epi32, _mm_srai_epi32)
DROVANA_WIDE_SHIFT(_mm256_slli_epi64, _mm_slli_epi64)
DROVANA_WIDE_SHIFT(_mm256_srli_epi64, _mm_srli_epi64)
#undef DROVANA_WIDE_SHIFT

// Bytes whose mask byte has its top bit set come from b. The byte mask by a comparison with
// zero, one instruction on x86, where a byte shift is unpacked, shifted and packed again.
DROVANA_WIDE __m256i _mm256_blendv_epi8(__m256i a, __m256i b, __m256i mask) {
    const v128_t zero = wasm_i8x16_splat(0);
    return {wasm_v128_bitselect(b.lo, a.lo, wasm_i8x16_lt(mask.lo, zero)),
            wasm_v128_bitselect(b.hi, a.hi, wasm_i8x16_lt(mask.hi, zero))};
}

// The blend's eight lane bits, four to a half, as the pairs of 16-bit lanes a shuffle picks.
constexpr int wideBlendSixteen(int lanes) {
    return (lanes & 1 ? 0x03 : 0) | (lanes & 2 ? 0x0C : 0) | (lanes & 4 ? 0x30 : 0) |
           (lanes & 8 ? 0xC0 : 0);
}
#define _mm256_blend_epi32(a, b, lanes)                                                            \
    (__m256i{_mm_blend_epi16((a).lo, (b).lo, wideBlendSixteen((lanes)&15)),                        \
             _mm_blend_epi16((a).hi, (b).hi, wideBlendSixteen(((lanes) >> 4) & 15))})
#define _mm256_shuffle_epi32(v, order)                                                             \
    (__m256i{_mm_shuffle_epi32((v).lo, (order)), _mm_shuffle_epi32((v).hi, (order))})

// --- Across the halves

// Each half from either half of a or b, or zero, as the control's two nibbles say.
DROVANA_WIDE __m128i wideHalfOf(__m256i a, __m256i b, int control) {
    if (control & 8)
        return wasm_i32x4_splat(0);
    switch (control & 3) {
    case 0:
        return a.lo;
    case 1:
        return a.hi;
    case 2:
        return b.lo;
    default:
        return b.hi;
    }
}
DROVANA_WIDE __m256i _mm256_permute2x128_si256(__m256i a, __m256i b, int control) {
    return {wideHalfOf(a, b, control & 15), wideHalfOf(a, b, control >> 4)};
}

#define _mm256_permute4x64_epi64(v, order)                                                         \
    (__m256i{wasm_i64x2_shuffle((v).lo, (v).hi, (order)&3, ((order) >> 2) & 3),                    \
             wasm_i64x2_shuffle((v).lo, (v).hi, ((order) >> 4) & 3, ((order) >> 6) & 3)})

// Any lane to any lane: each lane's four bytes picked from whichever half holds them (a swizzle
// gives zero for a byte index past its vector, so the two picks do not overlap).
DROVANA_WIDE __m256i _mm256_permutevar8x32_epi32(__m256i v, __m256i order) {
    const v128_t byteOfLane = wasm_i8x16_const(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12);
    const v128_t withinLane = wasm_i8x16_const(0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3);
    const auto pick = [&](v128_t lanes) {
        const v128_t first = wasm_i32x4_shl(wasm_v128_and(lanes, wasm_i32x4_splat(7)), 2);
        const v128_t bytes = wasm_i8x16_add(wasm_i8x16_swizzle(first, byteOfLane), withinLane);
        return wasm_v128_or(wasm_i8x16_swizzle(v.lo, bytes),
                            wasm_i8x16_swizzle(v.hi, wasm_i8x16_sub(bytes, wasm_i8x16_splat(16))));
    };
    return {pick(order.lo), pick(order.hi)};
}

DROVANA_WIDE __m256i _mm256_cvtepu8_epi32(__m128i v) {
    const v128_t halves = wasm_u16x8_extend_low_u8x16(v);
    return {wasm_u32x4_extend_low_u16x8(halves), wasm_u32x4_extend_high_u16x8(halves)};
}
DROVANA_WIDE __m256i _mm256_cvtepu16_epi32(__m128i v) {
    return {wasm_u32x4_extend_low_u16x8(v), wasm_u32x4_extend_high_u16x8(v)};
}
DROVANA_WIDE __m256i _mm256_cvtepu32_epi64(__m128i v) {
    return {wasm_u64x2_extend_low_u32x4(v), wasm_u64x2_extend_high_u32x4(v)};
}

// --- Tests and masks

DROVANA_WIDE int _mm256_testz_si256(__m256i a, __m256i b) {
    return !wasm_v128_any_true(wasm_v128_or(wasm_v128_and(a.lo, b.lo), wasm_v128_and(a.hi, b.hi)));
}
DROVANA_WIDE int _mm256_testc_si256(__m256i a, __m256i b) {
    return !wasm_v128_any_true(
        wasm_v128_or(wasm_v128_andnot(b.lo, a.lo), wasm_v128_andnot(b.hi, a.hi)));
}
DROVANA_WIDE int _mm256_movemask_epi8(__m256i v) {
    return static_cast<int>(wasm_i8x16_bitmask(v.lo) | (wasm_i8x16_bitmask(v.hi) << 16));
}
DROVANA_WIDE int _mm256_movemask_ps(__m256 v) {
    return static_cast<int>(wasm_i32x4_bitmask(reinterpret_cast<v128_t>(v.lo)) |
                            (wasm_i32x4_bitmask(reinterpret_cast<v128_t>(v.hi)) << 4));
}

// --- Doubles

DROVANA_WIDE __m256d _mm256_set1_pd(double v) {
    return {wasm_f64x2_splat(v), wasm_f64x2_splat(v)};
}
DROVANA_WIDE __m256d _mm256_setzero_pd() {
    return _mm256_set1_pd(0.0);
}
DROVANA_WIDE __m256d _mm256_sub_pd(__m256d a, __m256d b) {
    return {a.lo - b.lo, a.hi - b.hi};
}
DROVANA_WIDE __m256d _mm256_mul_pd(__m256d a, __m256d b) {
    return {a.lo * b.lo, a.hi * b.hi};
}
DROVANA_WIDE __m256d _mm256_div_pd(__m256d a, __m256d b) {
    return {a.lo / b.lo, a.hi / b.hi};
}
// x86 gives b whenever a is not less (greater) than b: for a NaN in either, and for -0 and 0.
DROVANA_WIDE __m256d _mm256_min_pd(__m256d a, __m256d b) {
    return {wasm_f64x2_pmin(b.lo, a.lo), wasm_f64x2_pmin(b.hi, a.hi)};
}
DROVANA_WIDE __m256d _mm256_max_pd(__m256d a, __m256d b) {
    return {wasm_f64x2_pmax(b.lo, a.lo), wasm_f64x2_pmax(b.hi, a.hi)};
}
DROVANA_WIDE __m256d _mm256_cvtepi32_pd(__m128i v) {
    return {wasm_f64x2_convert_low_i32x4(v),
            wasm_f64x2_convert_low_i32x4(wasm_i64x2_shuffle(v, v, 1, 1))};
}
// Truncated, and 0x80000000 for NaN and for what does not fit, where WebAssembly saturates.
DROVANA_WIDE __m128i _mm256_cvttpd_epi32(__m256d v) {
    const auto convert = [](v128_t d) {
        const v128_t fits = wasm_v128_and(wasm_f64x2_gt(d, wasm_f64x2_splat(-2147483649.0)),
                                          wasm_f64x2_lt(d, wasm_f64x2_splat(2147483648.0)));
        return wasm_v128_bitselect(wasm_i32x4_trunc_sat_f64x2_zero(d), wasm_i32x4_splat(INT32_MIN),
                                   wasm_i32x4_shuffle(fits, fits, 0, 2, 0, 2));
    };
    const v128_t low = convert(v.lo), high = convert(v.hi);
    return wasm_i64x2_shuffle(low, high, 0, 2);
}

#undef DROVANA_WIDE
