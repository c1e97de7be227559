// ladders.cpp: tournament opponents, ladder places after a tournament match, rankings rows.
#include "frontend/ladders.h"

namespace {

constexpr int32_t kTournamentRounds = 5;

bool ladderInRange(int32_t ladder) {
    return ladder >= 0 && ladder < kLevelCount;
}

bool slotInRange(int32_t slot) {
    return slot >= 0 && slot < kProfileSlots;
}

// Everyone from place `from` down to just above place `to` moves down one; the winner then
// takes place `from`.
void winnerTakesPlace(ProfileStore& store, int ladder, int32_t winner, int32_t from, int32_t to) {
    for (PlayerProfile& p : store.profiles)
        if (profileUsed(p) && p.rank[ladder] >= from && p.rank[ladder] < to)
            p.rank[ladder] += 1;
    store.profiles[winner].rank[ladder] = from;
}

// The winner climbs only past a loser who stood above.
void settleMatch(ProfileStore& store, int32_t winner, int32_t loser) {
    const int32_t ladder = store.options.level;
    if (!ladderInRange(ladder) || !slotInRange(winner) || !slotInRange(loser))
        return;
    const int32_t winnerRank = store.profiles[winner].rank[ladder];
    const int32_t loserRank = store.profiles[loser].rank[ladder];
    if (loserRank >= winnerRank)
        return;
    winnerTakesPlace(store, ladder, winner, loserRank, winnerRank);
}

std::u16string nameText(const char16_t (&name)[kProfileNameLength]) {
    std::u16string text;
    for (int i = 0; i < kProfileNameLength && name[i] != 0; ++i)
        text += name[i];
    return text;
}

struct LadderTitle {
    const char16_t* image;
    const char16_t* mask;
};
constexpr LadderTitle kLadderTitles[kLevelCount] = {
    {u"R_Beginner.jpg", u"R_Beginner_m.jpg"}, {u"R_Amateur.jpg", u"R_Amateur_m.jpg"},
    {u"R_Rookie.jpg", u"R_Rookie_m.jpg"},     {u"R_Pro.jpg", u"R_Pro_m.jpg"},
    {u"R_Champion.jpg", u"R_Champion_m.jpg"},
};

} // namespace

void pickTournamentOpponent(ProfileStore& store, int32_t tournamentRound) {
    const int32_t ladder = store.options.level;
    const int32_t player1 = store.options.player1Profile;
    if (!ladderInRange(ladder) || !slotInRange(player1))
        return;
    // Rounds climb from place 4 to the top; the player's own place is skipped by meeting the
    // next one below instead.
    const int32_t target = (kTournamentRounds - 1) - tournamentRound;
    const int32_t mine = store.profiles[player1].rank[ladder];
    const int32_t wanted = mine > target ? target : target + 1;
    for (int32_t slot = 0; slot < kProfileSlots; ++slot) {
        const PlayerProfile& p = store.profiles[slot];
        if (profileUsed(p) && p.rank[ladder] == wanted) {
            store.options.player2Profile = slot;
            return;
        }
    }
}

void ladderWin(ProfileStore& store) {
    settleMatch(store, store.options.player1Profile, store.options.player2Profile);
}

void ladderLoss(ProfileStore& store) {
    settleMatch(store, store.options.player2Profile, store.options.player1Profile);
}

std::vector<RankingRow> rankingsRows(const ProfileStore& store, int32_t ladder) {
    std::vector<RankingRow> rows;
    if (!ladderInRange(ladder))
        return rows;
    for (const PlayerProfile& p : store.profiles) {
        const int32_t rank = p.rank[ladder];
        // A forged place outside the ten rows has no row to go to.
        if (!profileUsed(p) || rank < 0 || rank >= kProfileSlots)
            continue;
        rows.push_back({rank, nameText(p.firstName) + u" " + nameText(p.lastName)});
    }
    return rows;
}

const char16_t* rankingsTitleImage(int32_t ladder) {
    return ladderInRange(ladder) ? kLadderTitles[ladder].image : nullptr;
}

const char16_t* rankingsTitleMask(int32_t ladder) {
    return ladderInRange(ladder) ? kLadderTitles[ladder].mask : nullptr;
}
