// The vector depth-tested span fill against the plain per-pixel loop.
#include "render/depth_tested_fill.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/processor_features.h"

namespace {

using VectorFill = int32_t (*)(uint32_t*, uint16_t*, int32_t, uint32_t, uint32_t, uint32_t);

void scalarFill(uint32_t* colour, uint16_t* depth, int32_t count, uint32_t z, uint32_t dz,
                uint32_t word) {
    for (int32_t i = 0; i < count; ++i, z += dz) {
        const int32_t d = static_cast<int32_t>(z) >> 11;
        if (depth[i] > d) {
            colour[i] = word;
            depth[i] = static_cast<uint16_t>(d);
        }
    }
}

// Random spans whose depths stay in 0..32767 over stored depths of every kind: nearer, equal,
// farther, and above 32767 (compared unsigned, as the scalar loop does).
void checkAgainstScalar(VectorFill fill) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 3000; ++trial) {
        const int32_t count = std::uniform_int_distribution<int32_t>(0, 240)(rng);
        const int32_t first = std::uniform_int_distribution<int32_t>(0, 32767)(rng) << 11;
        const int32_t last = std::uniform_int_distribution<int32_t>(0, 32767)(rng) << 11;
        const int32_t dz = count > 1 ? (last - first) / (count - 1) : 0;
        std::vector<uint16_t> depth(count + 8);
        std::vector<uint32_t> colour(count + 8);
        for (int32_t i = 0; i < count + 8; ++i) {
            const int32_t d = (first + dz * std::min(i, std::max(count - 1, 0))) >> 11;
            switch (rng() % 4) {
            case 0:
                depth[i] = static_cast<uint16_t>(d);
                break;
            case 1:
                depth[i] = static_cast<uint16_t>(std::min(d + 1, 32767));
                break;
            case 2:
                depth[i] = static_cast<uint16_t>(rng());
                break;
            default:
                depth[i] = static_cast<uint16_t>(std::max(d - 1, 0));
            }
            colour[i] = rng();
        }
        std::vector<uint16_t> expectedDepth = depth;
        std::vector<uint32_t> expectedColour = colour;
        scalarFill(expectedColour.data(), expectedDepth.data(), count, first, dz, 0xAABBCCDD);

        const int32_t done = fill(colour.data(), depth.data(), count, first, dz, 0xAABBCCDD);
        ASSERT_EQ(0, done % 8);
        ASSERT_LE(done, count);
        scalarFill(colour.data() + done, depth.data() + done, count - done,
                   first + static_cast<uint32_t>(done) * dz, dz, 0xAABBCCDD);
        ASSERT_EQ(expectedDepth, depth) << trial;
        ASSERT_EQ(expectedColour, colour) << trial;
    }
}

TEST(DepthTestedFill, Sse2MatchesThePerPixelLoop) {
    checkAgainstScalar(fillDepthTestedSse2);
}

TEST(DepthTestedFill, Avx2MatchesThePerPixelLoop) {
    if (!cpuHasAvx2())
        GTEST_SKIP() << "no AVX2 on this processor";
    checkAgainstScalar(fillDepthTestedAvx2);
}

TEST(DepthTestedFill, ChoosesAVariantThatMatches) {
    checkAgainstScalar(fillDepthTestedVector);
}

} // namespace
