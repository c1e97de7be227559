// contact_sheets.h: every screen as the game composes it, written as PNG files for people to check.
#pragma once

#include <string>

// Reads data.pak and writes one PNG per screen state (backdrop, faces at their rectangles with
// the game's blend, sample labels in the game's font) into folder, and an overview of all of
// them. Returns the number of sheets; throws std::runtime_error on unreadable data.
int writeContactSheets(const std::string& pakPath, const std::string& folder);
