// fuzz_pak_archive.cpp: any bytes as data.pak: open, find every entry by its own name and some
// that are not there, and read every entry whole and in pieces.
#include <cstdint>
#include <vector>

#include "assets/data_stream.h"
#include "assets/file_error.h"
#include "assets/pak_archive.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PakArchive* archive = pakOpen(fromUtf8(memoryFilePath(data, size)), 1);
    std::vector<uint8_t> buffer(4096);
    for (int32_t i = 0; i < archive->entryCount; ++i) {
        const PakEntry* entry = pakEntry(archive, i);
        if (pakFind(archive, pakEntryName(*entry)) != i)
            __builtin_trap(); // a consistent directory finds each of its names
        uint32_t position = 0;
        while (pakReadAdvance(archive, i, position, buffer.data(), 4096) > 0) {
        }
        if (position != entry->size)
            __builtin_trap(); // an entry inside the file reads whole
    }
    pakFind(archive, u"D:\\VELDAR\\Data\\Model\\Tenista3.NFO");
    pakFind(archive, std::u16string(300, u'A'));
    try {
        DataStream stream;
        dataStreamOpen(stream, archive, u"D:\\VELDAR\\Data\\FONT8x16.pgm");
        dataStreamSeek(stream, 0, SeekFromEnd);
    } catch (const FileError&) {
    }
    pakClose(archive);
    return 0;
}
