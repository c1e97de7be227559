// chunk_writer.h: builds tagged-chunk bytes (and plain little-endian records) for tools and tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Bytes grow at the end; beginChunk/endChunk nest, and endChunk fills in the size of the chunk it
// closes (header included). The same put functions write the plain records of the .key files.
struct ChunkWriter {
    std::vector<uint8_t> bytes;
    std::vector<size_t> openStarts; // header positions of the chunks begun and not yet ended
};

// The tag's first four characters are written (shorter tags are padded with spaces).
void beginChunk(ChunkWriter& writer, const char* tag);
// Throws std::logic_error when no chunk is open.
void endChunk(ChunkWriter& writer);
// A whole chunk at once: header and the given payload.
void putChunk(ChunkWriter& writer, const char* tag, const std::vector<uint8_t>& payload);
// A "CSTR" chunk holding the text and its terminator.
void putStringChunk(ChunkWriter& writer, const std::string& text);
// A raw tag-and-size header with any size, for crafting damaged files.
void putChunkHeader(ChunkWriter& writer, const char* tag, uint32_t size);

void putInt32(ChunkWriter& writer, int32_t value);
void putUint32(ChunkWriter& writer, uint32_t value);
void putFloat(ChunkWriter& writer, float value);
void putFloats(ChunkWriter& writer, const float* values, size_t count);
void putBytes(ChunkWriter& writer, const void* data, size_t count);
// Four tag characters without a size.
void putTag(ChunkWriter& writer, const char* tag);

// The finished bytes; throws std::logic_error while a chunk is still open.
std::vector<uint8_t> finishChunks(ChunkWriter& writer);
