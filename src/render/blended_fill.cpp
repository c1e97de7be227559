// blended_fill.cpp: the alpha-blended span, with and without the depth test, in vector
// registers (SSE2, which every x86-64 has, and AVX2 for the depth-tested span where present;
// elsewhere the scalar loop does it all).
#include "render/blended_fill.h"

#include "core/processor_features.h"
#include "core/vector_instructions.h"
#include "render/depth_lanes_vector.h"

namespace {

#if defined(DROVANA_X86_VECTORS)

// Two pixels' channels as 16-bit lanes: c x keep stays below 65536, and alpha times 256
// shifted back by 8 is alpha again, so one multiply and one shift serve all four channels.
struct BlendLanes {
    __m128i weight; // keep, keep, keep, 256 per pixel
    __m128i add;    // addR, addG, addB, 0 per pixel
};

BlendLanes makeLanes(const BlendTerms& t) {
    const auto k = static_cast<int16_t>(t.keep);
    const auto r = static_cast<int16_t>(t.addR), g = static_cast<int16_t>(t.addG),
               b = static_cast<int16_t>(t.addB);
    return {_mm_setr_epi16(k, k, k, 256, k, k, k, 256), _mm_setr_epi16(r, g, b, 0, r, g, b, 0)};
}

// Four pixels blended; every channel's result fits a byte, so the packing never saturates.
inline __m128i blendFour(__m128i pixels, const BlendLanes& lanes) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = _mm_add_epi16(
        _mm_srli_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(pixels, zero), lanes.weight), 8),
        lanes.add);
    const __m128i high = _mm_add_epi16(
        _mm_srli_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(pixels, zero), lanes.weight), 8),
        lanes.add);
    return _mm_packus_epi16(low, high);
}

// Eight pixels at a time where the processor has AVX2: the same lanes, twice as wide, and the
// depths compared as 32-bit lanes, which makes each pixel's mask one lane already.
__attribute__((target("avx2"))) inline __m256i blendEight(__m256i pixels, __m256i weight,
                                                          __m256i add) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i low = _mm256_add_epi16(
        _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(pixels, zero), weight), 8), add);
    const __m256i high = _mm256_add_epi16(
        _mm256_srli_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(pixels, zero), weight), 8), add);
    return _mm256_packus_epi16(low, high);
}

__attribute__((target("avx2"))) int32_t blendDepthTestedAvx2(uint32_t* colour, uint16_t* depth,
                                                             int32_t count, uint32_t z, uint32_t dz,
                                                             const BlendLanes& lanes) {
    const __m256i weight = _mm256_broadcastsi128_si256(lanes.weight);
    const __m256i add = _mm256_broadcastsi128_si256(lanes.add);
    __m256i zs = firstEightDepths(z, dz);
    const __m256i zStep = _mm256_set1_epi32(static_cast<int32_t>(8 * dz));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i nearer = keepNearerDepths(depth + i, zs);
        __m256i* colourAt = reinterpret_cast<__m256i*>(colour + i);
        const __m256i pixels = _mm256_loadu_si256(colourAt);
        _mm256_storeu_si256(colourAt,
                            _mm256_blendv_epi8(pixels, blendEight(pixels, weight, add), nearer));
        zs = _mm256_add_epi32(zs, zStep);
    }
    return i;
}

#endif

} // namespace

int32_t blendSpanVector(uint32_t* colour, int32_t count, const BlendTerms& terms) {
#if defined(DROVANA_X86_VECTORS)
    const BlendLanes lanes = makeLanes(terms);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i* at = reinterpret_cast<__m128i*>(colour + i);
        _mm_storeu_si128(at, blendFour(_mm_loadu_si128(at), lanes));
    }
    return i;
#else
    (void)colour, (void)count, (void)terms;
    return 0;
#endif
}

int32_t blendDepthTestedVector(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                               uint32_t dz, const BlendTerms& terms) {
#if defined(DROVANA_X86_VECTORS)
    const BlendLanes lanes = makeLanes(terms);
    // The depths wrap in 32 bits as the scalar loop's do.
    int32_t i = 0;
    if (cpuHasAvx2()) {
        i = blendDepthTestedAvx2(colour, depth, count, z, dz, lanes);
        z += static_cast<uint32_t>(i) * dz;
    }
    __m128i zs = firstFourDepths(z, dz);
    const __m128i zStep = _mm_set1_epi32(static_cast<int32_t>(4 * dz));
    for (; i + 4 <= count; i += 4) {
        const __m128i nearer = keepNearerDepthsSse2<4>(depth + i, zs);
        const __m128i mask = _mm_unpacklo_epi16(nearer, nearer);
        __m128i* colourAt = reinterpret_cast<__m128i*>(colour + i);
        const __m128i pixels = _mm_loadu_si128(colourAt);
        _mm_storeu_si128(colourAt, _mm_or_si128(_mm_andnot_si128(mask, pixels),
                                                _mm_and_si128(mask, blendFour(pixels, lanes))));
        zs = _mm_add_epi32(zs, zStep);
    }
    return i;
#else
    (void)colour, (void)depth, (void)count, (void)z, (void)dz, (void)terms;
    return 0;
#endif
}
