// The rules applied to bounces: good serve, fault, double fault, let, out, net, double bounce,
// and what a tap on the court does.
#include "frontend/court_taps.h"
#include "match/vector_math.h"
#include "match_support.h"
#include "render/camera.h"

#include <algorithm>

namespace {

struct Rules : MatchFixture {
    // Player 1 has served from the right: the receiver's box is x -4.11..0.25, z -6.4..0.
    void serveInFlight(ServeState serveState, bool netTouched, Vec3 position, Vec3 velocity) {
        setUpHumans();
        match->pointDelay = 0;
        match->serveState = serveState;
        match->ballStruck = 1;
        match->nextStriker = 2;
        match->netTouched = netTouched ? 1 : 0;
        match->ball.dead = 0;
        match->ball.position = position;
        match->ball.velocity = velocity;
    }
    // Player 1 has struck a rally ball toward player 2's half.
    void rallyBall(bool bounced, Vec3 position, Vec3 velocity) {
        serveInFlight(ServeState::None, false, position, velocity);
        match->players[0].isServing = 0;
        match->bounced = bounced ? 1 : 0;
        match->targetBox[BoxXMin] = -fx(4.11);
        match->targetBox[BoxXMax] = fx(4.11);
        match->targetBox[BoxZMin] = -fx(11.89);
        match->targetBox[BoxZMax] = -fx(0.02);
    }
    bool played(int sound) {
        const std::vector<int> sounds = takeSounds();
        return std::find(sounds.begin(), sounds.end(), sound) != sounds.end();
    }
};

const Vec3 kIntoTheBox = {fx(-2), fx(0.2), fx(-3)};
const Vec3 kDown = {0, fxFromInt(-5), fxFromInt(-5)};
const Vec3 kPastTheBox = {fx(-2), fx(0.2), fx(-8)};

TEST_F(Rules, GoodServeEndsTheServe) {
    serveInFlight(ServeState::First, false, kIntoTheBox, kDown);
    step();
    EXPECT_TRUE(played(SoundBounce2));
    EXPECT_EQ(match->serveState, ServeState::None);
    EXPECT_EQ(match->bounced, 1);
    EXPECT_EQ(match->bounceMarkVisible, 1);
    EXPECT_EQ(match->players[0].isServing, 0);
    EXPECT_EQ(match->pointDelay, 0);
    serveInFlight(ServeState::First, false, kIntoTheBox, {0, fxFromInt(-20), fxFromInt(-20)});
    step();
    EXPECT_TRUE(played(SoundBounce1)); // a fast bounce
}

TEST_F(Rules, LetOnFirstAndSecondServiceReplaysTheSameService) {
    for (ServeState service : {ServeState::First, ServeState::Second}) {
        serveInFlight(service, true, kIntoTheBox, kDown);
        step();
        EXPECT_TRUE(played(SoundLet)) << static_cast<int>(service);
        EXPECT_EQ(match->serveState, service);
        EXPECT_EQ(match->points[0] + match->points[1], 0);
        EXPECT_GT(match->pointDelay, 0);
        EXPECT_EQ(match->showScore, 0);
        EXPECT_EQ(match->tally.lets, 1);
    }
}

TEST_F(Rules, NetThenOutIsAFaultAndTheSecondOneADoubleFault) {
    serveInFlight(ServeState::First, true, kPastTheBox, kDown);
    step();
    EXPECT_TRUE(played(SoundFault));
    EXPECT_EQ(match->serveState, ServeState::Second);
    EXPECT_EQ(match->points[1], 0);
    EXPECT_GT(match->pointDelay, 0);

    serveInFlight(ServeState::Second, true, kPastTheBox, kDown);
    step();
    EXPECT_TRUE(played(SoundFault));
    EXPECT_EQ(match->points[1], 15);
    EXPECT_EQ(match->serveState, ServeState::First);
    EXPECT_EQ(match->tally.doubleFaults, 1);
}

TEST_F(Rules, ServeLeavingWithoutABounceIsAFault) {
    serveInFlight(ServeState::First, false, {0, fxFromInt(1), fx(-19.9)}, {0, 0, fxFromInt(-30)});
    step(); // flies out; the next step finds it gone
    step();
    EXPECT_TRUE(played(SoundFault));
    EXPECT_EQ(match->ball.dead, 1);
    EXPECT_EQ(match->serveState, ServeState::Second);
}

TEST_F(Rules, OutWithoutBounceLosesAndAfterAGoodBounceWins) {
    rallyBall(false, {0, fxFromInt(1), fx(-19.9)}, {0, 0, fxFromInt(-30)});
    step();
    step();
    EXPECT_TRUE(played(SoundOut));
    EXPECT_EQ(match->points[1], 15); // the striker put it out
    EXPECT_EQ(match->ball.position.x, 0);
    EXPECT_EQ(match->ball.position.z, 0);

    rallyBall(true, {0, fxFromInt(1), fx(-19.9)}, {0, 0, fxFromInt(-30)});
    step();
    step();
    EXPECT_TRUE(played(SoundApplause));
    EXPECT_EQ(match->points[0], 15);
}

TEST_F(Rules, RallyBounceOutsideTheHalfIsOut) {
    rallyBall(false, {fx(4.5), fx(0.2), fx(-3)}, kDown);
    step();
    EXPECT_TRUE(played(SoundOut));
    EXPECT_EQ(match->points[1], 15);
    EXPECT_EQ(match->bounceMarkVisible, 1);
}

TEST_F(Rules, SecondBounceWinsTheStrikersPoint) {
    rallyBall(true, kIntoTheBox, kDown);
    step();
    EXPECT_TRUE(played(SoundApplause));
    EXPECT_EQ(match->points[0], 15);
}

TEST_F(Rules, NetTouchPlaysAndMakesPlayersPlanAgain) {
    rallyBall(false, {0, fx(0.5), fx(0.3)}, {0, 0, fxFromInt(-20)});
    match->players[1].strokePlanned = 1;
    step();
    EXPECT_TRUE(played(SoundNet));
    EXPECT_EQ(match->netTouched, 1);
    EXPECT_EQ(match->players[1].strokePlanned, 0);
    EXPECT_GT(match->ball.velocity.z, 0); // back toward the striker
    EXPECT_EQ(match->tally.netTouches, 1);
}

TEST_F(Rules, NothingIsRuledDuringAPause) {
    rallyBall(false, {fx(4.5), fx(0.2), fx(-3)}, kDown);
    match->pointDelay = fxFromInt(3);
    step();
    EXPECT_TRUE(takeSounds().empty());
    EXPECT_EQ(match->points[1], 0);
    EXPECT_EQ(match->bounceMarkVisible, 0);
}

TEST_F(Rules, TapOnOwnHalfSetsWhereToWalk) {
    setUpHumans();
    const Vec3 spot = {fxFromInt(1), 0, fxFromInt(9)};
    EXPECT_EQ(tapCourt(match, spot), 0);
    EXPECT_EQ(match->players[0].moveTarget.z, spot.z);
    EXPECT_EQ(match->tapFlags, 0);
}

TEST_F(Rules, TapOnTheOpponentsHalfDuringAPauseOnlyShortensIt) {
    setUpHumans();
    awardPoint(match, 1);
    const Vec3 aim = {fxFromInt(1), 0, fxFromInt(-9)};
    const Vec3 aimBefore = match->players[0].aimPoint;
    EXPECT_EQ(tapCourt(match, aim), 0);
    EXPECT_EQ(match->setupDelay, 65);
    EXPECT_EQ(match->pointDelay, fxFromInt(15));
    EXPECT_EQ(tapCourt(match, aim), 0);
    EXPECT_EQ(match->setupDelay, 65); // still to come: only cut further, never lengthened
    match->setupDelay = 0;
    EXPECT_EQ(tapCourt(match, aim), 0);
    EXPECT_EQ(match->pointDelay, 65);
    EXPECT_EQ(match->tapFlags, 0);
    EXPECT_EQ(match->players[0].aimPoint.z, aimBefore.z);
}

TEST_F(Rules, TapOnTheOpponentsHalfInPlayAimsAndAsks) {
    setUpHumans();
    match->pointDelay = 0;
    const Vec3 aim = {fxFromInt(1), 0, fxFromInt(-9)};
    EXPECT_EQ(tapCourt(match, aim), 1);
    EXPECT_EQ(match->tapFlags, kTapShot);
    EXPECT_EQ(match->players[0].aimPoint.x, aim.x);

    setUpMatch(match, 1, 0, rosterPlayer(0, true), rosterPlayer(4, true));
    match->pointDelay = 0;
    EXPECT_EQ(tapCourt(match, aim), 0);
    EXPECT_EQ(match->tapFlags, 0);
}

TEST_F(Rules, ScreenTapIsCarriedOntoTheCourt) {
    setUpHumans();
    const CameraSetup camera = makeCameraSetup();
    for (int sy : {40, 290}) {
        const Vec3 ground = screenToGround(camera, fxFromInt(120), fxFromInt(sy));
        match->players[0].moveTarget = {};
        match->pointDelay = 0;
        const int asked = tapCourt(match, camera, 120, sy);
        if (ground.z > 0) {
            EXPECT_EQ(asked, 0) << sy;
            EXPECT_EQ(match->players[0].moveTarget.z, ground.z) << sy;
        } else {
            EXPECT_EQ(asked, 1) << sy;
            EXPECT_EQ(match->players[0].aimPoint.z, ground.z) << sy;
        }
    }
}

} // namespace
