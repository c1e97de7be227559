// bitmap_fonts.h: the game's two PGM fonts, 16 x 6 cells of 8 x 16 grey levels.
#pragma once

#include <cstdint>
#include <vector>

#include "typeset.h"

constexpr int kFontBitmapWidth = 128;
constexpr int kFontBitmapHeight = 96;
constexpr int kFontCellWidth = 8;
constexpr int kFontCellHeight = 16;

// The glyph cells of one font: codes 33 to 126 in cells 0 to 93; cells 94 (the blank shared by
// the space and every code below 33) and 95 stay empty.
std::vector<uint8_t> fontBitmap(const TypeSet& types, int glyphWidth, int glyphHeight);
// "P5" file: header lines for magic, size and maximum, then the raw samples.
std::vector<uint8_t> fontPgm(const std::vector<uint8_t>& bitmap);
