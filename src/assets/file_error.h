// file_error.h: FileError, the one error the asset readers raise, and every message it carries.
#pragma once

#include "core/wide_string.h"

// Thrown by value and never caught by the game: an asset that cannot be read ends the program.
struct FileError {
    WideString message;
};

inline constexpr const char16_t* kErrorCannotOpenFile = u"Cannot open file";
inline constexpr const char16_t* kErrorInvalidFileHandle = u"Invalid file handle";
inline constexpr const char16_t* kErrorInvalidSeekPosition = u"Invalid seek position";
inline constexpr const char16_t* kErrorWriteFailed = u"Error on write to file";
inline constexpr const char16_t* kErrorReadOnly = u"File is read-only";
inline constexpr const char16_t* kErrorChunksStillOpen = u"Chunks still open";
inline constexpr const char16_t* kErrorCreatingChunk = u"Error creating chunk";
inline constexpr const char16_t* kErrorChunkNotValidForFindNext = u"Chunk not valid for FindNext";
inline constexpr const char16_t* kErrorFileDataCorrupt = u"File data corrupt";
inline constexpr const char16_t* kErrorKeyFileCorrupt = u"KEY file corrupt";
inline constexpr const char16_t* kErrorJpegFile = u"JPEG file error";

[[noreturn]] inline void raiseFileError(const char16_t* message) {
    throw FileError{message};
}
