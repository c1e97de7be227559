// fuzz_model.cpp: any bytes as the player model file, through the game's model loader.
#include <cstdint>

#include "assets/file_error.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PakArchive* archive = archiveWithEntry(u"M.NFO", data, size);
    try {
        Model* model = loadModelFile(archive, u"M.NFO");
        freeModel(model);
    } catch (const FileError&) {
    }
    pakClose(archive);
    return 0;
}
