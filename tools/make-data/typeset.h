// typeset.h: words drawn with FreeType from the DejaVu faces, hinted for small screens.
#pragma once

#include <string>

#include "canvas.h"

enum class Typeface {
    Sans,
    SansBold,
    CondensedBold,
    BoldOblique,
    Mono,
    MonoBold,
    SerifBold,
    CondensedBoldOblique,
};
constexpr int kTypefaceCount = 8;

struct TypeSetData;
// The FreeType library with every face open; one per builder run.
struct TypeSet {
    TypeSetData* data = nullptr;
};

// Throws std::runtime_error when a face file cannot be opened.
TypeSet makeTypeSet();
void destroyTypeSet(TypeSet& types);

struct TextStyle {
    Typeface face;
    int pixelSize;
};

enum class Align { Left, Centre, Right };

// Advance width of text (UTF-8) in whole pixels, as drawn.
int textWidth(const TypeSet& types, TextStyle style, const std::string& text);
// Pixels from the baseline to the top of capital letters.
int capHeight(const TypeSet& types, TextStyle style);

// Glyph coverage (0..1) of text laid out from pen x, baseline y; x is the left end, the centre
// or the right end by align.
std::vector<float> textCoverage(const TypeSet& types, TextStyle style, const std::string& text,
                                int width, int height, float x, int baseline, Align align);
void drawText(Canvas& canvas, const TypeSet& types, TextStyle style, const std::string& text,
              float x, int baseline, const Paint& paint, Align align = Align::Left,
              float opacity = 1.0f);
// Text centred in a box, its capitals centred vertically; too wide a text is set smaller.
void drawTextInBox(Canvas& canvas, const TypeSet& types, TextStyle style, const std::string& text,
                   float left, float top, float width, float height, const Paint& paint);
// Text with a dark drop shadow one pixel down and right, for words over pictures.
void drawShadowedText(Canvas& canvas, const TypeSet& types, TextStyle style,
                      const std::string& text, float x, int baseline, const Paint& paint,
                      Colour shadow, Align align = Align::Left);

// Grey levels (0..255) of one character hinted into a cell of cellWidth x cellHeight with the
// baseline at row baseline; ink that would leave the cell is cut off.
std::vector<uint8_t> glyphCell(const TypeSet& types, TextStyle style, char32_t code, int cellWidth,
                               int cellHeight, int baseline);
