// statistics_drawing.cpp: placing the statistics page's texts in their columns and drawing them.
#include "view/statistics_drawing.h"

#include "frontend/statistics_layout.h"
#include "view/hud_text.h"

namespace {

constexpr int kSmallWidth = 6, kSmallHeight = 12;
constexpr int kLargeWidth = 8, kLargeHeight = 16;
constexpr int kCaptionCentreY = 258;

int glyphWidth(PageFont font) {
    return font == PageFont::Large8x16 ? kLargeWidth : kSmallWidth;
}

int glyphHeight(PageFont font) {
    return font == PageFont::Large8x16 ? kLargeHeight : kSmallHeight;
}

// Centred across the cell from left to left + width, on the line from top.
PlacedText placeInCell(int left, int width, int top, PageFont font, WideString text) {
    const int fits = width / glyphWidth(font);
    if (static_cast<int>(text.size()) > fits)
        text.resize(static_cast<size_t>(fits));
    const int textWidth = static_cast<int>(text.size()) * glyphWidth(font);
    return {{left + (width - textWidth) / 2, top, textWidth, glyphHeight(font)}, font, text};
}

PlacedText placeFigure(int left, int width, int rowTop, const WideString& text) {
    if (static_cast<int>(text.size()) * kLargeWidth <= width)
        return placeInCell(left, width, rowTop, PageFont::Large8x16, text);
    // The small line sits in the middle of the large one.
    return placeInCell(left, width, rowTop + (kLargeHeight - kSmallHeight) / 2, PageFont::Small6x12,
                       text);
}

void drawPlaced(FrameBuffers& fb, const PlacedText& placed) {
    int x = placed.box.left;
    for (char16_t c : placed.text) {
        if (placed.font == PageFont::Large8x16)
            drawGlyph8x16(fb, x, placed.box.top, c);
        else
            drawGlyph6x12(fb, x, placed.box.top, c);
        x += glyphWidth(placed.font);
    }
}

} // namespace

std::vector<PlacedText> statisticsPageTexts(const StatisticsPage& page) {
    std::vector<PlacedText> texts;
    auto add = [&](PlacedText placed) {
        if (!placed.text.empty())
            texts.push_back(std::move(placed));
    };
    for (int p = 0; p < 2; ++p) {
        const int left = kStatisticsColumnLeft[p];
        add(placeInCell(left, kStatisticsColumnWidth, kStatisticsFirstNameTop, PageFont::Small6x12,
                        page.firstNames[p]));
        add(placeInCell(left, kStatisticsColumnWidth, kStatisticsLastNameTop, PageFont::Small6x12,
                        page.lastNames[p]));
        add(placeInCell(left, kStatisticsColumnWidth, kStatisticsSetsTop, PageFont::Small6x12,
                        page.setGames[p]));
    }
    for (int r = 0; r < kStatisticsRows; ++r) {
        const StatisticsRow& row = page.rows[r];
        const int top = kStatisticsRowTop + kStatisticsRowStep * r;
        if (row.shared) {
            const int left = kStatisticsColumnLeft[0];
            const int width = kStatisticsColumnLeft[1] + kStatisticsColumnWidth - left;
            add(placeFigure(left, width, top, statisticsText(row, 0)));
            continue;
        }
        for (int p = 0; p < 2; ++p)
            add(placeFigure(kStatisticsColumnLeft[p], kStatisticsColumnWidth, top,
                            statisticsText(row, p)));
    }
    return texts;
}

void drawStatisticsPage(FrameBuffers& fb, const StatisticsPage& page) {
    for (const PlacedText& placed : statisticsPageTexts(page))
        drawPlaced(fb, placed);
}

PlacedText resultCaption() {
    return placeInCell(0, kScreenWidth, kCaptionCentreY - kLargeHeight / 2, PageFont::Large8x16,
                       u"Tap for the statistics");
}

void drawResultCaption(FrameBuffers& fb) {
    drawPlaced(fb, resultCaption());
}
