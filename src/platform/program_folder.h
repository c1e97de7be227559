// program_folder.h: the folder the game's executable lies in, where data.pak and players.dat are.
#pragma once

#include "core/wide_string.h"

// The executable's folder with a trailing '/', or "./" when it cannot be found.
WideString programFolder();
