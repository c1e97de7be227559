// display_colours.h: a display pixel (RGB565) widened to 8 bits per channel, the same way for
// screenshots and for the browser's canvas.
#pragma once

#include <cstddef>
#include <cstdint>

// The top bits repeat into the new low bits, so full intensity stays 255.
inline uint8_t widenRed(uint16_t pixel) {
    const unsigned v = pixel >> 11;
    return static_cast<uint8_t>(v << 3 | v >> 2);
}
inline uint8_t widenGreen(uint16_t pixel) {
    const unsigned v = (pixel >> 5) & 0x3F;
    return static_cast<uint8_t>(v << 2 | v >> 4);
}
inline uint8_t widenBlue(uint16_t pixel) {
    const unsigned v = pixel & 0x1F;
    return static_cast<uint8_t>(v << 3 | v >> 2);
}

// count pixels in a row of display memory (two bytes each, in the processor's order) widened to
// R, G, B and an opaque alpha byte each, as the functions above widen them.
void widenDisplayRun(const uint8_t* display, uint8_t* rgba, size_t count);
