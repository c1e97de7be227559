// browser_storage.h: the folder of players.dat kept in the browser's persistent storage
// (IndexedDB), read in before the game starts and written out after every save.
#pragma once

// Mounts the folder (made when missing) and starts reading back what the browser kept of it.
void browserStorageOpen(const char* folder);
// True once the folder holds what was kept; also when the browser keeps nothing (a private
// window): the game then starts from an empty folder and its saves last for the session.
bool browserStorageReady();
