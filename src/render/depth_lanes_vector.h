// depth_lanes_vector.h: the depth test of eight pixels of a span in AVX2 registers, shared by the
// flat and the blended fill. Include only where DROVANA_X86_VECTORS is defined.
#pragma once

#include <cstdint>

#include "core/vector_instructions.h"

#if defined(DROVANA_X86_VECTORS)

constexpr int kDepthShift = 11; // z is 21.11; the stored depth is its integer part

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
    const __m256i d = _mm256_srai_epi32(zs, kDepthShift);
    __m128i* depthAt = reinterpret_cast<__m128i*>(depth);
    const __m256i stored = _mm256_cvtepu16_epi32(_mm_loadu_si128(depthAt));
    const __m256i kept = _mm256_min_epi32(stored, d);
    _mm_storeu_si128(
        depthAt, _mm_packus_epi32(_mm256_castsi256_si128(kept), _mm256_extracti128_si256(kept, 1)));
    return _mm256_cmpgt_epi32(stored, d);
}

#endif
