// jpeg_encoder.cpp: libjpeg compression into memory, errors turned into exceptions.
#include "writers/jpeg_encoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>

namespace {

struct EncoderError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// libjpeg is C: its error exit must not throw through its frames, so it jumps back instead.
[[noreturn]] void jumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<EncoderError*>(info->err)->jump, 1);
}

} // namespace

std::vector<uint8_t> encodeJpeg(const uint8_t* samples, int width, int height, int components,
                                int quality) {
    if (width < 1 || height < 1 || (components != 1 && components != 3))
        throw std::runtime_error("encodeJpeg: bad picture size or components");
    jpeg_compress_struct info{};
    EncoderError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpOut;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw std::runtime_error("encodeJpeg: the JPEG library failed");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
    if (components == 3) {
        // Full-resolution chroma: coloured words and thin court lines stay sharp.
        for (int c = 0; c < 3; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(width) * components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}
