// jpeg_decoder.h: the one long-lived JPEG decompressor and its colour and mask decodes.
#pragma once

#include <csetjmp>
#include <cstdint>
#include <cstdio> // the library's header needs FILE declared first

#include <jpeglib.h>

struct PakArchive;

// The library is C: its fatal errors may not unwind through it as C++ exceptions. The error exit
// jumps back to the decode that is running, which then raises FileError "JPEG file error".
struct JpegErrorExit {
    jpeg_error_mgr manager; // first: the library sees only this part
    std::jmp_buf landing;
};

struct JpegDecoder {
    jpeg_decompress_struct info;
    JpegErrorExit error;
    JSAMPARRAY row = nullptr; // one scan line, from the library's per-image pool
    int16_t rowLength = 0;    // samples in one scan line: width x components
};

// Made once with the engine and reused for every picture; destroying it also releases the data
// source and its buffer.
JpegDecoder* makeJpegDecoder();
void destroyJpegDecoder(JpegDecoder* decoder);

// Decodes the entry, which must be a three-component picture of exactly width x height, into
// RGBA pixels with A = 255; the first decoded row goes last when bottomUp is set. A missing entry
// raises "Cannot open file"; anything else wrong raises "JPEG file error" and leaves the decoder
// ready for the next picture.
void jpegDecodeColour(JpegDecoder* decoder, PakArchive* archive, int32_t entryIndex,
                      uint32_t* destination, int width, int height, bool bottomUp);
// Decodes a one-component picture of exactly width x height into the alpha bytes of the
// destination, top row first, leaving R, G and B as they are.
void jpegDecodeMask(JpegDecoder* decoder, PakArchive* archive, int32_t entryIndex,
                    uint32_t* destination, int width, int height);
