// ball.h: the ball and the two bounded planes it meets, with flight and bounce.
#pragma once

#include "core/fixed_point.h"

#include <cstdint>

struct Ball {
    Fixed mass;
    Fixed diameter;
    Vec3 position; // centre
    Vec3 velocity;
    Fixed spin; // rad/s about spinAxis; positive is topspin for a ball driven away from the striker
    Vec3 spinAxis;
    uint8_t dead;
};

struct CourtPlane {
    Vec3 origin; // centre of the rectangle
    Vec3 normal;
    Vec3 uAxis, vAxis;
    Fixed halfU, halfV;
    Fixed friction;    // share of the contact point's sliding velocity removed by a bounce
    Fixed restitution; // share of the normal velocity kept, reversed
    uint8_t hasTopEdge;
};

constexpr Fixed kBallMass = 3781;             // 0.0577 kg
constexpr Fixed kBallDiameter = 4390;         // 0.067 m
constexpr Fixed kGrassBallDiameter = 4653;    // 0.071 m
constexpr Fixed kGravity = 640974;            // 9.78 m/s^2
constexpr Fixed kDragCoefficient = 32768;     // 0.5
constexpr Fixed kSpinForceCoefficient = 2621; // 0.04
constexpr Fixed kSpinDecayCoefficient = 1638; // 0.025
constexpr Fixed kContactSlideTime = 262;      // 0.004 s rolled along the surface in a bounce
constexpr Fixed kContactLeaveTime = 65;       // 0.001 s flown off the surface after it

// Seconds until the ball touches the plane within the next dt, or 30000 (never).
Fixed timeToPlane(const Ball& ball, const CourtPlane& plane, Fixed dt);
// Moves the ball to the contact, bounces it and returns the time this took (at least 327 raw).
Fixed bounceOffPlane(Ball& ball, const CourtPlane& plane);
// Free flight with drag, spin force and gravity.
void flyBall(Ball& ball, Fixed dt);
