// button_drawing.cpp: drawing an ImageButton: its label, its fill colour, or its face blended in.
#include "view/button_drawing.h"

#include <algorithm>

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
// Four face pixels at once in 16-bit lanes: each channel's sum d x keep + s x take is at most
// 255 x 256, so the wrapping 16-bit products add up exactly. Alpha 255 takes the face word
// whole and alpha 0 keeps the frame, as the single-pixel blend does.
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
#else
int32_t blendFaceFour(uint32_t*, const uint32_t*, int32_t) {
    return 0;
}
#endif

} // namespace

void blendFaceRow(uint32_t* frame, const uint32_t* face, int32_t count) {
    for (int32_t i = blendFaceFour(frame, face, count); i < count; ++i)
        frame[i] = blendFacePixel(frame[i], face[i]);
}

void drawButton(FrameBuffers& fb, const ImageButton& button) {
    if (button.label) {
        drawTextField(fb, button.left, button.top, button.width, button.height, *button.label);
        return;
    }
    const int f = button.currentFace;
    if (f < 0 || f >= kImageButtonFaces)
        return;
    const uint32_t* face = button.face[f];
    if (!face) {
        if (button.fillColour[f] >> 24)
            fillRect(fb, button.left, button.top, button.width, button.height,
                     button.fillColour[f]);
        return;
    }
    // The face's columns that fall on the screen, the same on every row.
    const int firstColumn = std::max(0, -button.left);
    const int endColumn = std::min(button.width, kScreenWidth - button.left);
    for (int row = 0; row < button.height; ++row) {
        const int y = button.top + row;
        if (y < 0 || y >= kScreenHeight)
            continue;
        uint32_t* frameRow = fb.drawBuffer + frameBufferIndex(0, y);
        const uint32_t* faceRow = face + row * button.width;
        if (endColumn > firstColumn)
            blendFaceRow(frameRow + button.left + firstColumn, faceRow + firstColumn,
                         endColumn - firstColumn);
    }
}

void drawButtons(FrameBuffers& fb, ImageButton* const* buttons, int count) {
    for (int i = 0; i < count; ++i)
        if (buttons[i])
            drawButton(fb, *buttons[i]);
}
