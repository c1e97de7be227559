// Scoring: points, deuce and advantage, tie-breaks, sets, the match, and the pauses between.
#include "match/serve_layout.h"
#include "match_support.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Scoring = MatchFixture;

void win(Match* m, int winner, int times = 1) {
    for (int i = 0; i < times; ++i)
        awardPoint(m, winner);
}

void winGames(Match* m, int winner, int games) {
    for (int g = 0; g < games; ++g)
        win(m, winner, 4);
}

std::string setText(const Match* m) {
    return std::string(m->setScoreText, kSetScoreTextLength);
}

TEST_F(Scoring, PointsAdvanceToGame) {
    setUpHumans();
    for (int points : {15, 30, 40}) {
        win(match, 1);
        EXPECT_EQ(match->points[0], points);
    }
    EXPECT_EQ(match->server, 1);
    win(match, 1);
    EXPECT_EQ(match->points[0], 0);
    EXPECT_EQ(match->games[0], 1);
    EXPECT_EQ(match->server, 2);
    EXPECT_EQ(match->serveCourt, 0);
    EXPECT_EQ(match->endsSwapped, 1); // after the first game
    EXPECT_EQ(setText(match), "10        ");
}

TEST_F(Scoring, AdvantageStraightFrom40AllAndDeuceOnlyAfterALostAdvantage) {
    setUpHumans();
    win(match, 1, 3);
    win(match, 2, 3);
    EXPECT_EQ(match->points[0], 40);
    EXPECT_EQ(match->points[1], 40);
    // Advantage is 55 against 50, deuce 50 each.
    for (const auto& [winner, p1, p2] :
         {std::tuple{1, 55, 50}, std::tuple{2, 50, 50}, std::tuple{2, 50, 55}}) {
        win(match, winner);
        EXPECT_EQ(match->points[0], p1);
        EXPECT_EQ(match->points[1], p2);
    }
    win(match, 2);
    EXPECT_EQ(match->games[1], 1);
    EXPECT_EQ(match->points[0], 0);
    EXPECT_EQ(match->points[1], 0);
}

TEST_F(Scoring, ServeCourtFlipsEveryPoint) {
    setUpHumans();
    win(match, 2);
    EXPECT_EQ(match->serveCourt, 1);
    win(match, 1);
    EXPECT_EQ(match->serveCourt, 0);
    EXPECT_EQ(match->serveState, ServeState::First);
    EXPECT_EQ(match->showScore, 1);
}

TEST_F(Scoring, SixFiveDoesNotEndTheSetSevenFiveDoes) {
    setUpHumans(2);
    winGames(match, 1, 5);
    winGames(match, 2, 5);
    winGames(match, 1, 1);
    EXPECT_EQ(match->games[0], 6);
    EXPECT_EQ(match->setIndex, 0);
    EXPECT_EQ(match->tieBreak, 0);
    winGames(match, 1, 1);
    EXPECT_EQ(match->setIndex, 1);
    EXPECT_EQ(match->setsWon[0], 1);
    EXPECT_EQ(match->games[0], 0);
    EXPECT_EQ(match->players[0].wonSet, 1);
    EXPECT_EQ(match->players[1].lostSet, 1);
    EXPECT_EQ(match->matchOver, 0);
    EXPECT_EQ(setText(match), "75        ");
    winGames(match, 2, 1);
    EXPECT_EQ(setText(match), "7501      ");
}

TEST_F(Scoring, TieBreakServerAndEnds) {
    setUpHumans(2);
    for (int g = 0; g < 6; ++g) {
        winGames(match, 1, 1);
        winGames(match, 2, 1);
    }
    ASSERT_EQ(match->tieBreak, 1);
    // The server after twelve games serves the first point.
    EXPECT_EQ(match->server, 1);
    const int ends = match->endsSwapped;
    const int expectedServer[] = {2, 2, 1, 1, 2, 2};
    for (int point = 1; point <= 6; ++point) {
        win(match, point % 2 ? 1 : 2);
        EXPECT_EQ(match->server, expectedServer[point - 1]) << point;
        EXPECT_EQ(match->endsSwapped, point == 6 ? 1 - ends : ends) << point;
    }
    EXPECT_EQ(match->points[0], 3);
    EXPECT_EQ(match->points[1], 3);
}

// Won at seven points with two clear, or later with two clear: 7-0, 7-5, 8-6, 9-7.
TEST_F(Scoring, TieBreakWonAtSevenWithTwoClearGivesTheSetSevenSix) {
    struct Case {
        int winner, loserPoints;
        const char* setScore;
    };
    for (const Case& c : {Case{1, 0, "76"}, Case{1, 5, "76"}, Case{2, 5, "67"}, Case{1, 6, "76"},
                          Case{2, 7, "67"}}) {
        SCOPED_TRACE(std::to_string(c.winner) + " wins 7-" + std::to_string(c.loserPoints));
        setUpHumans(2);
        for (int g = 0; g < 6; ++g) {
            winGames(match, 1, 1);
            winGames(match, 2, 1);
        }
        ASSERT_EQ(match->tieBreak, 1);
        for (int point = 0; point < c.loserPoints; ++point) {
            win(match, c.winner);
            win(match, 3 - c.winner);
        }
        win(match, c.winner, std::max(7, c.loserPoints + 2) - c.loserPoints - 1);
        EXPECT_EQ(match->tieBreak, 1);
        win(match, c.winner, 1);
        EXPECT_EQ(match->tieBreak, 0);
        EXPECT_EQ(match->setsWon[c.winner - 1], 1);
        EXPECT_EQ(match->points[0] + match->points[1], 0);
        EXPECT_EQ(setText(match).substr(0, 2), c.setScore);
    }
}

