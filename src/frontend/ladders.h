// ladders.h: the five level ladders: tournament opponents, place changes after a tournament
// match, and the rows of the rankings page.
#pragma once

#include "frontend/profile_store.h"

#include <cstdint>
#include <string>
#include <vector>

// A tournament is five matches, rounds 0 to 4.
constexpr int32_t kTournamentMatches = 5;

// The opponent of this tournament round on the ladder of options.level: sets
// options.player2Profile only (kept when no profile holds the wanted place); the caller applies
// profile 2.
void pickTournamentOpponent(ProfileStore& store, int32_t tournamentRound);

// Player 1 beat (ladderWin) or lost to (ladderLoss) player 2 on the ladder of options.level; a
// winner ranked below the loser takes the loser's place. The caller saves.
void ladderWin(ProfileStore& store);
void ladderLoss(ProfileStore& store);

struct RankingRow {
    int32_t row;         // the place on the ladder, 0 at the top
    std::u16string text; // first name, a space, last name
};

// One row for each used profile, in slot order; places outside 0..9 are skipped. Empty for a
// ladder outside 0..4.
std::vector<RankingRow> rankingsRows(const ProfileStore& store, int32_t ladder);

// The ladder's title picture and its mask ("R_Beginner.jpg", "R_Beginner_m.jpg", ...); null for
// a ladder outside 0..4.
const char16_t* rankingsTitleImage(int32_t ladder);
const char16_t* rankingsTitleMask(int32_t ladder);
