// platform_file_windows.cpp: the C library's descriptors behind the game's file handle on
// Windows, opened by wide path and always in binary mode (the default there translates line
// ends).
#include "platform/platform_file.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>

namespace {

const wchar_t* widePath(const WideString& path) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows paths are UTF-16");
    return reinterpret_cast<const wchar_t*>(path.c_str());
}

} // namespace

bool platformFileOpen(PlatformFile& file, const WideString& path, FileOpenMode mode,
                      bool* createdNew) {
    platformFileClose(file);
    bool created = false;
    if (mode == FileOpenMode::ReadExisting) {
        file.descriptor = ::_wopen(widePath(path), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    } else {
        file.descriptor =
            ::_wopen(widePath(path), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                     _S_IREAD | _S_IWRITE);
        if (file.descriptor >= 0)
            created = true;
        else if (errno == EEXIST)
            file.descriptor = ::_wopen(widePath(path), _O_RDWR | _O_BINARY | _O_NOINHERIT);
    }
    if (createdNew)
        *createdNew = created;
    return file.descriptor >= 0;
}

void platformFileClose(PlatformFile& file) {
    if (file.descriptor >= 0)
        ::_close(file.descriptor);
    file.descriptor = -1;
}

bool platformFileIsOpen(const PlatformFile& file) {
    return file.descriptor >= 0;
}

bool platformFileSeek(PlatformFile& file, uint64_t position) {
    return file.descriptor >= 0 &&
           ::_lseeki64(file.descriptor, static_cast<__int64>(position), SEEK_SET) >= 0;
}

bool platformFileRead(PlatformFile& file, void* buffer, uint32_t count, uint32_t& transferred) {
    transferred = 0;
    if (file.descriptor < 0)
        return false;
    auto* out = static_cast<uint8_t*>(buffer);
    while (transferred < count) {
        const int got = ::_read(file.descriptor, out + transferred, count - transferred);
        if (got < 0) {
            transferred = 0;
            return false;
        }
        if (got == 0)
            break;
        transferred += static_cast<uint32_t>(got);
    }
    return true;
}

bool platformFileWrite(PlatformFile& file, const void* buffer, uint32_t count,
                       uint32_t& transferred) {
    transferred = 0;
    if (file.descriptor < 0)
        return false;
    const auto* in = static_cast<const uint8_t*>(buffer);
    while (transferred < count) {
        const int put = ::_write(file.descriptor, in + transferred, count - transferred);
        if (put <= 0)
            return false;
        transferred += static_cast<uint32_t>(put);
    }
    return true;
}

uint64_t platformFileSize(const PlatformFile& file) {
    struct _stati64 info {};
    if (file.descriptor < 0 || ::_fstati64(file.descriptor, &info) != 0 || info.st_size < 0)
        return 0;
    return static_cast<uint64_t>(info.st_size);
}
