// pak_fixture.h: a real data.pak in a temp folder, built from in-memory entries, for asset tests.
#pragma once

#include <string>
#include <vector>

#include "assets/file_error.h"
#include "assets/pak_archive.h"
#include "temp_dir.h"
#include "writers/pak_writer.h"

#include <gtest/gtest.h>

struct PakFixture {
    TempDir dir;
    PakArchive* archive = nullptr;

    PakFixture() = default;
    explicit PakFixture(const std::vector<PakWriterEntry>& entries) { open(entries); }
    ~PakFixture() { pakClose(archive); }

    void open(const std::vector<PakWriterEntry>& entries) {
        pakClose(archive);
        const std::string path = dir.file("data.pak");
        if (!writePakFile(path, entries))
            throw std::runtime_error("cannot write " + path);
        archive = pakOpen(fromUtf8(path), 1);
    }
};

// Expects the statement to raise a FileError carrying exactly this message.
#define EXPECT_FILE_ERROR(statement, expected)                                                     \
    do {                                                                                           \
        try {                                                                                      \
            statement;                                                                             \
            ADD_FAILURE() << "no FileError from " #statement;                                      \
        } catch (const FileError& error) {                                                         \
            EXPECT_EQ(toUtf8(error.message), toUtf8(expected));                                    \
        }                                                                                          \
    } while (0)
