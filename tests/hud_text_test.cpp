// Rectangles, glyphs and text fields on a real frame buffer with a patterned font.
#include "view/hud_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

struct HudTextFixture : ::testing::Test {
    FrameBuffers fb;
    HudTextFixture() {
        makeFrameBuffers(fb);
        // Every cell's pixel (col, row) holds 100 + cell index in its top-left pixel, else 0.
        for (int cell = 0; cell < 96; ++cell) {
            const int x0 = (cell & 15) * 8, y0 = (cell >> 4) * 16;
            fb.font8x16[y0 * 128 + x0] = static_cast<uint8_t>(100 + cell);
            fb.font6x12[y0 * 128 + x0] = static_cast<uint8_t>(100 + cell);
            fb.font8x16[(y0 + 15) * 128 + x0 + 7] = 250; // bottom-right of the 8x16 cell
        }
        fb.font8x16[kBlankCell % 16 * 8 + kBlankCell / 16 * 16 * 128] = 0; // blank stays blank
        fb.font6x12[kBlankCell % 16 * 8 + kBlankCell / 16 * 16 * 128] = 0;
        fill(0x80FFFFFF);
    }
    ~HudTextFixture() override { freeFrameBuffers(fb); }
    void fill(uint32_t colour) {
        for (int i = 0; i < kScreenPixels; ++i)
            fb.drawBuffer[i] = colour;
    }
    uint32_t at(int x, int y) { return fb.drawBuffer[frameBufferIndex(x, y)]; }
};

TEST(FontCells, MapCodesToCells) {
    EXPECT_EQ(fontCellOf('!'), 0);
    EXPECT_EQ(fontCellOf('A'), 32);
    EXPECT_EQ(fontCellOf('~'), 93);
    // Whatever the font has no glyph for: delete, space, controls, accents, the euro sign.
    for (uint32_t blank : {127u, uint32_t{' '}, 0u, 233u, 0x20ACu})
        EXPECT_EQ(fontCellOf(blank), kBlankCell) << blank;
}

TEST_F(HudTextFixture, CentredTextCoversItsCellsAndNothingElse) {
    fill(0x00C8C8C8);
    drawTextCentred(fb, 120, 160, u"Deuce");
    EXPECT_EQ(at(100, 152), 0x00EBEBEBu); // ink 100 + cell 35 over 200 halved
    EXPECT_EQ(at(108, 152), 0x00FFFFFFu); // 'e' is cell 68: 168 + 100 saturates at 255
    for (int y = 150; y < 170; ++y)
        for (int x = 98; x < 142; ++x) {
            const bool inside = x >= 100 && x <= 139 && y >= 152 && y <= 167;
            EXPECT_EQ(at(x, y) != 0x00C8C8C8u, inside) << x << "," << y;
        }
    drawTextCentred(fb, 50, 50, u"");
    EXPECT_EQ(at(50, 50), 0x00C8C8C8u);
}

TEST_F(HudTextFixture, FieldIsPaddedToWholeCells) {
    fill(0x00C8C8C8);
    drawTextField(fb, 30, 40, 20, 99, u"Ab");
    for (int x = 28; x < 58; ++x)
        EXPECT_EQ(at(x, 45) != 0x00C8C8C8u, x >= 30 && x <= 53) << x;
    EXPECT_EQ(at(30, 52) != 0x00C8C8C8u, false); // 12 rows only
    drawTextField(fb, 100, 100, 20, 12, u"");
    EXPECT_EQ(at(100, 100), 0x00C8C8C8u);
}

TEST_F(HudTextFixture, FillRectWritesTheWholeWordAndSkipsEmptySizes) {
    fillRect(fb, 5, 6, 3, 2, 0x11223344);
    EXPECT_EQ(at(5, 6), 0x11223344u);
    EXPECT_EQ(at(7, 7), 0x11223344u);
    EXPECT_EQ(at(8, 7), 0x80FFFFFFu);
    EXPECT_EQ(at(5, 8), 0x80FFFFFFu);
    fillRect(fb, 20, 20, 0, 5, 0);
    fillRect(fb, 20, 20, 5, 0, 0);
    EXPECT_EQ(at(20, 20), 0x80FFFFFFu);
}

// Random ink and frame, glyphs of both fonts at every column near the edges and along the rows,
// inside the screen and cut by each border, against the pixel rule written out per channel.
TEST_F(HudTextFixture, GlyphsAnywhereFollowThePixelRule) {
    std::mt19937 rng(3);
    for (uint32_t i = 0; i < kFontBitmapBytes; ++i) {
        const uint32_t kind = rng() % 4;
        fb.font8x16[i] = static_cast<uint8_t>(kind == 0 ? 0 : kind == 1 ? 255 : rng());
        fb.font6x12[i] = static_cast<uint8_t>(rng() % 3 == 0 ? 0 : rng());
    }
    for (int i = 0; i < kScreenPixels; ++i)
        fb.drawBuffer[i] = static_cast<uint32_t>(rng());
    std::vector<uint32_t> expected(fb.drawBuffer, fb.drawBuffer + kScreenPixels);
    const int columns[] = {-9,  -8,  -7,  -5,  -1,  0,   1,   3,  117,
                           228, 231, 232, 233, 234, 235, 239, 240};
    const int rows[] = {-17, -16, -11, -3, 0, 1, 150, 303, 304, 305, 308, 309, 319, 320};
    for (int font = 0; font < 2; ++font)
        for (int x : columns)
            for (int y : rows) {
                const uint32_t code = 20 + rng() % 120;
                const int width = font ? 6 : 8, height = font ? 12 : 16;
                const uint8_t* bitmap = font ? fb.font6x12 : fb.font8x16;
                const int cell = fontCellOf(code);
                for (int row = 0; row < height; ++row)
                    for (int column = 0; column < width; ++column) {
                        const int px = x + column, py = y + row;
                        if (px < 0 || px >= kScreenWidth || py < 0 || py >= kScreenHeight)
                            continue;
                        const uint32_t ink =
                            bitmap[((cell >> 4) * 16 + row) * 128 + (cell & 15) * 8 + column];
                        uint32_t& p = expected[frameBufferIndex(px, py)];
                        uint32_t out = p & 0xFF000000u;
                        for (int shift = 0; shift < 24; shift += 8)
                            out |= std::min(255u, ((p >> shift) & 0xFF) / 2 + ink) << shift;
                        p = out;
                    }
                if (font)
                    drawGlyph6x12(fb, x, y, code);
                else
                    drawGlyph8x16(fb, x, y, code);
                ASSERT_TRUE(std::equal(expected.begin(), expected.end(), fb.drawBuffer))
                    << font << " " << x << "," << y;
            }
}

} // namespace
