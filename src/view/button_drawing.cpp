// button_drawing.cpp: drawing an ImageButton: its label, its fill colour, or its face blended in.
#include "view/button_drawing.h"

#include <algorithm>
#include <cstddef>

#include "core/processor_features.h"
#include "core/vector_instructions.h"

#include "assets/image_button.h"
#include "view/hud_text.h"

uint32_t blendFacePixel(uint32_t destination, uint32_t source) {
    const uint32_t a = source >> 24;
    if (a == 255)
        return source;
    if (a == 0)
        return destination;
    // One truncation of the whole sum, unlike the rasteriser's per-term blend. Red and blue
    // share one multiply in 16-bit lanes: a channel's sum is at most 255 x 256, so it never
    // spills into the next lane and never exceeds 255 after the shift (the clamp to 255 that
    // the rule states cannot bite).
    const uint32_t keep = 255 - a, take = a + 1;
    const uint32_t redBlue =
        (((destination & 0x00FF00FFu) * keep + (source & 0x00FF00FFu) * take) >> 8) & 0x00FF00FFu;
    const uint32_t green =
        (((destination >> 8) & 0xFF) * keep + ((source >> 8) & 0xFF) * take) >> 8;
    return (destination & 0xFF000000u) | redBlue | (green << 8);
}

namespace {

#if defined(DROVANA_X86_VECTORS)
// Without AVX2, four face pixels at once in 16-bit lanes: each channel's sum d x keep +
// s x take is at most 255 x 256, so the wrapping 16-bit products add up exactly. Alpha 255
// takes the face word whole and alpha 0 keeps the frame, as the single-pixel blend does.
int32_t blendFaceFour(uint32_t* frame, const uint32_t* face, int32_t count) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(255);
    const __m128i alphaByte = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    const __m128i one = _mm_set1_epi16(1), full = _mm_set1_epi16(255);
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        __m128i* frameAt = reinterpret_cast<__m128i*>(frame + i);
        const __m128i d = _mm_loadu_si128(frameAt);
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(face + i));
        const __m128i a = _mm_srli_epi32(s, 24);
        const __m128i a16 = _mm_or_si128(a, _mm_slli_epi32(a, 16)); // a in both halves
        const __m128i aLow = _mm_unpacklo_epi32(a16, a16), aHigh = _mm_unpackhi_epi32(a16, a16);
        auto half = [&](__m128i dh, __m128i sh, __m128i ah) {
            return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(dh, _mm_sub_epi16(full, ah)),
                                                _mm_mullo_epi16(sh, _mm_add_epi16(ah, one))),
                                  8);
        };
        const __m128i mixed =
            _mm_packus_epi16(half(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero), aLow),
                             half(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero), aHigh));
        __m128i out = _mm_or_si128(_mm_andnot_si128(alphaByte, mixed), _mm_and_si128(alphaByte, d));
        const __m128i isOpaque = _mm_cmpeq_epi32(a, opaque);
        out = _mm_or_si128(_mm_andnot_si128(isOpaque, out), _mm_and_si128(isOpaque, s));
        const __m128i isClear = _mm_cmpeq_epi32(a, zero);
        out = _mm_or_si128(_mm_andnot_si128(isClear, out), _mm_and_si128(isClear, d));
        _mm_storeu_si128(frameAt, out);
    }
    return i;
}

// Eight face pixels in 16-bit lanes, the sums exact as above. pshufb stays within each 128-bit
// half, as the byte unpacks do, so one pattern per unpack gives every channel its pixel's
// alpha. The alpha lanes get no alpha and weights 256 and 0, which gives back the frame's
// alpha byte.
__attribute__((target("avx2"), always_inline)) inline __m256i blendFaceEight(__m256i d, __m256i s) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i one = _mm256_setr_epi16(1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 0);
    const __m256i full = _mm256_setr_epi16(255, 255, 255, 256, 255, 255, 255, 256, 255, 255, 255,
                                           256, 255, 255, 255, 256);
    const __m256i alphaLow =
        _mm256_setr_epi8(3, -1, 3, -1, 3, -1, -1, -1, 7, -1, 7, -1, 7, -1, -1, -1, 3, -1, 3, -1, 3,
                         -1, -1, -1, 7, -1, 7, -1, 7, -1, -1, -1);
    const __m256i alphaHigh =
        _mm256_setr_epi8(11, -1, 11, -1, 11, -1, -1, -1, 15, -1, 15, -1, 15, -1, -1, -1, 11, -1, 11,
                         -1, 11, -1, -1, -1, 15, -1, 15, -1, 15, -1, -1, -1);
    auto half = [&](__m256i dh, __m256i sh, __m256i ah) __attribute__((target("avx2"))) {
        return _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(dh, _mm256_sub_epi16(full, ah)),
                             _mm256_mullo_epi16(sh, _mm256_add_epi16(ah, one))),
            8);
    };
    const __m256i mixed =
        _mm256_packus_epi16(half(_mm256_unpacklo_epi8(d, zero), _mm256_unpacklo_epi8(s, zero),
                                 _mm256_shuffle_epi8(s, alphaLow)),
                            half(_mm256_unpackhi_epi8(d, zero), _mm256_unpackhi_epi8(s, zero),
                                 _mm256_shuffle_epi8(s, alphaHigh)));
    const __m256i a = _mm256_srli_epi32(s, 24);
    const __m256i out = _mm256_blendv_epi8(mixed, s, _mm256_cmpeq_epi32(a, _mm256_set1_epi32(255)));
    return _mm256_blendv_epi8(out, d, _mm256_cmpeq_epi32(a, zero));
}

