// chunk_file.h: tagged-chunk files: the container over a stream and the cursors that walk it.
#pragma once

#include <cstdint>

struct DataStream;

constexpr uint32_t kChunkHeaderSize = 8; // four tag characters, then the little-endian size

struct ChunkFile {
    DataStream* stream = nullptr; // not owned
    int32_t openChunks = 0;       // cursors opened on this file and not yet closed
    uint32_t totalSize = 0;       // the stream's size when the file was made
};

// A cursor on one chunk. size 0 means there is no current chunk.
struct Chunk {
    ChunkFile* file = nullptr; // null while the cursor is not open
    Chunk* parent = nullptr;
    char tag[4] = {'?', '?', '?', '?'};
    uint32_t size = 0;
    uint32_t start = 0;        // stream position of the current chunk's header
    uint32_t dataPosition = 0; // where the next payload read starts
    uint8_t modified = 0;      // header to be rewritten on close; nothing sets it today

    Chunk() = default;
    Chunk(const Chunk&) = delete;
    Chunk& operator=(const Chunk&) = delete;
    // A cursor still open when an error unwinds past it is taken off its file's count without
    // flushing and without raising, so the error that is on its way out is the one reported.
    ~Chunk();
};

void makeChunkFile(ChunkFile& file, DataStream* stream);
// Raises "Chunks still open" while a cursor is open; the file is then still usable.
void destroyChunkFile(ChunkFile& file);

// Starts at the stream's current position and reads the first header found there.
void chunkOpenTop(Chunk& cursor, ChunkFile* file);
// Starts at the parent's first child; raises "Error creating chunk" when the parent is missing
// or has no current chunk.
void chunkOpenChild(Chunk& cursor, Chunk* parent);
void chunkClose(Chunk& cursor);

// Navigation returns false, never raises, when no well-formed chunk is left in the enclosing area.
bool chunkNext(Chunk& cursor);
// From the parent's first child on a child cursor; from the current chunk itself at top level.
bool chunkFind(Chunk& cursor, const char* tag);
// Searches on after the current chunk; raises "Chunk not valid for FindNext" without one.
bool chunkFindNext(Chunk& cursor, const char* tag);

// True when the current chunk's children follow each other without a gap and end exactly at its
// end: a damaged size anywhere among them would otherwise end a walk early without a word.
// The parent's own position and payload reads are left as they were.
bool chunkChildrenTile(Chunk& parent);

// Reads payload bytes in order from the payload start, never past the chunk's end.
uint32_t chunkRead(Chunk& cursor, void* buffer, uint32_t count);
// Payload bytes not read yet (0 without a current chunk).
uint32_t chunkRemaining(const Chunk& cursor);
// The current chunk's first four tag characters equal these.
bool chunkTagIs(const Chunk& cursor, const char* tag);
