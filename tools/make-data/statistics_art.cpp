// statistics_art.cpp: the statistics page: row labels and bands beside the columns the game
// writes its names and figures into, and the chip that plays the match again.
#include "statistics_art.h"

#include <string>

#include "assets/asset_names.h"
#include "button_faces.h"
#include "frontend/match_statistics.h"
#include "frontend/screen_tables.h"
#include "frontend/statistics_layout.h"
#include "house_style.h"

namespace {

const ScreenRect& watchAgainRect() {
    const int32_t slot = slotDoing(Statistics, ButtonAction::WatchAgain);
    return findScreenLayout(Statistics)->buttons[static_cast<size_t>(slot)].rect;
}

// The widest of the label sizes that fits beside the figures.
TextStyle labelStyleWithin(const TypeSet& types, const std::string& label, int width) {
    TextStyle style = kLabelStyle;
    while (style.pixelSize > 8 && textWidth(types, style, label) > width)
        --style.pixelSize;
    return style;
}

void drawColumns(Canvas& canvas) {
    const float top = static_cast<float>(kStatisticsFirstNameTop) - 3.0f;
    const float bottom =
        static_cast<float>(kStatisticsRowTop + kStatisticsRowStep * (kStatisticsRows - 1) +
                           kStatisticsRowHeight) +
        3.0f;
    for (int p = 0; p < 2; ++p)
        fillPath(canvas,
                 roundedRectPath(static_cast<float>(kStatisticsColumnLeft[p]) + 1.0f, top,
                                 static_cast<float>(kStatisticsColumnWidth) - 2.0f, bottom - top,
                                 4.0f),
                 solid(palette::kNavy), 0.55f);
}

void drawHeader(Canvas& canvas, const TypeSet& types) {
    const int setsBaseline = kStatisticsSetsTop + 10;
    drawText(canvas, types, kSmallStyle, "Players", static_cast<float>(kStatisticsLabelLeft),
             kStatisticsLastNameTop + 2, solid(palette::kBall));
    drawText(canvas, types, kSmallStyle, "Games per set", static_cast<float>(kStatisticsLabelLeft),
             setsBaseline, solid(palette::kBall));
    // A yellow rule between the players and their figures.
    const float ruleY = static_cast<float>(kStatisticsRowTop) - 4.0f;
    fillPath(canvas, rectPath(static_cast<float>(kStatisticsLabelLeft), ruleY, 228.0f, 1.0f),
             solid(palette::kBall), 0.7f);
}

void drawRows(Canvas& canvas, const TypeSet& types) {
    const int labelWidth = kStatisticsColumnLeft[0] - kStatisticsLabelLeft - 2;
    for (int r = 0; r < kStatisticsRows; ++r) {
        const int top = kStatisticsRowTop + kStatisticsRowStep * r;
        // Every other row on a faint band, so the eye follows a row across.
        if (r % 2 == 0)
            fillPath(canvas,
                     rectPath(static_cast<float>(kStatisticsLabelLeft) - 2.0f,
                              static_cast<float>(top) - 2.0f, 232.0f,
                              static_cast<float>(kStatisticsRowHeight) + 4.0f),
                     solid(palette::kBlue), 0.18f);
        const std::string label = toUtf8(kStatisticsLabels[r]);
        drawText(canvas, types, labelStyleWithin(types, label, labelWidth), label,
                 static_cast<float>(kStatisticsLabelLeft), top + 12, solid(palette::kWhite));
    }
}

Canvas statisticsScreen(const TypeSet& types) {
    Canvas canvas = menuBackground();
    drawScreenTitle(canvas, types, "Statistics", 10, 30);
    drawPanel(canvas, 2, static_cast<float>(kStatisticsFirstNameTop) - 6.0f, 236,
              static_cast<float>(kStatisticsRowTop + kStatisticsRowStep * kStatisticsRows -
                                 kStatisticsFirstNameTop) +
                  6.0f);
    drawColumns(canvas);
    drawHeader(canvas, types);
    drawRows(canvas, types);
    drawButtonBar(canvas);
    return canvas;
}

void addWatchAgainFaces(DataSet& data, const TypeSet& types) {
    const ScreenRect& r = watchAgainRect();
    const float w = static_cast<float>(r.width), h = static_cast<float>(r.height);
    for (Look look : {Look::Normal, Look::Pressed}) {
        const std::string stem = look == Look::Pressed ? "Watch1" : "Watch0";
        Canvas canvas = makeCanvas(r.width, r.height,
                                   look == Look::Pressed ? palette::kGoldShade : palette::kSteel);
        drawChip(canvas, types, 0, 0, w, h, "", look);
        // A play sign before the words.
        const float cy = h / 2.0f;
        fillPath(canvas, polygonPath({{7.0f, cy - 5.0f}, {15.0f, cy}, {7.0f, cy + 5.0f}}),
                 solid(look == Look::Pressed ? palette::kInk : palette::kBall));
        drawTextInBox(canvas, types, kLabelStyle, "Watch again", 15.0f, 0, w - 17.0f, h,
                      solid(look == Look::Pressed ? palette::kInk : palette::kWhite));
        addPicture(data, buttonPictureName(stem + ".jpg"), canvas);
        addCoverageMask(data, buttonPictureName(stem + "_m.jpg"),
                        pathCoverage(r.width, r.height, chipPath(0, 0, w, h)), r.width, r.height);
    }
}

} // namespace

void addStatisticsArt(DataSet& data, const TypeSet& types) {
    addPicture(data, dataEntryName(u"Statistics.jpg"), statisticsScreen(types));
    addWatchAgainFaces(data, types);
}
