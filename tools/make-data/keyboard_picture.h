// keyboard_picture.h: the profile editor's on-screen keyboard, "Teclado.jpg" and its mask.
#pragma once

#include "data_set.h"
#include "typeset.h"

// The style of the characters on the keys: the same hinted face as the game's 6 x 12 font.
constexpr TextStyle kKeyGlyphStyle = {Typeface::MonoBold, 10};
constexpr int kKeyGlyphWidth = 6;
constexpr int kKeyGlyphHeight = 12;
constexpr int kKeyGlyphBaseline = 9;

// Top-left corner, inside the keyboard picture, of the 6 x 12 glyph box on the key at a cell.
struct GlyphOrigin {
    int x, y;
};
GlyphOrigin keyGlyphOrigin(int column, int row);

void addKeyboard(DataSet& data, const TypeSet& types);
