// court_planes.cpp: the ground and the net, the ball's start, and the five court surfaces.
#include "match/court_planes.h"

#include "match/vector_math.h"

namespace {

struct SurfaceResponse {
    Fixed diameter;
    Fixed restitution;
    Fixed friction;
};

constexpr SurfaceResponse kSurfaces[kSurfaceCount] = {
    {kBallDiameter, 45875, 29491},      // green
    {kBallDiameter, 45875, 32768},      // red clay
    {kGrassBallDiameter, 42598, 26214}, // grass: a slightly larger ball
    {kBallDiameter, 47185, 30146},      // red
    {kBallDiameter, 44564, 28180},      // blue
};

} // namespace

CourtPlane makeGroundPlane() {
    CourtPlane ground{};
    ground.origin = {0, 0, 0};
    ground.normal = {0, kFxOne, 0};
    ground.uAxis = {kFxOne, 0, 0};
    ground.vAxis = {0, 0, kFxOne};
    ground.halfU = fxFromInt(100);
    ground.halfV = fxFromInt(100);
    ground.friction = 26214;    // 0.4
    ground.restitution = 42598; // 0.65
    ground.hasTopEdge = 0;
    return ground;
}

CourtPlane makeNetPlane() {
    CourtPlane net{};
    net.origin = {0, 35061, 0}; // stands on the ground, 1.07 m high
    net.normal = {0, 0, kFxOne};
    net.uAxis = {kFxOne, 0, 0};
    net.vAxis = {0, kFxOne, 0};
    net.halfU = 328990; // 5.02
    net.halfV = 35061;  // 0.535
    net.friction = 26214;
    net.restitution = fx(0.15);
    net.hasTopEdge = 1;
    return net;
}

Ball makeStartBall() {
    Ball ball{};
    ball.mass = kBallMass;
    ball.diameter = kBallDiameter;
    ball.position = {fxFromInt(2), fxFromInt(3), fxFromInt(13)};
    ball.velocity = {0, 0, 0};
    ball.spin = 0;
    ball.spinAxis = {kFxOne, 0, 0};
    ball.dead = 0;
    return ball;
}

void applySurface(Ball& ball, CourtPlane& ground, int kind) {
    if (kind < 0 || kind >= kSurfaceCount)
        return;
    ball.diameter = kSurfaces[kind].diameter;
    ground.restitution = kSurfaces[kind].restitution;
    ground.friction = kSurfaces[kind].friction;
}
