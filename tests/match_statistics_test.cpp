// The statistics page's rows: from a tally built by hand (formats, rounding, what winners and
// errors leave out); whole matches account for every point in whole_match_test.
#include "frontend/match_statistics.h"
#include "frontend/player_profile.h"
#include "match_support.h"

#include <cstring>

namespace {

using enum StatisticsRowId;

const StatisticsRow& rowOf(const StatisticsPage& page, StatisticsRowId id) {
    return page.rows[static_cast<int>(id)];
}

std::string textOf(const StatisticsPage& page, StatisticsRowId id, int player) {
    return toUtf8(statisticsText(rowOf(page, id), player));
}

PlayerProfile profileNamed(const char16_t* first, const char16_t* last) {
    PlayerProfile p = kDefaultRoster[0];
    std::memset(p.firstName, 0, sizeof p.firstName);
    std::memset(p.lastName, 0, sizeof p.lastName);
    std::char_traits<char16_t>::copy(p.firstName, first, std::char_traits<char16_t>::length(first));
    std::char_traits<char16_t>::copy(p.lastName, last, std::char_traits<char16_t>::length(last));
    return p;
}

TEST(MatchStatistics, RowsReadTheTallyBuiltByHand) {
    FinishedMatch finished;
    PlayerTally& a = finished.tally.players[0];
    PlayerTally& b = finished.tally.players[1];
    a.pointsWon = 57;
    a.servicePoints = 48;
    a.servicePointsWon = 31;
    a.firstServes = 8;
    a.firstServesIn = 1; // 12.5 %: a half rounds up
    a.aces = 4;
    a.doubleFaults = 2;
    a.winners[static_cast<int>(StrokeKind::Forehand)] = 5;
    a.winners[static_cast<int>(StrokeKind::Volley)] = 3;
    a.winners[static_cast<int>(StrokeKind::Serve)] = 4; // the aces, counted in their own row
    a.errors[static_cast<int>(StrokeKind::Lob)] = 6;
    a.errors[static_cast<int>(StrokeKind::Serve)] = 2; // the double faults
    a.netPoints = 9;
    a.netPointsWon = 6;
    a.fastestServeInKmh = 187;
    b.firstServes = 3;
    b.firstServesIn = 2; // 66.7 %
    finished.tally.longestRally = 23;

    const StatisticsPage page = statisticsPage(finished);
    EXPECT_EQ(textOf(page, PointsWon, 0), "57");
    EXPECT_EQ(textOf(page, ServicePointsWon, 0), "31/48");
    EXPECT_EQ(textOf(page, FirstServesIn, 0), "13%");
    EXPECT_EQ(textOf(page, FirstServesIn, 1), "67%");
    EXPECT_EQ(textOf(page, Aces, 0), "4");
    EXPECT_EQ(textOf(page, DoubleFaults, 0), "2");
    EXPECT_EQ(textOf(page, Winners, 0), "8");
    EXPECT_EQ(textOf(page, Errors, 0), "6");
    EXPECT_EQ(textOf(page, NetPointsWon, 0), "6/9");
    EXPECT_EQ(textOf(page, FastestServe, 0), "187");
    EXPECT_TRUE(rowOf(page, LongestRally).shared);
    EXPECT_EQ(textOf(page, LongestRally, 0), "23");
    // Nothing served in, or nothing served: a dash, not 0 km/h or a division by zero.
    EXPECT_EQ(textOf(page, FastestServe, 1), "-");
    finished.tally.players[1].firstServes = 0;
    EXPECT_EQ(textOf(statisticsPage(finished), FirstServesIn, 1), "-");
    EXPECT_EQ(textOf(statisticsPage(finished), NetPointsWon, 1), "0/0");
    for (int r = 0; r < kStatisticsRows; ++r)
        EXPECT_EQ(toUtf8(page.rows[r].label), toUtf8(kStatisticsLabels[r]));
}

TEST(MatchStatistics, TheFinishedMatchKeepsNamesAndEachSetsGames) {
    Match* match = createMatch();
    setUpMatch(match, 2, 0, matchPlayerFromProfile(kDefaultRoster[0], true),
               matchPlayerFromProfile(kDefaultRoster[1], true));
    match->setIndex = 3;
    std::memcpy(match->setScoreText, "467665    ", kSetScoreTextLength);
    match->tally.points = 99;
    const FinishedMatch finished =
        finishedMatchOf(*match, profileNamed(u"Alexandra", u"Moreno-Diaz"),
                        profileNamed(u"Gus", u"Tanaka"), TournamentLost);
    EXPECT_EQ(toUtf8(finished.firstNames[0]), "Alexandra");
    EXPECT_EQ(toUtf8(finished.lastNames[0]), "Moreno-Diaz"); // eleven letters fill the array
    EXPECT_EQ(toUtf8(finished.lastNames[1]), "Tanaka");
    EXPECT_EQ(toUtf8(finished.setGames[0]), "4 7 6");
    EXPECT_EQ(toUtf8(finished.setGames[1]), "6 6 5");
    EXPECT_EQ(finished.tally.points, 99);
    EXPECT_EQ(finished.resultScreen, TournamentLost);
    destroyMatch(match);
}

} // namespace
