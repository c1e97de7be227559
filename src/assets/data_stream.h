// data_stream.h: a byte stream over one archive entry (or a loose file), as every reader sees it.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/wide_string.h"

struct PakArchive;

enum SeekOrigin : int {
    SeekFromStart = 0,
    SeekFromCurrent = 1,
    SeekFromEnd = 2,
};

struct DataStream {
    FILE* looseFile = nullptr;     // owned; the game itself never opens one
    PakArchive* archive = nullptr; // not owned
    int32_t entryIndex = -1;
    uint32_t position = 0; // read position inside the entry

    DataStream() = default;
    DataStream(const DataStream&) = delete;
    DataStream& operator=(const DataStream&) = delete;
    // A stream left open by an error on its way out is closed here.
    ~DataStream();
};

// Binds the stream to the named entry at position 0; raises "Cannot open file" naming the entry
// when it is absent, or the archive's own problem when it could not be opened.
void dataStreamOpen(DataStream& stream, PakArchive* archive, const WideString& name);
// Takes ownership of an already opened C file (used by tools and tests).
void dataStreamOpenLoose(DataStream& stream, FILE* file);
// Closing twice is harmless.
void dataStreamClose(DataStream& stream);

uint32_t dataStreamSize(DataStream& stream);
// A short count is not an error; the position moves by the bytes actually read.
uint32_t dataStreamRead(DataStream& stream, void* buffer, uint32_t count);
// Seeking to exactly the size is allowed; outside 0 .. size raises "Invalid seek position".
uint32_t dataStreamSeek(DataStream& stream, int32_t offset, int origin);
// Raises "File is read-only" for an archive entry, "Error on write to file" on a short write.
void dataStreamWrite(DataStream& stream, const void* buffer, uint32_t count);
