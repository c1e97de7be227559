// The 256-bit operations whose x86 results are easy to miss when built from 128-bit halves:
// conversions and minimums of doubles at NaN and past the range, moves across the halves, and
// masked stores and gathers that leave lanes alone. The expected values are what AVX2 gives: on
// the desktop they pin the expectations to the processor, in the SIMD wasm they hold its pairs
// of 128-bit vectors to them.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "core/processor_features.h"
#include "core/vector_instructions.h"

#if defined(DROVANA_X86_VECTORS)

namespace {

using Eight = std::array<int32_t, 8>;

__attribute__((target("avx2"))) Eight lanesOf(__m256i v) {
    Eight out;
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.data()), v);
    return out;
}

__attribute__((target("avx2"))) __m256i vectorOf(const Eight& lanes) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes.data()));
}

// n / d in every lane, clamped as the slope lanes clamp, then truncated.
__attribute__((target("avx2"))) int32_t clampedQuotient(double n, double d, double limit) {
    const __m256d q = _mm256_div_pd(_mm256_set1_pd(n), _mm256_set1_pd(d));
    const __m256d clamped =
        _mm256_min_pd(_mm256_max_pd(q, _mm256_sub_pd(_mm256_setzero_pd(), _mm256_set1_pd(limit))),
                      _mm256_set1_pd(limit));
    return _mm_cvtsi128_si32(_mm256_cvttpd_epi32(clamped));
}

TEST(WideVectors, DoublesClampAndTruncateAsTheProcessorDoes) {
    if (!cpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    EXPECT_EQ(clampedQuotient(-29.0, 10.0, 1e12), -2);
    // NaN loses the maximum to its second operand; a quotient past the range converts to the
    // one value x86 has for "does not fit", where WebAssembly would saturate.
    EXPECT_EQ(clampedQuotient(0.0, 0.0, 100.0), -100);
    EXPECT_EQ(clampedQuotient(1e10, 1.0, 1e12), INT32_MIN);
    EXPECT_EQ(clampedQuotient(-1e10, 1.0, 1e12), INT32_MIN);
    EXPECT_EQ(clampedQuotient(2147483647.5, 1.0, 1e12), INT32_MAX);
}

__attribute__((target("avx2"))) Eight permuted(const Eight& order) {
    return lanesOf(_mm256_permutevar8x32_epi32(_mm256_setr_epi32(10, 11, 12, 13, 14, 15, 16, 17),
                                               vectorOf(order)));
}

__attribute__((target("avx2"))) void storeMasked(int32_t* at, const Eight& mask) {
    _mm256_maskstore_epi32(at, vectorOf(mask), _mm256_set1_epi32(-7));
}

__attribute__((target("avx2"))) Eight gathered(const int32_t* base, const Eight& mask) {
    return lanesOf(_mm256_mask_i32gather_epi32(
        _mm256_set1_epi32(99), base, _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0), vectorOf(mask), 4));
}

__attribute__((target("avx2"))) Eight widenedBytes() {
    return lanesOf(
        _mm256_cvtepu8_epi32(_mm_setr_epi8(0, 1, 127, -128, -1, 5, 6, 7, 9, 9, 9, 9, 9, 9, 9, 9)));
}

TEST(WideVectors, LanesMoveAcrossHalvesAndMasksLeaveTheRestAlone) {
    if (!cpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    // Only the low three bits of each index count.
    EXPECT_EQ(permuted({7, 0, 4, 3, 8, -1, 13, 6}), (Eight{17, 10, 14, 13, 10, 17, 15, 16}));
    // The low eight bytes widen without their sign.
    EXPECT_EQ(widenedBytes(), (Eight{0, 1, 127, 128, 255, 5, 6, 7}));

    Eight buffer{1, 2, 3, 4, 5, 6, 7, 8};
    storeMasked(buffer.data(), {-1, 0, INT32_MIN, 1, 0, 0, 0, -1});
    EXPECT_EQ(buffer, (Eight{-7, 2, -7, 4, 5, 6, 7, -7}));
    EXPECT_EQ(gathered(buffer.data(), {-1, 0, 0, -1, 0, 0, 0, 1}),
              (Eight{-7, 99, 99, 5, 99, 99, 99, 99}));
}

#if defined(__wasm_simd128__)
// Eight consecutive points read whole and taken apart give what the gathers of their words give.
TEST(WideVectors, TriplesReadWholeSplitAsGathersReadThem) {
    std::array<int32_t, 24> words;
    for (int i = 0; i < 24; ++i)
        words[i] = 1000 * i - 7;
    __m256i first, second, third;
    wideLoadTriples(words.data(), first, second, third);
    const __m256i every3 = _mm256_setr_epi32(0, 3, 6, 9, 12, 15, 18, 21);
    EXPECT_EQ(lanesOf(first), lanesOf(_mm256_i32gather_epi32(words.data(), every3, 4)));
    EXPECT_EQ(lanesOf(second), lanesOf(_mm256_i32gather_epi32(words.data() + 1, every3, 4)));
    EXPECT_EQ(lanesOf(third), lanesOf(_mm256_i32gather_epi32(words.data() + 2, every3, 4)));
}
#endif

} // namespace

#endif
