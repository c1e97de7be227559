// button_drawing.cpp: drawing an ImageButton: its label, its fill colour, or its face blended in.
#include "render/button_drawing.h"

#include <algorithm>

#include "assets/image_button.h"
#include "render/hud_text.h"

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
        for (int column = firstColumn; column < endColumn; ++column) {
            uint32_t& pixel = frameRow[button.left + column];
            pixel = blendFacePixel(pixel, faceRow[column]);
        }
    }
}

void drawButtons(FrameBuffers& fb, ImageButton* const* buttons, int count) {
    for (int i = 0; i < count; ++i)
        if (buttons[i])
            drawButton(fb, *buttons[i]);
}
