// Tournament opponents, ladder places after tournament matches, and the rankings rows.
#include "frontend/ladders.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The roster plus `users` confirmed user profiles, each at the bottom of every ladder.
ProfileStore storeWithUsers(int users) {
    ProfileStore store;
    makeDefaultProfiles(store);
    for (int i = 0; i < users; ++i)
        store.profiles[createProfile(store)].level = 0;
    return store;
}

int32_t slotAtRank(const ProfileStore& store, int32_t rank, int ladder = 0) {
    for (int32_t slot = 0; slot < kProfileSlots; ++slot)
        if (profileUsed(store.profiles[slot]) && store.profiles[slot].rank[ladder] == rank)
            return slot;
    return -1;
}

// Places 0..n-1 on ladder 0 taken by the slots in this order.
void arrange(ProfileStore& store, std::initializer_list<int32_t> slotsFromTop) {
    int32_t rank = 0;
    for (int32_t slot : slotsFromTop)
        store.profiles[slot].rank[0] = rank++;
}

std::vector<int32_t> ladder0(const ProfileStore& store) {
    std::vector<int32_t> slots;
    for (int32_t rank = 0; rank < kProfileSlots; ++rank)
        if (int32_t slot = slotAtRank(store, rank); slot >= 0)
            slots.push_back(slot);
    return slots;
}

TEST(LadderResults, WinnerFromBelowTakesTheLosersPlaceAndTheRestMoveDown) {
    ProfileStore store = storeWithUsers(2);
    arrange(store, {4, 3, 2, 1, 0, 5, 6});
    store.options.player1Profile = 5; // p = 5
    store.options.player2Profile = 2; // o = 2
    ladderWin(store);
    EXPECT_EQ(ladder0(store), (std::vector<int32_t>{4, 3, 5, 2, 1, 0, 6}));
    EXPECT_TRUE(profilesValid(store.options, store.profiles));

    const ProfileStore before = store;
    store.options.player2Profile = 6; // beating a lower-ranked opponent changes nothing
    ladderWin(store);
    EXPECT_EQ(ladder0(store), ladder0(before));
}

TEST(LadderResults, LosingToALowerOpponentGivesUpThePlace) {
    ProfileStore store = storeWithUsers(1);
    arrange(store, {4, 5, 3, 2, 1, 0});
    store.options.player1Profile = 5; // p = 1
    store.options.player2Profile = 2; // o = 3
    ladderLoss(store);
    EXPECT_EQ(ladder0(store), (std::vector<int32_t>{4, 2, 5, 3, 1, 0}));

    store.options.player2Profile = 4; // losing to the top changes nothing
    ladderLoss(store);
    EXPECT_EQ(ladder0(store), (std::vector<int32_t>{4, 2, 5, 3, 1, 0}));
    EXPECT_EQ(store.profiles[5].rank[1], 5); // other ladders untouched
}

// Round r wants the place 5 - r; the own place is skipped only while the target lies at or
// below it.
TEST(TournamentOpponents, EachRoundMeetsTheNextPlaceUpSkippingTheOwn) {
    const struct {
        std::initializer_list<int32_t> slotsFromTop;
        int32_t places[5];
    } cases[] = {{{5, 4, 3, 2, 1, 0}, {5, 4, 3, 2, 1}}, {{4, 3, 5, 2, 1, 0}, {5, 4, 3, 1, 0}}};
    for (const auto& c : cases) {
        ProfileStore store = storeWithUsers(1);
        arrange(store, c.slotsFromTop);
        store.options.player1Profile = 5;
        for (int32_t round = 0; round < 5; ++round) {
            pickTournamentOpponent(store, round);
            EXPECT_EQ(store.profiles[store.options.player2Profile].rank[0], c.places[round]);
        }
    }
}

TEST(TournamentOpponents, WithNobodyAtTheWantedPlaceTheOpponentStays) {
    ProfileStore store = storeWithUsers(0);
    store.options.player1Profile = 4; // place 0: round 0 wants place 5
    store.options.player2Profile = 2;
    pickTournamentOpponent(store, 0);
    EXPECT_EQ(store.options.player2Profile, 2);
}

TEST(TournamentOpponents, FiveWinsFromTheBottomMakeAChampion) {
    ProfileStore store = storeWithUsers(1);
    store.options.level = 3;
    store.options.player1Profile = 5;
    for (int32_t round = 0; round < 5; ++round) {
        pickTournamentOpponent(store, round);
        EXPECT_EQ(store.options.player2Profile, round);
        EXPECT_EQ(store.profiles[round].rank[3], 4 - round);
        ladderWin(store);
        EXPECT_EQ(store.profiles[5].rank[3], 4 - round);
    }
    EXPECT_EQ(store.profiles[5].rank[3], 0);
    EXPECT_EQ(store.profiles[4].rank[3], 1);
    EXPECT_EQ(store.profiles[0].rank[3], 5);
    EXPECT_EQ(store.profiles[5].rank[0], 5);
    EXPECT_TRUE(profilesValid(store.options, store.profiles));
}

TEST(Rankings, RowsFollowThePlacesInSlotOrder) {
    ProfileStore store = storeWithUsers(1);
    store.profiles[5].rank[2] = 0;
    for (int slot = 0; slot < 5; ++slot)
        store.profiles[slot].rank[2] += 1;
    const std::vector<RankingRow> rows = rankingsRows(store, 2);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0].row, 5);
    EXPECT_EQ(rows[0].text, u"Bramwel Ostrand");
    EXPECT_EQ(rows[4].row, 1);
    EXPECT_EQ(rows[4].text, u"Osmund Vex");
    EXPECT_EQ(rows[5].row, 0);
    EXPECT_EQ(rows[5].text, u"New Player");
    EXPECT_TRUE(rankingsRows(store, 5).empty());
}

TEST(Rankings, ForgedPlacesOutsideTheTenRowsAreSkipped) {
    ProfileStore store = storeWithUsers(1);
    store.profiles[5].rank[0] = 10;
    store.profiles[2].rank[0] = -1;
    // A name that fills its field without a terminator still ends at the field.
    std::fill(std::begin(store.profiles[1].lastName), std::end(store.profiles[1].lastName), u'a');
    const std::vector<RankingRow> rows = rankingsRows(store, 0);
    ASSERT_EQ(rows.size(), 4u);
    for (const RankingRow& r : rows) {
        EXPECT_GE(r.row, 0);
        EXPECT_LT(r.row, 10);
    }
    EXPECT_EQ(rows[1].text, u"Teodric " + std::u16string(12, u'a'));
}

} // namespace
