// hud_text.h: the 2D primitives every screen and the match HUD draw with: filled rectangles and
// the two bitmap fonts.
#pragma once

#include <cstdint>

#include "core/wide_string.h"
#include "render/frame_buffer.h"

// A font bitmap is 16 x 6 cells of 8 x 16 grey levels, 128 bytes per row, top row first.
constexpr int kFontCellsPerRow = 16;
constexpr int kFontBitmapWidth = 128;
constexpr int kBlankCell = 94; // code 127, also every code up to the space

// The cell a character code is drawn with: codes 33..127 are cells 0..94, codes above 126 use
// code 127, and codes 0..32 share its blank cell.
int fontCellOf(uint32_t code);

// Fills w x h pixels from (x, y) downward with the whole colour word.
void fillRect(FrameBuffers& fb, int x, int y, int w, int h, uint32_t colour);

// One character cell with its top-left corner at (x, y): light grey on a darkened box.
void drawGlyph8x16(FrameBuffers& fb, int x, int y, uint32_t code);
void drawGlyph6x12(FrameBuffers& fb, int x, int y, uint32_t code);

// The 8 x 16 font centred on (cx, cy).
void drawTextCentred(FrameBuffers& fb, int cx, int cy, const WideString& text);
// The 6 x 12 font from (x, y), padded with blank cells to at least w pixels; h is unused.
void drawTextField(FrameBuffers& fb, int x, int y, int w, int h, const WideString& text);
