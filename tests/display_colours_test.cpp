// The canvas's widening of display pixels, in vectors where the build has them: every RGB565
// value, in a run whose length and start leave the vectors a remainder, against one pixel's
// widening, and the extremes a viewer sees.
#include "platform/display_colours.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

TEST(DisplayColours, ARunWidensEveryValueAsOnePixelDoes) {
    constexpr size_t kValues = 65536;
    // One pixel in front, so that the run starts off the vectors' alignment, and one left over;
    // one pixel each side of the output to see that nothing outside the run is written.
    std::vector<uint8_t> display(2 * (kValues + 2), 0xAB);
    for (size_t v = 0; v < kValues; ++v) {
        const uint16_t p = static_cast<uint16_t>(v);
        std::memcpy(&display[2 * (v + 1)], &p, 2);
    }
    const uint16_t last = 0x1234;
    std::memcpy(&display[2 * (kValues + 1)], &last, 2);
    std::vector<uint8_t> rgba(4 * (kValues + 3), 0);
    widenDisplayRun(display.data() + 2, rgba.data() + 4, kValues + 1);

    for (size_t v = 0; v <= kValues; ++v) {
        const uint16_t p = v < kValues ? static_cast<uint16_t>(v) : last;
        const uint8_t* at = &rgba[4 * (v + 1)];
        ASSERT_EQ(at[0], widenRed(p)) << v;
        ASSERT_EQ(at[1], widenGreen(p)) << v;
        ASSERT_EQ(at[2], widenBlue(p)) << v;
        ASSERT_EQ(at[3], 255) << v;
    }
    // Nothing outside the run is written.
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(rgba[4 * (kValues + 2)], 0);

    const auto pixel = [&](size_t v) {
        const uint8_t* at = &rgba[4 * (v + 1)];
        return std::vector<int>{at[0], at[1], at[2]};
    };
    EXPECT_EQ(pixel(0xFFFF), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(pixel(0xF800), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixel(0x07E0), (std::vector<int>{0, 255, 0}));
    EXPECT_EQ(pixel(0x001F), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(pixel(0x0821), (std::vector<int>{8, 4, 8}));
}
