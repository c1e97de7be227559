// The rules applied to bounces: good serve, fault, double fault, let, out, net, double bounce.
#include "match_support.h"

#include <algorithm>

namespace {

struct Rules : MatchFixture {
    // Player 1 has served from the right: the receiver's box is x -4.11..0.25, z -6.4..0.
    void serveInFlight(ServeState serveState, bool netTouched, Vec3 position, Vec3 velocity) {
        ballFromPlayer1(serveState, position, velocity);
        match->netTouched = netTouched ? 1 : 0;
    }
    // Player 1 has struck a rally ball toward player 2's half.
    void rallyBall(bool bounced, Vec3 position, Vec3 velocity) {
        ballFromPlayer1(ServeState::None, position, velocity);
        match->bounced = bounced ? 1 : 0;
    }
    bool played(int sound) {
        const std::vector<int> sounds = takeSounds();
        return std::find(sounds.begin(), sounds.end(), sound) != sounds.end();
    }
};

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

} // namespace
