// Frame buffers: start-up contents, the buffer swap and the dirty copy to display memory.
#include "render/frame_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

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
    FrameBufferFixture() { makeFrameBuffers(fb); }
    ~FrameBufferFixture() override { freeFrameBuffers(fb); }
    void drawFrame(uint32_t colour) {
        beginFrame(fb);
        for (int i = 0; i < kScreenPixels; ++i)
            fb.drawBuffer[i] = colour;
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

TEST_F(FrameBufferFixture, StartsWithDistinctFills) {
    EXPECT_EQ(fb.drawBuffer, fb.bufferA);
    EXPECT_EQ(fb.shownBuffer, fb.bufferB);
    EXPECT_EQ(fb.frameShown, 0);
    EXPECT_EQ(fb.bufferA[100], 0x00000000u);
    EXPECT_EQ(fb.bufferB[100], 0x01010101u);
    EXPECT_EQ(fb.backdrop[100], 0x02020202u);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(fb.font6x12) - fb.block, 3 * 307200 + 12288);
}

TEST_F(FrameBufferFixture, FirstFrameWritesEveryPixelAnIdenticalOneNone) {
    beginFrame(fb);
    presentFrame(fb, display.base(), portrait, 0);
    EXPECT_EQ(display.writtenPixels(), static_cast<size_t>(kScreenPixels));
    EXPECT_EQ(fb.frameShown, 1);
    // Both ping-pong buffers now hold the backdrop: the next identical frame writes nothing.
    beginFrame(fb);
    presentFrame(fb, display.base(), portrait, 0);
    display.reset();
    beginFrame(fb);
    presentFrame(fb, display.base(), portrait, 0);
    EXPECT_EQ(display.writtenPixels(), 0u);
}

TEST_F(FrameBufferFixture, SwapsOnlyAfterAPresent) {
    beginFrame(fb);
    EXPECT_EQ(fb.drawBuffer, fb.bufferA);
    beginFrame(fb); // nothing shown in between: the same buffer is drawn again
    EXPECT_EQ(fb.drawBuffer, fb.bufferA);
    presentFrame(fb, display.base(), portrait, 0);
    beginFrame(fb);
    EXPECT_EQ(fb.drawBuffer, fb.bufferB);
    EXPECT_EQ(fb.shownBuffer, fb.bufferA);
    EXPECT_EQ(fb.frameShown, 0);
    presentFrame(fb, display.base(), portrait, 0);
    beginFrame(fb);
    EXPECT_EQ(fb.drawBuffer, fb.bufferA);
    EXPECT_EQ(fb.shownBuffer, fb.bufferB);
}

TEST_F(FrameBufferFixture, AlphaOnlyChangeIsWritten) {
    drawFrame(0x00102030);
    presentFrame(fb, display.base(), portrait, 0);
    drawFrame(0x00102030);
    presentFrame(fb, display.base(), portrait, 0);
    display.reset();
    drawFrame(0x00102030);
    fb.drawBuffer[frameBufferIndex(5, 7)] = 0xFF102030;
    presentFrame(fb, display.base(), portrait, 0);
    EXPECT_EQ(display.writtenPixels(), 1u);
    EXPECT_EQ(display.at(7 * 480 + 5 * 2), toRgb565(0x00102030));
}

TEST_F(FrameBufferFixture, PortraitPitchPutsArrayRowZeroAtTheBottom) {
    beginFrame(fb);
    fb.drawBuffer[0] = 0x000000F8;               // array row 0: screen row 319
    fb.drawBuffer[319 * 240 + 239] = 0x00F80000; // array row 319: screen row 0
    presentFrame(fb, display.base(), portrait, 1);
    EXPECT_EQ(display.at(319 * 480), 0xF800);
    EXPECT_EQ(display.at(239 * 2), 0x001F);
}

TEST_F(FrameBufferFixture, RotatedPitchUsesItsOwnAddressing) {
    beginFrame(fb);
    fb.drawBuffer[0] = 0x000000F8;               // r 0, c 0 -> byte 0
    fb.drawBuffer[3 * 240 + 2] = 0x0000FC00;     // r 3, c 2 -> byte 2 * 640 + 3 * 2
    fb.drawBuffer[319 * 240 + 239] = 0x00F80000; // r 319, c 239 -> 239 * 640 + 319 * 2
    presentFrame(fb, display.base(), {640, -2}, 1);
    EXPECT_EQ(display.at(0), 0xF800);
    EXPECT_EQ(display.at(2 * 640 + 6), 0x07E0);
    EXPECT_EQ(display.at(239 * 640 + 638), 0x001F);
    EXPECT_EQ(display.writtenPixels(), static_cast<size_t>(kScreenPixels));
}

TEST_F(FrameBufferFixture, OddPitchesAreUsedAsEvenByteSteps) {
    beginFrame(fb);
    fb.drawBuffer[frameBufferIndex(1, 0)] = 0x000000F8;
    presentFrame(fb, display.base(), {3, 480}, 1); // x step 3 is used as 2
    EXPECT_EQ(display.at(2), 0xF800);
}

TEST_F(FrameBufferFixture, PaintAfterFrameRewritesEverything) {
    drawFrame(0x00FFFFFF);
    presentFrame(fb, display.base(), portrait, 0);
    display.reset();
    presentFrame(fb, display.base(), portrait, 1);
    EXPECT_EQ(display.writtenPixels(), static_cast<size_t>(kScreenPixels));
    EXPECT_EQ(display.at(100 * 480 + 100 * 2), 0xFFFF);
}

TEST(FrameBufferNull, PresentWithoutBuffersDoesNothing) {
    FrameBuffers fb;
    uint16_t pixel = 0x1234;
    presentFrame(fb, reinterpret_cast<uint8_t*>(&pixel), {2, 480}, 1);
    EXPECT_EQ(fb.frameShown, 0);
    EXPECT_EQ(pixel, 0x1234);
}

} // namespace
