// bulk_memory.cpp: whole-buffer copies, fills and comparisons in vector registers, for the
// passes that every frame makes over the full screen.
#include "render/bulk_memory.h"

#include <algorithm>
#include <cstring>

#include "core/processor_features.h"
#include "core/vector_instructions.h"

namespace {

#if defined(DROVANA_X86_VECTORS)

// The library copy of a large block may run as one string instruction, which profilers count
// per byte; this loop is as fast and counts as what it is. Thirty-two vectors a turn keep the
// loop's own count and branch small beside the moves.
__attribute__((target("avx2"))) void copyWordsAvx2(uint32_t* d, const uint32_t* s, size_t n) {
    size_t i = 0;
    for (; i + 256 <= n; i += 256)
#pragma GCC unroll 32
        for (int k = 0; k < 256; k += 8)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i + k),
                                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + k)));
    for (; i + 8 <= n; i += 8)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)));
    std::memcpy(d + i, s + i, (n - i) * sizeof(uint32_t));
}

__attribute__((target("avx2"))) void fillHalfWordsAvx2(uint16_t* d, uint16_t value, size_t n) {
    const __m256i v = _mm256_set1_epi16(static_cast<int16_t>(value));
    size_t i = 0;
    for (; i + 512 <= n; i += 512)
#pragma GCC unroll 32
        for (int k = 0; k < 512; k += 16)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i + k), v);
    for (; i + 16 <= n; i += 16)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i), v);
    std::fill(d + i, d + n, value);
}

__attribute__((target("avx2"), always_inline)) inline __m256i equalLanes(const uint32_t* a,
                                                                         const uint32_t* b) {
    return _mm256_cmpeq_epi32(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a)),
                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b)));
}

// The four compares narrowed to one byte a word: the packs interleave them by 128-bit halves in
// groups of four words, which the permute puts back in order, so that one byte mask is the
// block's equal words; the changed bits are the rest.
__attribute__((target("avx2"), always_inline)) inline uint32_t changedMask(const uint32_t* a,
                                                                           const uint32_t* b) {
    const __m256i low = _mm256_packs_epi32(equalLanes(a, b), equalLanes(a + 8, b + 8));
    const __m256i high = _mm256_packs_epi32(equalLanes(a + 16, b + 16), equalLanes(a + 24, b + 24));
    const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_packs_epi16(low, high),
                                                      _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
    return ~static_cast<uint32_t>(_mm256_movemask_epi8(bytes));
}

// The differences of n words from a and b ored together (n a multiple of 8): a load, an
// exclusive or and an or for every eight words.
template <int n>
__attribute__((target("avx2"), always_inline)) inline __m256i differences(const uint32_t* a,
                                                                          const uint32_t* b) {
    __m256i x = _mm256_setzero_si256();
    for (int k = 0; k < n; k += 8)
        x = _mm256_or_si256(
            x, _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + k)),
                                _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + k))));
    return x;
}

// Blocks from..to one at a time, adding the changed ones after the found so far. Kept out of
// line: merged into the tests of whole stretches, it would hold their loads in registers.
__attribute__((target("avx2"), noinline)) size_t findChangedEachAvx2(const uint32_t* a,
                                                                     const uint32_t* b, size_t from,
                                                                     size_t to, ChangedBlock* out,
                                                                     size_t found) {
    for (size_t i = from; i < to; i += 32)
        if (const uint32_t mask = changedMask(a + i, b + i))
            out[found++] = {static_cast<uint32_t>(i), mask};
    return found;
}

__attribute__((target("avx2"))) size_t findChangedAvx2(const uint32_t* a, const uint32_t* b,
                                                       size_t n, ChangedBlock* out) {
    size_t found = 0;
    // Nearly every stretch of a frame is unchanged: one test for sixteen blocks first, then one
    // for each four of them, whose differences are at hand already.
    constexpr size_t kStretch = 128, kGroup = 4 * kStretch;
    const uint32_t* const end = a + n / kGroup * kGroup;
    for (const uint32_t *x = a, *y = b; x != end; x += kGroup, y += kGroup) {
        const __m256i stretch[4] = {differences<kStretch>(x, y),
                                    differences<kStretch>(x + kStretch, y + kStretch),
                                    differences<kStretch>(x + 2 * kStretch, y + 2 * kStretch),
                                    differences<kStretch>(x + 3 * kStretch, y + 3 * kStretch)};
        const __m256i all = _mm256_or_si256(_mm256_or_si256(stretch[0], stretch[1]),
                                            _mm256_or_si256(stretch[2], stretch[3]));
        if (_mm256_testz_si256(all, all))
            continue;
        for (size_t k = 0; k < 4; ++k)
            if (!_mm256_testz_si256(stretch[k], stretch[k])) {
                const size_t i = static_cast<size_t>(x - a) + k * kStretch;
                found = findChangedEachAvx2(a, b, i, i + kStretch, out, found);
            }
    }
    return findChangedEachAvx2(a, b, n / kGroup * kGroup, n, out, found);
}

#endif

} // namespace

// Any processor: one 64-bit test per pair of pixels.
size_t findChangedBlocksScalar(const uint32_t* a, const uint32_t* b, size_t n, ChangedBlock* out) {
    size_t found = 0;
    for (size_t i = 0; i < n; i += 32) {
        uint64_t any = 0;
        for (int k = 0; k < 32; k += 2) {
            uint64_t x, y;
            std::memcpy(&x, a + i + k, sizeof x);
            std::memcpy(&y, b + i + k, sizeof y);
            any |= x ^ y;
        }
        if (any == 0)
            continue;
        uint32_t mask = 0;
        for (int k = 0; k < 32; ++k)
            mask |= static_cast<uint32_t>(a[i + k] != b[i + k]) << k;
        out[found++] = {static_cast<uint32_t>(i), mask};
    }
    return found;
}

void copyWords(uint32_t* destination, const uint32_t* source, size_t count) {
#if defined(DROVANA_X86_VECTORS)
    if (cpuHasAvx2())
        return copyWordsAvx2(destination, source, count);
#endif
    std::memcpy(destination, source, count * sizeof(uint32_t));
}

void fillHalfWords(uint16_t* destination, uint16_t value, size_t count) {
#if defined(DROVANA_X86_VECTORS)
    if (cpuHasAvx2())
        return fillHalfWordsAvx2(destination, value, count);
#endif
    std::fill_n(destination, count, value);
}

size_t findChangedBlocks(const uint32_t* a, const uint32_t* b, size_t count, ChangedBlock* out) {
#if defined(DROVANA_X86_VECTORS)
    if (cpuHasAvx2())
        return findChangedAvx2(a, b, count, out);
#endif
    return findChangedBlocksScalar(a, b, count, out);
}
