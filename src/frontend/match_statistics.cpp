// match_statistics.cpp: the statistics page's rows from a finished match's tally.
#include "frontend/match_statistics.h"

#include "assets/image_button.h"
#include "core/wide_format.h"
#include "frontend/player_profile.h"
#include "frontend/screen_entry.h"
#include "frontend/screen_tables.h"

const char16_t* const kStatisticsLabels[kStatisticsRows] = {
    u"Points won",      u"Service points won",
    u"First serves in", u"Aces",
    u"Double faults",   u"Winners",
    u"Errors",          u"Net points won",
    u"Longest rally",   u"Fastest serve km/h",
};

namespace {

constexpr int kServe = static_cast<int>(StrokeKind::Serve);

// Profile names carry a terminator within their array, or fill it.
WideString nameOf(const char16_t (&name)[kProfileNameLength]) {
    size_t length = 0;
    while (length < kProfileNameLength && name[length] != 0)
        ++length;
    return WideString(name, length);
}

// The set table keeps each finished set's games as two digits, player 1's first.
WideString setGamesOf(const Match& match, int player) {
    WideString games;
    for (int set = 0; set < match.setIndex && 2 * set + 1 < kSetScoreTextLength; ++set) {
        if (!games.empty())
            games += u' ';
        games += static_cast<char16_t>(match.setScoreText[2 * set + player]);
    }
    return games;
}

int32_t rallyCount(const int32_t (&byKind)[kStrokeKinds]) {
    int32_t sum = 0;
    for (int kind = 0; kind < kStrokeKinds; ++kind)
        sum += kind == kServe ? 0 : byKind[kind];
    return sum;
}

// Rounded to the nearest whole per cent, a half up.
int32_t percentOf(int32_t part, int32_t whole) {
    return static_cast<int32_t>((int64_t{part} * 200 + whole) / (int64_t{whole} * 2));
}

using Figure = int32_t (*)(const PlayerTally&);

StatisticsRow& rowOf(StatisticsPage& page, StatisticsRowId id) {
    StatisticsRow& row = page.rows[static_cast<int>(id)];
    row.label = kStatisticsLabels[static_cast<int>(id)];
    return row;
}

void setPlayerRow(StatisticsPage& page, StatisticsRowId id, StatisticsFigure figure,
                  const MatchTally& tally, Figure value, Figure outOf = nullptr) {
    StatisticsRow& row = rowOf(page, id);
    row.figure = figure;
    for (int p = 0; p < 2; ++p) {
        row.value[p] = value(tally.players[p]);
        row.outOf[p] = outOf ? outOf(tally.players[p]) : 0;
    }
}

void setSharedRow(StatisticsPage& page, StatisticsRowId id, int32_t value) {
    StatisticsRow& row = rowOf(page, id);
    row.shared = true;
    row.value[0] = row.value[1] = value;
}

} // namespace

FinishedMatch finishedMatchOf(const Match& match, const PlayerProfile& player1,
                              const PlayerProfile& player2, ScreenId resultScreen) {
    FinishedMatch finished;
    finished.tally = match.tally;
    const PlayerProfile* profiles[2] = {&player1, &player2};
    for (int p = 0; p < 2; ++p) {
        finished.firstNames[p] = nameOf(profiles[p]->firstName);
        finished.lastNames[p] = nameOf(profiles[p]->lastName);
        finished.setGames[p] = setGamesOf(match, p);
    }
    finished.resultScreen = resultScreen;
    return finished;
}

StatisticsPage statisticsPage(const FinishedMatch& match) {
    using enum StatisticsRowId;
    using enum StatisticsFigure;
    const MatchTally& t = match.tally;
    StatisticsPage page;
    for (int p = 0; p < 2; ++p) {
        page.firstNames[p] = match.firstNames[p];
        page.lastNames[p] = match.lastNames[p];
        page.setGames[p] = match.setGames[p];
    }
    setPlayerRow(page, PointsWon, Count, t, [](const PlayerTally& p) { return p.pointsWon; });
    setPlayerRow(
        page, ServicePointsWon, OutOf, t, [](const PlayerTally& p) { return p.servicePointsWon; },
        [](const PlayerTally& p) { return p.servicePoints; });
    setPlayerRow(
        page, FirstServesIn, Percent, t, [](const PlayerTally& p) { return p.firstServesIn; },
        [](const PlayerTally& p) { return p.firstServes; });
    setPlayerRow(page, Aces, Count, t, [](const PlayerTally& p) { return p.aces; });
    setPlayerRow(page, DoubleFaults, Count, t, [](const PlayerTally& p) { return p.doubleFaults; });
    setPlayerRow(page, Winners, Count, t,
                 [](const PlayerTally& p) { return rallyCount(p.winners); });
    setPlayerRow(page, Errors, Count, t, [](const PlayerTally& p) { return rallyCount(p.errors); });
    setPlayerRow(
        page, NetPointsWon, OutOf, t, [](const PlayerTally& p) { return p.netPointsWon; },
        [](const PlayerTally& p) { return p.netPoints; });
    setSharedRow(page, LongestRally, t.longestRally);
    setPlayerRow(page, FastestServe, Speed, t,
                 [](const PlayerTally& p) { return p.fastestServeInKmh; });
    return page;
}

WideString statisticsText(const StatisticsRow& row, int player) {
    const int32_t value = row.value[player];
    const int32_t outOf = row.outOf[player];
    switch (row.figure) {
    case StatisticsFigure::Count:
        return wideDecimal(value);
    case StatisticsFigure::OutOf:
        return wideDecimal(value) + u"/" + wideDecimal(outOf);
    case StatisticsFigure::Percent:
        return outOf > 0 ? wideDecimal(percentOf(value, outOf)) + u"%" : u"-";
    case StatisticsFigure::Speed:
        return value > 0 ? wideDecimal(value) : u"-";
    }
    return u"";
}

bool showsMatchResult(ScreenId screen) {
    switch (screen) {
    case ExhibitionWon:
    case ExhibitionLost:
    case TournamentRoundWon:
    case TournamentLost:
    case TournamentChampion:
        return true;
    default:
        return false;
    }
}

void showStatisticsButtons(const std::vector<ImageButton*>& buttons, ScreenId resultScreen) {
    ImageButton* next = buttonDoing(Statistics, buttons, ButtonAction::Next);
    if (next && slotDoing(resultScreen, ButtonAction::Next) < 0)
        next->currentFace = ButtonFace::Static;
}
