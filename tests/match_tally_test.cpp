// The match tally: serves judged, winners and errors charged to the last striker by stroke kind,
// net touches only in play (whole matches adding up: whole_match_test).
#include "match/match_tally.h"
#include "match/stroke_table.h"
#include "match_support.h"

namespace {

constexpr int kServe = static_cast<int>(StrokeKind::Serve);
constexpr int kVolley = static_cast<int>(StrokeKind::Volley);
constexpr int kBackhand = static_cast<int>(StrokeKind::Backhand);

struct Tally : MatchFixture {
    // Player 1 struck the ball last, toward player 2's half; ServeState::None is a rally ball.
    void ballInFlight(ServeState serveState, int stroke, Vec3 position, Vec3 velocity) {
        ballFromPlayer1(serveState, position, velocity);
        match->tally.lastStroke = stroke;
    }
    const PlayerTally& striker() { return match->tally.players[0]; }
    // Runs until the pause is over and the point has been laid out again.
    void runPause() {
        for (int i = 0; i < 400 && (match->pointDelay > 0 || match->setupDelay > 0); ++i)
            step();
    }
};

TEST_F(Tally, ServesAreCountedWhenJudgedAndLetsAreNot) {
    ballInFlight(ServeState::First, StrokeFirstServe, kPastTheBox, kDown);
    step();
    EXPECT_EQ(striker().firstServes, 1);
    EXPECT_EQ(striker().firstServesIn, 0);
    EXPECT_EQ(striker().secondServes, 0);

    ballInFlight(ServeState::First, StrokeFirstServe, kIntoTheBox, kDown);
    step();
    EXPECT_EQ(striker().firstServes, 1);
    EXPECT_EQ(striker().firstServesIn, 1);

    ballInFlight(ServeState::Second, StrokeSecondServe, kPastTheBox, kDown);
    step();
    EXPECT_EQ(striker().secondServes, 1);
    EXPECT_EQ(striker().secondServesIn, 0);
    EXPECT_EQ(striker().doubleFaults, 1);
    EXPECT_EQ(striker().errors[kServe], 1);
    EXPECT_EQ(match->tally.players[1].pointsWon, 1);
    EXPECT_EQ(striker().servicePoints, 1);
    EXPECT_EQ(striker().servicePointsWon, 0);

    ballInFlight(ServeState::Second, StrokeSecondServe, kIntoTheBox, kDown);
    match->netTouched = 1;
    step();
    EXPECT_EQ(match->tally.lets, 1);
    EXPECT_EQ(striker().secondServes, 0);
}

TEST_F(Tally, PointEndsAreChargedToTheLastStrikerByStrokeKind) {
    ballInFlight(ServeState::None, StrokeBackhandJump, {fx(-2), fx(0.2), fx(-13)}, kDown);
    step();
    EXPECT_EQ(striker().errors[kVolley], 1) << "a jump shot counts as a volley";

    ballInFlight(ServeState::None, StrokeBackhand, kIntoTheBox, kDown);
    match->bounced = 1;
    step();
    EXPECT_EQ(striker().winners[kBackhand], 1);
    EXPECT_EQ(striker().pointsWon, 1);
    EXPECT_EQ(match->tally.players[1].errors[kBackhand], 0);
}

TEST_F(Tally, NetTouchesCountOnlyWhileThePointIsLive) {
    const Vec3 atTheNet = {0, fx(0.5), fx(0.3)};
    const Vec3 intoTheNet = {0, 0, fxFromInt(-20)};
    ballInFlight(ServeState::None, StrokeForehand, atTheNet, intoTheNet);
    step();
    EXPECT_EQ(match->tally.netTouches, 1);
    EXPECT_EQ(striker().netTouches, 1);

    ballInFlight(ServeState::None, StrokeForehand, atTheNet, intoTheNet);
    match->pointDelay = fxFromInt(3); // the ball rolls on after a point
    step();
    EXPECT_EQ(match->netTouched, 1);
    EXPECT_EQ(match->tally.netTouches, 0);
}

TEST_F(Tally, TheFastestServeCountsOnlyServesJudgedIn) {
    ballInFlight(ServeState::First, StrokeFirstServe, kIntoTheBox, kDown);
    match->ballSpeedKmh = 171;
    step();
    PlayerTally kept = striker();
    ballInFlight(ServeState::First, StrokeFirstServe, kPastTheBox, kDown);
    match->tally.players[0] = kept;
    match->ballSpeedKmh = 205; // a fault
    step();
    kept = striker();
    ballInFlight(ServeState::Second, StrokeSecondServe, kIntoTheBox, kDown);
    match->tally.players[0] = kept;
    match->netTouched = 1; // a let
    match->ballSpeedKmh = 199;
    step();
    EXPECT_EQ(striker().fastestServeInKmh, 171);
    EXPECT_EQ(match->tally.players[1].fastestServeInKmh, 0);
}

// A player comes in by striking a rally ball with the feet inside the service line; the point
// then counts as a net point for that player, won or lost.
TEST_F(Tally, NetPointsCountThePlayersWhoCameIn) {
    setUpHumans();
    MatchPlayer& p1 = match->players[0];
    MatchPlayer& p2 = match->players[1];
    p1.stroke = StrokeForehandVolley;
    p1.position = {0, 0, fx(5.5)};
    tallyStroke(match, p1);
    p2.stroke = StrokeForehand;
    p2.position = {0, 0, fx(-11)};
    tallyStroke(match, p2);
    awardPoint(match, 2); // passed at the net
    EXPECT_EQ(match->tally.players[0].netPoints, 1);
    EXPECT_EQ(match->tally.players[0].netPointsWon, 0);
    EXPECT_EQ(match->tally.players[1].netPoints, 0);

    runPause();
    p1.stroke = StrokeFirstServe; // a serve is never a net approach, wherever it is struck from
    p1.position = {0, 0, fx(2)};
    tallyStroke(match, p1);
    p1.stroke = StrokeBackhand;
    p1.position = {0, 0, fx(6.41)}; // just behind the service line
    tallyStroke(match, p1);
    awardPoint(match, 1);
    EXPECT_EQ(match->tally.players[0].netPoints, 1);

    runPause();
    p2.stroke = StrokeBackhandSmash;
    p2.position = {0, 0, fx(-3)};
    tallyStroke(match, p2);
    awardPoint(match, 2);
    EXPECT_EQ(match->tally.players[1].netPoints, 1);
    EXPECT_EQ(match->tally.players[1].netPointsWon, 1);
    EXPECT_EQ(match->tally.players[0].netPoints, 1) << "the flags start afresh each point";
}

} // namespace
