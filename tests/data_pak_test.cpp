// The built data.pak against what the screen tables, the HUD and the fonts ask for.
#include "assets/asset_names.h"
#include "assets/file_error.h"
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/jpeg_decoder.h"
#include "assets/pak_archive.h"
#include "assets/sound_set.h"
#include "built_data.h"
#include "frontend/keyboard_layout.h"
#include "frontend/screen_assets.h"
#include "frontend/screen_tables.h"
#include "pak_fixture.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

namespace {

// A picture decoded by the game's own loader, top row first.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels; // R in the low byte, alpha in the top byte
    uint8_t red(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFF; }
    uint8_t alpha(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] >> 24; }
};

struct DataPak : ::testing::Test {
    OwnedPak pak{openBuiltData()};
    Owned<JpegDecoder, destroyJpegDecoder> decoder{makeJpegDecoder()};
    // The face as the screen entry loads it; FileError when it does not fit the button.
    Picture face(const ScreenRect& r, const FaceImage& image) const {
        Owned<ImageButton, freeImageButton> button{
            makeImageButton(r.left, r.top, r.width, r.height)};
        loadFace(decoder.get(), button.get(), pak.get(), 0, buttonEntryName(image.image),
                 image.mask ? buttonEntryName(image.mask).c_str() : nullptr);
        return {r.width, r.height, {button->face[0], button->face[0] + r.width * r.height}};
    }
    static std::string failure(const FileError& e) { return toUtf8(e.message); }
};

// The font's 128 x 96 grey levels as the game's loader reads them (it refuses any other size).
std::vector<uint8_t> fontSamples(PakArchive* pak, const WideString& name) {
    std::vector<uint8_t> font(kFontBitmapBytes);
    loadFont(pak, name, font.data());
    return font;
}

// Grey levels of font cell i, 8 x 16.
std::vector<int> fontCell(const std::vector<uint8_t>& font, int cell) {
    std::vector<int> out;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            out.push_back(font[(16 * (cell >> 4) + y) * 128 + 8 * (cell & 15) + x]);
    return out;
}

TEST_F(DataPak, HoldsEveryNameTheGameAsksForAndNothingElse) {
    ASSERT_GT(pak->entryCount, 0);
    std::set<WideString> wanted = {kFont8x16Name, kFont6x12Name};
    for (const ScreenAsset& asset : screenAssets())
        wanted.insert(asset.name);
    for (const char16_t* sound : kSoundFileNames)
        wanted.insert(soundEntryName(sound));
    wanted.insert(kPlayerModelName);
    for (const char16_t* animation : kAnimationFileNames)
        wanted.insert(modelEntryName(animation));
    for (const WideString& name : wanted)
        EXPECT_GE(pakFind(pak.get(), name), 0) << toUtf8(name);
    // Everything in the archive is asked for by the game, spelt as asked.
    EXPECT_EQ(static_cast<size_t>(pak->entryCount), wanted.size());
    for (int32_t i = 0; i < pak->entryCount; ++i) {
        const WideString name = pakEntryName(pak->directory[static_cast<size_t>(i)]);
        EXPECT_EQ(name.rfind(kDataFolder, 0), 0u) << toUtf8(name);
        EXPECT_TRUE(wanted.count(name)) << "unrequested entry " << toUtf8(name);
    }
}

// The game's decoder refuses a picture whose size or number of components differs from what it
// is loaded into: colour faces and backdrops must have three, masks one.
TEST_F(DataPak, EveryFaceAndMaskLoadsAtItsButtonsSize) {
    int checked = 0;
    for (const ScreenLayout& screen : allScreenLayouts())
        for (const ButtonLayout& button : screen.buttons)
            forEachFaceImage(button, [&](const FaceImage& image) {
                try {
                    const Picture p = face(button.rect, image);
                    if (!image.mask) {
                        EXPECT_EQ(p.alpha(0, 0), 255);
                    }
                    ++checked;
                } catch (const FileError& e) {
                    ADD_FAILURE() << toUtf8(image.image) << ": " << failure(e);
                }
            });
    EXPECT_GT(checked, 100);
}

// The decoder takes only 240 x 320 pictures of three components; every pixel must then be written,
// opaque, and somewhere show a colour rather than grey stored in three channels.
TEST_F(DataPak, BackdropsAreFullScreenColourPictures) {
    int backdrops = 0;
    for (const ScreenAsset& asset : screenAssets()) {
        if (asset.use != AssetUse::Backdrop)
            continue;
        ++backdrops;
        std::vector<uint32_t> backdrop(kScreenPixels, 0);
        try {
            loadBackground(decoder.get(), pak.get(), asset.name, backdrop.data());
        } catch (const FileError& e) {
            ADD_FAILURE() << toUtf8(asset.name) << ": " << failure(e);
            continue;
        }
        EXPECT_TRUE(std::all_of(backdrop.begin(), backdrop.end(), [](uint32_t p) {
            return p >> 24 == 255;
        })) << toUtf8(asset.name);
        EXPECT_TRUE(std::any_of(backdrop.begin(), backdrop.end(), [](uint32_t p) {
            const int r = p & 0xFF, g = p >> 8 & 0xFF, b = p >> 16 & 0xFF;
            return std::max({r, g, b}) - std::min({r, g, b}) > 32;
        })) << toUtf8(asset.name);
    }
    EXPECT_GT(backdrops, 5);
}

