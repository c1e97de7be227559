// hud_text.cpp: rectangles and glyphs written straight into the frame buffer.
#include "view/hud_text.h"

#include "core/processor_features.h"
#include "core/vector_instructions.h"

namespace {

bool onScreen(int x, int y) {
    return x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight;
}

// g != 0 lightens the half-darkened pixel by g; g == 0 only darkens it. Alpha is kept.
uint32_t shadeGlyphPixel(uint32_t pixel, uint8_t g) {
    uint32_t out = pixel & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t half = ((pixel >> shift) & 0xFF) / 2;
        const uint32_t value = g ? (g + half > 255 ? 255 : g + half) : half;
        out |= value << shift;
    }
    return out;
}

#if defined(DROVANA_X86_VECTORS)

// A whole glyph on the screen, one row of up to eight pixels per vector. Halving every byte
// and adding the ink with saturation is the single-pixel rule: a zero ink adds nothing, and
// ink plus half above 255 stops at 255. Lanes past the glyph's width are neither read nor
// written.
__attribute__((target("avx2"))) void
shadeGlyphRowsAvx2(uint32_t* topLeft, const uint8_t* cellTopLeft, int width, int height) {
    const __m256i inWidth =
        _mm256_cmpgt_epi32(_mm256_set1_epi32(width), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
    // Each lane's ink byte into its red, green and blue bytes, alpha zero.
    const __m256i spreadInk = _mm256_setr_epi8(0, 0, 0, -1, 1, 1, 1, -1, 2, 2, 2, -1, 3, 3, 3, -1,
                                               4, 4, 4, -1, 5, 5, 5, -1, 6, 6, 6, -1, 7, 7, 7, -1);
    const __m256i halfBytes = _mm256_set1_epi32(0x007F7F7F);
    const __m256i alphaByte = _mm256_set1_epi32(static_cast<int32_t>(0xFF000000u));
    uint32_t* row = topLeft;
    for (int r = 0; r < height; ++r, row -= kScreenWidth, cellTopLeft += kFontBitmapWidth) {
        const __m256i ink = _mm256_shuffle_epi8(
            _mm256_broadcastq_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cellTopLeft))),
            spreadInk);
        const __m256i pixel = _mm256_maskload_epi32(reinterpret_cast<const int*>(row), inWidth);
        const __m256i half = _mm256_and_si256(_mm256_srli_epi32(pixel, 1), halfBytes);
        const __m256i shaded =
            _mm256_or_si256(_mm256_adds_epu8(half, ink), _mm256_and_si256(pixel, alphaByte));
        _mm256_maskstore_epi32(reinterpret_cast<int*>(row), inWidth, shaded);
    }
}

#endif

void drawGlyph(FrameBuffers& fb, const uint8_t* font, int x, int y, uint32_t code, int width,
               int height) {
    const int cell = fontCellOf(code);
    const uint8_t* cellTopLeft =
        font + (cell >> 4) * 16 * kFontBitmapWidth + (cell & (kFontCellsPerRow - 1)) * 8;
    markRowsDrawn(fb, y, height);
#if defined(DROVANA_X86_VECTORS)
    if (x >= 0 && y >= 0 && x + width <= kScreenWidth && y + height <= kScreenHeight &&
        cpuHasAvx2())
        return shadeGlyphRowsAvx2(fb.drawBuffer + frameBufferIndex(x, y), cellTopLeft, width,
                                  height);
#endif
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) {
            // Text outside the screen is dropped rather than written past the buffer.
            if (!onScreen(x + column, y + row))
                continue;
            uint32_t& pixel = fb.drawBuffer[frameBufferIndex(x + column, y + row)];
            pixel = shadeGlyphPixel(pixel, cellTopLeft[row * kFontBitmapWidth + column]);
        }
}

} // namespace

int fontCellOf(uint32_t code) {
    if (code > 126)
        code = 127;
    const int i = static_cast<int>(code & 127) - 33;
    return i < 0 ? kBlankCell : i;
}

void fillRect(FrameBuffers& fb, int x, int y, int w, int h, uint32_t colour) {
    markRowsDrawn(fb, y, h);
    for (int row = y; row < y + h; ++row)
        for (int column = x; column < x + w; ++column)
            if (onScreen(column, row))
                fb.drawBuffer[frameBufferIndex(column, row)] = colour;
}

void drawGlyph8x16(FrameBuffers& fb, int x, int y, uint32_t code) {
    drawGlyph(fb, fb.font8x16, x, y, code, 8, 16);
}

void drawGlyph6x12(FrameBuffers& fb, int x, int y, uint32_t code) {
    drawGlyph(fb, fb.font6x12, x, y, code, 6, 12);
}

void drawTextCentred(FrameBuffers& fb, int cx, int cy, const WideString& text) {
    const int n = static_cast<int>(text.size());
    int x = cx - 4 * n;
    for (char16_t c : text) {
        drawGlyph8x16(fb, x, cy - 8, c);
        x += 8;
    }
}

void drawTextField(FrameBuffers& fb, int x, int y, int w, int /*h*/, const WideString& text) {
    if (text.empty())
        return;
    const int end = x + w;
    for (size_t i = 0; i < text.size() && x < end; ++i, x += 6)
        drawGlyph6x12(fb, x, y, text[i]);
    for (; x < end; x += 6)
        drawGlyph6x12(fb, x, y, ' ');
}
