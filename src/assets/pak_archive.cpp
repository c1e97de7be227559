// pak_archive.cpp: opening data.pak, finding entries by name and reading their bytes.
#include "assets/pak_archive.h"

#include <cstring>

namespace {

uint32_t readLe32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Names are compared upper-cased, unit by unit as unsigned numbers, within the field.
int compareUpper(const char16_t* key, const char16_t* name) {
    for (int i = 0; i < kPakNameUnits; ++i) {
        const char16_t a = key[i], b = toUpperWide(name[i]);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
    return 0; // an unterminated stored name equals a key that matches all of its units
}

bool readHeader(PakArchive* archive, uint32_t& count) {
    uint8_t header[kPakHeaderSize];
    uint32_t got = 0;
    if (!platformFileRead(archive->file, header, kPakHeaderSize, got) || got != kPakHeaderSize)
        return false;
    if (readLe32(header) != kPakMagic)
        return false;
    count = readLe32(header + 4);
    archive->headerSize = kPakHeaderSize;
    archive->dataSize = readLe32(header + 8);
    return true;
}

bool readDirectory(PakArchive* archive, uint32_t count) {
    // A count the file cannot hold (or whose byte size overflows) is a damaged archive,
    // not a reason to allocate gigabytes.
    const uint64_t start = uint64_t{kPakHeaderSize} + archive->dataSize;
    const uint64_t bytes = uint64_t{count} * sizeof(PakEntry);
    if (count > 0x7FFFFFFF || start + bytes > platformFileSize(archive->file))
        return false;
    pakSetEntryCount(archive, static_cast<int32_t>(count));
    uint32_t got = 0;
    return platformFileSeek(archive->file, start) &&
           platformFileRead(archive->file, archive->directory.data(), static_cast<uint32_t>(bytes),
                            got) &&
           got == bytes;
}

} // namespace

PakArchive* pakOpen(const WideString& path, uint8_t readOnly) {
    auto* archive = new PakArchive;
    bool createdNew = false;
    const FileOpenMode mode = readOnly ? FileOpenMode::ReadExisting : FileOpenMode::ReadWriteAlways;
    if (!platformFileOpen(archive->file, path, mode, &createdNew))
        return archive;
    if (createdNew) {
        const uint32_t header[3] = {kPakMagic, 0, 0};
        uint32_t put = 0;
        if (platformFileWrite(archive->file, header, sizeof header, put) && put == sizeof header) {
            archive->headerSize = kPakHeaderSize;
            return archive;
        }
        platformFileClose(archive->file);
        return archive;
    }
    uint32_t count = 0;
    if (!readHeader(archive, count)) {
        platformFileClose(archive->file);
        return archive;
    }
    if (count == 0)
        return archive;
    if (!readDirectory(archive, count)) {
        platformFileClose(archive->file);
        pakSetEntryCount(archive, 0);
    }
    return archive;
}

void pakClose(PakArchive* archive) {
    if (!archive)
        return;
    platformFileClose(archive->file);
    delete archive;
}

void pakSetEntryCount(PakArchive* archive, int32_t count) {
    if (count < 1) {
        archive->directory.clear();
        archive->directory.shrink_to_fit();
        archive->entryCount = 0;
        return;
    }
    archive->directory.resize(static_cast<size_t>(count), PakEntry{});
    archive->entryCount = count;
}

int32_t pakFind(PakArchive* archive, const WideString& name) {
    if (!archive)
        return -1;
    char16_t key[256] = {};
    for (size_t i = 0; i < name.size() && i < 255; ++i)
        key[i] = toUpperWide(name[i]);
    if (archive->entryCount < 1)
        return -1;
    int32_t low = 0, high = archive->entryCount;
    while (low < high) {
        const int32_t mid = (low + high) / 2;
        const int order = compareUpper(key, archive->directory[mid].name);
        if (order == 0)
            return mid;
        if (order < 0)
            high = mid;
        else
            low = mid + 1;
    }
    return -1;
}

const PakEntry* pakEntry(const PakArchive* archive, int32_t index) {
    if (!archive || index < 0 || index >= archive->entryCount)
        return nullptr;
    return &archive->directory[index];
}

uint32_t pakReadAt(PakArchive* archive, int32_t index, uint32_t position, void* buffer,
                   uint32_t count) {
    const PakEntry* entry = pakEntry(archive, index);
    if (!entry || position >= entry->size)
        return 0;
    if (!platformFileSeek(archive->file, uint64_t{entry->offset} + position))
        return 0;
    const uint32_t wanted = count < entry->size - position ? count : entry->size - position;
    uint32_t got = 0;
    if (!platformFileRead(archive->file, buffer, wanted, got))
        return 0;
    return got;
}

uint32_t pakReadAdvance(PakArchive* archive, int32_t index, uint32_t& position, void* buffer,
                        uint32_t count) {
    const uint32_t got = pakReadAt(archive, index, position, buffer, count);
    position += got;
    return got;
}

WideString pakEntryName(const PakEntry& entry) {
    size_t length = 0;
    while (length < kPakNameUnits && entry.name[length] != 0)
        ++length;
    return WideString(entry.name, length);
}
