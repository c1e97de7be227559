// court_pixels.h: where on the 240 x 320 screen a point of the ground is seen, so that a
// scripted person can tap it as a person would.
#pragma once

#include "core/fixed_point.h"

struct CameraSetup;

struct ScreenPoint {
    double x = 0, y = 0;
};

// The screen position whose tap the game carries to the ground point nearest (x, z), in metres;
// the tap mapping is searched rather than inverted so that both always agree.
ScreenPoint groundToScreen(const CameraSetup& camera, double x, double z);
