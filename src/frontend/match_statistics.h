// match_statistics.h: what the statistics page shows of the match just played: the record kept
// when the match ends, and the page's rows worked out from its tally.
#pragma once

#include <cstdint>
#include <vector>

#include "core/wide_string.h"
#include "frontend/screen_id.h"
#include "match/match.h"

struct ImageButton;
struct PlayerProfile;

// The match as it ended. A tournament sets the match record up for its next round before the
// result shows, so the page reads this copy, never the match.
struct FinishedMatch {
    MatchTally tally{};
    WideString firstNames[2];
    WideString lastNames[2];
    WideString setGames[2];           // each player's games of every set played: "6 3 7"
    ScreenId resultScreen = NoScreen; // the result screen the match ended on
};

FinishedMatch finishedMatchOf(const Match& match, const PlayerProfile& player1,
                              const PlayerProfile& player2, ScreenId resultScreen);

// How a row's figure reads.
enum class StatisticsFigure : uint8_t {
    Count,   // "57"
    OutOf,   // won of played: "31/48"
    Percent, // of outOf, rounded: "62%"; "-" when outOf is 0
    Speed,   // km/h: "187"; "-" before the first serve in
};

enum class StatisticsRowId : uint8_t {
    PointsWon,
    ServicePointsWon,
    FirstServesIn,
    Aces,
    DoubleFaults,
    Winners,
    Errors,
    NetPointsWon,
    LongestRally,
    FastestServe,
};
constexpr int kStatisticsRows = 10;
static_assert(static_cast<int>(StatisticsRowId::FastestServe) + 1 == kStatisticsRows);

// The words beside each row, in row order; the page's picture draws them.
extern const char16_t* const kStatisticsLabels[kStatisticsRows];

struct StatisticsRow {
    const char16_t* label = nullptr;
    StatisticsFigure figure = StatisticsFigure::Count;
    bool shared = false; // one figure for the whole match, in value[0] and value[1] alike
    int32_t value[2] = {};
    int32_t outOf[2] = {};
};

struct StatisticsPage {
    WideString firstNames[2];
    WideString lastNames[2];
    WideString setGames[2];
    StatisticsRow rows[kStatisticsRows];
};

// Winners and errors count the rally's strokes: a serve's winner is an ace and its error a
// double fault, which have rows of their own.
StatisticsPage statisticsPage(const FinishedMatch& match);
// The figure of player 0 or 1 as the page writes it.
WideString statisticsText(const StatisticsRow& row, int player);

// The result screens a match ends on; a tap on their picture opens the statistics.
bool showsMatchResult(ScreenId screen);
// The page goes on as its result screen does: Next is hidden where that screen has none.
void showStatisticsButtons(const std::vector<ImageButton*>& buttons, ScreenId resultScreen);
