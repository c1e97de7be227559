// jpeg_encoder.h: JPEG files for data.pak, written with libjpeg's compressor.
#pragma once

#include <cstdint>
#include <vector>

// width x height pixels, top row first: 3 bytes (R, G, B) per pixel for colour pictures, 1 byte
// for grey-scale masks. Same input, same bytes: nothing depends on time or machine.
// Throws std::runtime_error when the library refuses the picture.
std::vector<uint8_t> encodeJpeg(const uint8_t* samples, int width, int height, int components,
                                int quality);
