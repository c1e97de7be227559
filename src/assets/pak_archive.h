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

// Why an archive was left empty at open; the first loader that asks for an entry reports it.
enum class PakProblem {
    None,
    CannotOpen,   // missing, a folder, or unreadable: "Cannot open file"
    NotAnArchive, // too short for a header or a wrong magic: "Cannot open file"
    Corrupt,      // header, directory and file length disagree: "File data corrupt"
};

struct PakArchive {
    std::vector<PakEntry> directory;
    int32_t entryCount = 0;
    PlatformFile file;
    uint32_t headerSize = 0;
    uint32_t dataSize = 0;
    WideString path; // as opened, for messages
    PakProblem problem = PakProblem::None;
    WideString problemDetail; // e.g. "/games/data.pak is not a data archive"
};

// A file that is missing, short, not an archive or damaged leaves an empty archive with its
// problem recorded; nothing is raised here. Every entry must lie inside the data area without
// overlapping another, header, directory and file length must agree, and names must be
// terminated, sorted as the lookup requires and unique: anything else is Corrupt.
// readOnly non-zero opens an existing file for reading; zero opens or creates it read/write.
PakArchive* pakOpen(const WideString& path, uint8_t readOnly);
void pakClose(PakArchive* archive);

// Case-insensitive lookup by full entry name; -1 when absent. A name longer than the name field
// holds never matches.
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

// Where an entry is, for messages: "Tenista_Saque.key in /usr/share/drovana/data.pak".
WideString pakEntryDetail(const PakArchive* archive, const WideString& name);
// The entry was not found: raises the archive's own problem when it has one ("File data
// corrupt" or "Cannot open file" saying why), else "Cannot open file" naming the entry.
[[noreturn]] void raiseMissingEntry(const PakArchive* archive, const WideString& name);
// pakFind, raising as raiseMissingEntry when the name is not there.
int32_t pakFindRequired(PakArchive* archive, const WideString& name);
