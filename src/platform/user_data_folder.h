// user_data_folder.h: the per-user folder where the game keeps what it writes.
#pragma once

#include <string>

// $XDG_DATA_HOME/drovana/ or ~/.local/share/drovana/ (UTF-8, trailing '/'), created when missing;
// "./" when neither variable names a folder.
std::string userDataFolder();
