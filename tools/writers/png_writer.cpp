// png_writer.cpp: PNG output through libpng.
#include "writers/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

bool writePng(const std::string& path, const uint8_t* pixels, int width, int height,
              bool keepAlpha) {
    const int channels = keepAlpha ? 4 : 3;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    std::vector<uint8_t> row(static_cast<size_t>(width) * channels);
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8,
                     keepAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            const uint8_t* src = pixels + static_cast<size_t>(y) * width * 4;
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < channels; ++c)
                    row[x * channels + c] = src[x * 4 + c];
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

} // namespace

bool writePngRgba(const std::string& path, const uint8_t* pixels, int width, int height) {
    return writePng(path, pixels, width, height, false);
}

bool writePngRgbaWithAlpha(const std::string& path, const uint8_t* pixels, int width, int height) {
    return writePng(path, pixels, width, height, true);
}

bool writeFrameBufferPng(const std::string& path, const uint32_t* frameBuffer) {
    std::vector<uint8_t> rgba(240 * 320 * 4);
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 240; ++x) {
            const uint32_t p = frameBuffer[(319 - y) * 240 + x];
            uint8_t* d = &rgba[(y * 240 + x) * 4];
            d[0] = p & 0xFF;
            d[1] = (p >> 8) & 0xFF;
            d[2] = (p >> 16) & 0xFF;
            d[3] = 255;
        }
    return writePngRgba(path, rgba.data(), 240, 320);
}
