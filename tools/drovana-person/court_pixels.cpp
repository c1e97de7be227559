// court_pixels.cpp: the ground seen through the match camera, searched pixel by pixel.
#include "court_pixels.h"

#include <cmath>

#include "render/camera.h"

namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 320;

double metres(Fixed value) {
    return value / 65536.0;
}

Vec3 groundAt(const CameraSetup& camera, int x, int y) {
    return screenToGround(camera, fxFromInt(x), fxFromInt(y));
}

} // namespace

ScreenPoint groundToScreen(const CameraSetup& camera, double x, double z) {
    // The camera only tilts about x, so a screen row is a line of constant depth: find the row,
    // then the column along it.
    int bestRow = 0;
    double bestDepthError = INFINITY;
    for (int row = 0; row < kHeight; ++row) {
        const double error = std::fabs(metres(groundAt(camera, kWidth / 2, row).z) - z);
        if (error < bestDepthError) {
            bestDepthError = error;
            bestRow = row;
        }
    }
    int bestColumn = 0;
    double bestSideError = INFINITY;
    for (int column = 0; column < kWidth; ++column) {
        const double error = std::fabs(metres(groundAt(camera, column, bestRow).x) - x);
        if (error < bestSideError) {
            bestSideError = error;
            bestColumn = column;
        }
    }
    return {static_cast<double>(bestColumn), static_cast<double>(bestRow)};
}
