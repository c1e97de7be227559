// Byte streams over archive entries and loose files, and the errors they raise.
#include "assets/data_stream.h"
#include "pak_fixture.h"

#include <cstdio>

namespace {

const std::vector<uint8_t> kTen = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

TEST(DataStream, ReadsAndSeeksInsideOneEntry) {
    PakFixture pak({{u"A", {42}}, {u"B", kTen}});
    DataStream stream;
    dataStreamOpen(stream, pak.archive, u"b");
    EXPECT_EQ(dataStreamSize(stream), 10u);
    uint8_t buffer[20] = {};
    EXPECT_EQ(dataStreamSeek(stream, 3, SeekFromStart), 3u);
    EXPECT_EQ(dataStreamRead(stream, buffer, 4), 4u);
    EXPECT_EQ(buffer[0], 3);
    EXPECT_EQ(dataStreamSeek(stream, -2, SeekFromCurrent), 5u);
    EXPECT_EQ(dataStreamRead(stream, buffer, 20), 5u); // cut at the entry's end, not an error
    EXPECT_EQ(buffer[4], 9);
    EXPECT_EQ(dataStreamSeek(stream, 10, SeekFromStart), 10u);
    EXPECT_EQ(dataStreamSeek(stream, 0, SeekFromEnd), 10u);
    EXPECT_FILE_ERROR(dataStreamSeek(stream, 1, SeekFromEnd), kErrorInvalidSeekPosition);
    EXPECT_FILE_ERROR(dataStreamSeek(stream, -1, SeekFromStart), kErrorInvalidSeekPosition);
    EXPECT_FILE_ERROR(dataStreamSeek(stream, 0, 3), kErrorInvalidSeekPosition);
    EXPECT_FILE_ERROR(dataStreamWrite(stream, buffer, 1), kErrorReadOnly);
}

TEST(DataStream, MissingEntryAndClosedStreamRaise) {
    PakFixture pak({{u"A", {42}}});
    DataStream stream;
    EXPECT_FILE_ERROR(dataStreamOpen(stream, pak.archive, u"Z"), kErrorCannotOpenFile);
    uint8_t byte = 0;
    EXPECT_FILE_ERROR(dataStreamRead(stream, &byte, 1), kErrorInvalidFileHandle);
    EXPECT_FILE_ERROR(dataStreamSize(stream), kErrorInvalidFileHandle);
    EXPECT_FILE_ERROR(dataStreamSeek(stream, 0, SeekFromStart), kErrorInvalidFileHandle);
}

TEST(DataStream, LooseFilesWriteAndReportShortWrites) {
    TempDir dir;
    const std::string path = dir.file("loose.bin");
    DataStream stream;
    dataStreamOpenLoose(stream, std::fopen(path.c_str(), "w+b"));
    dataStreamWrite(stream, kTen.data(), 10);
    EXPECT_EQ(dataStreamSeek(stream, 2, SeekFromStart), 2u);
    EXPECT_EQ(dataStreamSize(stream), 10u);
    uint8_t byte = 0;
    EXPECT_EQ(dataStreamRead(stream, &byte, 1), 1u); // size leaves the position where it was
    EXPECT_EQ(byte, 2);
    EXPECT_FILE_ERROR(dataStreamSeek(stream, -5, SeekFromStart), kErrorInvalidSeekPosition);
    dataStreamClose(stream);

    dataStreamOpenLoose(stream, std::fopen(path.c_str(), "rb"));
    EXPECT_FILE_ERROR(dataStreamWrite(stream, kTen.data(), 10), kErrorWriteFailed);
}

} // namespace
