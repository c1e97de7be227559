// matches_e2e_test.cpp: a tournament played through the real game with player 1 left to the
// computer: the result screens, the ladder and players.dat after every round. Whole exhibitions
// are played in the long session.
#include <gtest/gtest.h>

#include <set>

#include "driver_runner.h"
#include "players_dat.h"
#include "temp_dir.h"

namespace {

constexpr int kAdaSlot = 5;

int32_t rankOn(const Json& state, int slot, int ladder) {
    return state["profiles"][slot]["ranks"][ladder];
}

// The used profiles hold the places 0 .. n-1 of the ladder, each once.
void expectLadderIsAPermutation(const Json& state, int ladder) {
    std::set<int32_t> places;
    int used = 0;
    for (const Json& p : state["profiles"])
        if (p["level"] != -1) {
            ++used;
            places.insert(p["ranks"][ladder].get<int32_t>());
        }
    EXPECT_EQ(static_cast<int>(places.size()), used);
    EXPECT_EQ(*places.rbegin(), used - 1);
}

// The profiles and options of the last state, as players.dat must hold them.
void expectFileHoldsState(const std::vector<uint8_t>& file, const Json& state) {
    ASSERT_TRUE(playersDatValid(file));
    for (int slot = 0; slot < 10; ++slot) {
        const size_t record = kRecordsOffset + kRecordSize * static_cast<size_t>(slot);
        EXPECT_EQ(int32At(file, record + 48), state["profiles"][slot]["level"]) << slot;
        if (state["profiles"][slot]["level"] == -1)
            continue;
        for (int ladder = 0; ladder < 5; ++ladder)
            EXPECT_EQ(int32At(file, record + 52 + 4 * static_cast<size_t>(ladder)),
                      rankOn(state, slot, ladder))
                << slot;
    }
}

} // namespace

// Seed 5 wins the first round and loses the second: a won round, a lost one, both ladder moves
// and the trophies of one win. Any other course is checked the same way.
TEST(PlayedThroughTheGame, TournamentPlayedRoundByRoundMovesTheLadderAndEndsOnTheTrophies) {
    TempDir home;
    ASSERT_EQ(runDriver({"--home", home.path.string()}, e2eScript("make_profile.script")).status,
              0);
    DriverProcess driver;
    startDriver(driver, {"--home", home.path.string(), "--seed", "5"});
    sendCommand(driver, "tap 1 1");
    tapAndExpect(driver, "tap 184 177", "TournamentPlayer");
    sendCommand(driver, "tap 214 306");
    sendCommand(driver, "auto on");
    Json state = tapAndExpect(driver, "tap 214 306", "TournamentMatch");
    for (int round = 0; round < 5; ++round) {
        const int opponent = state["options"]["player2Profile"];
        const int mine = rankOn(state, kAdaSlot, 0);
        const int theirs = rankOn(state, opponent, 0);
        state = playWhileOn(driver, "TournamentMatch");
        expectLadderIsAPermutation(state, 0);
        expectFileHoldsState(readFileBytes(home.file("players.dat")), state);
        // After a won round the next match is already set up, so the screen tells the result.
        const bool won = state["screen"] != "TournamentLost";
        if (state["screen"] != "TournamentRoundWon") {
            EXPECT_EQ(state["match"]["matchOver"], 1);
            EXPECT_EQ(state["match"]["setsWon"][won ? 0 : 1], 1);
        }
        // The winner takes the loser's place when it stood below.
        if (won && theirs < mine) {
            EXPECT_EQ(rankOn(state, kAdaSlot, 0), theirs);
        }
        if (!won && mine < theirs) {
            EXPECT_EQ(rankOn(state, opponent, 0), mine);
        }
        if (!won) {
            EXPECT_EQ(state["tournamentRound"], round);
            break;
        }
        EXPECT_EQ(state["tournamentRound"], round + 1);
        if (round == 4) {
            EXPECT_EQ(state["screen"], "TournamentChampion");
            EXPECT_EQ(rankOn(state, kAdaSlot, 0), 0);
            break;
        }
        EXPECT_EQ(state["screen"], "TournamentRoundWon");
        state = tapAndExpect(driver, "tap 214 306", "TournamentMatch"); // Next: the next round
        EXPECT_EQ(state["match"]["matchOver"], 0);
        EXPECT_EQ(state["match"]["players"][0]["isComputer"], 1);
    }
    const int rounds = state["tournamentRound"];
    EXPECT_EQ(tapAndExpect(driver, "tap 214 306", "Trophies")["tournamentRound"], rounds);
    tapAndExpect(driver, "tap 120 306", "MainMenu");
    sendCommand(driver, "key a");
    EXPECT_EQ(finishDriver(driver), 0);
    expectFileHoldsState(readFileBytes(home.file("players.dat")), state);
}
