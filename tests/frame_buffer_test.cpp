// Frame buffers: start-up contents, the buffer swap and the dirty copy to display memory.
#include "render/frame_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "render/rasteriser.h"
#include "render/render_context.h"
#include "render_fixture.h"

namespace {

// Display memory with room on both sides, so any pitch pair can be tried.
struct FakeDisplay {
    static constexpr size_t kMargin = 1 << 20;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(2 * kMargin, 0xEE);
    uint8_t* base() { return bytes.data() + kMargin; }
    uint16_t at(ptrdiff_t byteOffset) {
        uint16_t v;
        std::memcpy(&v, base() + byteOffset, 2);
        return v;
    }
    size_t writtenPixels() {
        size_t n = 0;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            n += !(bytes[i] == 0xEE && bytes[i + 1] == 0xEE);
        return n;
    }
    void reset() { std::fill(bytes.begin(), bytes.end(), 0xEE); }
};

struct FrameBufferFixture : ::testing::Test {
    FrameBuffers fb;
    FakeDisplay display;
    DisplayPitches portrait{2, 480};
    ScreenRows written;
    FrameBufferFixture() { makeFrameBuffers(fb); }
    ~FrameBufferFixture() override { freeFrameBuffers(fb); }
    void drawFrame(uint32_t colour) {
        beginFrame(fb);
        for (int i = 0; i < kScreenPixels; ++i)
            fb.drawBuffer[i] = colour;
        markRowsDrawn(fb, 0, kScreenHeight);
    }
};

TEST(Rgb565, KeepsTheTopBitsOfEachChannel) {
    EXPECT_EQ(toRgb565(0x00FFFFFF), 0xFFFF);
    EXPECT_EQ(toRgb565(0xFF000000), 0x0000);
    EXPECT_EQ(toRgb565(0x000000F8), 0xF800); // red
    EXPECT_EQ(toRgb565(0x0000FC00), 0x07E0); // green
    EXPECT_EQ(toRgb565(0x00F80000), 0x001F); // blue
    EXPECT_EQ(toRgb565(0x00070307), 0x0000); // bits below the kept ones vanish
}

TEST_F(FrameBufferFixture, FirstFrameWritesEveryPixelAnIdenticalOneNone) {
    beginFrame(fb);
    EXPECT_TRUE(presentFrame(fb, display.base(), portrait, 0, written));
    EXPECT_EQ(display.writtenPixels(), static_cast<size_t>(kScreenPixels));
    EXPECT_EQ(fb.frameShown, 1);
    // Both ping-pong buffers now hold the backdrop: the next identical frame writes nothing,
    // and says so, so that the window need not be shown again.
    beginFrame(fb);
    EXPECT_FALSE(presentFrame(fb, display.base(), portrait, 0, written));
    display.reset();
    beginFrame(fb);
    EXPECT_FALSE(presentFrame(fb, display.base(), portrait, 0, written));
    EXPECT_EQ(display.writtenPixels(), 0u);
    for (int y = 0; y < kScreenHeight; ++y)
        ASSERT_FALSE(rowMarked(written, y)) << y; // nothing left from the frame before
    beginFrame(fb);
    EXPECT_TRUE(
        presentFrame(fb, display.base(), {640, -2}, 1, written)); // a full copy always writes
    beginFrame(fb);
    fb.drawBuffer[frameBufferIndex(239, 0)] ^= 0xF8;
    markRowsDrawn(fb, 0, 1);
    EXPECT_TRUE(presentFrame(fb, display.base(), {640, -2}, 0, written)); // one pixel is a change
}

TEST_F(FrameBufferFixture, SwapsOnlyAfterAPresent) {
    beginFrame(fb);
    EXPECT_EQ(fb.drawBuffer, fb.bufferA);
    beginFrame(fb); // nothing shown in between: the same buffer is drawn again
    EXPECT_EQ(fb.drawBuffer, fb.bufferA);
    presentFrame(fb, display.base(), portrait, 0, written);
    beginFrame(fb);
    EXPECT_EQ(fb.drawBuffer, fb.bufferB);
    EXPECT_EQ(fb.shownBuffer, fb.bufferA);
    EXPECT_EQ(fb.frameShown, 0);
    presentFrame(fb, display.base(), portrait, 0, written);
    beginFrame(fb);
    EXPECT_EQ(fb.drawBuffer, fb.bufferA);
    EXPECT_EQ(fb.shownBuffer, fb.bufferB);
}

TEST_F(FrameBufferFixture, AlphaOnlyChangeIsWritten) {
    drawFrame(0x00102030);
    presentFrame(fb, display.base(), portrait, 0, written);
    drawFrame(0x00102030);
    presentFrame(fb, display.base(), portrait, 0, written);
    display.reset();
    drawFrame(0x00102030);
    fb.drawBuffer[frameBufferIndex(5, 7)] = 0xFF102030;
    presentFrame(fb, display.base(), portrait, 0, written);
    EXPECT_EQ(display.writtenPixels(), 1u);
    EXPECT_EQ(display.at(7 * 480 + 5 * 2), toRgb565(0x00102030));
}

TEST_F(FrameBufferFixture, PortraitPitchPutsArrayRowZeroAtTheBottom) {
    beginFrame(fb);
    fb.drawBuffer[0] = 0x000000F8;               // array row 0: screen row 319
    fb.drawBuffer[319 * 240 + 239] = 0x00F80000; // array row 319: screen row 0
    presentFrame(fb, display.base(), portrait, 1, written);
    EXPECT_EQ(display.at(319 * 480), 0xF800);
    EXPECT_EQ(display.at(239 * 2), 0x001F);
}

TEST_F(FrameBufferFixture, RotatedPitchUsesItsOwnAddressing) {
    beginFrame(fb);
    fb.drawBuffer[0] = 0x000000F8;               // r 0, c 0 -> byte 0
    fb.drawBuffer[3 * 240 + 2] = 0x0000FC00;     // r 3, c 2 -> byte 2 * 640 + 3 * 2
    fb.drawBuffer[319 * 240 + 239] = 0x00F80000; // r 319, c 239 -> 239 * 640 + 319 * 2
    presentFrame(fb, display.base(), {640, -2}, 1, written);
    EXPECT_EQ(display.at(0), 0xF800);
    EXPECT_EQ(display.at(2 * 640 + 6), 0x07E0);
    EXPECT_EQ(display.at(239 * 640 + 638), 0x001F);
    EXPECT_EQ(display.writtenPixels(), static_cast<size_t>(kScreenPixels));
}

TEST_F(FrameBufferFixture, OddPitchesAreUsedAsEvenByteSteps) {
    beginFrame(fb);
    fb.drawBuffer[frameBufferIndex(1, 0)] = 0x000000F8;
    presentFrame(fb, display.base(), {3, 480}, 1, written); // x step 3 is used as 2
    EXPECT_EQ(display.at(2), 0xF800);
}

// On the frame path exactly the pixels whose word changed reach the display, each where the
// full copy puts it, for every kind of pitch, whether changes are scattered or in runs.
TEST_F(FrameBufferFixture, ScatteredChangesLandWhereTheFullCopyPutsThem) {
    const DisplayPitches pitches[] = {{2, 480},   {640, -2}, {4, 960},
                                      {-2, -480}, {640, 2},  {2, -480}};
    uint32_t seed = 1;
    for (const DisplayPitches& p : pitches) {
        drawFrame(0x00406080);
        presentFrame(fb, display.base(), p, 0, written);
        drawFrame(0x00406080);
        const std::vector<uint32_t> before(fb.drawBuffer, fb.drawBuffer + kScreenPixels);
        size_t changed = 0;
        for (int k = 0; k < 3000; ++k) {
            seed = seed * 1103515245u + 12345u;
            const size_t i = (seed >> 8) % kScreenPixels;
            changed += fb.drawBuffer[i] == before[i];
            fb.drawBuffer[i] = seed | 0x00040404u; // never the background's word
        }
        // Runs as well, so that whole sixteens, parts of them and row ends all change.
        for (int k = 0; k < 200; ++k) {
            seed = seed * 1103515245u + 12345u;
            const size_t start = (seed >> 8) % kScreenPixels, length = 1 + seed % 48;
            for (size_t i = start; i < std::min<size_t>(start + length, kScreenPixels); ++i) {
                changed += fb.drawBuffer[i] == before[i];
                fb.drawBuffer[i] = (seed ^ static_cast<uint32_t>(i * 2654435761u)) | 0x00040404u;
            }
        }
        for (size_t i : {size_t{0}, size_t{kScreenPixels - 1}}) {
            changed += fb.drawBuffer[i] == before[i];
            fb.drawBuffer[i] = 0xFF406080; // the alpha byte alone
        }
        display.reset();
        presentFrame(fb, display.base(), p, 0, written);
        EXPECT_EQ(display.writtenPixels(), changed);
        // The rows said to be written are those holding a changed word, in screen order.
        for (int y = 0; y < kScreenHeight; ++y) {
            const uint32_t* row = fb.drawBuffer + frameBufferIndex(0, y);
            const bool rowChanged =
                !std::equal(row, row + kScreenWidth, before.data() + frameBufferIndex(0, y));
            ASSERT_EQ(rowMarked(written, y), rowChanged) << y;
        }

        FakeDisplay full;
        presentFrame(fb, full.base(), p, 1, written);
        for (size_t i = 0; i < kScreenPixels; ++i) {
            if (fb.drawBuffer[i] == before[i])
                continue;
            const ptrdiff_t r = i / kScreenWidth, c = i % kScreenWidth;
            const bool rotated = p.cbxPitch == 640 && p.cbyPitch == -2;
            const ptrdiff_t at =
                rotated ? c * 640 + r * 2 : c * (p.cbxPitch & ~1) + (319 - r) * p.cbyPitch;
            ASSERT_EQ(display.at(at), toRgb565(fb.drawBuffer[i])) << i;
            ASSERT_EQ(full.at(at), display.at(at)) << i;
        }
    }
}

// Words are compared 32 at a time and a row is 240 words, so a block may end one row and start
// the next: both rows are written.
TEST_F(FrameBufferFixture, ABlockAcrossARowsEndMarksBothRows) {
    drawFrame(0x00406080);
    presentFrame(fb, display.base(), portrait, 0, written);
    drawFrame(0x00406080);
    fb.drawBuffer[239] = 0x00FFFFFF; // array rows 0 and 1: screen rows 319 and 318
    fb.drawBuffer[240] = 0x00FFFFFF;
    presentFrame(fb, display.base(), portrait, 0, written);
    for (int y = 0; y < kScreenHeight; ++y)
        ASSERT_EQ(rowMarked(written, y), y >= 318) << y;
}

// Rows drawn in separate runs, some a row apart, so that the blocks of 32 words the comparison
// widens each run to overlap and cross into clean rows: every changed pixel is still written
// once, and a row the shown frame drew but this one did not goes back to the backdrop.
TEST_F(FrameBufferFixture, OnlyMarkedRowsAreComparedYetEveryChangeInThemIsWritten) {
    for (int i = 0; i < kScreenPixels; ++i)
        fb.backdrop[i] = 0xFF000000u | static_cast<uint32_t>(i * 7);
    markBackdropChanged(fb);
    for (int k = 0; k < 2; ++k) { // both buffers hold the backdrop and are clean
        beginFrame(fb);
        presentFrame(fb, display.base(), portrait, 0, written);
    }
    const int drawnRows[] = {0, 2, 4, 5, 9, 150, 151, 152, 317, 319};
    beginFrame(fb);
    for (int y : drawnRows) {
        fb.drawBuffer[frameBufferIndex(0, y)] = 0x00112233;
        fb.drawBuffer[frameBufferIndex(239, y)] = 0x00445566;
        markRowsDrawn(fb, y, 1);
    }
    display.reset();
    presentFrame(fb, display.base(), portrait, 0, written);
    EXPECT_EQ(display.writtenPixels(), 2 * std::size(drawnRows));
    for (int y = 0; y < kScreenHeight; ++y)
        EXPECT_EQ(rowMarked(written, y),
                  std::count(std::begin(drawnRows), std::end(drawnRows), y) == 1)
            << y;
    for (int y : drawnRows) {
        EXPECT_EQ(display.at(y * 480), toRgb565(0x00112233)) << y;
        EXPECT_EQ(display.at(y * 480 + 239 * 2), toRgb565(0x00445566)) << y;
    }

    // A frame drawn but not shown is restored where it was drawn.
    beginFrame(fb);
    fb.drawBuffer[frameBufferIndex(7, 200)] = 0;
    markRowsDrawn(fb, 200, 1);
    beginFrame(fb);
    EXPECT_EQ(fb.drawBuffer[frameBufferIndex(7, 200)], fb.backdrop[frameBufferIndex(7, 200)]);

    // Now nothing is drawn: only the shown buffer's rows mark what goes back to the backdrop.
    display.reset();
    presentFrame(fb, display.base(), portrait, 0, written);
    EXPECT_EQ(display.writtenPixels(), 2 * std::size(drawnRows));
    EXPECT_EQ(display.at(319 * 480), toRgb565(fb.backdrop[frameBufferIndex(0, 319)]));
}

TEST_F(FrameBufferFixture, PaintAfterFrameRewritesEverything) {
    drawFrame(0x00FFFFFF);
    presentFrame(fb, display.base(), portrait, 0, written);
    display.reset();
    presentFrame(fb, display.base(), portrait, 1, written);
    EXPECT_EQ(display.writtenPixels(), static_cast<size_t>(kScreenPixels));
    for (int y = 0; y < kScreenHeight; ++y)
        ASSERT_TRUE(rowMarked(written, y)) << y;
    EXPECT_EQ(display.at(100 * 480 + 100 * 2), 0xFFFF);
}

TEST(FrameBufferNull, PresentWithoutBuffersDoesNothing) {
    FrameBuffers fb;
    ScreenRows written;
    uint16_t pixel = 0x1234;
    presentFrame(fb, reinterpret_cast<uint8_t*>(&pixel), {2, 480}, 1, written);
    EXPECT_EQ(fb.frameShown, 0);
    EXPECT_EQ(pixel, 0x1234);
}

TEST_F(FrameBufferFixture, BeginFrameBindsTheDrawBufferAndClearsDepthUnderTheBackdrop) {
    const OwnedContext owned{rcCreate()};
    RenderContext* rc = owned.get();
    fb.renderContext = rc;
    rcBindBuffer(rc, fb.drawBuffer, kScreenWidth, kScreenHeight);
    uint16_t* depth = rc->depthBuffer;
    std::fill(depth, depth + kScreenPixels, uint16_t{5});
    for (int i = 0; i < kScreenPixels; ++i)
        fb.backdrop[i] = 0xFF000000u | static_cast<uint32_t>(i);

    beginFrame(fb);
    EXPECT_EQ(fb.bufferA, rc->colourBuffer);
    EXPECT_EQ(0, std::memcmp(fb.drawBuffer, fb.backdrop, kFrameBufferBytes));
    EXPECT_TRUE(std::all_of(depth, depth + kScreenPixels, [](uint16_t d) { return d == 32767; }));
    EXPECT_EQ(0x00E5987Fu, pixelWord(rc->clearColour)); // (127, 152, 229, 0)

    // After a present the other buffer is drawn; the depth buffer stays where it was.
    presentFrame(fb, display.base(), portrait, 0, written);
    beginFrame(fb);
    EXPECT_EQ(fb.bufferB, rc->colourBuffer);
    EXPECT_EQ(depth, rc->depthBuffer);

    // What is drawn lands in the buffer that will be presented.
    rasteriseTriangle(*rc, {0, 0, 0}, {10 << 16, 0, 0}, {0, 10 << 16, 0});
    EXPECT_EQ(0xFFFFFFFFu, fb.drawBuffer[frameBufferIndex(1, 1)]);
    EXPECT_EQ(0, depth[1 * kScreenWidth + 1]);
}

} // namespace
