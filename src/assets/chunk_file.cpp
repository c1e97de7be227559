// chunk_file.cpp: walking tagged chunks: next, find, findNext, payload reads and cursor counting.
#include "assets/chunk_file.h"

#include <cstring>

#include "assets/data_stream.h"
#include "assets/file_error.h"

namespace {

// Stream positions are unsigned 32-bit while a seek offset is signed, so long jumps go in steps.
void seekStream(DataStream& stream, uint32_t position) {
    constexpr uint32_t kStep = 0x7FFFFFFF;
    dataStreamSeek(stream, static_cast<int32_t>(position < kStep ? position : kStep),
                   SeekFromStart);
    if (position > kStep)
        dataStreamSeek(stream, static_cast<int32_t>(position - kStep), SeekFromCurrent);
}

uint32_t readLe32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Sums are taken in 64 bits: a size that would wrap start + size in 32 bits could otherwise
// move the cursor backwards and walk the same chunks for ever.
uint64_t limitOf(const Chunk& cursor) {
    if (cursor.parent)
        return uint64_t{cursor.parent->start} + cursor.parent->size;
    return cursor.file->totalSize;
}

void flush(Chunk& cursor) {
    if (!cursor.modified)
        return;
    DataStream& stream = *cursor.file->stream;
    uint8_t header[kChunkHeaderSize];
    std::memcpy(header, cursor.tag, 4);
    for (int i = 0; i < 4; ++i)
        header[4 + i] = static_cast<uint8_t>(cursor.size >> (8 * i));
    seekStream(stream, cursor.start);
    dataStreamWrite(stream, header, kChunkHeaderSize);
    cursor.dataPosition = cursor.start + kChunkHeaderSize;
    cursor.modified = 0;
}

// Reads the header at start; true when it is well formed and fits inside the limit.
bool readHeader(Chunk& cursor, uint64_t limit, uint32_t& size) {
    DataStream& stream = *cursor.file->stream;
    seekStream(stream, cursor.start);
    dataStreamRead(stream, cursor.tag, 4);
    uint8_t sizeBytes[4] = {};
    size = dataStreamRead(stream, sizeBytes, 4) == 4 ? readLe32(sizeBytes) : 0;
    return size >= kChunkHeaderSize && uint64_t{cursor.start} + size <= limit;
}

void makeCurrent(Chunk& cursor, uint32_t size) {
    cursor.size = size;
    cursor.dataPosition = cursor.start + kChunkHeaderSize;
}

bool tagEquals(const char tag[4], const char* wanted) {
    return std::memcmp(tag, wanted, 4) == 0;
}

// The search loop shared by find and findNext, from the cursor's start on.
bool searchFromStart(Chunk& cursor, const char* wanted, uint64_t limit) {
    for (;;) {
        uint32_t size = 0;
        if (!readHeader(cursor, limit, size))
            return false;
        if (tagEquals(cursor.tag, wanted)) {
            makeCurrent(cursor, size);
            return true;
        }
        cursor.start += size;
        if (cursor.start >= limit)
            return false;
    }
}

void openOn(Chunk& cursor, ChunkFile* file, Chunk* parent, uint32_t start) {
    file->openChunks++;
    cursor.file = file;
    cursor.parent = parent;
    cursor.start = start;
    cursor.dataPosition = start;
    cursor.size = 0;
    std::memcpy(cursor.tag, "????", 4);
    cursor.modified = 0;
    chunkNext(cursor);
}

} // namespace

Chunk::~Chunk() {
    if (file)
        file->openChunks--;
    file = nullptr;
}

void makeChunkFile(ChunkFile& file, DataStream* stream) {
    file.stream = stream;
    file.openChunks = 0;
    file.totalSize = dataStreamSize(*stream);
}

void destroyChunkFile(ChunkFile& file) {
    if (file.openChunks != 0)
        raiseFileError(kErrorChunksStillOpen);
    file.stream = nullptr;
}

void chunkOpenTop(Chunk& cursor, ChunkFile* file) {
    const uint32_t here = dataStreamSeek(*file->stream, 0, SeekFromCurrent);
    openOn(cursor, file, nullptr, here);
}

void chunkOpenChild(Chunk& cursor, Chunk* parent) {
    if (!parent || !parent->file || parent->size == 0)
        raiseFileError(kErrorCreatingChunk);
    openOn(cursor, parent->file, parent, parent->start + kChunkHeaderSize);
}

void chunkClose(Chunk& cursor) {
    if (!cursor.file)
        return;
    flush(cursor);
    cursor.file->openChunks--;
    cursor.file = nullptr;
}

bool chunkNext(Chunk& cursor) {
    flush(cursor);
    const uint64_t limit = limitOf(cursor);
    if (cursor.size != 0)
        cursor.start += cursor.size;
    cursor.dataPosition = cursor.start;
    cursor.size = 0;
    if (cursor.start >= limit)
        return false;
    uint32_t size = 0;
    if (!readHeader(cursor, limit, size))
        return false;
    makeCurrent(cursor, size);
    return true;
}

bool chunkFind(Chunk& cursor, const char* tag) {
    flush(cursor);
    cursor.size = 0;
    if (cursor.parent)
        cursor.start = cursor.parent->start + kChunkHeaderSize;
    const uint64_t limit = limitOf(cursor);
    if (cursor.start >= limit)
        return false;
    return searchFromStart(cursor, tag, limit);
}

bool chunkFindNext(Chunk& cursor, const char* tag) {
    if (cursor.size == 0)
        raiseFileError(kErrorChunkNotValidForFindNext);
    flush(cursor);
    const uint64_t limit = limitOf(cursor);
    cursor.start += cursor.size;
    cursor.size = 0;
    if (cursor.start >= limit)
        return false;
    return searchFromStart(cursor, tag, limit);
}

bool chunkChildrenTile(Chunk& parent) {
    if (!parent.file || parent.size == 0)
        return false;
    Chunk walker;
    chunkOpenChild(walker, &parent);
    while (chunkNext(walker)) {
    }
    // A walk that ran out of well-formed chunks stops where the bad one starts.
    const bool whole = walker.start == uint64_t{parent.start} + parent.size;
    chunkClose(walker);
    return whole;
}

uint32_t chunkRemaining(const Chunk& cursor) {
    if (cursor.size == 0)
        return 0;
    const uint32_t end = cursor.start + cursor.size;
    return cursor.dataPosition < end ? end - cursor.dataPosition : 0;
}

// The read position moves with every read and each read seeks to it first: successive reads can
// never run on into the next chunk, whatever the sizes say, and a parent and child cursor may be
// read alternately.
uint32_t chunkRead(Chunk& cursor, void* buffer, uint32_t count) {
    const uint32_t remaining = chunkRemaining(cursor);
    if (count > remaining)
        count = remaining;
    if (count == 0)
        return 0;
    DataStream& stream = *cursor.file->stream;
    seekStream(stream, cursor.dataPosition);
    const uint32_t got = dataStreamRead(stream, buffer, count);
    cursor.dataPosition += got;
    return got;
}

bool chunkTagIs(const Chunk& cursor, const char* tag) {
    return cursor.size != 0 && tagEquals(cursor.tag, tag);
}
