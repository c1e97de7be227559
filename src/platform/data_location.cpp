// data_location.cpp: choosing the folder data.pak is read from.
#include "platform/data_location.h"

#include <filesystem>

#include "platform/program_folder.h"

#ifndef DROVANA_INSTALLED_DATA_DIR
#define DROVANA_INSTALLED_DATA_DIR ""
#endif

namespace {

constexpr char kArchiveName[] = "data.pak";

bool holdsArchive(const std::string& folder) {
    std::error_code ignored;
    return !folder.empty() && std::filesystem::is_regular_file(folder + kArchiveName, ignored);
}

// PREFIX/bin/ -> PREFIX/share/drovana/, so a package moved to another prefix still finds its data.
std::string shareFolderBeside(const std::string& programFolder) {
    std::filesystem::path bin(programFolder);
    if (!bin.has_filename())
        bin = bin.parent_path(); // drop the trailing '/'
    return (bin.parent_path() / "share" / "drovana").string() + "/";
}

std::string withSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

} // namespace

std::string chooseDataFolder(const std::string& programFolder, const std::string& installedFolder) {
    for (const std::string& folder :
         {programFolder, shareFolderBeside(programFolder), withSlash(installedFolder)})
        if (holdsArchive(folder))
            return folder;
    return programFolder;
}

WideString dataFolder() {
    return fromUtf8(chooseDataFolder(toUtf8(programFolder()), DROVANA_INSTALLED_DATA_DIR));
}
