// file_replace.cpp: the temporary file renamed over the old one, and hard links, on POSIX.
#include "platform/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool copyFileExclusive(const std::string& from, const std::string& to) {
    FILE* in = std::fopen(from.c_str(), "rb");
    if (!in)
        return false;
    const int fd = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    FILE* out = fd >= 0 ? fdopen(fd, "wb") : nullptr;
    if (!out) {
        if (fd >= 0)
            close(fd);
        std::fclose(in);
        return false;
    }
    char buffer[4096];
    bool ok = true;
    size_t n;
    while (ok && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
        ok = std::fwrite(buffer, 1, n, out) == n;
    ok = !std::ferror(in) && ok;
    ok = std::fclose(out) == 0 && ok;
    std::fclose(in);
    if (!ok)
        unlink(to.c_str());
    return ok;
}

} // namespace

bool replaceFileWith(const std::string& path, const void* bytes, size_t size) {
    std::string tempPath = path + ".XXXXXX";
    const int fd = mkstemp(tempPath.data());
    if (fd < 0)
        return false;
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(tempPath.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes, 1, size, file) == size && std::fflush(file) == 0 && fsync(fd) == 0;
    ok = std::fclose(file) == 0 && ok;
    ok = ok && std::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok)
        unlink(tempPath.c_str());
    return ok;
}

SecondName keepUnderSecondName(const std::string& path, const std::string& kept) {
    if (link(path.c_str(), kept.c_str()) == 0)
        return SecondName::Kept;
    if (errno == EEXIST)
        return SecondName::AlreadyTaken;
    // Without hard links (the browser's file system has none) only a copy keeps it, and a copy
    // that finds the name taken has met an earlier file.
    if (copyFileExclusive(path, kept))
        return SecondName::Kept;
    return access(kept.c_str(), F_OK) == 0 ? SecondName::AlreadyTaken : SecondName::Failed;
}
