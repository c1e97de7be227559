// camera.h: the match and close cameras, the perspective projection, and the mapping of a
// screen position back onto the court.
#pragma once

#include "core/fixed_point.h"

// Held by the engine object; fields in the order they are computed.
struct CameraSetup {
    Fixed viewAngle; // tilt of the match camera, degrees
    Vec3 viewOffset; // translation of the match camera
    Fixed nearPlane;
    Fixed farPlane;
    Fixed frustumHeight; // full height of the view window at the near plane
    Fixed frustumWidth;  // full width of the view window at the near plane
    FxMatrix matchView;
    FxMatrix previewView; // the close camera of the single-player screens
    FxMatrix projection;
};

constexpr Fixed kMatchViewAngle = 36 << 16;
constexpr Fixed kPreviewViewAngle = 10 << 16;
constexpr Fixed kMatchViewDistance = 72 << 16;
constexpr Fixed kNearPlane = 16 << 16;
constexpr Fixed kFarPlane = 96 << 16;
constexpr Fixed kFrustumWidthPerNear = 13697;   // 0.209
constexpr Fixed kFrustumHeightPerWidth = 87381; // 4 / 3, the portrait screen

CameraSetup makeCameraSetup();

// Rotation about x by angleDegrees, then translation by offset.
FxMatrix cameraMatrix(Fixed angleDegrees, const Vec3& offset);

// The point of the ground (y = 0) seen at screen position (sx, sy), in Fixed pixels, through
// the match camera. The 240 x 320 screen is built in.
Vec3 screenToGround(const CameraSetup& camera, Fixed sx, Fixed sy);
