// fuzz_font.cpp: any bytes as a PGM font through the font loader.
#include <cstdint>
#include <vector>

#include "assets/file_error.h"
#include "assets/image_loading.h"
#include "assets/pak_archive.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PakArchive* archive = archiveWithEntry(u"F.pgm", data, size);
    std::vector<uint8_t> font(kFontBitmapBytes);
    try {
        loadFont(archive, u"F.pgm", font.data());
    } catch (const FileError&) {
    }
    pakClose(archive);
    return 0;
}
