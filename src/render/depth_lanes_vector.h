// depth_lanes_vector.h: the depth test of the pixels of a span in vector registers, shared by the
// flat and the blended fill: four or eight at a time in SSE2, eight at a time in AVX2. Include
// only where DROVANA_X86_VECTORS is defined.
#pragma once

#include <cstdint>

#include "core/vector_instructions.h"
#include "render/render_limits.h"

#if defined(DROVANA_X86_VECTORS)

// z, z + dz, z + 2 dz, z + 3 dz, wrapping as the scalar loop's sums do.
inline __m128i firstFourDepths(uint32_t z, uint32_t dz) {
    return _mm_setr_epi32(static_cast<int32_t>(z), static_cast<int32_t>(z + dz),
                          static_cast<int32_t>(z + 2 * dz), static_cast<int32_t>(z + 3 * dz));
}

// The depths (21.11) of `pixels` pixels, four or eight, against the stored ones: the nearer ones
// are stored, and their 16-bit lanes come back set. zLow holds the first four depths and zHigh,
// for eight, the next four. Depths lie in 0..32767, so packing them saturates nothing; stored
// ones run up to 65535 and are compared unsigned, as the scalar loop compares them.
template <int pixels>
inline __m128i keepNearerDepthsSse2(uint16_t* depth, __m128i zLow,
                                    __m128i zHigh = _mm_setzero_si128()) {
    static_assert(pixels == 4 || pixels == 8);
    const __m128i d =
        _mm_packs_epi32(_mm_srai_epi32(zLow, kSubpixelBits),
                        pixels == 8 ? _mm_srai_epi32(zHigh, kSubpixelBits) : _mm_setzero_si128());
    __m128i* depthAt = reinterpret_cast<__m128i*>(depth);
    const __m128i stored = pixels == 8 ? _mm_loadu_si128(depthAt) : _mm_loadl_epi64(depthAt);
    const __m128i flip = _mm_set1_epi16(static_cast<int16_t>(0x8000));
    const __m128i nearer = _mm_cmpgt_epi16(_mm_xor_si128(stored, flip), _mm_xor_si128(d, flip));
    const __m128i kept = _mm_or_si128(_mm_andnot_si128(nearer, stored), _mm_and_si128(nearer, d));
    if constexpr (pixels == 8)
        _mm_storeu_si128(depthAt, kept);
    else
        _mm_storel_epi64(depthAt, kept);
    return nearer;
}

// z, z + dz, ..., z + 7 dz, wrapping as the scalar loop's sums do.
inline __attribute__((target("avx2"))) __m256i firstEightDepths(uint32_t z, uint32_t dz) {
    return _mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(z)),
                            _mm256_mullo_epi32(_mm256_set1_epi32(static_cast<int32_t>(dz)),
                                               _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
}

// Eight depths (21.11) against the stored ones: the nearer ones are stored, and their lanes come
// back set. Depths lie in 0..32767 and stored ones in 0..65535, so the signed 32-bit comparison
// is the unsigned one of the scalar loop.
inline __attribute__((target("avx2"))) __m256i keepNearerDepths(uint16_t* depth, __m256i zs) {
    const __m256i d = _mm256_srai_epi32(zs, kSubpixelBits);
    __m128i* depthAt = reinterpret_cast<__m128i*>(depth);
    const __m256i stored = _mm256_cvtepu16_epi32(_mm_loadu_si128(depthAt));
    const __m256i kept = _mm256_min_epi32(stored, d);
    _mm_storeu_si128(
        depthAt, _mm_packus_epi32(_mm256_castsi256_si128(kept), _mm256_extracti128_si256(kept, 1)));
    return _mm256_cmpgt_epi32(stored, d);
}

#endif
