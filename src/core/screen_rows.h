// screen_rows.h: a set of the screen's rows (0 at the top), for telling the display which rows
// of a frame changed, so that only those are carried further.
#pragma once

#include <algorithm>
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

// Rows first .. end - 1; rows past the screen's last are left out, so a taller buffer's rows
// are not tracked (its users pass over it whole).
inline void markRows(ScreenRows& rows, int first, int end) {
    end = std::min(end, kScreenHeight);
    if (first >= end)
        return;
    const int firstWord = first >> 5;
    const int lastWord = (end - 1) >> 5;
    const uint32_t head = ~uint32_t{0} << (first & 31);
    const uint32_t tail = ~uint32_t{0} >> (31 - ((end - 1) & 31));
    // Most ranges lie within one word: a triangle, a glyph, a button.
    if (firstWord == lastWord) {
        rows.words[firstWord] |= head & tail;
        return;
    }
    rows.words[firstWord] |= head;
    for (int w = firstWord + 1; w < lastWord; ++w)
        rows.words[w] = ~uint32_t{0};
    rows.words[lastWord] |= tail;
}

inline ScreenRows rowsOfEither(const ScreenRows& a, const ScreenRows& b) {
    ScreenRows either;
    for (int w = 0; w < ScreenRows::kWords; ++w)
        either.words[w] = a.words[w] | b.words[w];
    return either;
}

inline void markAllRows(ScreenRows& rows) {
    markRows(rows, 0, kScreenHeight);
}

inline void clearRows(ScreenRows& rows) {
    rows = ScreenRows{};
}

// A run of marked rows: first .. end - 1.
struct RowRun {
    int first;
    int end;
};

// Every other row is the most runs there can be.
constexpr int kMaxRowRuns = kScreenHeight / 2;

// Every run of marked rows, top down, found a word at a time rather than a row at a time (the
// frame passes over its drawn rows by these); returns how many were stored.
inline int markedRuns(const ScreenRows& rows, RowRun* out) {
    int count = 0;
    bool inRun = false;
    for (int w = 0; w < ScreenRows::kWords; ++w) {
        const uint32_t bits = rows.words[w];
        // Alternately the next marked row (a run's first) and the next unmarked one (its end).
        for (int bit = 0; bit < 32;) {
            const uint32_t ahead = (inRun ? ~bits : bits) >> bit;
            if (ahead == 0)
                break;
            bit += __builtin_ctz(ahead);
            if (inRun)
                out[count++].end = w * 32 + bit;
            else
                out[count].first = w * 32 + bit;
            inRun = !inRun;
        }
    }
    if (inRun)
        out[count++].end = kScreenHeight;
    return count;
}

// The runs joined where up to `gap` unmarked rows lie between one and the next (each run the
// display updates costs something of its own beside its rows); returns how many are left.
inline int joinRowRuns(RowRun* runs, int count, int gap) {
    if (count == 0)
        return 0;
    int kept = 0;
    for (int i = 1; i < count; ++i) {
        if (runs[i].first - runs[kept].end <= gap)
            runs[kept].end = runs[i].end;
        else
            runs[++kept] = runs[i];
    }
    return kept + 1;
}
