// row_set.h: which rows of a screen-sized buffer may have been written since the set was last
// emptied, one bit a row, so that the passes over the whole screen need visit only those.
#pragma once

#include <algorithm>
#include <cstdint>

#include "core/display.h"
#include "core/screen_rows.h"

constexpr int32_t kRowSetRows = kScreenHeight;
constexpr int kRowSetWords = (kRowSetRows + 63) / 64;
static_assert(kRowSetRows % 64 == 0, "no bits beyond the last row to keep clear");

// Rows are counted from the top of the screen, as the rasteriser and the depth buffer count them.
struct RowSet {
    uint64_t bits[kRowSetWords] = {};
};

// Rows first .. end - 1. Rows past the set's capacity are dropped: a buffer taller than the
// screen is not tracked, and its users pass over it whole.
inline void addRows(RowSet& set, int32_t first, int32_t end) {
    end = std::min(end, kRowSetRows);
    // Most ranges lie within one word: a triangle, a glyph, a button.
    if (first < end && first >> 6 == (end - 1) >> 6) {
        set.bits[first >> 6] |= ~uint64_t{0} >> (64 - (end - first)) << (first & 63);
        return;
    }
    while (first < end) {
        const int32_t bit = first & 63;
        const int32_t taken = std::min(end - first, 64 - bit);
        const uint64_t run = taken == 64 ? ~uint64_t{0} : (uint64_t{1} << taken) - 1;
        set.bits[first >> 6] |= run << bit;
        first += taken;
    }
}

inline void addAllRows(RowSet& set) {
    addRows(set, 0, kRowSetRows);
}

inline RowSet unionOf(const RowSet& a, const RowSet& b) {
    RowSet u;
    for (int w = 0; w < kRowSetWords; ++w)
        u.bits[w] = a.bits[w] | b.bits[w];
    return u;
}

inline bool containsRow(const RowSet& set, int32_t row) {
    return (set.bits[row >> 6] >> (row & 63) & 1) != 0;
}

// Every other row is the most runs a set can hold.
constexpr int kMaxRowRuns = kRowSetRows / 2;

// The set's runs from the top down; returns how many were stored.
int rowRuns(const RowSet& set, RowRun* out);
