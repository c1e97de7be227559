// game_options.h: the six settings the player chooses, in the order players.dat stores them.
#pragma once

#include <cstddef>
#include <cstdint>

// Slots in the profile store; profile indices run 0..9.
constexpr int kProfileSlots = 10;

struct GameOptions {
    int32_t player1Profile = 0; // slot of the human player
    int32_t player2Profile = 1; // slot of the opponent
    int32_t stadium = 0;        // 0..4, also the court surface
    int32_t setsToWin = 1;      // 1..3
    int32_t level = 0;          // 0 Beginner .. 4 Champion, also the tournament's ladder
    int32_t soundOff = 0;       // 0 or 1
};

static_assert(sizeof(GameOptions) == 24);
static_assert(offsetof(GameOptions, player1Profile) == 0);
static_assert(offsetof(GameOptions, player2Profile) == 4);
static_assert(offsetof(GameOptions, stadium) == 8);
static_assert(offsetof(GameOptions, setsToWin) == 12);
static_assert(offsetof(GameOptions, level) == 16);
static_assert(offsetof(GameOptions, soundOff) == 20);

constexpr int32_t kMaxSetsToWin = 3;
constexpr int32_t kStadiumCount = 5;
constexpr int32_t kLevelCount = 5;
