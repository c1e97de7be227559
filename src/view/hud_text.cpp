// hud_text.cpp: rectangles and glyphs written straight into the frame buffer.
#include "view/hud_text.h"

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

void drawGlyph(FrameBuffers& fb, const uint8_t* font, int x, int y, uint32_t code, int width,
               int height) {
    const int cell = fontCellOf(code);
    const uint8_t* cellTopLeft =
        font + (cell >> 4) * 16 * kFontBitmapWidth + (cell & (kFontCellsPerRow - 1)) * 8;
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
