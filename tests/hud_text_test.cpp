// Rectangles, glyphs and text fields on a real frame buffer with a patterned font.
#include "view/hud_text.h"

#include <gtest/gtest.h>

#include <cstring>

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
    EXPECT_EQ(fontCellOf(127), kBlankCell);
    EXPECT_EQ(fontCellOf(' '), kBlankCell);
    EXPECT_EQ(fontCellOf(0), kBlankCell);
    EXPECT_EQ(fontCellOf(233), kBlankCell);
    EXPECT_EQ(fontCellOf(0x20AC), kBlankCell);
}

TEST_F(HudTextFixture, GlyphLightensInkAndHalvesTheRestKeepingAlpha) {
    drawGlyph8x16(fb, 10, 20, 'A');
    EXPECT_EQ(at(10, 20), 0x80000000u | 0xFFFFFF); // 132 + 127 saturates at 255
    EXPECT_EQ(at(11, 20), 0x807F7F7Fu);            // blank ink: halved
    EXPECT_EQ(at(17, 35), 0x80FFFFFFu);            // the bottom-right ink pixel
    EXPECT_EQ(at(18, 20), 0x80FFFFFFu);            // outside the cell
    fill(0x00000000);
    drawGlyph8x16(fb, 10, 20, 'A');
    EXPECT_EQ(at(10, 20), 0x00848484u); // 100 + 32 over black
}

TEST_F(HudTextFixture, CentredTextCoversItsCells) {
    fill(0x00C8C8C8);
    drawTextCentred(fb, 120, 160, u"Deuce");
    EXPECT_EQ(at(100, 152), 0x00EBEBEBu); // ink 100 + cell 35 over 200 halved
    EXPECT_EQ(at(108, 152), 0x00FFFFFFu); // 'e' is cell 68: 168 + 100 saturates at 255
}

TEST_F(HudTextFixture, CentredTextBounds) {
    fill(0x00C8C8C8);
    drawTextCentred(fb, 120, 160, u"Deuce");
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

TEST_F(HudTextFixture, TextOffTheScreenIsClipped) {
    drawTextCentred(fb, 236, 318, u"Overflowing text");
    drawTextField(fb, -20, -5, 400, 12, u"x");
    EXPECT_EQ(at(0, 0), 0x807F7F7Fu);
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

} // namespace
