// pak_archive.cpp: opening data.pak, checking its layout, finding entries by name and reading
// their bytes.
#include "assets/pak_archive.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "assets/file_error.h"

namespace {

uint32_t readLe32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Names are compared upper-cased, unit by unit as unsigned numbers, within the field.
int compareUpper(const char16_t* key, const char16_t* name) {
    for (int i = 0; i < kPakNameUnits; ++i) {
        const char16_t a = toUpperWide(key[i]), b = toUpperWide(name[i]);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
    return 0;
}

void fail(PakArchive* archive, PakProblem problem, const std::u16string& why) {
    platformFileClose(archive->file);
    pakSetEntryCount(archive, 0);
    archive->problem = problem;
    archive->problemDetail = why;
}

bool corrupt(PakArchive* archive, const std::string& why) {
    fail(archive, PakProblem::Corrupt, archive->path + u": " + fromUtf8(why));
    return false;
}

void cannotOpen(PakArchive* archive) {
    std::error_code error;
    const std::filesystem::path path = toUtf8(archive->path);
    const char16_t* why = !std::filesystem::exists(path, error)        ? u" is missing"
                          : std::filesystem::is_directory(path, error) ? u" is a folder"
                                                                       : u" cannot be read";
    fail(archive, PakProblem::CannotOpen, archive->path + why);
}

bool readHeader(PakArchive* archive, uint32_t& count) {
    uint8_t header[kPakHeaderSize];
    uint32_t got = 0;
    if (!platformFileRead(archive->file, header, kPakHeaderSize, got)) {
        cannotOpen(archive);
        return false;
    }
    if (got != kPakHeaderSize || readLe32(header) != kPakMagic) {
        fail(archive, PakProblem::NotAnArchive,
             archive->path +
                 (got == 0 ? u" is empty, not a data archive" : u" is not a data archive"));
        return false;
    }
    count = readLe32(header + 4);
    archive->headerSize = kPakHeaderSize;
    archive->dataSize = readLe32(header + 8);
    return true;
}

std::string entryLabel(const PakArchive* archive, size_t index) {
    return "entry " + std::to_string(index) + " (" +
           toUtf8(pakEntryName(archive->directory[index])) + ")";
}

bool nameTerminated(const PakEntry& entry) {
    return std::find(entry.name, entry.name + kPakNameUnits, u'\0') != entry.name + kPakNameUnits;
}

// Every entry lies inside the data area (sums in 64 bits, so nothing wraps), no two non-empty
// entries share a byte, and the names are terminated, ascending and unique.
bool directoryConsistent(PakArchive* archive) {
    const uint64_t dataStart = kPakHeaderSize;
    const uint64_t dataEnd = dataStart + archive->dataSize;
    const auto& directory = archive->directory;
    for (size_t i = 0; i < directory.size(); ++i) {
        const PakEntry& entry = directory[i];
        if (!nameTerminated(entry))
            return corrupt(archive, "entry " + std::to_string(i) + " has an unterminated name");
        if (entry.offset < dataStart || uint64_t{entry.offset} + entry.size > dataEnd)
            return corrupt(archive, entryLabel(archive, i) + " lies outside the data area");
        if (i > 0 && compareUpper(directory[i - 1].name, entry.name) >= 0)
            return corrupt(archive, entryLabel(archive, i) + " is out of order or repeated");
    }
    std::vector<size_t> byOffset;
    for (size_t i = 0; i < directory.size(); ++i)
        if (directory[i].size > 0)
            byOffset.push_back(i);
    std::sort(byOffset.begin(), byOffset.end(),
              [&](size_t a, size_t b) { return directory[a].offset < directory[b].offset; });
    for (size_t k = 1; k < byOffset.size(); ++k) {
        const PakEntry& before = directory[byOffset[k - 1]];
        if (uint64_t{before.offset} + before.size > directory[byOffset[k]].offset)
            return corrupt(archive, entryLabel(archive, byOffset[k]) + " overlaps " +
                                        entryLabel(archive, byOffset[k - 1]));
    }
    return true;
}

bool readDirectory(PakArchive* archive, uint32_t count) {
    // The header, the directory and the file's length must agree before anything is allocated:
    // a count or data size the file cannot hold is a damaged archive, not a reason to allocate.
    const uint64_t start = uint64_t{kPakHeaderSize} + archive->dataSize;
    const uint64_t bytes = uint64_t{count} * sizeof(PakEntry);
    const uint64_t length = platformFileSize(archive->file);
    if (count > 0x7FFFFFFF || start + bytes != length)
        return corrupt(archive, "its header (" + std::to_string(count) + " entries, " +
                                    std::to_string(archive->dataSize) +
                                    " data bytes) does not match its length of " +
                                    std::to_string(length) + " bytes");
    if (count == 0)
        return true;
    pakSetEntryCount(archive, static_cast<int32_t>(count));
    uint32_t got = 0;
    if (!platformFileSeek(archive->file, start) ||
        !platformFileRead(archive->file, archive->directory.data(), static_cast<uint32_t>(bytes),
                          got) ||
        got != bytes)
        return corrupt(archive, "its directory cannot be read");
    return directoryConsistent(archive);
}

WideString shortName(const WideString& name) {
    const size_t slash = name.find_last_of(u"\\/");
    return slash == WideString::npos ? name : name.substr(slash + 1);
}

} // namespace

PakArchive* pakOpen(const WideString& path, uint8_t readOnly) {
    auto* archive = new PakArchive;
    archive->path = path;
    bool createdNew = false;
    const FileOpenMode mode = readOnly ? FileOpenMode::ReadExisting : FileOpenMode::ReadWriteAlways;
    if (!platformFileOpen(archive->file, path, mode, &createdNew)) {
        cannotOpen(archive);
        return archive;
    }
    if (createdNew) {
        const uint32_t header[3] = {kPakMagic, 0, 0};
        uint32_t put = 0;
        if (platformFileWrite(archive->file, header, sizeof header, put) && put == sizeof header) {
            archive->headerSize = kPakHeaderSize;
            return archive;
        }
        cannotOpen(archive);
        return archive;
    }
    uint32_t count = 0;
    if (readHeader(archive, count))
        readDirectory(archive, count);
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
    if (!archive || name.size() >= static_cast<size_t>(kPakNameUnits))
        return -1;
    char16_t key[kPakNameUnits] = {};
    for (size_t i = 0; i < name.size(); ++i)
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

WideString pakEntryDetail(const PakArchive* archive, const WideString& name) {
    if (!archive)
        return shortName(name);
    return shortName(name) + u" in " + archive->path;
}

void raiseMissingEntry(const PakArchive* archive, const WideString& name) {
    if (archive && archive->problem == PakProblem::Corrupt)
        raiseFileError(kErrorFileDataCorrupt, archive->problemDetail);
    if (archive && archive->problem != PakProblem::None)
        raiseFileError(kErrorCannotOpenFile, archive->problemDetail);
    raiseFileError(kErrorCannotOpenFile, pakEntryDetail(archive, name));
}

int32_t pakFindRequired(PakArchive* archive, const WideString& name) {
    const int32_t index = pakFind(archive, name);
    if (index < 0)
        raiseMissingEntry(archive, name);
    return index;
}
