// png_reader.h: reads PNG pictures back, for comparing drawn frames with committed ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Any PNG converted to 8-bit RGB, top row first; false when the file is missing or unreadable.
bool readPngRgb(const std::string& path, std::vector<uint8_t>& rgb, int& width, int& height);
