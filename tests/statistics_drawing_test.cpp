// The statistics page at the largest figures a match can give, drawn with the built fonts: every
// text stays in its column, clear of the labels, the buttons and the other texts, and the drawing
// changes no pixel outside the places it says.
#include "assets/asset_names.h"
#include "assets/image_loading.h"
#include "assets/pak_archive.h"
#include "built_data.h"
#include "frontend/screen_tables.h"
#include "frontend/statistics_layout.h"
#include "view/hud_text.h"
#include "view/statistics_drawing.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kGround = 0xFF808080u;
constexpr int kLongestRallyRow = static_cast<int>(StatisticsRowId::LongestRally);

bool overlap(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// Texts side by side need a gap, or two darkened boxes read as one word.
ScreenRect widened(const ScreenRect& r) {
    constexpr int kGap = 3;
    return {r.left - kGap, r.top, r.width + 2 * kGap, r.height};
}

bool inside(int x, int y, const ScreenRect& r) {
    return x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height;
}

// The widest figure of every row, and names as long as a profile holds.
FinishedMatch largestMatch() {
    FinishedMatch match;
    for (int p = 0; p < 2; ++p) {
        match.firstNames[p] = u"Maximiliana";
        match.lastNames[p] = u"Wolkenstein";
        match.setGames[p] = u"7 6 7 6 7";
        PlayerTally& t = match.tally.players[p];
        t.pointsWon = 999;
        t.servicePoints = t.servicePointsWon = 999;
        t.firstServes = t.firstServesIn = 999; // 100 %
        t.aces = t.doubleFaults = 999;
        t.winners[0] = t.errors[0] = 999;
        t.netPoints = t.netPointsWon = 999;
        t.fastestServeInKmh = 250;
    }
    match.tally.longestRally = 999;
    return match;
}

struct StatisticsDrawing : ::testing::Test {
    FrameBuffers fb;
    StatisticsDrawing() {
        makeFrameBuffers(fb);
        PakArchive* pak = openBuiltData();
        loadFont(pak, kFont8x16Name, fb.font8x16);
        loadFont(pak, kFont6x12Name, fb.font6x12);
        pakClose(pak);
        for (int i = 0; i < kScreenPixels; ++i)
            fb.drawBuffer[i] = kGround;
    }
    ~StatisticsDrawing() override { freeFrameBuffers(fb); }

    // Pixels the drawing changed outside every placed text, and texts it left untouched.
    void expectDrawnExactlyWhere(const std::vector<PlacedText>& texts) {
        int strays = 0;
        std::vector<int> changed(texts.size(), 0);
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                if (fb.drawBuffer[frameBufferIndex(x, y)] == kGround)
                    continue;
                bool placed = false;
                for (size_t i = 0; i < texts.size(); ++i)
                    if (inside(x, y, texts[i].box)) {
                        ++changed[i];
                        placed = true;
                    }
                strays += placed ? 0 : 1;
            }
        EXPECT_EQ(strays, 0);
        for (size_t i = 0; i < texts.size(); ++i)
            EXPECT_GT(changed[i], texts[i].box.width * texts[i].box.height / 2)
                << toUtf8(texts[i].text);
    }
};

TEST_F(StatisticsDrawing, TheLargestFiguresFitTheirColumns) {
    const StatisticsPage page = statisticsPage(largestMatch());
    EXPECT_EQ(
        toUtf8(statisticsText(page.rows[static_cast<int>(StatisticsRowId::FirstServesIn)], 0)),
        "100%");
    const std::vector<PlacedText> texts = statisticsPageTexts(page);
    // Two players' names and sets, every row but the shared one twice.
    ASSERT_EQ(texts.size(), 6u + 2u * kStatisticsRows - 1u);
    const ScreenLayout* screen = findScreenLayout(Statistics);
    const int columnsLeft = kStatisticsColumnLeft[0];
    const int columnsRight = kStatisticsColumnLeft[1] + kStatisticsColumnWidth;
    for (size_t i = 0; i < texts.size(); ++i) {
        const ScreenRect& box = texts[i].box;
        const std::string text = toUtf8(texts[i].text);
        EXPECT_GE(box.left, columnsLeft) << text << " reaches into the labels";
        EXPECT_LE(box.left + box.width, columnsRight) << text;
        // Only the longest rally, one figure for the match, is centred across both columns.
        const bool shared = box.top == kStatisticsRowTop + kStatisticsRowStep * kLongestRallyRow;
        EXPECT_TRUE(shared || box.left + box.width <= kStatisticsColumnLeft[1] ||
                    box.left >= kStatisticsColumnLeft[1])
            << text << " crosses into the other column";
        EXPECT_EQ(static_cast<int>(texts[i].text.size()) *
                      (texts[i].font == PageFont::Large8x16 ? 8 : 6),
                  box.width)
            << text << " was cut";
        for (const ButtonLayout& button : screen->buttons)
            EXPECT_FALSE(overlap(box, button.rect)) << text;
        for (size_t j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(overlap(widened(box), texts[j].box))
                << text << " and " << toUtf8(texts[j].text);
    }
    for (const PlacedText& t : texts) {
        if (t.box.top >= kStatisticsRowTop) {
            EXPECT_EQ(t.font, PageFont::Large8x16) << toUtf8(t.text);
        }
    }
    drawStatisticsPage(fb, page);
    expectDrawnExactlyWhere(texts);
}

// Beyond any real match a figure falls to the small font, and then is cut at its column's edge.
TEST_F(StatisticsDrawing, AnImpossibleFigureStaysInItsColumn) {
    FinishedMatch match = largestMatch();
    match.tally.players[0].servicePoints = 123456;
    match.tally.players[0].servicePointsWon = 123456;
    const std::vector<PlacedText> texts = statisticsPageTexts(statisticsPage(match));
    const PlacedText& figure = texts[6 + 2 * static_cast<int>(StatisticsRowId::ServicePointsWon)];
    EXPECT_EQ(figure.font, PageFont::Small6x12);
    EXPECT_EQ(toUtf8(figure.text), "123456/1234");
    EXPECT_GE(figure.box.left, kStatisticsColumnLeft[0]);
    EXPECT_LE(figure.box.left + figure.box.width, kStatisticsColumnLeft[1]);
}

TEST_F(StatisticsDrawing, TheResultCaptionSitsAboveTheResultButtons) {
    const PlacedText caption = resultCaption();
    EXPECT_EQ(toUtf8(caption.text), "Tap for the statistics");
    EXPECT_GE(caption.box.left, 0);
    EXPECT_LE(caption.box.left + caption.box.width, kScreenWidth);
    for (ScreenId result : {ExhibitionWon, TournamentChampion})
        for (const ButtonLayout& button : findScreenLayout(result)->buttons)
            EXPECT_FALSE(overlap(caption.box, button.rect));
    drawResultCaption(fb);
    expectDrawnExactlyWhere({caption});
}

} // namespace
