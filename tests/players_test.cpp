// Player movement within the bounds, run-speed learning, the human's serve meter and early taps,
// and the contact step.
#include "match/player_actions.h"
#include "match/stroke_table.h"
#include "match/strokes.h"
#include "match/vector_math.h"
#include "match_support.h"

namespace {

MatchPlayer runner(bool computer, Fixed runSpeed = fxFromInt(4)) {
    MatchPlayer p = evenPlayer(computer, fx(0.6), runSpeed);
    p.position = {0, 0, fxFromInt(10)};
    p.moveTarget = p.position;
    p.facing = {0, 0, -kFxOne};
    p.baselineZ = fx(11.89);
    p.xMin = fxFromInt(-10);
    p.xMax = fxFromInt(10);
    p.zMin = fx(6.4);
    p.zMax = fxFromInt(18);
    return p;
}

TEST(PlayerMovement, OutsideItsBoundsAPlayerStandsStill) {
    MatchPlayer p = runner(false);
    p.position.z = fxFromInt(5);
    p.moveTarget = {0, 0, fxFromInt(8)};
    movePlayer(p, kFxOne);
    EXPECT_EQ(p.position.z, fxFromInt(5));
    EXPECT_EQ(p.skills.runSpeed, fxFromInt(4));
}

TEST(PlayerMovement, StopsOnTheBoundaryOfAnOutsideDestination) {
    MatchPlayer p = runner(true);
    p.moveTarget = {0, 0, 0};
    movePlayer(p, kFxOne);
    EXPECT_NEAR(fxToDouble(p.position.z), 6.4, 0.001);
    EXPECT_EQ(p.position.x, 0);
    const Vec3 stopped = p.position;
    movePlayer(p, kFxOne);
    EXPECT_NEAR(fxToDouble(p.position.z), fxToDouble(stopped.z), 0.001);
}

TEST(PlayerMovement, ArrivingRestsAndRunningPicksTheAnimation) {
    MatchPlayer p = runner(true);
    p.anim = AnimRunLeft;
    p.moveTarget = {fxFromInt(3), 0, fxFromInt(10)};
    movePlayer(p, fx(0.25)); // sideways toward +x while facing -z: running right
    EXPECT_EQ(p.anim, AnimRunRight);
    EXPECT_EQ(p.animLoops, 1);
    EXPECT_EQ(p.position.x, fxMul(fxFromInt(3), fxDiv(fxFromInt(1), fxFromInt(3))));
    movePlayer(p, fxFromInt(2));
    EXPECT_EQ(p.position.x, fxFromInt(3));
    EXPECT_EQ(p.anim, AnimRest);
    EXPECT_EQ(p.facing.z, -kFxOne);
    p.moveTarget = {fxFromInt(3), 0, fxFromInt(14)};
    movePlayer(p, fx(0.25)); // away from the net while facing it: backward
    EXPECT_EQ(p.anim, AnimRunBackward);
    EXPECT_EQ(p.facing.z, -kFxOne);
}

TEST(PlayerMovement, OnlyTheHumanLearnsToRunUpTo55) {
    MatchPlayer human = runner(false);
    human.moveTarget = {0, 0, fxFromInt(12)};
    movePlayer(human, fxFromInt(1)); // arrives after 2 m
    EXPECT_EQ(human.skills.runSpeed, fxFromInt(4) + fxMul(fxFromInt(2), kLearningRate));

    MatchPlayer running = runner(false);
    running.moveTarget = {0, 0, fxFromInt(16)};
    movePlayer(running, fx(0.5)); // still on the way: learns from the ground covered
    EXPECT_EQ(running.skills.runSpeed,
              fxFromInt(4) + fxMul(fxMul(fxFromInt(4), fx(0.5)), kLearningRate));

    MatchPlayer computer = runner(true);
    computer.moveTarget = {0, 0, fxFromInt(12)};
    movePlayer(computer, fxFromInt(1));
    EXPECT_EQ(computer.skills.runSpeed, fxFromInt(4));

    MatchPlayer fast = runner(false, kMaxLearnedRunSpeed);
    fast.moveTarget = {0, 0, fxFromInt(12)};
    movePlayer(fast, fxFromInt(1));
    EXPECT_EQ(fast.skills.runSpeed, kMaxLearnedRunSpeed);
}

using HumanControls = MatchFixture;

TEST_F(HumanControls, MeterAt17ServesAtTheFoldedValue) {
    setUpHumans(1, fx(0.5));
    MatchPlayer& server = match->players[0];
    match->pointDelay = 0;
    match->serveMeterOn = 1;
    match->serveMeterRate = fx(1.5);
    match->serveMeter = kServeMeterAutomatic - 1;
    Fixed step = 1;
    updatePlayer(server, 1, match, match->players[1], step);
    EXPECT_EQ(server.stroke, 0); // just below: still waiting
    match->serveMeter = kServeMeterAutomatic;
    step = 1;
    updatePlayer(server, 1, match, match->players[1], step);
    EXPECT_EQ(server.stroke, StrokeFirstServe);
    EXPECT_EQ(server.swinging, 1);
    EXPECT_EQ(match->serveMeterRate, 0);
    const Fixed folded = fxFromInt(2) - kServeMeterAutomatic;
    EXPECT_EQ(folded, 19660); // exactly 0.3
    const Fixed power = fxMul(49152, folded) + 16384;
    EXPECT_EQ(server.shotSpeed, fxMul(strokeRow(1).speed, power));
    EXPECT_EQ(server.shotSpin, fxMul(strokeRow(1).spin, power));
    EXPECT_EQ(match->ball.position.y, 196607); // (2.9 + 3.1) / 2 from the converted table
    EXPECT_EQ(server.anim, AnimServe);
}

TEST_F(HumanControls, TapServesAtTheMetersValue) {
    setUpHumans();
    match->pointDelay = 0;
    match->serveMeterOn = 1;
    match->serveMeter = kFxOne;
    match->players[0].serveNumber = ServeState::Second;
    askForShot({0, 0, fxFromInt(-8)});
    Fixed step = 1;
    updatePlayer(match->players[0], 1, match, match->players[1], step);
    EXPECT_EQ(match->players[0].stroke, StrokeSecondServe);
    EXPECT_EQ(match->players[0].shotSpeed, strokeRow(2).speed); // full power at 1.0
    EXPECT_EQ(match->tapFlags, 0);
}

struct EarlyTap : MatchFixture {
    // A ball from player 2's baseline toward player 1, flown for some steps.
    void rallyTowardPlayer1(int stepsFlown) {
        ballTowardPlayer1({0, fxFromInt(1), fxFromInt(-11)}, {0, fxFromInt(5), fxFromInt(22)});
        for (int i = 0; i < stepsFlown; ++i)
            flyBall(match->ball, 3276);
    }
    Fixed planLead() {
        MatchPlayer copy = match->players[0];
        Fixed factor = kFxOne;
        planStroke(copy, match, match->players[1], factor);
        return copy.stroke ? copy.timeToSwing : -1;
    }
    // The level at which a tap may come exactly `lead` before the swing: 0.8 s at level 0,
    // 0.3 s less for each whole level.
    static Fixed levelAllowing(Fixed lead) {
        Fixed level = 0;
        while (level < kFxOne && fx(0.8) - fxMul(fx(0.3), level) > lead)
            ++level;
        return level;
    }
};

// The lead a tap may have is a limit to the raw unit: one exactly at it plays the stroke, one a
// raw unit over it swings an empty forehand at once.
TEST_F(EarlyTap, TooEarlyATapSwingsAnEmptyForehandAndTheLimitShrinksWithLevel) {
    int steps = 0;
    Fixed lead = 0;
    for (; steps < 20; ++steps) {
        rallyTowardPlayer1(steps);
        lead = planLead();
        if (lead > fx(0.55) && lead < fx(0.75))
            break;
    }
    ASSERT_LT(steps, 20) << "no stroke with a lead between the two limits";

    rallyTowardPlayer1(steps);
    match->level = levelAllowing(lead);
    requestShot(match->players[0], match, match->players[1]);
    EXPECT_EQ(match->players[0].timeToSwing, lead);
    EXPECT_NE(match->players[0].contactPoint.y, 0);

    rallyTowardPlayer1(steps);
    match->level = levelAllowing(lead - 1);
    MatchPlayer& p = match->players[0];
    requestShot(p, match, match->players[1]);
    EXPECT_EQ(p.stroke, StrokeForehand);
    EXPECT_EQ(p.timeToSwing, 0);
    EXPECT_EQ(p.contactPoint.y, 0); // at its feet: meets no ball
    EXPECT_EQ(p.strokeSpot.x, p.position.x);
    EXPECT_EQ(p.strokeSkill, p.skills.forehand);

    // The empty swing leaves the ball to fly on untouched.
    const Ball before = match->ball;
    for (int i = 0; i < 12; ++i)
        step();
    EXPECT_EQ(match->tally.strokes, 0);
    EXPECT_NE(match->ball.position.z, before.position.z);
}

TEST_F(EarlyTap, ATapThatFindsNoStrokeLeavesThePlayerFreeToMove) {
    rallyTowardPlayer1(4);
    match->targetBox[BoxZMax] = fxFromInt(3); // the ball will land out: nothing to play
    MatchPlayer& p = match->players[0];
    askForShot({0, 0, fxFromInt(-8)});
    step();
    EXPECT_EQ(p.stroke, 0);
    EXPECT_EQ(p.strokePlanned, 0);

    const Vec3 from = p.position;
    p.moveTarget = {0, 0, fxFromInt(8)}; // a tap on its own half
    for (int i = 0; i < 4; ++i)
        step();
    EXPECT_LT(p.position.z, from.z) << "the player walks toward the net as told";
    EXPECT_LT(p.position.x, from.x);
}

TEST_F(HumanControls, ContactStepNeverRunsTheClockBackwards) {
    setUpHumans();
    MatchPlayer& p = match->players[0];
    match->pointDelay = 0;
    // Swinging an empty forehand whose contact falls after 0.045 s of a 0.05 s step.
    p.stroke = StrokeForehand;
    p.swinging = 1;
    p.strokePlanned = 1;
    p.timeToContact = fx(0.045);
    p.swingTimeLeft = fxFromInt(1);
    p.contactPoint = p.position;
    p.strokeSpot = p.position;
    const Fixed runSpeed = p.skills.runSpeed;
    Fixed step = 3276;
    updatePlayer(p, 1, match, match->players[1], step);
    EXPECT_EQ(step, 0);
    EXPECT_EQ(p.skills.runSpeed, runSpeed);
    EXPECT_EQ(p.timeToContact, -kFxOne);

    // The whole step still ends.
    p.stroke = StrokeForehand;
    p.swinging = 1;
    p.timeToContact = fx(0.045);
    p.swingTimeLeft = fxFromInt(1);
    Fixed dt = 3276;
    stepMatch(match, dt);
    EXPECT_LE(dt, 0);
}

} // namespace
