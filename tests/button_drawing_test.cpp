// Drawing buttons: label over faces, fill colours, and the face blend.
#include "assets/image_button.h"
#include "render/button_drawing.h"
#include "render/hud_text.h"

#include <gtest/gtest.h>

namespace {

struct ButtonFixture : ::testing::Test {
    FrameBuffers fb;
    ImageButton* button = makeImageButton(10, 20, 4, 3);
    ButtonFixture() {
        makeFrameBuffers(fb);
        for (int i = 0; i < kScreenPixels; ++i)
            fb.drawBuffer[i] = 0x40FFFFFF;
    }
    ~ButtonFixture() override {
        freeImageButton(button);
        freeFrameBuffers(fb);
    }
    uint32_t at(int x, int y) { return fb.drawBuffer[frameBufferIndex(x, y)]; }
    void giveFace(int f, uint32_t pixel) {
        button->face[f] = new uint32_t[12];
        for (int i = 0; i < 12; ++i)
            button->face[f][i] = pixel;
    }
};

TEST(FaceBlend, TruncatesTheWholeSum) {
    EXPECT_EQ(blendFacePixel(0x00FFFFFF, 0x80000000) & 0xFFFFFF, 0x007E7E7Eu); // 255*127 >> 8
    EXPECT_EQ(blendFacePixel(0x00FFFFFF, 0x80FFFFFF) & 0xFF, 0xFFu); // per-term truncation: 254
    EXPECT_EQ(blendFacePixel(0x11223344, 0xFF556677), 0xFF556677u);
    EXPECT_EQ(blendFacePixel(0x11223344, 0x00556677), 0x11223344u);
    EXPECT_EQ(blendFacePixel(0x7F000000, 0x01FFFFFF) >> 24, 0x7Fu); // frame alpha kept
}

TEST_F(ButtonFixture, LabelHidesEveryFace) {
    giveFace(2, 0xFF0000FF);
    setImageButtonLabel(button, u"Hi");
    drawButton(fb, *button);
    EXPECT_EQ(at(10, 20), 0x407F7F7Fu); // a blank font darkens: the label, not the red face
}

TEST_F(ButtonFixture, FillColourNeedsItsAlphaByte) {
    button->currentFace = 1;
    button->fillColour[1] = 0x00123456;
    drawButton(fb, *button);
    EXPECT_EQ(at(10, 20), 0x40FFFFFFu);
    button->fillColour[1] = 0xFF123456;
    drawButton(fb, *button);
    EXPECT_EQ(at(10, 20), 0xFF123456u);
    EXPECT_EQ(at(13, 22), 0xFF123456u);
    EXPECT_EQ(at(14, 22), 0x40FFFFFFu);
}

TEST_F(ButtonFixture, FaceIsBlittedTopRowFirst) {
    giveFace(2, 0x80000000);
    button->face[2][0] = 0xFF0000FF; // top-left pixel opaque red
    drawButton(fb, *button);
    EXPECT_EQ(at(10, 20), 0xFF0000FFu);
    EXPECT_EQ(at(11, 20), 0x407E7E7Eu);
    EXPECT_EQ(at(13, 22), 0x407E7E7Eu);
}

TEST_F(ButtonFixture, ListDrawsInOrderAndOffScreenPartsAreDropped) {
    ImageButton* second = makeImageButton(230, 318, 20, 20);
    second->fillColour[2] = 0xFF00FF00;
    giveFace(2, 0xFF0000FF);
    ImageButton* list[] = {button, nullptr, second};
    drawButtons(fb, list, 3);
    EXPECT_EQ(at(10, 20), 0xFF0000FFu);
    EXPECT_EQ(at(239, 319), 0xFF00FF00u);
    freeImageButton(second);
}

} // namespace
