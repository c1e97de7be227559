// statistics_layout.h: where the statistics page writes its names and figures; the page's
// picture frames the same places and writes the row labels beside them.
#pragma once

// Player 1's column on the left, player 2's on the right, each wide enough for an 11-letter
// name in the 6 x 12 font, with a gap between them so that two such names stay apart.
constexpr int kStatisticsLabelLeft = 6;
constexpr int kStatisticsColumnLeft[2] = {101, 172};
constexpr int kStatisticsColumnWidth = 66;
// The first names, the last names one line lower, then the games of each set: 6 x 12 font.
constexpr int kStatisticsFirstNameTop = 42;
constexpr int kStatisticsLastNameTop = 54;
constexpr int kStatisticsSetsTop = 68;
// The figures, a row each: 8 x 16 font.
constexpr int kStatisticsRowTop = 86;
constexpr int kStatisticsRowStep = 20;
constexpr int kStatisticsRowHeight = 16;
