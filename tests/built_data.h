// built_data.h: the data.pak that the build made beside the game, opened for tests.
#pragma once

#include <string>

struct PakArchive;

// The archive the build wrote into its build folder.
std::string builtDataPath();
// Opened read-only; empty (with a test failure) when it is missing.
PakArchive* openBuiltData();
