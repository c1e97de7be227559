// png_reader.cpp: PNG input through libpng's simplified interface.
#include "writers/png_reader.h"

#include <png.h>

#include <cstring>

bool readPngRgb(const std::string& path, std::vector<uint8_t>& rgb, int& width, int& height) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return false;
    image.format = PNG_FORMAT_RGB;
    rgb.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return true;
}

std::vector<uint8_t> frameBufferRgb(const uint32_t* frameBuffer) {
    std::vector<uint8_t> rgb(240 * 320 * 3);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) {
            const uint32_t p = frameBuffer[(319 - y) * 240 + x];
            for (int c = 0; c < 3; ++c)
                rgb[static_cast<size_t>(y * 240 + x) * 3 + c] = static_cast<uint8_t>(p >> (8 * c));
        }
    return rgb;
}
