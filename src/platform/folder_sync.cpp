// folder_sync.cpp: a folder's entries written to disk after a rename.
#include "platform/folder_sync.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

} // namespace

// The rename is only durable once the folder's entry is on disk too.
void syncFolderOf(const std::string& path) {
    const int fd = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

void keepFolderSoon(const std::string&) {}
