// The vector blended spans against the per-pixel blend, with and without the depth test.
#include "render/blended_fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "render/rasteriser.h"

namespace {

struct Source {
    uint8_t r, g, b, a;
};

BlendTerms termsOf(Source s) {
    const uint32_t weight = s.a + 1u;
    return {255u - s.a, (s.r * weight) >> 8, (s.g * weight) >> 8, (s.b * weight) >> 8};
}

// Alphas at both ends and in between, colours of every byte, destination alpha bytes kept.
Source randomSource(std::mt19937& rng, int trial) {
    static constexpr uint8_t kAlphas[] = {0, 1, 127, 128, 254, 255};
    const uint8_t a = trial % 2 ? kAlphas[trial / 2 % 6] : static_cast<uint8_t>(rng());
    return {static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()), static_cast<uint8_t>(rng()),
            a};
}

TEST(BlendedFill, SpanMatchesThePerPixelBlend) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 2000; ++trial) {
        const Source s = randomSource(rng, trial);
        const int32_t count = std::uniform_int_distribution<int32_t>(0, 70)(rng);
        std::vector<uint32_t> colour(count + 4);
        for (uint32_t& c : colour)
            c = static_cast<uint32_t>(rng());
        std::vector<uint32_t> expected = colour;
        const int32_t done = blendSpanVector(colour.data(), count, termsOf(s));
        ASSERT_EQ(done % 4, 0);
        ASSERT_LE(done, count);
        for (int32_t i = 0; i < done; ++i)
            expected[i] = blendOver(expected[i], s.r, s.g, s.b, s.a);
        ASSERT_EQ(colour, expected) << "trial " << trial;
    }
}

// Depths of the span in 0..32767 over stored depths that are nearer, equal (kept: the test is
// strict), farther, or above 32767 (compared unsigned).
TEST(BlendedFill, DepthTestedSpanMatchesThePerPixelLoop) {
    std::mt19937 rng(12);
    for (int trial = 0; trial < 3000; ++trial) {
        const Source s = randomSource(rng, trial);
        const int32_t count = std::uniform_int_distribution<int32_t>(0, 70)(rng);
        const int32_t first = std::uniform_int_distribution<int32_t>(0, 32767)(rng) << 11;
        const int32_t last = std::uniform_int_distribution<int32_t>(0, 32767)(rng) << 11;
        const int32_t dz = count > 1 ? (last - first) / (count - 1) : 0;
        std::vector<uint32_t> colour(count + 4);
        std::vector<uint16_t> depth(count + 4);
        for (int32_t i = 0; i < count + 4; ++i) {
            colour[i] = static_cast<uint32_t>(rng());
            const int32_t d = (first + dz * std::min(i, std::max(count - 1, 0))) >> 11;
            const uint32_t kind = rng() % 4;
            depth[i] = static_cast<uint16_t>(kind == 0   ? d
                                             : kind == 1 ? std::max(d - 1, 0)
                                             : kind == 2 ? std::min(d + 1, 32767)
                                                         : 32768 + rng() % 32768);
        }
        std::vector<uint32_t> expectedColour = colour;
        std::vector<uint16_t> expectedDepth = depth;
        const int32_t done =
            blendDepthTestedVector(colour.data(), depth.data(), count, static_cast<uint32_t>(first),
                                   static_cast<uint32_t>(dz), termsOf(s));
        ASSERT_EQ(done % 4, 0);
        ASSERT_LE(done, count);
        uint32_t z = static_cast<uint32_t>(first);
        for (int32_t i = 0; i < done; ++i, z += static_cast<uint32_t>(dz)) {
            const int32_t d = static_cast<int32_t>(z) >> 11;
            if (expectedDepth[i] > d) {
                expectedColour[i] = blendOver(expectedColour[i], s.r, s.g, s.b, s.a);
                expectedDepth[i] = static_cast<uint16_t>(d);
            }
        }
        ASSERT_EQ(colour, expectedColour) << "trial " << trial;
        ASSERT_EQ(depth, expectedDepth) << "trial " << trial;
    }
}

TEST(BlendedFill, SpansShorterThanFourAreLeftToTheCaller) {
    uint32_t colour[3] = {1, 2, 3};
    uint16_t depth[3] = {100, 100, 100};
    EXPECT_EQ(blendSpanVector(colour, 3, {127, 1, 2, 3}), 0);
    EXPECT_EQ(blendDepthTestedVector(colour, depth, 3, 0, 0, {127, 1, 2, 3}), 0);
    EXPECT_EQ(colour[0], 1u);
    EXPECT_EQ(depth[0], 100);
}

} // namespace
