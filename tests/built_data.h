// built_data.h: the data.pak that the build made beside the game, opened for tests.
#pragma once

#include <string>

struct PakArchive;

// The archive the build wrote into its build folder.
std::string builtDataPath();
// Opened read-only; null (with a test failure) when it is missing.
PakArchive* openBuiltData();
// Runs the data builder into `path`; true when it succeeded.
bool runDataBuilder(const std::string& path);
