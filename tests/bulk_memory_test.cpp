// Whole-buffer copies, fills and the changed-pixel search, against plain loops.
#include "render/bulk_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

// Every length up to a few turns of the widest loop, at every start within a vector.
TEST(BulkMemory, CopiesAndFillsEveryLengthAndLeaveTheRestAlone) {
    std::vector<size_t> lengths(600);
    std::iota(lengths.begin(), lengths.end(), 0);
    lengths.push_back(76800);
    for (size_t n : lengths)
        for (size_t offset = 0; offset < 8; ++offset) {
            std::vector<uint32_t> source(n + 9), copy(n + 9, 0xABABABABu);
            for (size_t i = 0; i < source.size(); ++i)
                source[i] = static_cast<uint32_t>(i * 2654435761u);
            copyWords(copy.data() + offset, source.data() + 8 - offset, n);
            ASSERT_TRUE(std::all_of(copy.begin(), copy.begin() + offset, [](uint32_t w) {
                return w == 0xABABABABu;
            })) << n;
            ASSERT_TRUE(std::all_of(copy.begin() + offset + n, copy.end(), [](uint32_t w) {
                return w == 0xABABABABu;
            })) << n;
            ASSERT_TRUE(std::equal(copy.begin() + offset, copy.begin() + offset + n,
                                   source.begin() + 8 - offset))
                << n << " " << offset;

            std::vector<uint16_t> depth(n + 17, 1);
            fillHalfWords(depth.data() + offset * 2 + 1, 32767, n);
            ASSERT_EQ(static_cast<size_t>(std::count(depth.begin(), depth.end(), 32767)), n);
            ASSERT_TRUE(std::all_of(depth.begin() + offset * 2 + 1,
                                    depth.begin() + offset * 2 + 1 + n,
                                    [](uint16_t d) { return d == 32767; }))
                << n << " " << offset;
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

// The blocks a search found, as first word and mask, to compare with the plain rule's.
std::vector<std::pair<uint32_t, uint32_t>> fields(const std::vector<ChangedBlock>& blocks) {
    std::vector<std::pair<uint32_t, uint32_t>> out;
    for (const ChangedBlock& b : blocks)
        out.emplace_back(b.first, b.mask);
    return out;
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
            ASSERT_EQ(fields(found), fields(expected)) << trial;
        }
    }
}

// Short buffers, whose blocks are not all covered by the four-block test, with one change in
// each place in turn and a few at random.
TEST(BulkMemory, FindsChangesInBuffersOfEveryBlockCount) {
    std::mt19937 rng(11);
    for (size_t n = 0; n <= 640; n += 32) {
        std::vector<uint32_t> a(n);
        for (uint32_t& w : a)
            w = rng();
        for (size_t place = 0; place <= n; ++place) {
            std::vector<uint32_t> b = a;
            if (place < n)
                b[place] ^= 1u << (rng() % 32);
            for (int k = 0; k < static_cast<int>(place % 3) && n > 0; ++k)
                b[rng() % n] ^= 0x00010000u;
            const std::vector<ChangedBlock> expected = changedBlocksByHand(a, b);
            std::vector<ChangedBlock> found(n / 32 + 1);
            found.resize(findChangedBlocks(a.data(), b.data(), n, found.data()));
            ASSERT_EQ(fields(found), fields(expected)) << n << " " << place;
        }
    }
}

} // namespace
