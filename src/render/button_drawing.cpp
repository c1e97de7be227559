// button_drawing.cpp
#include "render/button_drawing.h"

#include "assets/image_button.h"
#include "render/hud_text.h"

uint32_t blendFacePixel(uint32_t destination, uint32_t source) {
    const uint32_t a = source >> 24;
    if (a == 255)
        return source;
    if (a == 0)
        return destination;
    uint32_t out = destination & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        // One truncation of the whole sum, unlike the rasteriser's per-term blend.
        const uint32_t d = (destination >> shift) & 0xFF, s = (source >> shift) & 0xFF;
        const uint32_t value = (d * (255 - a) + s * (a + 1)) >> 8;
        out |= (value > 255 ? 255 : value) << shift;
    }
    return out;
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
    for (int row = 0; row < button.height; ++row) {
        const int y = button.top + row;
        if (y < 0 || y >= kScreenHeight)
            continue;
        for (int column = 0; column < button.width; ++column) {
            const int x = button.left + column;
            if (x < 0 || x >= kScreenWidth)
                continue;
            uint32_t& pixel = fb.drawBuffer[frameBufferIndex(x, y)];
            pixel = blendFacePixel(pixel, face[row * button.width + column]);
        }
    }
}

void drawButtons(FrameBuffers& fb, ImageButton* const* buttons, int count) {
    for (int i = 0; i < count; ++i)
        if (buttons[i])
            drawButton(fb, *buttons[i]);
}
