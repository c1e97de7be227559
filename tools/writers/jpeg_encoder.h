// jpeg_encoder.h: encodes pictures and grey masks as baseline JPEG bytes for data.pak and tests.
#pragma once

#include <cstdint>
#include <vector>

// Encodes width x height samples, top row first, with `components` samples per pixel: 3 (R, G, B)
// gives a colour picture, 1 a grey one (the form masks take). Quality is 1 .. 100; 100 keeps
// flat 8 x 8 blocks exact, which tests rely on. Throws std::runtime_error when encoding fails.
std::vector<uint8_t> encodeJpeg(const uint8_t* samples, int width, int height, int components,
                                int quality = 90);

// From RGBA pixels (4 bytes each, top row first): the colour picture, alpha dropped.
std::vector<uint8_t> encodeJpegColour(const uint8_t* rgba, int width, int height, int quality = 90);
// From RGBA pixels: the grey mask of their alpha bytes (black = transparent, white = opaque).
std::vector<uint8_t> encodeJpegMask(const uint8_t* rgba, int width, int height, int quality = 90);
