// pak_writer.h: builds data.pak archives (sorted directory, absolute offsets) for tools and tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/wide_string.h"

struct PakWriterEntry {
    WideString name; // full entry name, at most 119 UTF-16 units
    std::vector<uint8_t> data;
};

// The archive's bytes: header, entry data in directory order, then the directory sorted by
// upper-cased name. Throws std::invalid_argument for a name that is too long or repeated.
std::vector<uint8_t> buildPak(std::vector<PakWriterEntry> entries);
// Writes the archive; false when the file cannot be written.
bool writePakFile(const std::string& path, const std::vector<PakWriterEntry>& entries);
// Writes any bytes to a file; false on failure.
bool writeBytesFile(const std::string& path, const std::vector<uint8_t>& bytes);
