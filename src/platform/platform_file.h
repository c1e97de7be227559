// platform_file.h: a file handle with one shared position, standing in for the handheld's files.
#pragma once

#include <cstdint>

#include "core/wide_string.h"

struct PlatformFile {
    int descriptor = -1;
};

enum class FileOpenMode {
    ReadExisting,    // read access, the file must exist
    ReadWriteAlways, // read and write access, created when missing
};

// Returns false when the file cannot be opened. createdNew (optional) tells whether
// ReadWriteAlways made a new file.
bool platformFileOpen(PlatformFile& file, const WideString& path, FileOpenMode mode,
                      bool* createdNew = nullptr);
void platformFileClose(PlatformFile& file);
bool platformFileIsOpen(const PlatformFile& file);

bool platformFileSeek(PlatformFile& file, uint64_t position);
// The number of bytes read; a failed read is 0 bytes and false, never success.
bool platformFileRead(PlatformFile& file, void* buffer, uint32_t count, uint32_t& transferred);
bool platformFileWrite(PlatformFile& file, const void* buffer, uint32_t count,
                       uint32_t& transferred);
// The file's size in bytes, or 0 when it cannot be told.
uint64_t platformFileSize(const PlatformFile& file);
