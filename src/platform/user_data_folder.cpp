// user_data_folder.cpp: the per-user data folder of the freedesktop convention.
#include "platform/user_data_folder.h"

#include <cstdlib>
#include <filesystem>

namespace {

constexpr char kFolderName[] = "drovana";

// The convention ignores a relative XDG_DATA_HOME.
std::string dataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home && home[0] != 0)
        return std::string(home) + "/.local/share";
    return {};
}

} // namespace

std::string userDataFolder() {
    const std::string base = dataHome();
    if (base.empty())
        return "./";
    const std::string folder = base + "/" + kFolderName + "/";
    // A folder that cannot be made shows up as a failed save, which play survives.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}
