// Whole computer-against-computer matches and drills: they end, and every score on the way is a
// legal tennis score.
#include "core/game_random.h"
#include "match/vector_math.h"
#include "match_support.h"

#include <cstdlib>

namespace {

bool legalGamePoints(int a, int b) {
    auto plain = [](int p) { return p == 0 || p == 15 || p == 30 || p == 40; };
    if (plain(a) && plain(b))
        return true;
    return (a == 50 && b == 50) || (a == 55 && b == 50) || (a == 50 && b == 55);
}

// Scores that can stand between two points.
::testing::AssertionResult legalScore(const Match* m) {
    const int a = m->points[0], b = m->points[1];
    if (m->tieBreak) {
        if (m->games[0] != 6 || m->games[1] != 6)
            return ::testing::AssertionFailure()
                   << "tie-break at " << m->games[0] << "-" << m->games[1];
        if (a < 0 || b < 0 || ((a >= 7 || b >= 7) && std::abs(a - b) >= 2))
            return ::testing::AssertionFailure() << "tie-break points " << a << "-" << b;
    } else if (!legalGamePoints(a, b)) {
        return ::testing::AssertionFailure() << "points " << a << "-" << b;
    }
    const int g0 = m->games[0], g1 = m->games[1];
    if (g0 < 0 || g1 < 0 || g0 > 6 || g1 > 6 || (g0 == 6 && g1 < 5) || (g1 == 6 && g0 < 5))
        return ::testing::AssertionFailure() << "games " << g0 << "-" << g1;
    if (m->setsWon[0] > m->setsToWin || m->setsWon[1] > m->setsToWin)
        return ::testing::AssertionFailure() << "sets " << m->setsWon[0] << "-" << m->setsWon[1];
    for (int i = 0; i < 2 * m->setIndex && i < kSetScoreTextLength; ++i)
        if (m->setScoreText[i] < '0' || m->setScoreText[i] > '7')
            return ::testing::AssertionFailure() << "set text " << m->setScoreText;
    return ::testing::AssertionSuccess();
}

using WholeMatch = MatchFixture;

TEST_F(WholeMatch, EveryLevelPlaysToTheEndWithLegalScores) {
    for (int level = 0; level <= 4; ++level) {
        for (unsigned seed : {1u, 2u, 7u}) {
            seedGameRandom(seed);
            const int sets = 1 + seed % 2;
            setUpMatch(match, sets, level * 16384, rosterPlayer(level, true),
                       rosterPlayer(4 - level, true));
            setSurface(match, static_cast<int>(seed % 5));
            int steps = 0;
            const int maxSteps = 4 * 3600 * 20;
            for (; steps < maxSteps && !(match->matchOver && match->pointDelay <= 0); ++steps) {
                Fixed dt = 3276;
                stepMatch(match, dt);
                ASSERT_TRUE(legalScore(match)) << "level " << level << " seed " << seed;
            }
            ASSERT_LT(steps, maxSteps) << "level " << level << " seed " << seed;
            const int winner = match->setsWon[0] == sets ? 0 : 1;
            EXPECT_EQ(match->setsWon[winner], sets);
            EXPECT_LT(match->setsWon[1 - winner], sets);
            EXPECT_EQ(match->tally.points,
                      match->tally.players[0].pointsWon + match->tally.players[1].pointsWon);
            EXPECT_GT(match->tally.strokes, match->tally.points);
        }
    }
}

TEST_F(WholeMatch, SameSeedSameMatch) {
    int points[2];
    for (int run = 0; run < 2; ++run) {
        seedGameRandom(11);
        setUpMatch(match, 1, 32768, rosterPlayer(1, true), rosterPlayer(3, true));
        for (int i = 0; i < 20000 && !match->matchOver; ++i) {
            Fixed dt = 3276;
            stepMatch(match, dt);
        }
        points[run] = match->tally.points * 1000 + match->tally.strokes;
    }
    EXPECT_EQ(points[0], points[1]);
}

TEST_F(WholeMatch, ServeAndReturnDrillsEndEachExchangeAtTheReturn) {
    for (PracticeMode drill : {PracticeMode::Serve, PracticeMode::Return}) {
        seedGameRandom(3);
        setUpPractice(match, drill, 0, rosterPlayer(2, true), rosterPlayer(4, true));
        int returns = 0;
        for (int i = 0; i < 20 * 600; ++i) {
            const int before = match->tally.exchangeStrokes;
            Fixed dt = 3276;
            stepMatch(match, dt);
            EXPECT_LE(match->tally.exchangeStrokes, 2);
            if (before == 1 && match->tally.exchangeStrokes == 2) {
                ++returns;
                EXPECT_GT(match->pointDelay, 0);
            }
        }
        EXPECT_GT(returns, 3) << static_cast<int>(drill);
        EXPECT_EQ(match->points[0] + match->points[1] + match->games[0] + match->games[1], 0);
        EXPECT_EQ(match->matchOver, 0);
    }
}

TEST_F(WholeMatch, RallyDrillsStartAtOnceAndNeverScore) {
    for (PracticeMode drill : {PracticeMode::BaselineRally, PracticeMode::NetRally}) {
        seedGameRandom(5);
        setUpPractice(match, drill, fx(0.5), rosterPlayer(2, true), rosterPlayer(4, true));
        EXPECT_EQ(match->pointDelay, 0);
        EXPECT_EQ(match->nextStriker, 2);
        EXPECT_EQ(match->ball.dead, 0);
        for (int i = 0; i < 20 * 300; ++i) {
            Fixed dt = 3276;
            stepMatch(match, dt);
        }
        EXPECT_GT(match->tally.strokes, 5) << static_cast<int>(drill);
        EXPECT_EQ(match->points[0] + match->points[1] + match->games[0] + match->games[1], 0);
    }
}

} // namespace

// The computer's play is the design's, tuned and measured (docs/how-the-match-plays.md): a
// change to the human's controls must leave it exactly as it was. A few whole matches, reduced
// to their tallies.
TEST_F(WholeMatch, ComputerPlayIsPinned) {
    struct Case {
        int level;
        unsigned seed;
        int32_t points, strokes, faults, netTouches, player1Points;
        int64_t rallyStrokes;
    };
    const Case cases[] = {
        {0, 1, 60, 467, 29, 49, 27, 441},
        {2, 7, 78, 532, 26, 67, 36, 501},
        {4, 2, 31, 137, 8, 12, 25, 130},
    };
    for (const Case& c : cases) {
        seedGameRandom(c.seed);
        setUpMatch(match, 1, c.level * 16384, rosterPlayer(c.level, true),
                   rosterPlayer(4 - c.level, true));
        for (int i = 0; i < 4 * 3600 * 20 && !(match->matchOver && match->pointDelay <= 0); ++i) {
            Fixed dt = 3276;
            stepMatch(match, dt);
        }
        const MatchTally& t = match->tally;
        EXPECT_EQ(t.points, c.points) << "level " << c.level;
        EXPECT_EQ(t.strokes, c.strokes) << "level " << c.level;
        EXPECT_EQ(t.faults, c.faults) << "level " << c.level;
        EXPECT_EQ(t.netTouches, c.netTouches) << "level " << c.level;
        EXPECT_EQ(t.players[0].pointsWon, c.player1Points) << "level " << c.level;
        EXPECT_EQ(t.rallyStrokes, c.rallyStrokes) << "level " << c.level;
    }
}
