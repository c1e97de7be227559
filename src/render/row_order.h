// row_order.h: which of a triangle's vertices is top, middle and bottom, ties included, looked
// up from five comparisons so that sorting costs no branch.
#pragma once

#include <array>
#include <cstdint>

#include "core/fixed_point.h"

// Top, middle, bottom by y; the tie rules decide which vertex starts the long edge. They read
// five comparisons, and are laid out as a table over them so that sorting a random triangle
// costs no branch the predictor could miss.
struct RowOrder {
    uint8_t top, middle, bottom;
};

struct RowComparisons {
    bool y0AfterY1, y0UpToY2, y2UpToY1, y1UpToY2, y2AfterY0;
};

constexpr RowOrder rowOrderFor(const RowComparisons& c) {
    if (c.y0AfterY1) {
        if (c.y0UpToY2)
            return {1, 0, 2};
        return c.y2UpToY1 ? RowOrder{2, 1, 0} : RowOrder{1, 2, 0};
    }
    if (c.y1UpToY2)
        return {0, 1, 2};
    return c.y2AfterY0 ? RowOrder{0, 2, 1} : RowOrder{2, 0, 1};
}

constexpr std::array<RowOrder, 32> kRowOrders = [] {
    std::array<RowOrder, 32> table{};
    for (int k = 0; k < 32; ++k)
        table[k] =
            rowOrderFor({(k & 1) != 0, (k & 2) != 0, (k & 4) != 0, (k & 8) != 0, (k & 16) != 0});
    return table;
}();

// The table's index for vertex heights y0, y1, y2.
inline int rowOrderIndex(Fixed y0, Fixed y1, Fixed y2) {
    return (y0 > y1) | (y0 <= y2) << 1 | (y2 <= y1) << 2 | (y1 <= y2) << 3 | (y2 > y0) << 4;
}

inline RowOrder sortByRow(Fixed y0, Fixed y1, Fixed y2) {
    return kRowOrders[rowOrderIndex(y0, y1, y2)];
}

// One table per place for the vector code, which gathers them lane by lane.
constexpr std::array<int32_t, 32> rowOrderColumn(int place) {
    std::array<int32_t, 32> column{};
    for (int k = 0; k < 32; ++k)
        column[k] = place == 0   ? kRowOrders[k].top
                    : place == 1 ? kRowOrders[k].middle
                                 : kRowOrders[k].bottom;
    return column;
}
