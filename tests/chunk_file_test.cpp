// Chunk cursors: navigation inside the enclosing area, payload reads and the open-cursor count.
#include "assets/chunk_file.h"
#include "assets/data_stream.h"
#include "pak_fixture.h"
#include "writers/chunk_writer.h"

#include <string>

namespace {

// One opened stream, chunk file and top-level cursor over the given bytes.
struct ChunkFixture {
    PakFixture pak;
    DataStream stream;
    ChunkFile file;
    Chunk top;

    explicit ChunkFixture(const std::vector<uint8_t>& bytes) : pak({{u"F", bytes}}) {
        dataStreamOpen(stream, pak.archive, u"F");
        makeChunkFile(file, &stream);
        chunkOpenTop(top, &file);
    }
};

std::string tagOf(const Chunk& cursor) {
    return std::string(cursor.tag, 4);
}

// ROOT { AAAA "a", BBBB { CCCC "c" }, AAAA "second" }, then TAIL at top level.
std::vector<uint8_t> sampleFile() {
    ChunkWriter w;
    beginChunk(w, "ROOT");
    putChunk(w, "AAAA", bytesOf("a"));
    beginChunk(w, "BBBB");
    putChunk(w, "CCCC", bytesOf("c"));
    endChunk(w);
    putChunk(w, "AAAA", bytesOf("second"));
    endChunk(w);
    putChunk(w, "TAIL", {});
    return finishChunks(w);
}

TEST(ChunkFile, WalksSiblingsAndChildrenInsideTheirParents) {
    ChunkFixture f(sampleFile());
    ASSERT_TRUE(chunkTagIs(f.top, "ROOT"));
    {
        Chunk child;
        chunkOpenChild(child, &f.top);
        std::string seen;
        for (bool more = chunkTagIs(child, "AAAA"); more; more = chunkNext(child))
            seen += tagOf(child) + " ";
        EXPECT_EQ(seen, "AAAA BBBB AAAA ");
        chunkClose(child);
    }
    EXPECT_TRUE(chunkNext(f.top));
    EXPECT_EQ(tagOf(f.top), "TAIL");
    EXPECT_EQ(f.top.size, 8u);
    EXPECT_FALSE(chunkNext(f.top));
    chunkClose(f.top);
    destroyChunkFile(f.file);
}

TEST(ChunkFile, FindRestartsOnAChildAndStaysOnTheTopLevel) {
    ChunkFixture f(sampleFile());
    Chunk child;
    chunkOpenChild(child, &f.top);
    ASSERT_TRUE(chunkFind(child, "AAAA"));
    ASSERT_TRUE(chunkFindNext(child, "AAAA"));
    char text[16] = {};
    EXPECT_EQ(chunkRead(child, text, sizeof text), 6u);
    EXPECT_STREQ(text, "second");
    ASSERT_TRUE(chunkFind(child, "AAAA")); // back to the first child, not on from "second"
    EXPECT_EQ(child.size, 9u);
    EXPECT_TRUE(chunkFindNext(child, "AAAA"));
    EXPECT_FALSE(chunkFindNext(child, "BBBB")); // it lies before the current chunk
    EXPECT_FALSE(chunkFind(child, "ZZZZ"));
    EXPECT_FILE_ERROR(chunkFindNext(child, "AAAA"), kErrorChunkNotValidForFindNext);
    chunkClose(child);

    EXPECT_TRUE(chunkFind(f.top, "ROOT")); // the current chunk itself
    EXPECT_TRUE(chunkFind(f.top, "TAIL"));
    EXPECT_FALSE(chunkFind(f.top, "ROOT")); // the search went on past it and never goes back
}

TEST(ChunkFile, MalformedSizesEndTheWalk) {
    ChunkWriter w;
    beginChunk(w, "ROOT");
    putChunk(w, "GOOD", {});
    putChunkHeader(w, "BIG ", 64); // reaches past its parent's end
    putChunk(w, "LOST", {});
    endChunk(w);
    putChunkHeader(w, "TINY", 7);
    putChunk(w, "GONE", {});
    ChunkFixture f(finishChunks(w));
    Chunk child;
    chunkOpenChild(child, &f.top);
    EXPECT_TRUE(chunkTagIs(child, "GOOD"));
    EXPECT_FALSE(chunkNext(child));
    EXPECT_EQ(tagOf(child), "BIG "); // the tag keeps what was read
    EXPECT_FALSE(chunkFind(child, "LOST"));
    chunkClose(child);
    EXPECT_FALSE(chunkNext(f.top)); // size 7 ends the top-level walk
    EXPECT_FALSE(chunkNext(f.top));
}

TEST(ChunkFile, ChildrenTileTheirParentOnlyWhenEveryByteIsAChunk) {
    {
        ChunkFixture f(sampleFile());
        EXPECT_TRUE(chunkChildrenTile(f.top));
        chunkClose(f.top);
    }
    ChunkWriter w;
    beginChunk(w, "ROOT");
    putChunk(w, "GOOD", {});
    putChunkHeader(w, "BIG ", 64);
    endChunk(w);
    beginChunk(w, "GAP ");
    putChunk(w, "GOOD", {});
    putBytes(w, "xyz", 3); // three bytes no chunk accounts for
    endChunk(w);
    putChunk(w, "LEAF", {});
    ChunkFixture f(finishChunks(w));
    EXPECT_FALSE(chunkChildrenTile(f.top));
    EXPECT_EQ(chunkRemaining(f.top), f.top.size - 8); // the parent's own reads are untouched
    ASSERT_TRUE(chunkNext(f.top));
    EXPECT_FALSE(chunkChildrenTile(f.top));
    ASSERT_TRUE(chunkNext(f.top));
    EXPECT_TRUE(chunkChildrenTile(f.top)); // an empty payload holds no children, exactly
    chunkClose(f.top);
}

TEST(ChunkFile, SizesThatWrapIn32BitsAreRejected) {
    ChunkWriter w;
    putChunk(w, "FRST", {});
    putChunkHeader(w, "WRAP", 0xFFFFFFF8u); // start + size would wrap back to the first chunk
    ChunkFixture f(finishChunks(w));
    EXPECT_FALSE(chunkNext(f.top));
    EXPECT_FALSE(chunkFind(f.top, "FRST"));
}

TEST(ChunkFile, ReadsStopAtTheChunkEnd) {
    ChunkWriter w;
    putChunk(w, "DATA", std::vector<uint8_t>(32, 7));
    putChunk(w, "NEXT", std::vector<uint8_t>(8, 9));
    ChunkFixture f(finishChunks(w));
    uint8_t buffer[100] = {};
    EXPECT_EQ(chunkRead(f.top, buffer, 100), 32u);
    EXPECT_EQ(chunkRead(f.top, buffer, 100), 0u); // never on into the next chunk
    EXPECT_EQ(buffer[0], 7);
    ASSERT_TRUE(chunkNext(f.top));
    EXPECT_EQ(chunkRemaining(f.top), 8u);
    EXPECT_EQ(chunkRead(f.top, buffer, 5), 5u);
    EXPECT_EQ(chunkRemaining(f.top), 3u);
    EXPECT_FALSE(chunkNext(f.top));
    EXPECT_EQ(chunkRead(f.top, buffer, 5), 0u);
}

TEST(ChunkFile, OpenCursorsAreCountedAndChecked) {
    ChunkFixture f(sampleFile());
    Chunk child;
    chunkOpenChild(child, &f.top);
    chunkClose(f.top);
    EXPECT_FILE_ERROR(destroyChunkFile(f.file), kErrorChunksStillOpen);
    chunkClose(child);
    chunkClose(child); // a second close does nothing
    destroyChunkFile(f.file);

    Chunk orphan;
    EXPECT_FILE_ERROR(chunkOpenChild(orphan, nullptr), kErrorCreatingChunk);
    ChunkFixture g(sampleFile());
    while (chunkNext(g.top)) {
    }
    EXPECT_FILE_ERROR(chunkOpenChild(orphan, &g.top), kErrorCreatingChunk);
}

TEST(ChunkFile, AnErrorUnwindingPastOpenCursorsLeavesTheCountBalanced) {
    ChunkFixture f(sampleFile());
    try {
        Chunk child, grandchild;
        chunkOpenChild(child, &f.top);
        chunkFind(child, "BBBB");
        chunkOpenChild(grandchild, &child);
        raiseFileError(kErrorFileDataCorrupt);
    } catch (const FileError&) {
    }
    EXPECT_EQ(f.file.openChunks, 1);
}

} // namespace
