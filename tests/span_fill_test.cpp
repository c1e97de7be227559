// The vector span fills, plain and blended, with and without the depth test, against the
// per-pixel loops they stand in for.
#include "render/blended_fill.h"
#include "render/depth_tested_fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "core/processor_features.h"
#include "render/rasteriser.h"

namespace {

// A span's depths, 0..32767 in 21.11 steps, over stored depths of every kind: nearer, equal,
// farther, and anything (above 32767 they are compared unsigned, as the per-pixel loops do).
// The buffers run `spare` pixels past the span, which a fill must leave alone.
struct Span {
    int32_t count;
    uint32_t first, dz;
    std::vector<uint32_t> colour;
    std::vector<uint16_t> depth;
};

Span randomSpan(std::mt19937& rng, int32_t maxCount, int32_t spare) {
    const int32_t count = std::uniform_int_distribution<int32_t>(0, maxCount)(rng);
    const int32_t first = std::uniform_int_distribution<int32_t>(0, 32767)(rng) << 11;
    const int32_t last = std::uniform_int_distribution<int32_t>(0, 32767)(rng) << 11;
    const int32_t dz = count > 1 ? (last - first) / (count - 1) : 0;
    Span s{count, static_cast<uint32_t>(first), static_cast<uint32_t>(dz), {}, {}};
    for (int32_t i = 0; i < count + spare; ++i) {
        const int32_t d = (first + dz * std::min(i, std::max(count - 1, 0))) >> 11;
        const uint32_t kind = rng() % 4;
        s.depth.push_back(static_cast<uint16_t>(kind == 0   ? d
                                                : kind == 1 ? std::max(d - 1, 0)
                                                : kind == 2 ? std::min(d + 1, 32767)
                                                            : rng()));
        s.colour.push_back(static_cast<uint32_t>(rng()));
    }
    return s;
}

// The per-pixel depth-tested loop over pixels [from, to): a nearer pixel takes `shade` of what
// was there, and its depth.
template <typename Shade> void perPixel(Span& s, int32_t from, int32_t to, Shade shade) {
    uint32_t z = s.first + static_cast<uint32_t>(from) * s.dz;
    for (int32_t i = from; i < to; ++i, z += s.dz) {
        const int32_t d = static_cast<int32_t>(z) >> 11;
        if (s.depth[i] > d) {
            s.colour[i] = shade(s.colour[i]);
            s.depth[i] = static_cast<uint16_t>(d);
        }
    }
}

using DepthTestedFill = int32_t (*)(uint32_t*, uint16_t*, int32_t, uint32_t, uint32_t, uint32_t);

// The vector fill takes whole groups of eight and leaves the rest to the per-pixel loop.
void expectFillMatchesPerPixel(DepthTestedFill fill) {
    std::mt19937 rng(3);
    const auto word = [](uint32_t) { return 0xAABBCCDDu; };
    for (int trial = 0; trial < 3000; ++trial) {
        Span s = randomSpan(rng, 240, 8), expected = s;
        perPixel(expected, 0, s.count, word);
        const int32_t done =
            fill(s.colour.data(), s.depth.data(), s.count, s.first, s.dz, 0xAABBCCDD);
        ASSERT_EQ(0, done % 8);
        ASSERT_LE(done, s.count);
        perPixel(s, done, s.count, word);
        ASSERT_EQ(expected.depth, s.depth) << trial;
        ASSERT_EQ(expected.colour, s.colour) << trial;
    }
}

TEST(DepthTestedFill, Sse2MatchesThePerPixelLoop) {
    expectFillMatchesPerPixel(fillDepthTestedSse2);
}

TEST(DepthTestedFill, Avx2MatchesThePerPixelLoop) {
    if (!cpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    expectFillMatchesPerPixel(fillDepthTestedAvx2);
}

TEST(DepthTestedFill, ChoosesAVariantThatMatches) {
    expectFillMatchesPerPixel(fillDepthTestedVector);
}

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

// The blended fills take whole groups of four and leave the rest to the caller.
TEST(BlendedFill, SpansWithAndWithoutTheDepthTestMatchThePerPixelBlend) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 3000; ++trial) {
        const Source c = randomSource(rng, trial);
        const auto blend = [c](uint32_t under) { return blendOver(under, c.r, c.g, c.b, c.a); };
        Span s = randomSpan(rng, 70, 4), expected = s;
        int32_t done = blendSpanVector(s.colour.data(), s.count, termsOf(c));
        ASSERT_EQ(done % 4, 0);
        ASSERT_LE(done, s.count);
        std::transform(expected.colour.begin(), expected.colour.begin() + done,
                       expected.colour.begin(), blend);
        ASSERT_EQ(s.colour, expected.colour) << "trial " << trial;

        done = blendDepthTestedVector(s.colour.data(), s.depth.data(), s.count, s.first, s.dz,
                                      termsOf(c));
        ASSERT_EQ(done % 4, 0);
        ASSERT_LE(done, s.count);
        perPixel(expected, 0, done, blend);
        ASSERT_EQ(s.colour, expected.colour) << "trial " << trial;
        ASSERT_EQ(s.depth, expected.depth) << "trial " << trial;
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
