// program_folder.cpp
#include "platform/program_folder.h"

#include <climits>
#include <unistd.h>

WideString programFolder() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return u"./";
    std::string folder(path, static_cast<size_t>(length));
    folder.erase(folder.find_last_of('/') + 1);
    return fromUtf8(folder);
}
