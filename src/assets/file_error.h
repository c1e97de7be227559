// file_error.h: FileError, the one error the asset readers raise, and every message it carries.
#pragma once

#include "core/wide_string.h"

// Thrown by value; an asset that cannot be read ends the program. The message is one of the
// fixed texts below; the detail says where: "Tenista_Saque.key in /usr/share/drovana/data.pak",
// or what is wrong with the archive itself. Show both with fileErrorText.
struct FileError {
    WideString message;
    WideString detail = {};
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

[[noreturn]] inline void raiseFileError(const char16_t* message, const WideString& detail) {
    throw FileError{message, detail};
}

// "KEY file corrupt: Tenista_Saque.key in /usr/share/drovana/data.pak"; the bare message when
// nothing more is known.
inline WideString fileErrorText(const FileError& error) {
    return error.detail.empty() ? error.message : error.message + u": " + error.detail;
}

// Runs load(); a FileError leaving it without a detail gets this one. The innermost reader that
// knows the entry names it, so an outer one never overwrites it.
template <typename Load>
auto withErrorDetail(const WideString& detail, Load load) -> decltype(load()) {
    try {
        return load();
    } catch (FileError& error) {
        if (error.detail.empty())
            error.detail = detail;
        throw;
    }
}
