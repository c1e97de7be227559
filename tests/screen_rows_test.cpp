// Screen rows: the runs the browser's canvas is updated by, gaps joined or not.
#include "core/screen_rows.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> runsOf(const ScreenRows& rows, int gap) {
    std::vector<std::pair<int, int>> runs;
    for (RowRun run = nextRowRun(rows, 0, gap); run.end != 0; run = nextRowRun(rows, run.end, gap))
        runs.emplace_back(run.first, run.end);
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

} // namespace
