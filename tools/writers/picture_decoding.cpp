// picture_decoding.cpp: libjpeg decompression from memory, errors turned into exceptions.
#include "writers/picture_decoding.h"

#include <csetjmp>
#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

namespace {

struct DecoderError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<DecoderError*>(info->err)->jump, 1);
}

} // namespace

std::vector<uint8_t> readPakEntry(PakArchive* pak, const WideString& name) {
    const int32_t index = pakFind(pak, name);
    const PakEntry* entry = pakEntry(pak, index);
    if (!entry)
        throw std::runtime_error("data.pak has no entry " + toUtf8(name));
    std::vector<uint8_t> bytes(entry->size);
    if (pakReadAt(pak, index, 0, bytes.data(), entry->size) != entry->size)
        throw std::runtime_error("cannot read entry " + toUtf8(name));
    return bytes;
}

DecodedPicture decodePicture(const std::vector<uint8_t>& jpeg) {
    jpeg_decompress_struct info{};
    DecoderError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpOut;
    DecodedPicture picture;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_decompress(&info);
        throw std::runtime_error("JPEG data the library rejects");
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.dct_method = JDCT_IFAST; // as the game decodes
    jpeg_start_decompress(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.components = info.output_components;
    picture.samples.resize(static_cast<size_t>(picture.width) * picture.height *
                           picture.components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &picture.samples[static_cast<size_t>(info.output_scanline) * picture.width *
                                        picture.components];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return picture;
}
