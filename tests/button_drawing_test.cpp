// Drawing buttons: label over faces, fill colours, and the face blend.
#include "assets/image_button.h"
#include "owned.h"
#include "view/button_drawing.h"
#include "view/hud_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

using OwnedButton = Owned<ImageButton, freeImageButton>;
using OwnedFrameBuffers = OwnedRecord<FrameBuffers, makeFrameBuffers, freeFrameBuffers>;

struct ButtonFixture : ::testing::Test {
    OwnedFrameBuffers fb;
    OwnedButton owned{makeImageButton(10, 20, 4, 3)};
    ImageButton* button = owned.get();
    ButtonFixture() { std::fill(fb.drawBuffer, fb.drawBuffer + kScreenPixels, 0x40FFFFFF); }
    uint32_t at(int x, int y) { return fb.drawBuffer[frameBufferIndex(x, y)]; }
    void giveFace(int f, uint32_t pixel) {
        button->face[f] = new uint32_t[12];
        for (int i = 0; i < 12; ++i)
            button->face[f][i] = pixel;
    }
};

// Every alpha against a spread of channel values, each channel written out as the rule states.
TEST(FaceBlend, EveryAlphaFollowsTheRuleChannelByChannel) {
    const uint32_t levels[] = {0, 1, 2, 63, 127, 128, 200, 253, 254, 255};
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t d : levels)
            for (uint32_t s : levels) {
                const uint32_t destination = 0x5A000000u | d | (255 - d) << 8 | (d ^ 0x55) << 16;
                const uint32_t source = a << 24 | s << 16 | (s ^ 0xAA) | (255 - s) << 8;
                uint32_t expected = destination & 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    const uint32_t dc = (destination >> shift) & 0xFF,
                                   sc = (source >> shift) & 0xFF;
                    expected |= std::min(255u, (dc * (255 - a) + sc * (a + 1)) >> 8) << shift;
                }
                if (a == 255)
                    expected = source;
                if (a == 0)
                    expected = destination;
                ASSERT_EQ(blendFacePixel(destination, source), expected)
                    << a << " " << d << " " << s;
            }
}

TEST_F(ButtonFixture, LabelHidesEveryFace) {
    giveFace(2, 0xFF0000FF);
    setImageButtonLabel(button, u"Hi");
    drawButton(fb, *button);
    EXPECT_EQ(at(10, 20), 0x407F7F7Fu); // a blank font darkens: the label, not the red face
}

TEST_F(ButtonFixture, FillColourNeedsItsAlphaByte) {
    button->currentFace = ButtonFace::Pressed;
    button->fillColour[1] = 0x00123456;
    drawButton(fb, *button);
    EXPECT_EQ(at(10, 20), 0x40FFFFFFu);
    button->fillColour[1] = 0xFF123456;
    drawButton(fb, *button);
    EXPECT_EQ(at(10, 20), 0xFF123456u);
    EXPECT_EQ(at(13, 22), 0xFF123456u);
    EXPECT_EQ(at(14, 22), 0x40FFFFFFu);
}

TEST_F(ButtonFixture, ListDrawsInOrderAndOffScreenPartsAreDropped) {
    OwnedButton second{makeImageButton(230, 318, 20, 20)};
    second->fillColour[2] = 0xFF00FF00;
    giveFace(2, 0xFF0000FF);
    ImageButton* list[] = {button, nullptr, second.get()};
    drawButtons(fb, list, 3);
    EXPECT_EQ(at(10, 20), 0xFF0000FFu);
    EXPECT_EQ(at(239, 319), 0xFF00FF00u);
}

// Faces hanging over every border: what lies on the screen is blended, top row first, and
// nothing else is touched.
TEST(FaceBlit, FacesOverTheBordersAreCutToTheScreen) {
    OwnedFrameBuffers fb;
    for (int i = 0; i < kScreenPixels; ++i)
        fb.drawBuffer[i] = 0x40102030u + static_cast<uint32_t>(i);
    const std::vector<uint32_t> before(fb.drawBuffer, fb.drawBuffer + kScreenPixels);
    const int corners[][2] = {{-3, -2}, {236, 317}, {-5, 316}, {235, -4}};
    std::vector<uint32_t> expected = before;
    for (const auto& corner : corners) {
        OwnedButton b{makeImageButton(corner[0], corner[1], 8, 6)};
        b->face[2] = new uint32_t[48];
        for (uint32_t i = 0; i < 48; ++i)
            b->face[2][i] = (i * 37u % 256) << 24 | i * 2654435761u >> 8;
        for (int row = 0; row < 6; ++row)
            for (int column = 0; column < 8; ++column) {
                const int x = corner[0] + column, y = corner[1] + row;
                if (x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight) {
                    uint32_t& p = expected[frameBufferIndex(x, y)];
                    p = blendFacePixel(p, b->face[2][row * 8 + column]);
                }
            }
        drawButton(fb, *b);
    }
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), fb.drawBuffer));
    EXPECT_NE(expected, before);
}

// Faces are mostly long opaque or clear runs with soft edges: runs of each kind, every length to
// past eight runs of eight, from every start within a vector, over one to three rows going
// backward through the frame as on the screen; the words around the rows are kept.
TEST(FaceBlend, RowsOfRunsMatchThePixelBlendFromAnyStart) {
    std::mt19937 rng(9);
    for (int32_t count = 0; count <= 70; ++count)
        for (int32_t offset = 0; offset < 8; ++offset) {
            const int32_t rows = 1 + (count + offset) % 3;
            const int32_t frameStride = count + 16, faceStride = count + 3;
            std::vector<uint32_t> frame(rows * frameStride), face(rows * faceStride);
            uint32_t kind = 0;
            for (uint32_t& p : face) {
                if (rng() % 9 == 0)
                    kind = rng() % 3;
                const uint32_t alpha = kind == 0 ? 0 : kind == 1 ? 255 : rng() % 256;
                p = (static_cast<uint32_t>(rng()) & 0xFFFFFF) | alpha << 24;
            }
            for (uint32_t& p : frame)
                p = static_cast<uint32_t>(rng());
            uint32_t* lastRow = frame.data() + (rows - 1) * frameStride + offset;
            std::vector<uint32_t> expected = frame;
            for (int32_t row = 0; row < rows; ++row)
                for (int32_t i = 0; i < count; ++i) {
                    uint32_t& p = expected[(rows - 1 - row) * frameStride + offset + i];
                    p = blendFacePixel(p, face[row * faceStride + i]);
                }
            blendFaceRows(lastRow, -frameStride, face.data(), faceStride, count, rows);
            ASSERT_EQ(frame, expected) << count << " " << offset;
        }
}

} // namespace
