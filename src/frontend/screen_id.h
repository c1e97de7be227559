// screen_id.h: the screens of the game and their numbers: the 21 of the menus, the matches and
// their results, and the statistics page after them.
#pragma once

#include <cstdint>

enum ScreenId : int32_t {
    NoScreen = 0,
    Logo = 1,
    MainMenu = 2,
    Credits = 3,
    ExhibitionPlayer1 = 4,
    ExhibitionPlayer2 = 5,
    ExhibitionStadium = 6,
    ExhibitionMatch = 7,
    TournamentPlayer = 8,
    TournamentStadium = 9,
    TournamentMatch = 10,
    Trophies = 11,
    ExhibitionWon = 12,
    TournamentRoundWon = 13,
    ExhibitionLost = 14,
    TournamentLost = 15,
    TournamentChampion = 16,
    PracticePlayer = 17,
    Practice = 18,
    NewPlayer = 19,
    Rankings = 20,
    Options = 21,
    Statistics = 22, // of the match just played, opened from its result screen
};

constexpr int32_t kFirstScreen = Logo;
// Every id from the first to the last has a table, an entry and a name.
constexpr int32_t kLastScreen = Statistics;
