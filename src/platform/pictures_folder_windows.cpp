// pictures_folder_windows.cpp: the user's Pictures known folder, wherever it has been moved.
#include "platform/pictures_folder.h"

#include <shlobj.h>
#include <windows.h>

#include "core/wide_string.h"

std::string userPicturesFolder() {
    PWSTR path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_CREATE, nullptr, &path) == S_OK) {
        const std::wstring wide(path);
        folder = toUtf8(WideString(wide.begin(), wide.end()));
    }
    CoTaskMemFree(path);
    return folder;
}
