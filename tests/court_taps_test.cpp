// A tap on the court: where to walk, where to aim, or the end of a pause.
#include "frontend/court_taps.h"
#include "match_support.h"
#include "render/camera.h"

namespace {

using CourtTaps = MatchFixture;

TEST_F(CourtTaps, TapOnOwnHalfSetsWhereToWalk) {
    setUpHumans();
    const Vec3 spot = {fxFromInt(1), 0, fxFromInt(9)};
    EXPECT_EQ(tapCourt(match, spot), 0);
    EXPECT_EQ(match->players[0].moveTarget.z, spot.z);
    EXPECT_EQ(match->tapFlags, 0);
}

TEST_F(CourtTaps, TapOnTheOpponentsHalfDuringAPauseOnlyShortensIt) {
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

TEST_F(CourtTaps, TapOnTheOpponentsHalfInPlayAimsAndAsks) {
    setUpHumans();
    match->pointDelay = 0;
    const Vec3 aim = {fxFromInt(1), 0, fxFromInt(-9)};
    EXPECT_EQ(tapCourt(match, aim), 1);
    EXPECT_EQ(match->tapFlags, kTapShot);
    EXPECT_EQ(match->players[0].aimPoint.x, aim.x);

    setUpMatch(match, 1, 0, evenPlayer(true), strongPlayer(true));
    match->pointDelay = 0;
    EXPECT_EQ(tapCourt(match, aim), 0);
    EXPECT_EQ(match->tapFlags, 0);
}

TEST_F(CourtTaps, ScreenTapIsCarriedOntoTheCourt) {
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
