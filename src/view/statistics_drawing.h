// statistics_drawing.h: the statistics page's names and figures in the game's bitmap fonts, and
// the caption that sends the result screens' players to it.
#pragma once

#include <cstdint>
#include <vector>

#include "core/wide_string.h"
#include "frontend/match_statistics.h"
#include "frontend/screen_tables.h"
#include "render/frame_buffer.h"

enum class PageFont : uint8_t { Small6x12, Large8x16 };

// A text as the page draws it: box is exactly the cells it covers.
struct PlacedText {
    ScreenRect box;
    PageFont font;
    WideString text;
};

// Names first, then the figures row by row. A figure too wide for the large font in its column
// takes the small one, and one too wide for that is cut at the column's edge.
std::vector<PlacedText> statisticsPageTexts(const StatisticsPage& page);
void drawStatisticsPage(FrameBuffers& fb, const StatisticsPage& page);

// Under the result screens' words, above their buttons.
PlacedText resultCaption();
void drawResultCaption(FrameBuffers& fb);
