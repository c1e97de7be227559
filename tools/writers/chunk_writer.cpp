// chunk_writer.cpp: little-endian fields and self-sizing chunk headers.
#include "writers/chunk_writer.h"

#include <cstring>
#include <stdexcept>

void putTag(ChunkWriter& writer, const char* tag) {
    const size_t length = std::strlen(tag);
    for (size_t i = 0; i < 4; ++i)
        writer.bytes.push_back(static_cast<uint8_t>(i < length ? tag[i] : ' '));
}

void putUint32(ChunkWriter& writer, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        writer.bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putInt32(ChunkWriter& writer, int32_t value) {
    putUint32(writer, static_cast<uint32_t>(value));
}

void putFloat(ChunkWriter& writer, float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, 4);
    putUint32(writer, bits);
}

void putFloats(ChunkWriter& writer, const float* values, size_t count) {
    for (size_t i = 0; i < count; ++i)
        putFloat(writer, values[i]);
}

void putBytes(ChunkWriter& writer, const void* data, size_t count) {
    const auto* p = static_cast<const uint8_t*>(data);
    writer.bytes.insert(writer.bytes.end(), p, p + count);
}

void putChunkHeader(ChunkWriter& writer, const char* tag, uint32_t size) {
    putTag(writer, tag);
    putUint32(writer, size);
}

void beginChunk(ChunkWriter& writer, const char* tag) {
    writer.openStarts.push_back(writer.bytes.size());
    putChunkHeader(writer, tag, 0);
}

void endChunk(ChunkWriter& writer) {
    if (writer.openStarts.empty())
        throw std::logic_error("endChunk without an open chunk");
    const size_t start = writer.openStarts.back();
    writer.openStarts.pop_back();
    const auto size = static_cast<uint32_t>(writer.bytes.size() - start);
    for (int i = 0; i < 4; ++i)
        writer.bytes[start + 4 + i] = static_cast<uint8_t>(size >> (8 * i));
}

void putChunk(ChunkWriter& writer, const char* tag, const std::vector<uint8_t>& payload) {
    beginChunk(writer, tag);
    putBytes(writer, payload.data(), payload.size());
    endChunk(writer);
}

void putStringChunk(ChunkWriter& writer, const std::string& text) {
    beginChunk(writer, "CSTR");
    putBytes(writer, text.c_str(), text.size() + 1);
    endChunk(writer);
}

std::vector<uint8_t> finishChunks(ChunkWriter& writer) {
    if (!writer.openStarts.empty())
        throw std::logic_error("finishChunks with a chunk still open");
    return writer.bytes;
}
