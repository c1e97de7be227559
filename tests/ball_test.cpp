// Ball flight and bounces off the ground and the net, with exact raw values.
#include "match/ball.h"
#include "match/court_planes.h"
#include "match/vector_math.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Ball ballAt(Vec3 position, Vec3 velocity, Fixed spin = 0, Vec3 axis = {kFxOne, 0, 0}) {
    Ball ball = makeStartBall();
    ball.position = position;
    ball.velocity = velocity;
    ball.spin = spin;
    ball.spinAxis = axis;
    return ball;
}

const CourtPlane kGround = makeGroundPlane();
const CourtPlane kNet = makeNetPlane();
constexpr Fixed kStep = 3276;

TEST(BallTime, ParallelMotionNeverTouches) {
    const Ball overGround =
        ballAt({0, fxFromInt(1), fxFromInt(5)}, {fxFromInt(3), 0, fxFromInt(-9)});
    EXPECT_EQ(timeToPlane(overGround, kGround, fxFromInt(100)), kFxNever);
    const Ball alongNet = ballAt({0, fxFromInt(1), fxFromInt(1)}, {fxFromInt(5), fxFromInt(1), 0});
    EXPECT_EQ(timeToPlane(alongNet, kNet, fxFromInt(100)), kFxNever);
}

TEST(BallTime, InsideTheRadiusMovingInTouchesAtOnce) {
    const Ball low = ballAt({0, 2000, 0}, {0, fxFromInt(-1), 0}); // radius is 2195 raw
    EXPECT_EQ(timeToPlane(low, kGround, kStep), 0);
    const Ball centreOnThePlane = ballAt({0, 0, 0}, {0, fxFromInt(-1), 0});
    EXPECT_EQ(timeToPlane(centreOnThePlane, kGround, kStep), 0);
    // Moving away from the plane it never touches.
    const Ball rising = ballAt({0, 2000, 0}, {0, fxFromInt(1), 0});
    EXPECT_EQ(timeToPlane(rising, kGround, kStep), kFxNever);
}

TEST(BallTime, ContactBeyondTheWindowIsNever) {
    const Ball falling = ballAt({0, fxFromInt(2), 0}, {0, fxFromInt(-10), 0});
    const Fixed t = timeToPlane(falling, kGround, fxFromInt(1));
    EXPECT_EQ(t, fxDiv(fxAdd(fxFromInt(-2), 2195), fxFromInt(-10)));
    EXPECT_EQ(timeToPlane(falling, kGround, t - 1), kFxNever);
}

TEST(BallTime, BesideAndOverTheNetMiss) {
    const Fixed r = 2195;
    const Vec3 towardNet = {0, 0, fxFromInt(-10)};
    const Fixed justInside = 328990 + r;
    EXPECT_NE(timeToPlane(ballAt({justInside, kFxOne, kFxOne}, towardNet), kNet, kFxOne), kFxNever);
    EXPECT_EQ(timeToPlane(ballAt({justInside + 1, kFxOne, kFxOne}, towardNet), kNet, kFxOne),
              kFxNever);
    EXPECT_EQ(timeToPlane(ballAt({-justInside - 1, kFxOne, kFxOne}, towardNet), kNet, kFxOne),
              kFxNever);
    const Fixed topOfNet = 2 * 35061;
    EXPECT_NE(timeToPlane(ballAt({0, topOfNet + r, kFxOne}, towardNet), kNet, kFxOne), kFxNever);
    EXPECT_EQ(timeToPlane(ballAt({0, topOfNet + r + 1, kFxOne}, towardNet), kNet, kFxOne),
              kFxNever);
}

TEST(BallNet, TapeThrowsTheBallUpwardAndTheEdgeBouncesStraightBack) {
    const Fixed topOfNet = 2 * 35061;
    Ball clipping = ballAt({0, topOfNet + 1000, 5000}, {0, 0, fxFromInt(-10)});
    bounceOffPlane(clipping, kNet);
    EXPECT_GT(clipping.velocity.y, 0);
    EXPECT_GT(clipping.velocity.z, 0);

    Ball atEdge = ballAt({0, topOfNet, 5000}, {0, 0, fxFromInt(-10)});
    bounceOffPlane(atEdge, kNet);
    EXPECT_EQ(atEdge.velocity.y, 0);
    EXPECT_EQ(atEdge.velocity.x, 0);
    EXPECT_EQ(atEdge.velocity.z, fxMul(fxFromInt(10), kNet.restitution));
}

TEST(BallFlight, OneStepWithDragAndSpinExact) {
    Ball ball = ballAt({0, kFxOne, fxFromInt(10)}, {fxFromInt(3), fxFromInt(5), fxFromInt(-20)},
                       fxFromInt(300), {kFxOne, 0, 0});
    flyBall(ball, kStep);
    EXPECT_EQ(ball.position.x, 9828);
    EXPECT_EQ(ball.position.y, 81916);
    EXPECT_EQ(ball.position.z, 589840);
    EXPECT_EQ(ball.velocity.x, 191146);
    EXPECT_EQ(ball.velocity.y, 325543);
    EXPECT_EQ(ball.velocity.z, -1264556);
    EXPECT_EQ(ball.spin, 19089000);
}

TEST(BallFlight, BallAtRestFallsWithoutMoving) {
    Ball ball = ballAt({0, fxFromInt(3), 0}, {0, 0, 0});
    flyBall(ball, kStep);
    EXPECT_EQ(ball.velocity.y, -fxMul(kGravity, kStep));
    EXPECT_EQ(ball.position.y, fxFromInt(3)); // the step's velocity was zero
    flyBall(ball, kStep);
    EXPECT_LT(ball.position.y, fxFromInt(3));
}

