// depth_tested_fill.cpp: the flat-colour, depth-tested span fill in vector registers, the loop
// that a full-screen fill spends its time in.
#include "render/depth_tested_fill.h"

#include "core/processor_features.h"
#include "core/vector_instructions.h"
#include "render/depth_lanes_vector.h"

namespace {

#if defined(DROVANA_X86_VECTORS)

// SSE2, every x86-64: both buffers written through masks.
int32_t fillSse2Impl(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z, uint32_t dz,
                     uint32_t word) {
    __m128i zLow = firstFourDepths(z, dz);
    __m128i zHigh = _mm_add_epi32(zLow, _mm_set1_epi32(static_cast<int32_t>(4 * dz)));
    const __m128i zStep = _mm_set1_epi32(static_cast<int32_t>(8 * dz));
    const __m128i colourWord = _mm_set1_epi32(static_cast<int32_t>(word));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i nearer = keepNearerDepthsSse2<8>(depth + i, zLow, zHigh);
        for (int half = 0; half < 2; ++half) {
            __m128i* colourAt = reinterpret_cast<__m128i*>(colour + i + 4 * half);
            const __m128i mask =
                half ? _mm_unpackhi_epi16(nearer, nearer) : _mm_unpacklo_epi16(nearer, nearer);
            _mm_storeu_si128(colourAt,
                             _mm_or_si128(_mm_andnot_si128(mask, _mm_loadu_si128(colourAt)),
                                          _mm_and_si128(mask, colourWord)));
        }
        zLow = _mm_add_epi32(zLow, zStep);
        zHigh = _mm_add_epi32(zHigh, zStep);
    }
    return i;
}

// AVX2: eight depths widened to 32 bits, compared and blended without packing. (A masked
// store for the colour is microcoded and slow on some processors; a blend is not.)
__attribute__((target("avx2"))) int32_t fillAvx2Impl(uint32_t* colour, uint16_t* depth,
                                                     int32_t count, uint32_t z, uint32_t dz,
                                                     uint32_t word) {
    __m256i zs = firstEightDepths(z, dz);
    const __m256i zStep = _mm256_set1_epi32(static_cast<int32_t>(8 * dz));
    const __m256i colourWord = _mm256_set1_epi32(static_cast<int32_t>(word));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i nearer = keepNearerDepths(depth + i, zs);
        __m256i* colourAt = reinterpret_cast<__m256i*>(colour + i);
        _mm256_storeu_si256(colourAt,
                            _mm256_blendv_epi8(_mm256_loadu_si256(colourAt), colourWord, nearer));
        zs = _mm256_add_epi32(zs, zStep);
    }
    return i;
}

#endif

} // namespace

int32_t fillDepthTestedSse2(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                            uint32_t dz, uint32_t word) {
#if defined(DROVANA_X86_VECTORS)
    return fillSse2Impl(colour, depth, count, z, dz, word);
#else
    (void)colour, (void)depth, (void)count, (void)z, (void)dz, (void)word;
    return 0;
#endif
}

int32_t fillDepthTestedAvx2(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                            uint32_t dz, uint32_t word) {
#if defined(DROVANA_X86_VECTORS)
    return fillAvx2Impl(colour, depth, count, z, dz, word);
#else
    (void)colour, (void)depth, (void)count, (void)z, (void)dz, (void)word;
    return 0;
#endif
}

int32_t fillDepthTestedVector(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z,
                              uint32_t dz, uint32_t word) {
    return cpuHasAvx2() ? fillDepthTestedAvx2(colour, depth, count, z, dz, word)
                        : fillDepthTestedSse2(colour, depth, count, z, dz, word);
}
