// display_colours.cpp: runs of display pixels widened for the browser's canvas, every frame's
// whole screen, so in vectors where the build has them.
#include "platform/display_colours.h"

#include <cstring>

#if defined(__wasm_simd128__)
#include <wasm_simd128.h>
#endif

namespace {

void widenEach(const uint8_t* display, uint8_t* rgba, size_t count) {
    for (size_t i = 0; i < count; ++i, rgba += 4) {
        uint16_t p;
        std::memcpy(&p, display + 2 * i, 2);
        rgba[0] = widenRed(p);
        rgba[1] = widenGreen(p);
        rgba[2] = widenBlue(p);
        rgba[3] = 255;
    }
}

#if defined(__wasm_simd128__)
// Eight pixels a turn, each channel in a 16-bit lane, then red and green paired into one lane
// and blue with the opaque alpha into another, and the two interleaved into R, G, B, A bytes.
void widenEight(const uint8_t* display, uint8_t* rgba) {
    const v128_t p = wasm_v128_load(display);
    const v128_t r = wasm_u16x8_shr(p, 11);
    const v128_t g = wasm_v128_and(wasm_u16x8_shr(p, 5), wasm_i16x8_splat(0x3F));
    const v128_t b = wasm_v128_and(p, wasm_i16x8_splat(0x1F));
    const v128_t r8 = wasm_v128_or(wasm_i16x8_shl(r, 3), wasm_u16x8_shr(r, 2));
    const v128_t g8 = wasm_v128_or(wasm_i16x8_shl(g, 2), wasm_u16x8_shr(g, 4));
    const v128_t b8 = wasm_v128_or(wasm_i16x8_shl(b, 3), wasm_u16x8_shr(b, 2));
    const v128_t rg = wasm_v128_or(r8, wasm_i16x8_shl(g8, 8));
    const v128_t ba = wasm_v128_or(b8, wasm_i16x8_splat(static_cast<int16_t>(0xFF00)));
    wasm_v128_store(rgba, wasm_i16x8_shuffle(rg, ba, 0, 8, 1, 9, 2, 10, 3, 11));
    wasm_v128_store(rgba + 16, wasm_i16x8_shuffle(rg, ba, 4, 12, 5, 13, 6, 14, 7, 15));
}
#endif

} // namespace

void widenDisplayRun(const uint8_t* display, uint8_t* rgba, size_t count) {
    size_t i = 0;
#if defined(__wasm_simd128__)
    for (; i + 8 <= count; i += 8)
        widenEight(display + 2 * i, rgba + 4 * i);
#endif
    widenEach(display + 2 * i, rgba + 4 * i, count - i);
}
