// typeset.cpp: FreeType glyph rendering and simple left-to-right layout.
#include "typeset.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

struct TypeSetData {
    FT_Library library = nullptr;
    FT_Face faces[kTypefaceCount] = {};
};

namespace {

constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr const char* kFaceFiles[kTypefaceCount] = {"DejaVuSans.ttf",
                                                    "DejaVuSans-Bold.ttf",
                                                    "DejaVuSansCondensed-Bold.ttf",
                                                    "DejaVuSans-BoldOblique.ttf",
                                                    "DejaVuSansMono.ttf",
                                                    "DejaVuSansMono-Bold.ttf",
                                                    "DejaVuSerif-Bold.ttf",
                                                    "DejaVuSansCondensed-BoldOblique.ttf"};

// Light hinting snaps heights to the pixel grid but keeps the designed widths, which reads best
// at 9 to 20 pixels; the fonts of the game use full hinting to fill their cells crisply.
constexpr FT_Int32 kLoadFlags = FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT;

FT_Face faceFor(const TypeSet& types, TextStyle style) {
    FT_Face face = types.data->faces[static_cast<int>(style.face)];
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(style.pixelSize));
    return face;
}

std::u32string decodeUtf8(const std::string& text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : 4;
        char32_t c = length == 1   ? b
                     : length == 2 ? (b & 0x1F)
                     : length == 3 ? (b & 0x0F)
                                   : (b & 0x07);
        for (int k = 1; k < length && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += c;
        i += static_cast<size_t>(length);
    }
    return out;
}

void loadGlyph(FT_Face face, char32_t code, FT_Int32 flags) {
    if (FT_Load_Char(face, code, flags) != 0)
        throw std::runtime_error("FreeType cannot render a character");
}

// Blends the rendered glyph bitmap into coverage with its origin at pen (x, baseline).
void addGlyph(std::vector<float>& coverage, int width, int height, FT_GlyphSlot slot, int penX,
              int baseline) {
    const FT_Bitmap& bitmap = slot->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row)
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int x = penX + slot->bitmap_left + static_cast<int>(col);
            const int y = baseline - slot->bitmap_top + static_cast<int>(row);
            if (x < 0 || y < 0 || x >= width || y >= height)
                continue;
            const float ink =
                bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col] / 255.0f;
            float& c = coverage[static_cast<size_t>(y) * width + x];
            c = std::min(1.0f, c + ink * (1.0f - c));
        }
}

} // namespace

TypeSet makeTypeSet() {
    TypeSet types{new TypeSetData};
    if (FT_Init_FreeType(&types.data->library) != 0) {
        destroyTypeSet(types);
        throw std::runtime_error("FreeType does not start");
    }
    for (int i = 0; i < kTypefaceCount; ++i) {
        const std::string path = std::string(kFontFolder) + kFaceFiles[i];
        if (FT_New_Face(types.data->library, path.c_str(), 0, &types.data->faces[i]) != 0) {
            destroyTypeSet(types);
            throw std::runtime_error("cannot open the font " + path +
                                     " (packages fonts-dejavu-core and fonts-dejavu-extra)");
        }
    }
    return types;
}

void destroyTypeSet(TypeSet& types) {
    if (!types.data)
        return;
    for (FT_Face face : types.data->faces)
        if (face)
            FT_Done_Face(face);
    if (types.data->library)
        FT_Done_FreeType(types.data->library);
    delete types.data;
    types.data = nullptr;
}

int textWidth(const TypeSet& types, TextStyle style, const std::string& text) {
    FT_Face face = faceFor(types, style);
    long advance = 0;
    for (char32_t c : decodeUtf8(text)) {
        loadGlyph(face, c, kLoadFlags);
        advance += face->glyph->advance.x;
    }
    return static_cast<int>((advance + 32) >> 6);
}

int capHeight(const TypeSet& types, TextStyle style) {
    FT_Face face = faceFor(types, style);
    loadGlyph(face, U'H', kLoadFlags);
    return face->glyph->bitmap_top;
}

std::vector<float> textCoverage(const TypeSet& types, TextStyle style, const std::string& text,
                                int width, int height, float x, int baseline, Align align) {
    std::vector<float> coverage(static_cast<size_t>(width) * height, 0.0f);
    const int total = textWidth(types, style, text);
    float start = x;
    if (align == Align::Centre)
        start = x - static_cast<float>(total) / 2.0f;
    else if (align == Align::Right)
        start = x - static_cast<float>(total);
    FT_Face face = faceFor(types, style);
    // Pen positions in 26.6 from a whole-pixel start keep every stem on the grid.
    long pen = static_cast<long>(std::lround(start)) * 64;
    for (char32_t c : decodeUtf8(text)) {
        loadGlyph(face, c, kLoadFlags);
        addGlyph(coverage, width, height, face->glyph, static_cast<int>((pen + 32) >> 6), baseline);
        pen += face->glyph->advance.x;
    }
    return coverage;
}

void drawText(Canvas& canvas, const TypeSet& types, TextStyle style, const std::string& text,
              float x, int baseline, const Paint& paint, Align align, float opacity) {
    blendCoverage(canvas,
                  textCoverage(types, style, text, canvas.width, canvas.height, x, baseline, align),
                  paint, opacity);
}

void drawTextInBox(Canvas& canvas, const TypeSet& types, TextStyle style, const std::string& text,
                   float left, float top, float width, float height, const Paint& paint) {
    // Long words shrink until they fit, keeping two pixels of air on each side.
    while (style.pixelSize > 7 && static_cast<float>(textWidth(types, style, text)) > width - 4.0f)
        --style.pixelSize;
    const int cap = capHeight(types, style);
    const int baseline =
        static_cast<int>(std::lround(top + (height + static_cast<float>(cap)) / 2.0f));
    drawText(canvas, types, style, text, left + width / 2.0f, baseline, paint, Align::Centre);
}

void drawShadowedText(Canvas& canvas, const TypeSet& types, TextStyle style,
                      const std::string& text, float x, int baseline, const Paint& paint,
                      Colour shadow, Align align) {
    drawText(canvas, types, style, text, x + 1.0f, baseline + 1, solid(shadow), align, 0.75f);
    drawText(canvas, types, style, text, x, baseline, paint, align);
}

std::vector<uint8_t> glyphCell(const TypeSet& types, TextStyle style, char32_t code, int cellWidth,
                               int cellHeight, int baseline) {
    FT_Face face = faceFor(types, style);
    loadGlyph(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL);
    std::vector<float> coverage(static_cast<size_t>(cellWidth) * cellHeight, 0.0f);
    addGlyph(coverage, cellWidth, cellHeight, face->glyph, 0, baseline);
    std::vector<uint8_t> out(coverage.size());
    for (size_t i = 0; i < coverage.size(); ++i)
        out[i] = static_cast<uint8_t>(std::lround(coverage[i] * 255.0f));
    return out;
}
