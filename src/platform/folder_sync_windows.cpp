// folder_sync_windows.cpp: nothing to do; the replace itself writes the folder's entry through
// (file_replace_windows.cpp), and Windows has no handle on a folder to flush.
#include "platform/folder_sync.h"

void syncFolderOf(const std::string&) {}

void keepFolderSoon(const std::string&) {}
