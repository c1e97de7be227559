// jpeg_source.h: the JPEG library's data source, reading a picture straight out of the archive.
#pragma once

#include <cstdint>
#include <cstdio> // the library's header needs FILE declared first

#include <jpeglib.h>

struct PakArchive;

constexpr uint32_t kJpegSourceBufferSize = 4096;

// The library sees only `manager`, which must stay the first field.
struct JpegPakSource {
    jpeg_source_mgr manager;
    PakArchive* archive;
    int32_t entryIndex;
    uint32_t position; // next byte of the entry to read into the buffer
    uint32_t entrySize;
    JOCTET* buffer; // kJpegSourceBufferSize bytes
    boolean startOfFile;
};

// Binds the decompressor's source to an existing entry. The source and its buffer are taken
// from the library's permanent pool on first use and reused for every later picture, so this
// must run where the decoder's error exit can land (an allocation failure goes through it).
void jpegSetSource(j_decompress_ptr info, PakArchive* archive, int32_t entryIndex);
