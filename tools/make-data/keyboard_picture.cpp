// keyboard_picture.cpp: key caps on the 14.5-pixel grid the stylus handler divides the keyboard by.
#include "keyboard_picture.h"

#include <cmath>

#include "button_faces.h"
#include "frontend/keyboard_layout.h"
#include "house_style.h"

namespace {

float cellLeft(int column) {
    return static_cast<float>(kKeyboardGridLeft) +
           static_cast<float>(column * kKeyboardCellHalfPixels) / 2.0f;
}
float cellTop(int row) {
    return static_cast<float>(kKeyboardGridTop) +
           static_cast<float>(row * kKeyboardCellHalfPixels) / 2.0f;
}
constexpr float kCell = static_cast<float>(kKeyboardCellHalfPixels) / 2.0f;

Path keyCapPath(int firstColumn, int lastColumn, int row) {
    const float left = cellLeft(firstColumn) + 0.75f;
    const float right =
        std::min(cellLeft(lastColumn) + kCell - 0.75f, static_cast<float>(kKeyboardWidth) - 1.5f);
    return roundedRectPath(left, cellTop(row) + 0.75f, right - left, kCell - 1.5f, 2.5f);
}

void drawKeyCap(Canvas& canvas, int firstColumn, int lastColumn, int row, bool accent) {
    const float top = cellTop(row);
    fillPath(canvas, keyCapPath(firstColumn, lastColumn, row),
             accent ? verticalGradient(top, palette::kBall, top + kCell, palette::kBallShade)
                    : verticalGradient(top, palette::kWhite, top + kCell, palette::kMist));
}

void drawKeyGlyph(Canvas& canvas, const TypeSet& types, char32_t code, int column, int row) {
    const std::vector<uint8_t> glyph =
        glyphCell(types, kKeyGlyphStyle, code, kKeyGlyphWidth, kKeyGlyphHeight, kKeyGlyphBaseline);
    const GlyphOrigin origin = keyGlyphOrigin(column, row);
    for (int y = 0; y < kKeyGlyphHeight; ++y)
        for (int x = 0; x < kKeyGlyphWidth; ++x)
            blendPixel(canvas, origin.x + x, origin.y + y, palette::kInk,
                       glyph[y * kKeyGlyphWidth + x] / 255.0f);
}

} // namespace

GlyphOrigin keyGlyphOrigin(int column, int row) {
    // Centres the 6-pixel glyph box across the key and the capitals (rows 2 to 9) down it.
    return {static_cast<int>(std::lround(cellLeft(column) + (kCell - kKeyGlyphWidth) / 2.0f)),
            static_cast<int>(std::lround(cellTop(row) + kCell / 2.0f - 5.5f))};
}

void addKeyboard(DataSet& data, const TypeSet& types) {
    Canvas canvas = makeCanvas(kKeyboardWidth, kKeyboardHeight, palette::kDeep);
    const Path panel =
        roundedRectPath(0.5f, 0.5f, kKeyboardWidth - 1.0f, kKeyboardHeight - 1.0f, 6.0f);
    fillPath(canvas, panel, verticalGradient(0, palette::kNavy, kKeyboardHeight, palette::kNight));
    fillPath(
        canvas,
        roundedFramePath(0.5f, 0.5f, kKeyboardWidth - 1.0f, kKeyboardHeight - 1.0f, 6.0f, 1.0f),
        solid(palette::kSteel), 0.6f);
    for (int row = 0; row < kKeyboardCharacterRows; ++row)
        for (int column = 0; column < kKeyboardColumns; ++column) {
            const KeyboardKey key = keyboardKeyAtCell(column, row);
            if (key.character == u' ')
                continue; // the space bar below covers the cells of codes 127 and 128
            drawKeyCap(canvas, column, column, row, false);
            drawKeyGlyph(canvas, types, key.character, column, row);
        }
    // Space bar: the last two cells of the last character row.
    const int spaceRow = kKeyboardCharacterRows - 1;
    drawKeyCap(canvas, 14, 15, spaceRow, false);
    {
        const float left = cellLeft(14) + 7.0f, right = cellLeft(14) + 20.0f;
        const float y = cellTop(spaceRow) + 9.5f;
        fillPath(canvas, rectPath(left, y, right - left, 1.2f), solid(palette::kInk));
        fillPath(canvas, rectPath(left, y - 3.0f, 1.2f, 3.0f), solid(palette::kInk));
        fillPath(canvas, rectPath(right - 1.2f, y - 3.0f, 1.2f, 3.0f), solid(palette::kInk));
    }
    // Command row: done on columns 0..2, delete on columns 13..15.
    drawKeyCap(canvas, 0, 2, kKeyboardCommandRow, true);
    drawTextInBox(canvas, types, {Typeface::SansBold, 9}, "Done", cellLeft(0),
                  cellTop(kKeyboardCommandRow), 3 * kCell, kCell, solid(palette::kInk));
    drawKeyCap(canvas, 13, 15, kKeyboardCommandRow, false);
    {
        // A backspace symbol: a key shape pointing left with a cross.
        const float x = cellLeft(13) + 12.0f, y = cellTop(kKeyboardCommandRow) + 3.5f;
        const Path outline = polygonPath({{x, y + 3.75f},
                                          {x + 4.0f, y},
                                          {x + 16.0f, y},
                                          {x + 16.0f, y + 7.5f},
                                          {x + 4.0f, y + 7.5f}});
        fillPath(canvas, outline, solid(palette::kInk));
        fillPath(canvas, linePath({x + 7.0f, y + 1.8f}, {x + 11.5f, y + 5.7f}, 1.2f),
                 solid(palette::kWhite));
        fillPath(canvas, linePath({x + 11.5f, y + 1.8f}, {x + 7.0f, y + 5.7f}, 1.2f),
                 solid(palette::kWhite));
    }
    addPicture(data, buttonPictureName("Teclado.jpg"), canvas);
    addCoverageMask(data, buttonPictureName("Teclado_m.jpg"),
                    pathCoverage(kKeyboardWidth, kKeyboardHeight, panel), kKeyboardWidth,
                    kKeyboardHeight);
}
