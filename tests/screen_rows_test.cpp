// Screen rows: the runs the browser's canvas is updated by, gaps joined or not, and the runs a
// frame passes over, from ranges marked across the words.
#include "core/screen_rows.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> runsOf(const ScreenRows& rows, int gap) {
    RowRun found[kMaxRowRuns];
    const int count = joinRowRuns(found, markedRuns(rows, found), gap);
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < count; ++i)
        runs.emplace_back(found[i].first, found[i].end);
    return runs;
}

TEST(ScreenRows, RunsJoinAcrossGapsUpToTheirLimitAndReachTheEdges) {
    ScreenRows rows;
    EXPECT_TRUE(runsOf(rows, 8).empty());
    for (int y : {0, 1, 31, 32, 40, 50, 319})
        markRow(rows, y);
    // 1 to 31 leaves 29 rows out; 32 to 40 leaves 7 and 40 to 50 leaves 9.
    using Runs = std::vector<std::pair<int, int>>;
    EXPECT_EQ(runsOf(rows, 0), (Runs{{0, 2}, {31, 33}, {40, 41}, {50, 51}, {319, 320}}));
    EXPECT_EQ(runsOf(rows, 8), (Runs{{0, 2}, {31, 41}, {50, 51}, {319, 320}}));
    EXPECT_EQ(runsOf(rows, 9), (Runs{{0, 2}, {31, 51}, {319, 320}}));
    EXPECT_EQ(runsOf(rows, 320), (Runs{{0, 320}}));

    ScreenRows all;
    markAllRows(all);
    EXPECT_EQ(runsOf(all, 0), (Runs{{0, 320}}));
    clearRows(all);
    EXPECT_FALSE(rowMarked(all, 100));
}

std::vector<std::pair<int, int>> markedRunsOf(const ScreenRows& rows) {
    RowRun runs[kMaxRowRuns];
    const int count = markedRuns(rows, runs);
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < count; ++i)
        out.emplace_back(runs[i].first, runs[i].end);
    return out;
}

TEST(ScreenRows, RangesMarkedAcrossWordsComeBackAsTheirRuns) {
    using Runs = std::vector<std::pair<int, int>>;
    ScreenRows rows;
    EXPECT_EQ(markedRunsOf(rows), Runs{});
    markRows(rows, 31, 33);   // across the first border
    markRows(rows, 33, 100);  // touching it: one run, over whole words
    markRows(rows, 128, 160); // exactly one word
    markRows(rows, 300, 400); // past the end: cut at the last row
    markRows(rows, 10, 10);   // empty
    EXPECT_EQ(markedRunsOf(rows), (Runs{{31, 100}, {128, 160}, {300, 320}}));
    EXPECT_EQ(markedRunsOf(rows), runsOf(rows, 0));

    ScreenRows alternate;
    for (int y = 1; y < kScreenHeight; y += 2)
        markRow(alternate, y);
    const Runs runs = markedRunsOf(alternate);
    ASSERT_EQ(runs.size(), static_cast<size_t>(kMaxRowRuns));
    EXPECT_EQ(runs.back(), (std::pair<int, int>{319, 320}));
}

} // namespace
