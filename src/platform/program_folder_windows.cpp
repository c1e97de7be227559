// program_folder_windows.cpp: the folder of the running .exe, with its trailing separator.
#include "platform/program_folder.h"

#include <windows.h>

#include <vector>

WideString programFolder() {
    // A path may be longer than MAX_PATH; the buffer grows until the whole name fits.
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return u"./";
        if (length < path.size())
            break;
        path.resize(path.size() * 2);
    }
    WideString folder(path.begin(), path.begin() + length);
    folder.erase(folder.find_last_of(u"\\/") + 1);
    return folder;
}
