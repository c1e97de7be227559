// court_planes.h: the singles court's lines, the ground and the net, the ball's start, and the
// five court surfaces.
#pragma once

#include "match/ball.h"

// The singles court in metres, the net at z = 0: the box a rally ball must land in on either
// half. A bounce nearer the net than kNetClearance is not in.
constexpr Fixed kBaselineZ = fx(11.89);
constexpr Fixed kSinglesHalfWidth = fx(4.11);
constexpr Fixed kNetClearance = fx(0.02);
constexpr Fixed kServiceLineZ = fx(6.40);

enum SurfaceKind : int {
    SurfaceGreen = 0,
    SurfaceRedClay = 1,
    SurfaceGrass = 2,
    SurfaceRed = 3,
    SurfaceBlue = 4,
};

constexpr int kSurfaceCount = 5;

CourtPlane makeGroundPlane();
CourtPlane makeNetPlane();
// The ball before the first point: at (2, 3, 13), at rest, no spin about (1, 0, 0).
Ball makeStartBall();
// Ball size and ground response of the court; any other kind changes nothing.
void applySurface(Ball& ball, CourtPlane& ground, int kind);
