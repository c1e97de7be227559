// game_random.cpp: glibc's rand() algorithm, and the game's one generator.
#include "core/game_random.h"

namespace {

constexpr int kWarmUpDraws = 10 * kRandomDegree;

// 16807 x mod (2^31 - 1) by Schrage's method, on the signed 32-bit word glibc keeps, so a
// seed above 2^31 starts from its negative reading exactly as there.
int32_t minimalStandardNext(int32_t word) {
    const int64_t hi = word / 127773;
    const int64_t lo = word % 127773;
    int32_t next = static_cast<int32_t>(16807 * lo - 2836 * hi);
    if (next < 0)
        next += 2147483647;
    return next;
}

RandomState seededOnce() {
    RandomState state;
    seedRandom(state, 1);
    return state;
}

RandomState& gameState() {
    static RandomState state = seededOnce();
    return state;
}

} // namespace

void seedRandom(RandomState& state, uint32_t seed) {
    if (seed == 0)
        seed = 1;
    int32_t word = static_cast<int32_t>(seed);
    state.table[0] = seed;
    for (int i = 1; i < kRandomDegree; ++i) {
        word = minimalStandardNext(word);
        state.table[i] = static_cast<uint32_t>(word);
    }
    state.front = kRandomSeparation;
    state.rear = 0;
    for (int i = 0; i < kWarmUpDraws; ++i)
        nextRandom(state);
}

int nextRandom(RandomState& state) {
    // Unsigned words wrap where glibc's signed ones would be undefined; the bits are the same.
    state.table[state.front] += state.table[state.rear];
    const int result = static_cast<int>(state.table[state.front] >> 1);
    state.front = state.front + 1 == kRandomDegree ? 0 : state.front + 1;
    state.rear = state.rear + 1 == kRandomDegree ? 0 : state.rear + 1;
    return result;
}

void seedGameRandom(uint32_t seed) {
    seedRandom(gameState(), seed);
}

int gameRandom() {
    return nextRandom(gameState());
}

RandomState gameRandomState() {
    return gameState();
}

void setGameRandomState(const RandomState& state) {
    gameState() = state;
}

bool randomStateValid(const RandomState& state) {
    const bool inTable = state.front >= 0 && state.front < kRandomDegree && state.rear >= 0 &&
                         state.rear < kRandomDegree;
    return inTable && (state.rear + kRandomSeparation) % kRandomDegree == state.front;
}
