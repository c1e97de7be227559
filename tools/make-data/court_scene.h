// court_scene.h: the five stadiums as world-space polygons, drawn through any camera.
#pragma once

#include <functional>
#include <vector>

#include "canvas.h"

// World metres: x across the court, y up, z along it, the net in the plane z = 0.
struct WorldPoint {
    double x, y, z;
};

// A camera as the builder uses it: how far in front of it a world point lies, and where a point
// at least nearDepth in front lands on the picture. Both projections the builder uses are
// perspective divides of an affine depth, so a polygon can be cut at nearDepth in world space.
struct Projector {
    std::function<double(const WorldPoint& p)> depth;
    std::function<Point(const WorldPoint& p)> toScreen;
    double nearDepth;
};

// Screen position of a world point, false when it lies nearer than the camera's near depth.
bool projectPoint(const Projector& camera, const WorldPoint& p, Point& out);
// The part of a flat polygon at least the near depth in front of the camera: a ground reaching
// behind the camera is kept up to the picture's near edge instead of being lost whole.
std::vector<WorldPoint> clipToNearDepth(const Projector& camera,
                                        const std::vector<WorldPoint>& polygon);

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
void drawStadium(Canvas& canvas, Surface surface, const Projector& camera, float minLinePixels);
