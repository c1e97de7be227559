// pak_fixture.h: a real data.pak in a temp folder, built from in-memory entries or raw bytes, for
// asset tests; the built data.pak held the same way.
#pragma once

#include <string>
#include <vector>

#include "assets/file_error.h"
#include "assets/key_animation.h"
#include "assets/model.h"
#include "assets/pak_archive.h"
#include "owned.h"
#include "temp_dir.h"
#include "writers/pak_writer.h"

#include <gtest/gtest.h>

using OwnedPak = Owned<PakArchive, pakClose>;
using OwnedModel = Owned<Model, freeModel>;
using OwnedAnimation = Owned<KeyAnimation, freeKeyAnimation>;

struct PakFixture {
    TempDir dir;
    PakArchive* archive = nullptr;

    PakFixture() = default;
    explicit PakFixture(const std::vector<PakWriterEntry>& entries) { open(entries); }
    ~PakFixture() { pakClose(archive); }
    PakFixture(const PakFixture&) = delete;
    PakFixture& operator=(const PakFixture&) = delete;

    // Each of these closes the archive held before, then writes the file anew.
    void open(const std::vector<PakWriterEntry>& entries) {
        close();
        if (!writePakFile(path(), entries))
            throw std::runtime_error("cannot write " + path());
        openPath(path());
    }
    void openBytes(const std::vector<uint8_t>& bytes) {
        close();
        if (!writeBytesFile(path(), bytes))
            throw std::runtime_error("cannot write " + path());
        openPath(path());
    }
    void openPath(const std::string& file, uint8_t readOnly = 1) {
        close();
        archive = pakOpen(fromUtf8(file), readOnly);
    }
    void close() {
        pakClose(archive);
        archive = nullptr;
    }
    std::string path() const { return dir.file("data.pak"); }
};

inline std::vector<uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

// Overwrites four bytes of a file image with a little-endian value, to damage a count or size.
inline void putLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Expects the statement to raise a FileError carrying exactly this message.
#define EXPECT_FILE_ERROR(statement, expected)                                                     \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no FileError from " #statement;                                      \
        } catch (const FileError& raised) {                                                        \
            EXPECT_EQ(toUtf8(raised.message), toUtf8(expected));                                   \
        }                                                                                          \
    } while (0)

// Expects the statement to raise a FileError whose whole text, file names included, is this.
#define EXPECT_FILE_ERROR_TEXT(statement, expected)                                                \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no FileError from " #statement;                                      \
        } catch (const FileError& raised) {                                                        \
            EXPECT_EQ(toUtf8(fileErrorText(raised)), expected);                                    \
        }                                                                                          \
    } while (0)
