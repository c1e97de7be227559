// row_set.cpp: the runs of a row set, found a 64-row word at a time.
#include "render/row_set.h"

int rowRuns(const RowSet& set, RowRun* out) {
    int count = 0;
    bool inRun = false;
    for (int w = 0; w < kRowSetWords; ++w) {
        const uint64_t bits = set.bits[w];
        int bit = 0;
        // Alternately the next set bit (a run's first row) and the next clear one (its end).
        while (bit < 64) {
            const uint64_t ahead = (inRun ? ~bits : bits) >> bit;
            if (ahead == 0)
                break;
            bit += __builtin_ctzll(ahead);
            if (inRun)
                out[count++].end = w * 64 + bit;
            else
                out[count].first = w * 64 + bit;
            inRun = !inRun;
        }
    }
    if (inRun)
        out[count++].end = kRowSetRows;
    return count;
}
