// court_taps.h: the human's taps on the court, turned into where to walk, where to aim, or the
// end of a pause.
#pragma once

#include "core/fixed_point.h"

struct CameraSetup;
struct Match;

// A tap that hit no button, already carried onto the ground; 1 when it asked for a shot.
int tapCourt(Match* match, const Vec3& groundPoint);
// The same tap in screen pixels, carried onto the ground through the match camera.
int tapCourt(Match* match, const CameraSetup& camera, int screenX, int screenY);
