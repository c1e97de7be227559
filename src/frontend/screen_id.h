// screen_id.h: the 21 screens of the game and their numbers.
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
};

constexpr int32_t kFirstScreen = Logo;
constexpr int32_t kLastScreen = Options;
