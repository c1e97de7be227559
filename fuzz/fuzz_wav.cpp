// fuzz_wav.cpp: any bytes as a sound: the check made at load, then the sound set loading it.
#include <cstdint>

#include "assets/file_error.h"
#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool usable = wavImageUsable(data, static_cast<uint32_t>(size));
    PakArchive* archive = archiveWithEntry(u"D:\\VELDAR\\Data\\Sounds\\out.wav", data, size);
    try {
        SoundSet* set = makeSoundSet(archive, nullptr);
        if (!usable)
            __builtin_trap(); // the set must refuse what the check refuses
        playSound(set, SoundOut);
        destroySoundSet(set);
    } catch (const FileError&) {
        if (usable)
            __builtin_trap();
    }
    pakClose(archive);
    return 0;
}
