// file_replace_windows.cpp: the temporary file and the replace done with the calls Windows has
// for them; paths are UTF-8 on the game's side and wide on the system's.
#include "platform/file_replace.h"

#include <windows.h>

#include "core/wide_string.h"

namespace {

std::wstring widePath(const std::string& path) {
    const WideString wide = fromUtf8(path);
    return std::wstring(wide.begin(), wide.end());
}

bool writeAndFlush(HANDLE file, const void* bytes, size_t size) {
    const auto* at = static_cast<const char*>(bytes);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, at, chunk, &written, nullptr) || written == 0)
            return false;
        at += written;
        size -= written;
    }
    return FlushFileBuffers(file) != 0;
}

} // namespace

bool replaceFileWith(const std::string& path, const void* bytes, size_t size) {
    const std::wstring target = widePath(path);
    // One writer at a time per file (the single instance sees to that): a fixed name serves,
    // and one left by a kill is overwritten by the next save.
    const std::wstring temporary = target + L".new";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool written = writeAndFlush(file, bytes, size);
    const bool closed = CloseHandle(file) != 0;
    // MoveFileExW replaces in one step where rename cannot; WRITE_THROUGH returns only once the
    // new entry is on disk, which a folder's fsync gives on POSIX.
    if (written && closed &&
        MoveFileExW(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

SecondName keepUnderSecondName(const std::string& path, const std::string& kept) {
    // NTFS has hard links, but FAT and network folders do not: a copy works everywhere.
    if (CopyFileW(widePath(path).c_str(), widePath(kept).c_str(), TRUE))
        return SecondName::Kept;
    const DWORD why = GetLastError();
    return why == ERROR_FILE_EXISTS || why == ERROR_ALREADY_EXISTS ? SecondName::AlreadyTaken
                                                                   : SecondName::Failed;
}
