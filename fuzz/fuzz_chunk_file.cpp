// fuzz_chunk_file.cpp: any bytes as a chunk file: every navigation over the tree a few levels
// deep, the tiling check and payload reads.
#include <cstdint>
#include <cstdio>

#include "assets/chunk_file.h"
#include "assets/data_stream.h"
#include "assets/file_error.h"

namespace {

constexpr int kDepth = 4;

void visit(Chunk& parent, int depth) {
    chunkChildrenTile(parent);
    uint8_t buffer[64];
    chunkRead(parent, buffer, sizeof buffer);
    if (depth == kDepth)
        return;
    Chunk child;
    chunkOpenChild(child, &parent);
    for (int n = 0; child.size != 0 && n < 64; ++n) {
        visit(child, depth + 1);
        if (!chunkNext(child))
            break;
    }
    if (chunkFind(child, "INFO"))
        chunkFindNext(child, "CSTR");
    chunkClose(child);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file)
        return 0;
    DataStream stream;
    dataStreamOpenLoose(stream, file);
    ChunkFile chunks;
    makeChunkFile(chunks, &stream);
    try {
        Chunk top;
        chunkOpenTop(top, &chunks);
        for (int n = 0; top.size != 0 && n < 16; ++n) {
            visit(top, 0);
            if (!chunkNext(top))
                break;
        }
        chunkClose(top);
    } catch (const FileError&) {
    }
    destroyChunkFile(chunks);
    dataStreamClose(stream);
    return 0;
}