TEST_F(Scoring, MatchOverAtSetsToWin) {
    setUpHumans(2);
    winGames(match, 2, 6);
    EXPECT_EQ(match->matchOver, 0);
    winGames(match, 2, 6);
    EXPECT_EQ(match->matchOver, 1);
    EXPECT_EQ(match->setsWon[1], 2);
    EXPECT_EQ(setText(match), "0606      ");
}

TEST_F(Scoring, PauseIsLongerForAHumanServer) {
    setUpHumans();
    EXPECT_EQ(match->pointDelay, fxFromInt(15));
    EXPECT_EQ(match->setupDelay, 0);
    win(match, 1);
    EXPECT_EQ(match->pointDelay, fxFromInt(15));
    EXPECT_EQ(match->setupDelay, fxFromInt(2));
    setUpMatch(match, 1, 0, evenPlayer(false), strongPlayer(true));
    winGames(match, 1, 1); // player 2, a computer, serves next
    EXPECT_EQ(match->pointDelay, fxFromInt(8));
}

TEST_F(Scoring, PauseLaysOutThePointThenStartsTheHumanServeMeter) {
    setUpHumans(1, fx(0.5));
    win(match, 1);
    match->players[0].position = {0, 0, 0};
    step(fxFromInt(1));
    EXPECT_EQ(match->players[0].position.z, 0); // not laid out yet
    step(fxFromInt(1));
    EXPECT_EQ(match->setupDelay, 0);
    EXPECT_EQ(match->players[0].position.z, fx(12.4)); // laid out: serving from the right
    EXPECT_EQ(match->ball.dead, 1);
    EXPECT_EQ(match->serveMeterOn, 0);
    for (int i = 0; i < 13; ++i)
        step(fxFromInt(1));
    EXPECT_EQ(match->serveMeterOn, 1);
    EXPECT_EQ(match->serveMeter, 19660);
    EXPECT_EQ(match->serveMeterRate, fx(1.5));
}

// Whichever end and court the point is served from: both players square to the net, each inside
// its own bounds on its own half, and the box diagonally across from the server.
TEST(ServeLayout, PlayersFaceEachOtherAndTheBoxLiesDiagonallyAcross) {
    const auto expectSquareToTheNet = [](const Vec3& facing, const Vec3& at) {
        EXPECT_EQ(facing.x, 0);
        EXPECT_EQ(facing.y, 0);
        EXPECT_EQ(facing.z, at.z > 0 ? -kFxOne : kFxOne);
    };
    const auto expectInside = [](const GroundRect& r, Fixed x, Fixed z) {
        EXPECT_TRUE(r.xMin <= x && x <= r.xMax && r.zMin <= z && z <= r.zMax) << x << ", " << z;
    };
    for (const ServeLayoutRow& row : serveLayout().rows) {
        const Vec3 &server = row.serverPosition, &receiver = row.receiverPosition;
        expectSquareToTheNet(row.serverFacing, server);
        expectSquareToTheNet(row.receiverFacing, receiver);
        EXPECT_LT(static_cast<int64_t>(server.z) * receiver.z, 0);
        expectInside(row.serverBounds, server.x, server.z);
        expectInside(row.receiverBounds, receiver.x, receiver.z);
        const GroundRect& box = row.serviceBox;
        expectInside(box, receiver.x, fxMul(receiver.z, fx(0.4)));
        EXPECT_LT(static_cast<int64_t>(box.xMin + box.xMax) * server.x, 0);
    }
}

TEST_F(Scoring, NoRuleAfterTheMatchSoItsLastPauseEnds) {
    setUpHumans();
    winGames(match, 2, 6);
    ASSERT_EQ(match->matchOver, 1);
    // The last ball still bounces, outside any box, when the pause runs out.
    match->ball.dead = 0;
    match->ball.position = {fxFromInt(6), fx(0.3), fxFromInt(5)};
    match->ball.velocity = {0, fxFromInt(-1), 0};
    match->pointDelay = 3276;
    const std::vector<int> before = {match->points[0], match->points[1], match->setsWon[1]};
    for (int i = 0; i < 40; ++i)
        step();
    EXPECT_EQ(match->pointDelay, 0);
    EXPECT_EQ(match->setupDelay, fxFromInt(2)); // no point is laid out after the match
    EXPECT_EQ((std::vector<int>{match->points[0], match->points[1], match->setsWon[1]}), before);
    EXPECT_EQ(match->tally.faults, 0);
}

} // namespace
