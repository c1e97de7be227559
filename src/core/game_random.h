// game_random.h: the game's one random sequence, the C library rand() of glibc bit for bit.
#pragma once

#include <cstdint>

// glibc's rand() is an additive lagged Fibonacci generator over 31 words (x[i] = x[i-3] +
// x[i-31]); every build draws from this copy of it, so a C library with another rand() (the
// browser build's) still plays the same matches.
constexpr int kRandomDegree = 31;
constexpr int kRandomSeparation = 3;
constexpr int kGameRandomMax = 0x7FFFFFFF;

struct RandomState {
    uint32_t table[kRandomDegree] = {};
    int front = kRandomSeparation; // the newer lag
    int rear = 0;                  // the older lag
};

// srand's seeding: the table filled by the minimal standard generator from the seed (0 counts
// as 1), then 310 numbers drawn and dropped.
void seedRandom(RandomState& state, uint32_t seed);
// rand(): the next number, 0 .. kGameRandomMax.
int nextRandom(RandomState& state);

// The generator the game and its tools draw from, one per process. Unseeded it gives the
// sequence of seed 1, as rand() does.
void seedGameRandom(uint32_t seed);
int gameRandom();

// The whole generator, not only a seed: a recorded match starts again from the very state it
// drew from, whatever was drawn before it in the process.
RandomState gameRandomState();
void setGameRandomState(const RandomState& state);
// What nextRandom needs of a state read from a file: both lags inside the table, the newer one
// kRandomSeparation ahead of the older.
bool randomStateValid(const RandomState& state);
