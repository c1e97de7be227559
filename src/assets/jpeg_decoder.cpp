// jpeg_decoder.cpp: decompressor set-up, guarded decodes and the error exit that lands in them.
#include "assets/jpeg_decoder.h"

#include "assets/file_error.h"
#include "assets/jpeg_source.h"

namespace {

// Functions called between setjmp and the error exit hold only trivially destructible locals:
// the jump back skips their frames.

[[noreturn]] void exitToLanding(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorExit*>(info->err)->landing, 1);
}

struct DecodeJob {
    PakArchive* archive;
    int32_t entryIndex;
    uint8_t* destination; // RGBA bytes, width x 4 per row
    int width;
    int height;
    int components; // 3 for colour, 1 for a mask
    bool bottomUp;
};

void copyColourRow(const JSAMPLE* samples, uint8_t* pixel, int width) {
    for (int x = 0; x < width; ++x, samples += 3, pixel += 4) {
        pixel[0] = samples[0];
        pixel[1] = samples[1];
        pixel[2] = samples[2];
        pixel[3] = 255;
    }
}

void copyMaskRow(const JSAMPLE* samples, uint8_t* pixel, int width) {
    for (int x = 0; x < width; ++x, pixel += 4)
        pixel[3] = samples[x];
}

// The picture must fill the target exactly: a larger one would be written past the buffer.
bool fitsTarget(const jpeg_decompress_struct& info, const DecodeJob& job) {
    const uint64_t rowLength = uint64_t{info.output_width} * info.output_components;
    return info.output_width == static_cast<JDIMENSION>(job.width) &&
           info.output_height == static_cast<JDIMENSION>(job.height) &&
           info.output_components == job.components && rowLength < 32768;
}

// False when the picture does not fit; library errors leave through the error exit.
bool decodeRows(JpegDecoder* decoder, const DecodeJob& job) {
    j_decompress_ptr info = &decoder->info;
    jpegSetSource(info, job.archive, job.entryIndex);
    jpeg_read_header(info, TRUE);
    info->dct_method = JDCT_IFAST;
    jpeg_calc_output_dimensions(info);
    if (!fitsTarget(*info, job))
        return false;
    jpeg_start_decompress(info);
    decoder->rowLength = static_cast<int16_t>(info->output_width * info->output_components);
    decoder->row = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                              static_cast<JDIMENSION>(decoder->rowLength), 1);
    const size_t rowBytes = static_cast<size_t>(job.width) * 4;
    for (int r = 0; r < job.height; ++r) {
        jpeg_read_scanlines(info, decoder->row, 1);
        const int target = job.bottomUp ? job.height - 1 - r : r;
        uint8_t* pixels = job.destination + rowBytes * static_cast<size_t>(target);
        if (job.components == 3)
            copyColourRow(decoder->row[0], pixels, job.width);
        else
            copyMaskRow(decoder->row[0], pixels, job.width);
    }
    jpeg_finish_decompress(info);
    return true;
}

bool decodeGuarded(JpegDecoder* decoder, const DecodeJob& job) {
    if (setjmp(decoder->error.landing) != 0) {
        jpeg_abort_decompress(&decoder->info);
        return false;
    }
    if (decodeRows(decoder, job))
        return true;
    jpeg_abort_decompress(&decoder->info);
    return false;
}

void decode(JpegDecoder* decoder, const DecodeJob& job) {
    // The source needs a real entry: its size comes from the directory.
    if (job.entryIndex < 0)
        raiseFileError(kErrorCannotOpenFile);
    decoder->row = nullptr;
    decoder->rowLength = 0;
    if (!decodeGuarded(decoder, job))
        raiseFileError(kErrorJpegFile);
}

bool createGuarded(JpegDecoder* decoder) {
    if (setjmp(decoder->error.landing) != 0)
        return false;
    jpeg_CreateDecompress(&decoder->info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    return true;
}

} // namespace

JpegDecoder* makeJpegDecoder() {
    auto* decoder = new JpegDecoder{};
    decoder->info.err = jpeg_std_error(&decoder->error.manager);
    decoder->error.manager.error_exit = exitToLanding;
    if (!createGuarded(decoder)) {
        delete decoder;
        raiseFileError(kErrorJpegFile);
    }
    return decoder;
}

void destroyJpegDecoder(JpegDecoder* decoder) {
    if (!decoder)
        return;
    jpeg_destroy_decompress(&decoder->info);
    delete decoder;
}

void jpegDecodeColour(JpegDecoder* decoder, PakArchive* archive, int32_t entryIndex,
                      uint32_t* destination, int width, int height, bool bottomUp) {
    decode(decoder, {archive, entryIndex, reinterpret_cast<uint8_t*>(destination), width, height, 3,
                     bottomUp});
}

void jpegDecodeMask(JpegDecoder* decoder, PakArchive* archive, int32_t entryIndex,
                    uint32_t* destination, int width, int height) {
    decode(decoder,
           {archive, entryIndex, reinterpret_cast<uint8_t*>(destination), width, height, 1, false});
}
