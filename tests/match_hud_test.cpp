// The match HUD's button fields and the messages between points, read from match records.
#include "view/match_hud.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "assets/image_button.h"
#include "core/wide_format.h"
#include "match/match.h"

namespace {

using Lines = std::vector<MessageLine>;

std::string show(const Lines& lines) {
    std::string out;
    for (const MessageLine& line : lines)
        out += std::to_string(line.y) + ":\"" + toUtf8(line.text) + "\" ";
    return out;
}

struct HudFixture : ::testing::Test {
    Match match{};
    ImageButton* buttons[8] = {};
    HudFixture() {
        for (int i = 0; i < 8; ++i)
            buttons[i] = makeImageButton(0, 0, 10, 10);
        buttons[kHudPowerMeter]->width = 47;
        match.server = 1;
        match.serveState = ServeState::First;
        match.setsToWin = 1;
        std::memcpy(match.setScoreText, "00        ", kSetScoreTextLength);
    }
    ~HudFixture() override {
        for (ImageButton* b : buttons)
            freeImageButton(b);
    }
    void update(ScreenId screen = ExhibitionMatch) { updateMatchHud(match, screen, buttons, 8); }
    std::string label(int slot) {
        return buttons[slot]->label ? toUtf8(*buttons[slot]->label) : "-";
    }
    // A pause after a point with this score.
    Lines scoreMessage(int32_t p1, int32_t p2, int server = 1) {
        match.pointDelay = kFxOne;
        match.showScore = 1;
        match.points[0] = p1;
        match.points[1] = p2;
        match.server = server;
        return matchMessageLines(match);
    }
};

TEST(WideDecimal, PadsLikeTheFormatsItReplaces) {
    EXPECT_EQ(wideDecimal(0, 2), u" 0");
    EXPECT_EQ(wideDecimal(15, 2), u"15");
    EXPECT_EQ(wideDecimal(123, 2), u"123");
    EXPECT_EQ(wideDecimal(7, 3, u'0'), u"007");
    EXPECT_EQ(wideDecimal(-7, 3, u'0'), u"-07");
    EXPECT_EQ(wideDecimal(-7, 3), u" -7");
    EXPECT_EQ(wideDecimal(INT32_MIN), u"-2147483648");
}

TEST_F(HudFixture, ServeMarkerFollowsTheServer) {
    update();
    EXPECT_EQ(buttons[kHudServeMarker]->top, 6);
    match.server = 2;
    update();
    EXPECT_EQ(buttons[kHudServeMarker]->top, 21);
}

TEST_F(HudFixture, PointLabelsShowDeuceAsFortyAndAdvantageAsAd) {
    match.points[0] = 55;
    match.points[1] = 50;
    update();
    EXPECT_EQ(label(kHudPointsPlayer1), "Ad");
    EXPECT_EQ(label(kHudPointsPlayer2), "40");
    match.points[0] = 0;
    match.points[1] = 15;
    update();
    EXPECT_EQ(label(kHudPointsPlayer1), " 0");
    EXPECT_EQ(label(kHudPointsPlayer2), "15");
    match.tieBreak = 1;
    match.points[0] = 55; // a tie-break counts plainly
    match.points[1] = 7;
    update();
    EXPECT_EQ(label(kHudPointsPlayer1), "55");
    EXPECT_EQ(label(kHudPointsPlayer2), " 7");
}

TEST_F(HudFixture, BallSpeedHasThreeDigits) {
    match.ballSpeedKmh = 87;
    update();
    EXPECT_EQ(label(kHudBallSpeed), "087kmh");
    match.ballSpeedKmh = 1234;
    update();
    EXPECT_EQ(label(kHudBallSpeed), "1234kmh");
}

TEST_F(HudFixture, PowerMeterFoldsAboveOneAndFadesRedToGreen) {
    match.serveMeterOn = 1;
    match.serveMeter = 3 * kFxHalf; // 1.5 reads as 0.5
    update();
    EXPECT_EQ(buttons[kHudPowerMeter]->width, 23);
    EXPECT_EQ(buttons[kHudPowerMeter]->fillColour[2], 0xFF007F7Fu); // R 127, G 127, B 0
    match.serveMeter = kFxOne;
    update();
    EXPECT_EQ(buttons[kHudPowerMeter]->width, 47);
    EXPECT_EQ(buttons[kHudPowerMeter]->fillColour[2], 0xFF00FF00u);
    match.serveMeter = kServeMeterStart;
    update();
    EXPECT_EQ(buttons[kHudPowerMeter]->width, 14); // 47 x 0.3 = 14.09
    EXPECT_EQ(buttons[kHudPowerMeter]->fillColour[2], 0xFF004CB2u);
    match.serveMeterOn = 0;
    update();
    EXPECT_EQ(buttons[kHudPowerMeter]->fillColour[2], 0u);
    EXPECT_EQ(buttons[kHudPowerMeter]->width, 14); // the width stays; the bar is not drawn
}

TEST_F(HudFixture, PracticeLeavesTheScoreboardAlone) {
    match.server = 2;
    match.ballSpeedKmh = 120;
    update(Practice);
    EXPECT_EQ(buttons[kHudServeMarker]->top, 0);
    EXPECT_EQ(label(kHudPointsPlayer1), "-");
    EXPECT_EQ(label(kHudBallSpeed), "120kmh");
}

TEST_F(HudFixture, FewerButtonsThanSlotsAreLeftAlone) {
    updateMatchHud(match, ExhibitionMatch, buttons, 3);
    EXPECT_EQ(label(kHudPointsPlayer1), " 0");
    EXPECT_EQ(label(kHudPointsPlayer2), "-");
    EXPECT_EQ(label(kHudBallSpeed), "-");
}

TEST_F(HudFixture, ServiceMessagesBeforeAPoint) {
    match.pointDelay = kFxOne;
    EXPECT_EQ(matchMessageLines(match), (Lines{{168, u"1st Service"}}));
    match.serveState = ServeState::Second;
    EXPECT_EQ(matchMessageLines(match), (Lines{{168, u"2nd Service"}}));
    match.isPractice = 1;
    EXPECT_EQ(matchMessageLines(match), (Lines{{168, u"2nd Service"}}));
    match.serveState = ServeState::First;
    EXPECT_TRUE(matchMessageLines(match).empty());
}

TEST_F(HudFixture, ScoreMessagesPutTheServerFirst) {
    EXPECT_EQ(scoreMessage(40, 15, 2), (Lines{{160, u"15-40"}})) << show(scoreMessage(40, 15, 2));
    EXPECT_EQ(scoreMessage(40, 15, 1), (Lines{{160, u"40-15"}}));
    EXPECT_EQ(scoreMessage(0, 30, 1), (Lines{{160, u"0-30"}}));
    EXPECT_EQ(scoreMessage(55, 50), (Lines{{160, u"Advantage Player 1"}}));
    EXPECT_EQ(scoreMessage(50, 55), (Lines{{160, u"Advantage Player 2"}}));
    EXPECT_EQ(scoreMessage(50, 50), (Lines{{160, u"Deuce"}}));
    match.tieBreak = 1;
    EXPECT_EQ(scoreMessage(3, 5, 2), (Lines{{160, u"3-5"}}));
    match.tieBreak = 0;
    // A finished game shows the set table.
    std::memcpy(match.setScoreText, "6475      ", kSetScoreTextLength);
    const Lines expected = {
        {144, u"Scores 1 2 3 4 5"}, {160, u"P1     6 7      "}, {176, u"P2     4 5      "}};
    EXPECT_EQ(scoreMessage(0, 0), expected) << show(scoreMessage(0, 0));
}

TEST_F(HudFixture, GameOverNamesTheWinnerOnceThePauseHasBegun) {
    match.matchOver = 1;
    EXPECT_TRUE(matchMessageLines(match).empty()); // no message without a pause
    match.pointDelay = 1;
    EXPECT_FALSE(matchMessageLines(match).empty());
    match.pointDelay = kFxOne;
    match.setsToWin = 2;
    match.setsWon[1] = 2;
    EXPECT_EQ(matchMessageLines(match), (Lines{{152, u"Game Over"}, {168, u"Player 2 wins"}}));
    match.setsWon[0] = 2;
    EXPECT_EQ(matchMessageLines(match), (Lines{{152, u"Game Over"}, {168, u"Player 1 wins"}}));
}

bool showsEndsCaption(const Match& match) {
    const Lines lines = matchMessageLines(match);
    return std::any_of(lines.begin(), lines.end(),
                       [](const MessageLine& line) { return line.text == u"Change of ends"; });
}

// Plays points by awardPoint and checks, after each one, that the caption is shown exactly when
// the rules changed the ends, and that it never shares a row with another line. (That the game
// draws it through the pause is game_app_test's part.)
struct EndsCaption : ::testing::Test {
    Match* match = createMatch();
    int pointsPlayed = 0;
    ~EndsCaption() override { destroyMatch(match); }
    void point(int winner) {
        const int32_t endsBefore = match->endsSwapped;
        awardPoint(match, winner);
        ++pointsPlayed;
        const bool changed = match->endsSwapped != endsBefore;
        EXPECT_EQ(showsEndsCaption(*match), changed && !match->matchOver)
            << "point " << pointsPlayed << ": " << show(matchMessageLines(*match));
        const Lines lines = matchMessageLines(*match);
        for (size_t i = 1; i < lines.size(); ++i) // 16-pixel rows, top line first
            EXPECT_GE(lines[i].y - lines[i - 1].y, 16) << show(lines);
    }
    void game(int winner) {
        for (int i = 0; i < 4; ++i)
            point(winner);
    }
};

TEST_F(EndsCaption, ShownAfterOddGamesAndEverySixthTieBreakPointButNotAtTheEnd) {
    setUpMatch(match, 2, 0, MatchPlayer{}, MatchPlayer{});
    for (int g = 0; g < 12; ++g) // to 6-6, with a deuce game on the way
        if (g == 4) {
            for (int winner : {1, 2, 1, 2, 1, 2, 1, 2, 1, 1})
                point(winner);
        } else {
            game(g % 2 + 1);
        }
    ASSERT_TRUE(match->tieBreak);
    for (int i = 0; i < 12; ++i) // 6-6 in points, the ends change at 6 and 12
        point(i % 2 + 1);
    point(1);
    point(1); // the tie-break and the set: 7-6, the ends change
    ASSERT_EQ(match->setIndex, 1);
    for (int g = 0; g < 3; ++g)
        game(2);
    for (int g = 0; g < 6; ++g) // 6-3 ends the match on an odd total: Game Over alone
        game(1);
    ASSERT_TRUE(match->matchOver);
    EXPECT_EQ(pointsPlayed, 11 * 4 + 10 + 14 + 9 * 4);
}

TEST_F(EndsCaption, NeverInPractice) {
    setUpPractice(match, PracticeMode::Serve, 0, MatchPlayer{}, MatchPlayer{});
    for (int i = 0; i < 30; ++i)
        point(1);
    EXPECT_EQ(match->endsSwapped, 0);
}

} // namespace
