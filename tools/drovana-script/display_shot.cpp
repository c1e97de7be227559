// display_shot.cpp: the RGB565 display read back and written as an 8-bit-per-channel PNG.
#include "display_shot.h"

#include <cstdint>
#include <vector>

#include "platform/platform.h"
#include "render/frame_buffer.h"
#include "writers/png_writer.h"

namespace {

// 5 or 6 bits to 8: full intensity stays full (31 -> 255, 63 -> 255), zero stays zero.
uint8_t widen5(uint16_t v) {
    return static_cast<uint8_t>(v << 3 | v >> 2);
}
uint8_t widen6(uint16_t v) {
    return static_cast<uint8_t>(v << 2 | v >> 4);
}

} // namespace

bool writeDisplayShot(const Platform* platform, const std::string& path) {
    std::vector<uint8_t> rgba(static_cast<size_t>(kScreenWidth) * kScreenHeight * 4);
    uint8_t* out = rgba.data();
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint16_t p = platformDisplayPixel(platform, x, y);
            *out++ = widen5(p >> 11 & 0x1F);
            *out++ = widen6(p >> 5 & 0x3F);
            *out++ = widen5(p & 0x1F);
            *out++ = 0xFF;
        }
    return writePngRgba(path, rgba.data(), kScreenWidth, kScreenHeight);
}
