// data_stream.cpp: reading, seeking and sizing archive entries and loose files.
#include "assets/data_stream.h"

#include "assets/file_error.h"
#include "assets/pak_archive.h"

namespace {

void requireHandle(const DataStream& stream) {
    if (!stream.looseFile && !stream.archive)
        raiseFileError(kErrorInvalidFileHandle);
}

uint32_t entrySize(const DataStream& stream) {
    const PakEntry* entry = pakEntry(stream.archive, stream.entryIndex);
    return entry ? entry->size : 0;
}

} // namespace

DataStream::~DataStream() {
    dataStreamClose(*this);
}

void dataStreamOpen(DataStream& stream, PakArchive* archive, const WideString& name) {
    dataStreamClose(stream);
    const int32_t index = pakFindRequired(archive, name);
    stream.archive = archive;
    stream.entryIndex = index;
    stream.position = 0;
}

void dataStreamOpenLoose(DataStream& stream, FILE* file) {
    dataStreamClose(stream);
    stream.looseFile = file;
}

void dataStreamClose(DataStream& stream) {
    if (stream.looseFile)
        std::fclose(stream.looseFile);
    stream.looseFile = nullptr;
    stream.archive = nullptr;
    stream.entryIndex = -1;
    stream.position = 0;
}

uint32_t dataStreamSize(DataStream& stream) {
    requireHandle(stream);
    if (stream.archive)
        return entrySize(stream);
    const long here = std::ftell(stream.looseFile);
    std::fseek(stream.looseFile, 0, SEEK_END);
    const long end = std::ftell(stream.looseFile);
    std::fseek(stream.looseFile, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<uint32_t>(end);
}

uint32_t dataStreamRead(DataStream& stream, void* buffer, uint32_t count) {
    requireHandle(stream);
    if (stream.archive)
        return pakReadAdvance(stream.archive, stream.entryIndex, stream.position, buffer, count);
    return static_cast<uint32_t>(std::fread(buffer, 1, count, stream.looseFile));
}

uint32_t dataStreamSeek(DataStream& stream, int32_t offset, int origin) {
    requireHandle(stream);
    if (stream.looseFile) {
        const int whence = origin == SeekFromStart     ? SEEK_SET
                           : origin == SeekFromCurrent ? SEEK_CUR
                           : origin == SeekFromEnd     ? SEEK_END
                                                       : -1;
        if (whence < 0 || std::fseek(stream.looseFile, offset, whence) != 0)
            raiseFileError(kErrorInvalidSeekPosition);
        return static_cast<uint32_t>(std::ftell(stream.looseFile));
    }
    const int64_t size = entrySize(stream);
    int64_t base = 0;
    if (origin == SeekFromCurrent)
        base = stream.position;
    else if (origin == SeekFromEnd)
        base = size;
    else if (origin != SeekFromStart)
        raiseFileError(kErrorInvalidSeekPosition);
    const int64_t target = base + offset;
    if (target < 0 || target > size)
        raiseFileError(kErrorInvalidSeekPosition);
    stream.position = static_cast<uint32_t>(target);
    return stream.position;
}

void dataStreamWrite(DataStream& stream, const void* buffer, uint32_t count) {
    requireHandle(stream);
    if (stream.archive)
        raiseFileError(kErrorReadOnly);
    if (std::fwrite(buffer, 1, count, stream.looseFile) < count)
        raiseFileError(kErrorWriteFailed);
}
