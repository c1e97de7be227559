// The game's random generator against the C library's rand() where that is glibc's, and
// against known glibc outputs everywhere else (the browser build's C library differs).
#include "core/game_random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

std::vector<int> firstOutputs(uint32_t seed, int count) {
    RandomState state;
    seedRandom(state, seed);
    std::vector<int> outputs;
    for (int i = 0; i < count; ++i)
        outputs.push_back(nextRandom(state));
    return outputs;
}

} // namespace

TEST(GameRandom, FirstOutputsOfSeedOneAreGlibcsWellKnownOnes) {
    EXPECT_EQ(firstOutputs(1, 5),
              (std::vector<int>{1804289383, 846930886, 1681692777, 1714636915, 1957747793}));
}

TEST(GameRandom, SeedZeroIsSeedOne) {
    EXPECT_EQ(firstOutputs(0, 100), firstOutputs(1, 100));
}

#ifdef __GLIBC__
// Past the 31-word table several times over, so every lag position has wrapped.
TEST(GameRandom, MatchesGlibcRandForEverySeedTried) {
    // Seeds with a zero, the sign bit, every bit and small and large ordinary values.
    for (const uint32_t seed :
         {0u, 1u, 2u, 7u, 42u, 12345u, 0x7FFFFFFFu, 0x80000000u, 0xDEADBEEFu, 0xFFFFFFFFu}) {
        std::srand(seed);
        std::vector<int> expected;
        for (int i = 0; i < 1000; ++i)
            expected.push_back(std::rand());
        EXPECT_EQ(firstOutputs(seed, 1000), expected) << "seed " << seed;
    }
}
#endif

// Values glibc's rand() gave on this project's build machine, for the builds whose C library
// is another.
TEST(GameRandom, MatchesRecordedGlibcOutputs) {
    EXPECT_EQ(firstOutputs(42, 3), (std::vector<int>{71876166, 708592740, 1483128881}));
    EXPECT_EQ(firstOutputs(0xFFFFFFFF, 3), (std::vector<int>{254925627, 1205188300, 366127624}));
    EXPECT_EQ(firstOutputs(0x80000000, 3), (std::vector<int>{1336741213, 1210407648, 1447044896}));
}

TEST(GameRandom, TheGameGeneratorRestartsItsSequenceWhenSeeded) {
    seedGameRandom(42);
    const int first = gameRandom();
    const int second = gameRandom();
    seedGameRandom(42);
    EXPECT_EQ(gameRandom(), first);
    EXPECT_EQ(gameRandom(), second);
    EXPECT_EQ(first, firstOutputs(42, 1)[0]);
}

TEST(GameRandom, ASavedStateDrawsTheSameSequenceAgainMidway) {
    seedGameRandom(7);
    for (int i = 0; i < 40; ++i) // past one turn of the table, so both lags have wrapped
        gameRandom();
    const RandomState saved = gameRandomState();
    EXPECT_TRUE(randomStateValid(saved));
    std::vector<int> drawn;
    for (int i = 0; i < 5; ++i)
        drawn.push_back(gameRandom());
    setGameRandomState(saved);
    for (int expected : drawn)
        EXPECT_EQ(gameRandom(), expected);
}

TEST(GameRandom, StatesWithLagsOutsideTheTableOrOutOfStepAreNotValid) {
    RandomState state;
    seedRandom(state, 3);
    EXPECT_TRUE(randomStateValid(state));
    for (auto [front, rear] : {std::pair{31, 28}, {-1, 27}, {3, -28}, {4, 0}, {0, 0}}) {
        RandomState bad = state;
        bad.front = front;
        bad.rear = rear;
        EXPECT_FALSE(randomStateValid(bad)) << front << " " << rear;
    }
    state.front = 1;
    state.rear = 29; // wrapped round the end of the table
    EXPECT_TRUE(randomStateValid(state));
}
