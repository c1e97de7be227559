// bitmap_fonts.cpp: DejaVu Sans Mono hinted into the fixed cells of the game's text drawing.
#include "bitmap_fonts.h"

#include <string>

namespace {

struct CellFace {
    TextStyle style;
    int baseline;
};

// Mono faces whose advance is exactly the cell width once hinted: 13 px gives 8, 10 px gives 6.
CellFace cellFaceFor(int glyphWidth) {
    if (glyphWidth == 8)
        return {{Typeface::MonoBold, 13}, 12};
    return {{Typeface::MonoBold, 10}, 9};
}

} // namespace

std::vector<uint8_t> fontBitmap(const TypeSet& types, int glyphWidth, int glyphHeight) {
    std::vector<uint8_t> bitmap(kFontBitmapWidth * kFontBitmapHeight, 0);
    const CellFace face = cellFaceFor(glyphWidth);
    for (int code = 33; code <= 126; ++code) {
        const int cell = code - 33;
        const std::vector<uint8_t> glyph = glyphCell(types, face.style, static_cast<char32_t>(code),
                                                     glyphWidth, glyphHeight, face.baseline);
        const int left = kFontCellWidth * (cell & 15);
        const int top = kFontCellHeight * (cell >> 4);
        for (int y = 0; y < glyphHeight; ++y)
            for (int x = 0; x < glyphWidth; ++x)
                bitmap[(top + y) * kFontBitmapWidth + left + x] = glyph[y * glyphWidth + x];
    }
    return bitmap;
}

std::vector<uint8_t> fontPgm(const std::vector<uint8_t>& bitmap) {
    const std::string header = "P5\n" + std::to_string(kFontBitmapWidth) + " " +
                               std::to_string(kFontBitmapHeight) + "\n255\n";
    std::vector<uint8_t> out(header.begin(), header.end());
    out.insert(out.end(), bitmap.begin(), bitmap.end());
    return out;
}
