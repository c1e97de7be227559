// built_data.h: the data.pak that the build made beside the game, opened for tests.
#pragma once

#include <string>

struct PakArchive;

// Opened read-only; empty (with a test failure) when it is missing.
PakArchive* openBuiltData();
