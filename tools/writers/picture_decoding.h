// picture_decoding.h: reading entries back out of data.pak and decoding their JPEGs (tools, tests).
#pragma once

#include <cstdint>
#include <vector>

#include "assets/pak_archive.h"

// The whole entry; throws std::runtime_error when the archive has no such name.
std::vector<uint8_t> readPakEntry(PakArchive* pak, const WideString& name);

struct DecodedPicture {
    int width = 0, height = 0, components = 0;
    std::vector<uint8_t> samples; // top row first
};
// Throws std::runtime_error for data the JPEG library rejects.
DecodedPicture decodePicture(const std::vector<uint8_t>& jpeg);
