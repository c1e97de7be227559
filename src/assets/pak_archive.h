// pak_archive.h: data.pak, the one archive every asset of the game is read from.
#pragma once

#include <cstdint>
#include <vector>

#include "core/wide_string.h"
#include "platform/platform_file.h"

constexpr uint32_t kPakMagic = 0xACABAFEA;
constexpr uint32_t kPakHeaderSize = 12;
constexpr int kPakNameUnits = 120; // UTF-16 units, terminator included

// One directory record, exactly as stored in the file (little-endian).
struct PakEntry {
    char16_t name[kPakNameUnits];
    uint32_t offset; // absolute file position of the entry's first byte
    uint32_t size;
    uint8_t reserved[8];
};
static_assert(sizeof(PakEntry) == 256, "a directory record is 256 bytes on disk");

struct PakArchive {
    std::vector<PakEntry> directory;
    int32_t entryCount = 0;
    PlatformFile file;
    uint32_t headerSize = 0;
    uint32_t dataSize = 0;
};

// A file that is missing, short or damaged leaves an empty archive; nothing is raised here.
// readOnly non-zero opens an existing file for reading; zero opens or creates it read/write.
PakArchive* pakOpen(const WideString& path, uint8_t readOnly);
void pakClose(PakArchive* archive);

// Case-insensitive lookup by full entry name; -1 when absent.
int32_t pakFind(PakArchive* archive, const WideString& name);
// Null for an index outside 0 .. entryCount - 1.
const PakEntry* pakEntry(const PakArchive* archive, int32_t index);
// Bytes read from the entry's byte `position` on, cut at the entry's end; 0 on any failure.
uint32_t pakReadAt(PakArchive* archive, int32_t index, uint32_t position, void* buffer,
                   uint32_t count);
// As pakReadAt, and adds the bytes transferred to position.
uint32_t pakReadAdvance(PakArchive* archive, int32_t index, uint32_t& position, void* buffer,
                        uint32_t count);
// A count below 1 empties the directory.
void pakSetEntryCount(PakArchive* archive, int32_t count);

// The entry's name up to its terminator, never past its 120-unit field.
WideString pakEntryName(const PakEntry& entry);
