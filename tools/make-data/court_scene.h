// court_scene.h: the five stadiums as world-space polygons, drawn through any camera.
#pragma once

#include <functional>

#include "canvas.h"

// World metres: x across the court, y up, z along it, the net in the plane z = 0.
struct WorldPoint {
    double x, y, z;
};

// Screen position of a world point, false when the point is not in front of the camera.
using Projector = std::function<bool(const WorldPoint& p, Point& out)>;

enum class Surface { GreenHard, RedClay, Grass, RedHard, BlueHard };
constexpr int kSurfaceCount = 5;

struct SurfaceLook {
    const char* name;
    Colour court;
    Colour surround;
    Colour line;
};
SurfaceLook surfaceLook(Surface surface);

// Court dimensions of the game's world.
constexpr double kBaselineZ = 11.89;
constexpr double kServiceLineZ = 6.40;
constexpr double kSinglesHalfWidth = 4.115;
constexpr double kDoublesHalfWidth = 5.485;
constexpr double kCentreMarkLength = 0.10;
constexpr double kLineWidth = 0.05;
constexpr double kBaselineWidth = 0.08;

// One line of the court, as its centre line on the ground.
struct CourtLine {
    WorldPoint from, to;
    double width;
};
std::vector<CourtLine> courtLines();

// Draws the whole stadium (surround, court, lines, walls, stands) with the given camera; lines
// are never drawn thinner than minLinePixels.
void drawStadium(Canvas& canvas, Surface surface, const Projector& project, float minLinePixels);
