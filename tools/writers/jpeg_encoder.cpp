// jpeg_encoder.cpp: the JPEG library's compressor writing into memory.
#include "writers/jpeg_encoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace {

struct EncoderErrorExit {
    jpeg_error_mgr manager; // first: the library sees only this part
    std::jmp_buf landing;
};

[[noreturn]] void exitToLanding(j_common_ptr info) {
    std::longjmp(reinterpret_cast<EncoderErrorExit*>(info->err)->landing, 1);
}

struct EncodeJob {
    const uint8_t* samples;
    int width;
    int height;
    int components;
    int quality;
};

// Only trivially destructible locals here: the error exit jumps over these frames.
void compressRows(jpeg_compress_struct* info, const EncodeJob& job, unsigned char** output,
                  unsigned long* outputSize) {
    jpeg_create_compress(info);
    jpeg_mem_dest(info, output, outputSize);
    info->image_width = static_cast<JDIMENSION>(job.width);
    info->image_height = static_cast<JDIMENSION>(job.height);
    info->input_components = job.components;
    info->in_color_space = job.components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, job.quality, TRUE);
    jpeg_start_compress(info, TRUE);
    const size_t rowBytes = static_cast<size_t>(job.width) * static_cast<size_t>(job.components);
    while (info->next_scanline < info->image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(job.samples + rowBytes * info->next_scanline);
        jpeg_write_scanlines(info, &row, 1);
    }
    jpeg_finish_compress(info);
}

bool compressGuarded(jpeg_compress_struct* info, EncoderErrorExit* error, const EncodeJob& job,
                     unsigned char** output, unsigned long* outputSize) {
    if (setjmp(error->landing) != 0)
        return false;
    compressRows(info, job, output, outputSize);
    return true;
}

std::vector<uint8_t> samplesOf(const uint8_t* rgba, int width, int height, bool alphaOnly) {
    std::vector<uint8_t> samples;
    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    samples.reserve(pixels * (alphaOnly ? 1 : 3));
    for (size_t i = 0; i < pixels; ++i) {
        if (alphaOnly) {
            samples.push_back(rgba[4 * i + 3]);
        } else {
            samples.insert(samples.end(), rgba + 4 * i, rgba + 4 * i + 3);
        }
    }
    return samples;
}

} // namespace

std::vector<uint8_t> encodeJpeg(const uint8_t* samples, int width, int height, int components,
                                int quality) {
    if (width <= 0 || height <= 0 || (components != 1 && components != 3))
        throw std::invalid_argument("encodeJpeg: bad picture shape");
    jpeg_compress_struct info{};
    EncoderErrorExit error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = exitToLanding;
    unsigned char* output = nullptr;
    unsigned long outputSize = 0;
    const bool ok = compressGuarded(&info, &error, {samples, width, height, components, quality},
                                    &output, &outputSize);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes;
    if (ok)
        bytes.assign(output, output + outputSize);
    std::free(output);
    if (!ok)
        throw std::runtime_error("encodeJpeg: the JPEG library failed");
    return bytes;
}

std::vector<uint8_t> encodeJpegColour(const uint8_t* rgba, int width, int height, int quality) {
    return encodeJpeg(samplesOf(rgba, width, height, false).data(), width, height, 3, quality);
}

std::vector<uint8_t> encodeJpegMask(const uint8_t* rgba, int width, int height, int quality) {
    return encodeJpeg(samplesOf(rgba, width, height, true).data(), width, height, 1, quality);
}
