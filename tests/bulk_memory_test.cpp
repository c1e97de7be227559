// Whole-buffer copies, fills and the changed-pixel search, against plain loops.
#include "render/bulk_memory.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TEST(BulkMemory, CopiesAndFillsEveryLengthAndLeaveTheRestAlone) {
    for (size_t n : {0u, 1u, 7u, 31u, 32u, 33u, 63u, 64u, 65u, 1000u, 76800u}) {
        std::vector<uint32_t> source(n + 2), copy(n + 2, 0xABABABABu);
        for (size_t i = 0; i < source.size(); ++i)
            source[i] = static_cast<uint32_t>(i * 2654435761u);
        copyWords(copy.data() + 1, source.data() + 1, n);
        EXPECT_EQ(copy.front(), 0xABABABABu) << n;
        EXPECT_EQ(copy.back(), 0xABABABABu) << n;
        EXPECT_TRUE(std::equal(copy.begin() + 1, copy.end() - 1, source.begin() + 1)) << n;

        std::vector<uint16_t> depth(n + 2, 1);
        fillHalfWords(depth.data() + 1, 32767, n);
        EXPECT_EQ(depth.front(), 1) << n;
        EXPECT_EQ(depth.back(), 1) << n;
        EXPECT_EQ(static_cast<size_t>(std::count(depth.begin(), depth.end(), 32767)), n) << n;
    }
}

// The blocks the plain rule gives: every 32 words with a difference, in order.
std::vector<ChangedBlock> changedBlocksByHand(const std::vector<uint32_t>& a,
                                              const std::vector<uint32_t>& b) {
    std::vector<ChangedBlock> blocks;
    for (size_t i = 0; i < a.size(); i += 32) {
        uint32_t mask = 0;
        for (size_t k = 0; k < 32; ++k)
            mask |= static_cast<uint32_t>(a[i + k] != b[i + k]) << k;
        if (mask)
            blocks.push_back({static_cast<uint32_t>(i), mask});
    }
    return blocks;
}

TEST(BulkMemory, FindsExactlyTheChangedWordsWithEitherVariant) {
    std::mt19937 rng(5);
    const size_t n = 76800;
    std::vector<uint32_t> a(n), b(n);
    for (int trial = 0; trial < 40; ++trial) {
        for (size_t i = 0; i < n; ++i)
            a[i] = b[i] = rng();
        // From nothing changed to everything changed, with runs, single bits (the alpha byte
        // too) and both ends of the buffer.
        const int changes = trial == 39 ? static_cast<int>(n) : trial * trial * 4;
        for (int k = 0; k < changes; ++k)
            b[trial == 39 ? k : rng() % n] ^= 1u << (rng() % 32);
        if (trial % 3 == 1) {
            b.front() ^= 0x01000000u;
            b.back() ^= 0x80000000u;
        }
        const std::vector<ChangedBlock> expected = changedBlocksByHand(a, b);
        for (auto find : {findChangedBlocks, findChangedBlocksScalar}) {
            std::vector<ChangedBlock> found(n / 32);
            found.resize(find(a.data(), b.data(), n, found.data()));
            ASSERT_EQ(found.size(), expected.size()) << trial;
            for (size_t i = 0; i < found.size(); ++i) {
                ASSERT_EQ(found[i].first, expected[i].first) << trial;
                ASSERT_EQ(found[i].mask, expected[i].mask) << trial;
            }
        }
    }
}

} // namespace