TEST(BallFlight, NoSpinStaysInItsVerticalPlane) {
    Ball ball = ballAt({fxFromInt(1), kFxOne, fxFromInt(10)}, {0, fxFromInt(4), fxFromInt(-25)}, 0,
                       {0, 0, kFxOne});
    for (int i = 0; i < 20; ++i)
        flyBall(ball, kStep);
    EXPECT_EQ(ball.position.x, fxFromInt(1));
    EXPECT_EQ(ball.velocity.x, 0);
    // The same flight with side spin curves away.
    Ball curving = ballAt({fxFromInt(1), kFxOne, fxFromInt(10)}, {0, fxFromInt(4), fxFromInt(-25)},
                          fxFromInt(300), {0, kFxOne, 0});
    for (int i = 0; i < 20; ++i)
        flyBall(curving, kStep);
    EXPECT_NE(curving.position.x, fxFromInt(1));
}

TEST(BallBounce, GroundBounceExact) {
    Ball ball =
        ballAt({0, 2000, 0}, {kFxOne, fxFromInt(-5), fxFromInt(3)}, fxFromInt(50), {0, 0, kFxOne});
    CourtPlane ground = kGround;
    applySurface(ball, ground, SurfaceGreen);
    EXPECT_EQ(bounceOffPlane(ball, ground), 327); // contact at once: the bounce's own time
    EXPECT_EQ(ball.position.x, -61);
    EXPECT_EQ(ball.position.y, 2227);
    EXPECT_EQ(ball.position.z, 485);
    EXPECT_EQ(ball.velocity.x, -12008);
    EXPECT_EQ(ball.velocity.y, 229375);
    EXPECT_EQ(ball.velocity.z, 97320);
    EXPECT_EQ(ball.spin, 2927710);
    EXPECT_EQ(ball.spinAxis.x, 65042);
    EXPECT_EQ(ball.spinAxis.z, 8025);
}

TEST(BallBounce, SpinAfterwardsIsTheRollingRateWhateverItWas) {
    struct Case {
        Vec3 velocity;
        Fixed spin;
    };
    // The last two roll off at over 181 rad/s, whose square does not fit in 16.16.
    const Case cases[] = {{{fxFromInt(2), fxFromInt(-6), fxFromInt(-3)}, 0},
                          {{fxFromInt(2), fxFromInt(-6), fxFromInt(-3)}, fxFromInt(-200)},
                          {{fxFromInt(2), fxFromInt(-6), fxFromInt(-3)}, fxFromInt(150)},
                          {{fxFromInt(-4), fxFromInt(-12), fxFromInt(-24)}, fxFromInt(300)},
                          {{0, fxFromInt(-9), fxFromInt(30)}, 0}};
    for (const Case& c : cases) {
        Ball ball = ballAt({0, fxFromInt(1), 0}, c.velocity, c.spin, {kFxOne, 0, 0});
        const Fixed t = timeToPlane(ball, kGround, kFxOne);
        ASSERT_NE(t, kFxNever);
        EXPECT_GE(bounceOffPlane(ball, kGround), t + 327);
        const double vx = fxToDouble(ball.velocity.x), vz = fxToDouble(ball.velocity.z);
        const double rollingRate = std::hypot(vx, vz) / fxToDouble(ball.diameter / 2);
        EXPECT_NEAR(fxToDouble(ball.spin), rollingRate, 0.01 * rollingRate + 0.01) << c.spin;
        // Topspin along the way it rolls: the axis is the horizontal perpendicular (vz, 0, -vx).
        EXPECT_NEAR(fxToDouble(ball.spinAxis.x), vz / std::hypot(vx, vz), 0.001);
        EXPECT_NEAR(fxToDouble(ball.spinAxis.z), -vx / std::hypot(vx, vz), 0.001);
    }
}

TEST(BallBounce, StraightDropLeavesWithoutSpin) {
    Ball ball = ballAt({0, 2195, 0}, {0, fxFromInt(-3), 0}, 0, {0, 0, kFxOne});
    bounceOffPlane(ball, kGround);
    EXPECT_EQ(ball.spin, 0);
    EXPECT_EQ(ball.spinAxis.x, kFxOne);
}

TEST(CourtSurface, EachSurfaceSetsBallAndGround) {
    struct Expected {
        Fixed diameter, restitution, friction;
    };
    const Expected expected[kSurfaceCount] = {{4390, 45875, 29491},
                                              {4390, 45875, 32768},
                                              {4653, 42598, 26214},
                                              {4390, 47185, 30146},
                                              {4390, 44564, 28180}};
    for (int kind = 0; kind < kSurfaceCount; ++kind) {
        Ball ball = makeStartBall();
        CourtPlane ground = makeGroundPlane();
        applySurface(ball, ground, kind);
        EXPECT_EQ(ball.diameter, expected[kind].diameter) << kind;
        EXPECT_EQ(ground.restitution, expected[kind].restitution) << kind;
        EXPECT_EQ(ground.friction, expected[kind].friction) << kind;
    }
    Ball ball = makeStartBall();
    CourtPlane ground = makeGroundPlane();
    applySurface(ball, ground, SurfaceGrass);
    applySurface(ball, ground, 5);
    applySurface(ball, ground, -1);
    EXPECT_EQ(ball.diameter, kGrassBallDiameter);
    EXPECT_EQ(ground.restitution, 42598);
}

} // namespace
