// screen_rows.h: a set of the screen's rows (0 at the top), for telling the display which rows
// of a frame changed, so that only those are carried further.
#pragma once

#include <cstdint>

#include "core/display.h"

struct ScreenRows {
    static constexpr int kWords = (kScreenHeight + 31) / 32;
    uint32_t words[kWords] = {};
};

inline void markRow(ScreenRows& rows, int y) {
    rows.words[y >> 5] |= 1u << (y & 31);
}

inline bool rowMarked(const ScreenRows& rows, int y) {
    return (rows.words[y >> 5] >> (y & 31) & 1) != 0;
}

inline void markAllRows(ScreenRows& rows) {
    for (int y = 0; y < kScreenHeight; ++y)
        markRow(rows, y);
}

inline void clearRows(ScreenRows& rows) {
    rows = ScreenRows{};
}

// A run of marked rows: first .. end - 1.
struct RowRun {
    int first;
    int end;
};

// The next run at or after row `from`, taking in up to `gap` unmarked rows between marked ones
// (each run the display updates costs something of its own beside its rows); end is 0 when
// there is none.
inline RowRun nextRowRun(const ScreenRows& rows, int from, int gap) {
    int y = from;
    while (y < kScreenHeight && !rowMarked(rows, y))
        ++y;
    if (y == kScreenHeight)
        return {kScreenHeight, 0};
    const int first = y;
    int end = y + 1;
    for (y = end; y < kScreenHeight && y - end <= gap; ++y)
        if (rowMarked(rows, y))
            end = y + 1;
    return {first, end};
}
