// Row sets: ranges added across the 64-row words, and the runs read back from them.
#include "render/row_set.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::pair<int, int>> runsOf(const RowSet& set) {
    RowRun runs[kMaxRowRuns];
    const int count = rowRuns(set, runs);
    std::vector<std::pair<int, int>> out;
    for (int i = 0; i < count; ++i)
        out.emplace_back(runs[i].first, runs[i].end);
    return out;
}

using Runs = std::vector<std::pair<int, int>>;

TEST(RowSet, RunsCrossWordBordersAndReachTheLastRow) {
    RowSet set;
    EXPECT_EQ(runsOf(set), Runs{});
    addRows(set, 63, 65);   // across the first border
    addRows(set, 65, 130);  // touching it: one run; past the next border
    addRows(set, 192, 256); // exactly one word
    addRows(set, 300, 400); // past the end: cut at the last row
    addRows(set, 10, 10);   // empty
    EXPECT_EQ(runsOf(set), (Runs{{63, 130}, {192, 256}, {300, kRowSetRows}}));
    EXPECT_TRUE(containsRow(set, 129));
    EXPECT_FALSE(containsRow(set, 130));
    addAllRows(set);
    EXPECT_EQ(runsOf(set), (Runs{{0, kRowSetRows}}));
}

TEST(RowSet, EveryOtherRowIsTheMostRuns) {
    RowSet set;
    for (int row = 0; row < kRowSetRows; row += 2)
        addRows(set, row, row + 1);
    const Runs runs = runsOf(set);
    ASSERT_EQ(runs.size(), static_cast<size_t>(kMaxRowRuns));
    EXPECT_EQ(runs.back(), (std::pair<int, int>{kRowSetRows - 2, kRowSetRows - 1}));
}

} // namespace
