// platform_file.cpp: POSIX file descriptors behind the game's file handle.
#include "platform/platform_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool platformFileOpen(PlatformFile& file, const WideString& path, FileOpenMode mode,
                      bool* createdNew) {
    platformFileClose(file);
    const std::string native = toUtf8(path);
    bool created = false;
    if (mode == FileOpenMode::ReadExisting) {
        file.descriptor = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    } else {
        file.descriptor = ::open(native.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (file.descriptor >= 0)
            created = true;
        else if (errno == EEXIST)
            file.descriptor = ::open(native.c_str(), O_RDWR | O_CLOEXEC);
    }
    if (createdNew)
        *createdNew = created;
    return file.descriptor >= 0;
}

void platformFileClose(PlatformFile& file) {
    if (file.descriptor >= 0)
        ::close(file.descriptor);
    file.descriptor = -1;
}

bool platformFileIsOpen(const PlatformFile& file) {
    return file.descriptor >= 0;
}

bool platformFileSeek(PlatformFile& file, uint64_t position) {
    return file.descriptor >= 0 &&
           ::lseek(file.descriptor, static_cast<off_t>(position), SEEK_SET) >= 0;
}

bool platformFileRead(PlatformFile& file, void* buffer, uint32_t count, uint32_t& transferred) {
    transferred = 0;
    if (file.descriptor < 0)
        return false;
    auto* out = static_cast<uint8_t*>(buffer);
    while (transferred < count) {
        const ssize_t got = ::read(file.descriptor, out + transferred, count - transferred);
        if (got < 0 && errno == EINTR)
            continue;
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
        const ssize_t put = ::write(file.descriptor, in + transferred, count - transferred);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        transferred += static_cast<uint32_t>(put);
    }
    return true;
}

uint64_t platformFileSize(const PlatformFile& file) {
    struct stat info {};
    if (file.descriptor < 0 || ::fstat(file.descriptor, &info) != 0 || info.st_size < 0)
        return 0;
    return static_cast<uint64_t>(info.st_size);
}
