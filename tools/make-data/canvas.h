// canvas.h: the builder's drawing surface: anti-aliased shapes filled with colours or gradients.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// Channels 0..1, display-referred (what ends up in the JPEG after rounding).
struct Colour {
    float r, g, b;
};

constexpr Colour hexColour(uint32_t rgb) {
    return {static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
            static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(rgb & 0xFF) / 255.0f};
}
Colour mixColour(Colour a, Colour b, float t);
Colour scaleColour(Colour c, float factor);

struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<Colour> pixels; // top row first
};

Canvas makeCanvas(int width, int height, Colour fill);
Colour& pixelAt(Canvas& canvas, int x, int y);
// Mixes colour into one pixel with weight alpha (0..1); pixels outside are ignored.
void blendPixel(Canvas& canvas, int x, int y, Colour colour, float alpha);

// Samples for JPEG: 3 bytes per pixel, or 1 (the red channel) for grey-scale masks.
std::vector<uint8_t> canvasSamples(const Canvas& canvas, int components);

// Paint gives the colour at a pixel centre.
using Paint = std::function<Colour(float x, float y)>;
Paint solid(Colour colour);
Paint verticalGradient(float y0, Colour top, float y1, Colour bottom);
Paint linearGradient(float x0, float y0, Colour from, float x1, float y1, Colour to);
Paint radialGradient(float cx, float cy, float radius, Colour centre, Colour edge);

struct Point {
    float x, y;
};
// Closed contours; filled with the non-zero winding rule, so holes wind the other way.
using Path = std::vector<std::vector<Point>>;

void fillPath(Canvas& canvas, const Path& path, const Paint& paint, float opacity = 1.0f);
// Coverage of the path per pixel (0..1), for masks and effects.
std::vector<float> pathCoverage(int width, int height, const Path& path);

Path rectPath(float x, float y, float w, float h);
Path roundedRectPath(float x, float y, float w, float h, float radius);
Path ellipsePath(float cx, float cy, float rx, float ry);
Path polygonPath(std::vector<Point> points);
// A straight stroke of the given width between two points, with flat ends.
Path linePath(Point a, Point b, float width);
// An outline ring: the rounded rectangle minus the one inset by width.
Path roundedFramePath(float x, float y, float w, float h, float radius, float width);
Path joinPaths(Path a, const Path& b);
// Reverses every contour: a hole inside another path.
Path reversedPath(Path path);

void fillRect(Canvas& canvas, float x, float y, float w, float h, Colour colour);
// Paints colour onto canvas wherever a grey-level coverage array is non-zero.
void blendCoverage(Canvas& canvas, const std::vector<float>& coverage, const Paint& paint,
                   float opacity = 1.0f);
// Box-blurred copy of a coverage array (soft shadows and glows).
std::vector<float> blurCoverage(const std::vector<float>& coverage, int width, int height,
                                int radius);
// Copies src onto dst at (x, y).
void pasteCanvas(Canvas& dst, const Canvas& src, int x, int y);
