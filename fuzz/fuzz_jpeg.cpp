// fuzz_jpeg.cpp: any bytes as a picture through the archive data source. The first byte picks
// colour or mask, the next four the target's width and height (as a face is sized by its
// button); the rest is the JPEG entry.
#include <cstdint>
#include <vector>

#include "assets/file_error.h"
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/jpeg_decoder.h"
#include "assets/pak_archive.h"
#include "fuzz_input.h"

namespace {

constexpr size_t kPrefix = 5;
constexpr int kLargestSide = 512;

JpegDecoder* decoder() {
    static JpegDecoder* made = makeJpegDecoder();
    return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kPrefix)
        return 0;
    const bool mask = data[0] & 1;
    const int width = (data[1] | (data[2] << 8)) % (kLargestSide + 1);
    const int height = (data[3] | (data[4] << 8)) % (kLargestSide + 1);
    PakArchive* archive = archiveWithEntry(u"P.jpg", data + kPrefix, size - kPrefix);
    ImageButton* button = makeImageButton(0, 0, width, height);
    try {
        // The mask goes over a face decoded from the same bytes when that works, else alone.
        if (mask) {
            button->face[0] = new uint32_t[static_cast<size_t>(width) * height + 1]();
            jpegDecodeMask(decoder(), archive, 0, button->face[0], width, height);
        } else {
            loadFace(decoder(), button, archive, 0, u"P.jpg", nullptr);
        }
    } catch (const FileError&) {
    }
    freeImageButton(button);
    pakClose(archive);
    return 0;
}