// Whole runs of eight that are all opaque are copied and all clear are left, which is most of a
// face; the last few pixels of a row go through the same blend with masked loads and stores.
__attribute__((target("avx2"))) void blendFaceRowsAvx2(uint32_t* frame, ptrdiff_t frameStride,
                                                       const uint32_t* face, ptrdiff_t faceStride,
                                                       int32_t count, int32_t rows) {
    const __m256i alphaByte = _mm256_set1_epi32(static_cast<int32_t>(0xFF000000u));
    const int32_t whole = count & ~7;
    const __m256i left = _mm256_cmpgt_epi32(_mm256_set1_epi32(count - whole),
                                            _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    for (int32_t row = 0; row < rows; ++row) {
        uint32_t* frameRow = frame + row * frameStride;
        const uint32_t* faceRow = face + row * faceStride;
        for (int32_t i = 0; i < whole; i += 8) {
            __m256i* frameAt = reinterpret_cast<__m256i*>(frameRow + i);
            const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(faceRow + i));
            if (_mm256_testc_si256(s, alphaByte)) {
                _mm256_storeu_si256(frameAt, s);
                continue;
            }
            if (_mm256_testz_si256(s, alphaByte))
                continue;
            _mm256_storeu_si256(frameAt, blendFaceEight(_mm256_loadu_si256(frameAt), s));
        }
        if (whole == count)
            continue;
        int* frameAt = reinterpret_cast<int*>(frameRow + whole);
        const __m256i s =
            _mm256_maskload_epi32(reinterpret_cast<const int*>(faceRow + whole), left);
        _mm256_maskstore_epi32(frameAt, left,
                               blendFaceEight(_mm256_maskload_epi32(frameAt, left), s));
    }
}

#else
int32_t blendFaceFour(uint32_t*, const uint32_t*, int32_t) {
    return 0;
}
#endif

} // namespace

void blendFaceRows(uint32_t* frame, ptrdiff_t frameStride, const uint32_t* face,
                   ptrdiff_t faceStride, int32_t count, int32_t rows) {
#if defined(DROVANA_X86_VECTORS)
    if (cpuHasAvx2())
        return blendFaceRowsAvx2(frame, frameStride, face, faceStride, count, rows);
#endif
    for (int32_t row = 0; row < rows; ++row) {
        uint32_t* frameRow = frame + row * frameStride;
        const uint32_t* faceRow = face + row * faceStride;
        for (int32_t i = blendFaceFour(frameRow, faceRow, count); i < count; ++i)
            frameRow[i] = blendFacePixel(frameRow[i], faceRow[i]);
    }
}

void drawButton(FrameBuffers& fb, const ImageButton& button) {
    if (button.label) {
        drawTextField(fb, button.left, button.top, button.width, button.height, *button.label);
        return;
    }
    const int f = static_cast<int>(button.currentFace);
    if (f < 0 || f >= kImageButtonFaces)
        return;
    const uint32_t* face = button.face[f];
    if (!face) {
        if (button.fillColour[f] >> 24)
            fillRect(fb, button.left, button.top, button.width, button.height,
                     button.fillColour[f]);
        return;
    }
    // The part of the face that falls on the screen.
    const int firstColumn = std::max(0, -button.left);
    const int endColumn = std::min(button.width, kScreenWidth - button.left);
    const int firstRow = std::max(0, -button.top);
    const int endRow = std::min(button.height, kScreenHeight - button.top);
    if (endColumn <= firstColumn || endRow <= firstRow)
        return;
    markRowsDrawn(fb, button.top + firstRow, endRow - firstRow);
    // Screen rows downward are array rows backward.
    blendFaceRows(fb.drawBuffer +
                      frameBufferIndex(button.left + firstColumn, button.top + firstRow),
                  -kScreenWidth, face + firstRow * button.width + firstColumn, button.width,
                  endColumn - firstColumn, endRow - firstRow);
}

void drawButtons(FrameBuffers& fb, ImageButton* const* buttons, int count) {
    for (int i = 0; i < count; ++i)
        if (buttons[i])
            drawButton(fb, *buttons[i]);
}
