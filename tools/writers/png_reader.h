// png_reader.h: reads PNG pictures back, for comparing drawn frames with committed ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Any PNG converted to 8-bit RGB, top row first; false when the file is missing or unreadable.
bool readPngRgb(const std::string& path, std::vector<uint8_t>& rgb, int& width, int& height);

// A 240 x 320 frame buffer (rows bottom-up) as RGB, top row first, alpha dropped: what a PNG of
// it holds.
std::vector<uint8_t> frameBufferRgb(const uint32_t* frameBuffer);