TEST_F(DataPak, MasksAreCleanShapesOpaqueInsideAndClearOutside) {
    // The shared button mask cuts the corners away and shows the middle.
    const Picture back = face({0, 0, 44, 28}, {u"Back0.jpg", u"Button0_m.jpg"});
    EXPECT_LT(back.alpha(0, 0), 8);
    EXPECT_GT(back.alpha(22, 14), 247);
    const Picture keyboard = face({0, 0, 238, 116}, {u"Teclado.jpg", u"Teclado_m.jpg"});
    EXPECT_LT(keyboard.alpha(0, 0), 8);
    EXPECT_GT(keyboard.alpha(119, 58), 247);
    // A mask that does not match its face's button is refused.
    EXPECT_THROW(face({0, 0, 44, 28}, {u"Back0.jpg", u"Left0_m.jpg"}), FileError);
}

TEST_F(DataPak, FontsHaveOneDistinctGlyphPerPrintableCodeInTheirCells) {
    for (const auto& [name, width, height] :
         {std::tuple{kFont8x16Name, 8, 16}, std::tuple{kFont6x12Name, 6, 12}}) {
        const std::vector<uint8_t> font = fontSamples(pak.get(), name);
        std::set<std::vector<int>> glyphs;
        for (int cell = 0; cell < 96; ++cell) {
            const std::vector<int> g = fontCell(font, cell);
            int ink = 0, outside = 0;
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 8; ++x) {
                    const int v = g[y * 8 + x];
                    ink += v > 96;
                    if (x >= width || y >= height)
                        outside += v;
                }
            EXPECT_EQ(outside, 0) << "cell " << cell << " leaves its " << width << " x " << height;
            if (cell >= 94) {
                EXPECT_EQ(ink, 0) << "cell " << cell
                                  << " must stay blank (space and codes below 33)";
                continue;
            }
            EXPECT_GT(ink, 0) << "no ink for code " << cell + 33;
            glyphs.insert(g);
        }
        EXPECT_EQ(glyphs.size(), 94u);
    }
}

// Normalised correlation of a glyph's grey levels with the ink (darkness) of a picture patch.
double inkCorrelation(const Picture& p, int left, int top, const std::vector<int>& glyph,
                      int glyphWidth, int glyphHeight) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    const int n = glyphWidth * glyphHeight;
    for (int y = 0; y < glyphHeight; ++y)
        for (int x = 0; x < glyphWidth; ++x) {
            const uint32_t px = p.pixels[static_cast<size_t>(top + y) * p.width + left + x];
            const double ink =
                255.0 - ((px & 0xFF) + ((px >> 8) & 0xFF) + ((px >> 16) & 0xFF)) / 3.0;
            const double g = glyph[y * 8 + x];
            sa += ink;
            sb += g;
            saa += ink * ink;
            sbb += g * g;
            sab += ink * g;
        }
    const double cov = sab - sa * sb / n;
    const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    return va <= 0 || vb <= 0 ? -1.0 : cov / std::sqrt(va * vb);
}

TEST_F(DataPak, EveryKeyShowsTheCharacterThatATapOnItTypes) {
    const Picture keyboard =
        face({2, 98, kKeyboardWidth, kKeyboardHeight}, {u"Teclado.jpg", nullptr});
    const std::vector<uint8_t> font = fontSamples(pak.get(), kFont6x12Name);
    for (int row = 0; row < kKeyboardCharacterRows; ++row)
        for (int column = 0; column < kKeyboardColumns; ++column) {
            const KeyboardKey key = keyboardKeyAtCell(column, row);
            if (key.character == u' ')
                continue;
            // The tap area of the cell, by the stylus handler's own arithmetic.
            int x0 = kKeyboardWidth, x1 = -1, y0 = kKeyboardHeight, y1 = -1;
            for (int x = 0; x < kKeyboardWidth; ++x)
                if (keyboardColumn(x, 0) == column)
                    x0 = std::min(x0, x), x1 = std::max(x1, x);
            for (int y = 0; y < kKeyboardHeight; ++y)
                if (keyboardRow(y, 0) == row)
                    y0 = std::min(y0, y), y1 = std::max(y1, y);
            // Which glyph of the game's own font best explains the ink in that area?
            int best = -1;
            double bestScore = -2.0;
            for (int cell = 0; cell < 94; ++cell) {
                const std::vector<int> glyph = fontCell(font, cell);
                for (int top = y0; top + 12 <= y1 + 1; ++top)
                    for (int left = x0; left + 6 <= std::min(x1 + 1, kKeyboardWidth); ++left) {
                        const double s = inkCorrelation(keyboard, left, top, glyph, 6, 12);
                        if (s > bestScore)
                            bestScore = s, best = cell;
                    }
            }
            EXPECT_EQ(best + 33, static_cast<int>(key.character))
                << "column " << column << " row " << row << " shows '"
                << static_cast<char>(best + 33) << "' but types '"
                << static_cast<char>(key.character) << "'";
            EXPECT_GT(bestScore, 0.8) << "column " << column << " row " << row;
        }
}

} // namespace
