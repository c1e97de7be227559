// png_writer.h: writes RGBA pictures and frame buffers as PNG files for people to look at.
#pragma once

#include <cstdint>
#include <string>

// Writes width x height pixels of 4 bytes (R, G, B, A), top row first; alpha is ignored.
// Returns false when the file cannot be written.
bool writePngRgba(const std::string& path, const uint8_t* pixels, int width, int height);

// The same pixels with their alpha kept, for pictures with transparent parts (icons).
bool writePngRgbaWithAlpha(const std::string& path, const uint8_t* pixels, int width, int height);

// Writes a 240 x 320 frame buffer, whose rows are stored bottom-up, the right way up.
bool writeFrameBufferPng(const std::string& path, const uint32_t* frameBuffer);
