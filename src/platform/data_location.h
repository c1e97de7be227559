// data_location.h: where the game finds data.pak, in the build tree or where it was installed.
#pragma once

#include <string>

#include "core/wide_string.h"

// The first of these folders that holds data.pak: the executable's own folder, then
// share/drovana beside the executable's prefix (PREFIX/bin -> PREFIX/share/drovana), then the
// data folder the build was configured to install into. The executable's folder when none
// does, so that the error names the place a player would look first. Trailing '/'.
WideString dataFolder();

// The same choice for a given executable folder and installed data folder (both with a
// trailing '/'); testable without installing.
std::string chooseDataFolder(const std::string& programFolder, const std::string& installedFolder);
