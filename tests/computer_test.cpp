// The computer opponent: recovery depth, easy and hard aims, and serve targets by level.
#include "core/game_random.h"
#include "match/computer_opponent.h"
#include "match/stroke_table.h"
#include "match/vector_math.h"
#include "match_support.h"

#include <cstdlib>
#include <set>

namespace {

struct Computer : MatchFixture {
    MatchPlayer& me() { return match->players[1]; }
    MatchPlayer& them() { return match->players[0]; }
    // Player 2 (the computer) defends -z; player 1 stands at the given spot.
    void rally(Fixed level, Vec3 mine, Vec3 theirs) {
        setUpMatch(match, 1, level, evenPlayer(false), strongPlayer(true));
        match->pointDelay = 0;
        me().position = mine;
        them().position = theirs;
    }
};

const Vec3 kDeepOpponent = {0, 0, fxFromInt(11)};

TEST_F(Computer, RecoveryDepthByLevel) {
    rally(kFxOne, {fx(0.5), 0, fxFromInt(-11)}, kDeepOpponent);
    planComputerMove(me(), match, them());
    EXPECT_EQ(me().moveTarget.x, 0);
    EXPECT_NEAR(fxToDouble(me().moveTarget.z), -3.567, 0.001); // a Champion moves in
    rally(0, {fx(0.5), 0, fxFromInt(-11)}, kDeepOpponent);
    planComputerMove(me(), match, them());
    EXPECT_EQ(me().moveTarget.z, fxMul(-fx(11.89), fx(0.95))); // a Beginner stays back: 11.30
    // Against a striker near the net every level stays back.
    rally(kFxOne, {fx(0.5), 0, fxFromInt(-11)}, {0, 0, fxFromInt(5)});
    planComputerMove(me(), match, them());
    EXPECT_EQ(me().moveTarget.z, fxMul(-fx(11.89), fx(0.95)));
    // Out wide it first gets back toward the middle at its own depth.
    rally(kFxOne, {fxFromInt(3), 0, fxFromInt(-9)}, kDeepOpponent);
    planComputerMove(me(), match, them());
    EXPECT_EQ(me().moveTarget.x, 0);
    EXPECT_EQ(me().moveTarget.z, fxFromInt(-9));
}

TEST_F(Computer, BeginnerAimsInsideTheOpponentAndOffItsDepth) {
    rally(0, {0, 0, fxFromInt(-11)}, {fxFromInt(2), 0, fxFromInt(8)});
    me().stroke = StrokeForehand;
    chooseAim(me(), match, them());
    EXPECT_EQ(me().aimPoint.x, fxFromInt(2) - 78643);
    EXPECT_EQ(me().aimPoint.z, fxFromInt(6)); // 2 m nearer the net than a deep player
    rally(0, {0, 0, fxFromInt(-11)}, {fxFromInt(-4), 0, fxFromInt(3)});
    chooseAim(me(), match, them());
    EXPECT_EQ(me().aimPoint.x, fxFromInt(-4) + 78643);
    EXPECT_EQ(me().aimPoint.z, fxFromInt(5)); // 2 m deeper than a player at the net
    rally(0, {0, 0, fxFromInt(-11)}, {fxFromInt(5), 0, fxFromInt(13)});
    chooseAim(me(), match, them());
    EXPECT_EQ(me().aimPoint.x, 243138);                  // inside the sideline
    EXPECT_EQ(me().aimPoint.z, fxMul(fx(11.89), 55705)); // no deeper than 0.85 of the half
}

TEST_F(Computer, ChampionAimsAwayFromTheOpponentAndDeep) {
    rally(kFxOne, {0, 0, fxFromInt(-11)}, {fxFromInt(3), 0, fxFromInt(10)});
    me().stroke = StrokeForehand;
    chooseAim(me(), match, them());
    EXPECT_EQ(me().aimPoint.x, -243138);
    // From behind its own half's middle it aims 0.7 of the far half, give or take a metre.
    EXPECT_GE(me().aimPoint.z, fxMul(fx(11.89), fx(0.7)) - kFxOne - 10);
    EXPECT_LE(me().aimPoint.z, fxMul(fx(11.89), fx(0.7)) + kFxOne);

    rally(kFxOne, {0, 0, fxFromInt(-11)}, {fxFromInt(3), 0, fxFromInt(13)});
    chooseAim(me(), match, them());
    EXPECT_EQ(me().aimPoint.z, fxMul(fx(11.89), 36044)); // short behind a player far back

    rally(kFxOne, {0, 0, fxFromInt(-4)}, {fxFromInt(1), 0, fxFromInt(10)});
    me().stroke = StrokeForehandSmash;
    chooseAim(me(), match, them());
    EXPECT_EQ(me().aimPoint.z, fxMul(fxFromInt(4), 36044));

    // A deep opponent in the middle: one of sixteen places across the court.
    std::set<Fixed> places;
    for (int i = 0; i < 200; ++i) {
        rally(kFxOne, {0, 0, fxFromInt(-11)}, {0, 0, fxFromInt(11)});
        me().stroke = StrokeForehandLob;
        chooseAim(me(), match, them());
        places.insert(me().aimPoint.x);
        EXPECT_EQ(me().aimPoint.z, fxMul(fx(11.89), fx(0.95)));
        EXPECT_GE(me().aimPoint.x, -243138);
        EXPECT_LE(me().aimPoint.x, 243139); // 7.42 is one raw unit more than twice 3.71
    }
    EXPECT_EQ(places.size(), 16u);
}

TEST_F(Computer, ServesToThreeTargetsAcrossTheBox) {
    setUpMatch(match, 1, 0, evenPlayer(true), strongPlayer(true));
    MatchPlayer& server = match->players[0]; // serving from (2, 0, 12.4)
    const auto targetsOverSeeds = [&](Fixed factor) {
        std::set<Fixed> targets;
        for (unsigned seed = 1; seed <= 30; ++seed) {
            seedGameRandom(seed);
            planComputerServe(server, match, factor);
            targets.insert(server.aimPoint.x);
            EXPECT_EQ(std::abs(server.aimPoint.z), 353894); // a metre inside the service line
        }
        return targets;
    };
    // The middle of the box diagonally opposite, and about two metres to either side.
    EXPECT_EQ(targetsOverSeeds(kFxOne), (std::set<Fixed>{-252312, -134348, -16384}));
    EXPECT_EQ(server.aimPoint.z, -353894);
    EXPECT_EQ(server.stroke, StrokeFirstServe);
    EXPECT_EQ(server.timeToSwing, kFxOne);
    EXPECT_EQ(server.anim, AnimWaitToServe);
    EXPECT_EQ(server.strokeSkill, server.skills.firstServe);
    EXPECT_EQ(server.contactPoint.y, match->ball.position.y);

    server.serveNumber = ServeState::Second;
    server.position = {-fxFromInt(2), 0, -fx(12.4)};
    EXPECT_EQ(targetsOverSeeds(57344), (std::set<Fixed>{6553, 134348, 262143}));
    EXPECT_EQ(server.aimPoint.z, 353894);
    EXPECT_EQ(server.shotSpeed, fxMul(strokeRow(2).speed, 57344));
}

} // namespace
