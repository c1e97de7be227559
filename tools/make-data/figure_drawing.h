// figure_drawing.h: draws a posed player figure and its shadow through the game's renderer, the
// way the player-choice screens show it.
#pragma once

#include "assets/pose.h"
#include "core/fixed_point.h"

struct RenderContext;

// Feet at `position`, looking along `facing` (x and z, unit length), model x mirrored so the
// racket hand is on the player's right; the shadow falls along +z. The model-view matrix must
// hold the camera.
void drawFigure(RenderContext* rc, const Pose& pose, Vec3 position, Vec3 facing);
