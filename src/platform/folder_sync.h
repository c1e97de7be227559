// folder_sync.h: making a file just renamed into a folder last: the folder's entry written to
// disk on the desktop, the folder copied into the browser's persistent storage in the browser
// build (browser_storage_web.cpp).
#pragma once

#include <string>

// For the folder that holds path; failures are ignored (the file itself is complete already).
void syncFolderOf(const std::string& path);

// For a file whose loss in a crash costs little (a replay): nothing on the desktop, where the
// system writes it back in its own time without holding up a frame; the browser copies the
// folder into its persistent storage as after syncFolderOf.
void keepFolderSoon(const std::string& path);
