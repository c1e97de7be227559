// house_style.cpp: shapes shared by faces and backdrops, so a pressed face lands on its twin.
#include "house_style.h"

#include <cmath>
#include <numbers>

namespace {

Path strokePolyline(const std::vector<Point>& points, float width) {
    Path path;
    for (size_t i = 0; i + 1 < points.size(); ++i)
        path = joinPaths(std::move(path), linePath(points[i], points[i + 1], width));
    return path;
}

} // namespace

Path chipPath(float x, float y, float w, float h) {
    return roundedRectPath(x + 0.5f, y + 0.5f, w - 1.0f, h - 1.0f, std::min(h / 2.0f - 1.0f, 7.0f));
}

void drawChip(Canvas& canvas, const TypeSet& types, float x, float y, float w, float h,
              const std::string& word, Look look, TextStyle style) {
    const bool pressed = look == Look::Pressed;
    const Path outer = chipPath(x, y, w, h);
    const Paint body = pressed ? verticalGradient(y, palette::kBall, y + h, palette::kBallShade)
                               : verticalGradient(y, palette::kBlue, y + h, palette::kNavy);
    fillPath(canvas, outer, solid(pressed ? palette::kGoldShade : palette::kSteel));
    fillPath(
        canvas,
        roundedRectPath(x + 1.5f, y + 1.5f, w - 3.0f, h - 3.0f, std::min(h / 2.0f - 2.0f, 6.0f)),
        body);
    // A soft highlight along the top edge gives the chip some volume.
    fillPath(canvas, roundedRectPath(x + 3.0f, y + 2.0f, w - 6.0f, h * 0.35f, 3.0f),
             solid(palette::kWhite), pressed ? 0.25f : 0.12f);
    drawTextInBox(canvas, types, style, word, x, y, w, h,
                  solid(pressed ? palette::kInk : palette::kWhite));
}

Path arrowPath(float x, float y, float w, float h, bool pointsRight) {
    const float tip = pointsRight ? x + w - 1.5f : x + 1.5f;
    const float back = pointsRight ? x + 2.5f : x + w - 2.5f;
    const float inset = pointsRight ? x + w * 0.32f : x + w * 0.68f;
    // A broad arrow head with a notch at the back, so it reads as a direction, not a triangle.
    return polygonPath(
        {{tip, y + h / 2.0f}, {back, y + 2.0f}, {inset, y + h / 2.0f}, {back, y + h - 2.0f}});
}

void drawArrow(Canvas& canvas, float x, float y, float w, float h, bool pointsRight, Look look,
               bool accent) {
    const bool yellow = (look == Look::Pressed) != accent;
    const Path path = arrowPath(x, y, w, h, pointsRight);
    fillPath(canvas, path,
             yellow ? verticalGradient(y, palette::kBall, y + h, palette::kBallShade)
                    : verticalGradient(y, palette::kWhite, y + h, palette::kMist));
}

Path menuPlatePath(float x, float y) {
    return polygonPath({{x + 12.0f, y + 4.0f},
                        {x + 103.0f, y + 4.0f},
                        {x + 95.0f, y + 29.0f},
                        {x + 3.0f, y + 29.0f}});
}

void drawMenuPlate(Canvas& canvas, const TypeSet& types, float x, float y, const std::string& word,
                   Look look) {
    const bool pressed = look == Look::Pressed;
    const Paint body = pressed
                           ? verticalGradient(y + 4, palette::kBall, y + 29, palette::kBallShade)
                           : linearGradient(x, y, palette::kBlue, x + 105, y + 33, palette::kNavy);
    fillPath(canvas, menuPlatePath(x, y), body, pressed ? 1.0f : 0.92f);
    // The accent stripe at the plate's leading end.
    fillPath(canvas,
             polygonPath({{x + 12.0f, y + 4.0f},
                          {x + 17.0f, y + 4.0f},
                          {x + 9.0f, y + 29.0f},
                          {x + 3.0f, y + 29.0f}}),
             solid(pressed ? palette::kInk : palette::kBall));
    drawTextInBox(canvas, types, kMenuStyle, word, x + 11.0f, y + 4.0f, 90.0f, 25.0f,
                  solid(pressed ? palette::kInk : palette::kWhite));
}

void drawTennisBall(Canvas& canvas, float cx, float cy, float radius) {
    fillPath(canvas, ellipsePath(cx, cy, radius, radius),
             radialGradient(cx - radius * 0.35f, cy - radius * 0.4f, radius * 1.6f,
                            hexColour(0xF1F77A), palette::kBallShade));
    std::vector<Point> left, right;
    for (int i = 0; i <= 24; ++i) {
        const float t = -1.0f + 2.0f * static_cast<float>(i) / 24.0f;
        const float bulge = 0.30f * (1.0f - t * t);
        left.push_back({cx - radius * (0.64f - bulge), cy + t * radius * 0.76f});
        right.push_back({cx + radius * (0.64f - bulge), cy + t * radius * 0.76f});
    }
    const float seam = std::max(1.0f, radius * 0.09f);
    fillPath(canvas, strokePolyline(left, seam), solid(palette::kWhite), 0.9f);
    fillPath(canvas, strokePolyline(right, seam), solid(palette::kWhite), 0.9f);
}

void drawPanel(Canvas& canvas, float x, float y, float w, float h, float radius) {
    fillPath(canvas, roundedRectPath(x, y, w, h, radius), solid(palette::kNight), 0.72f);
    fillPath(canvas, roundedFramePath(x, y, w, h, radius, 1.0f), solid(palette::kSteel), 0.45f);
}

Canvas menuBackground() {
    Canvas canvas = makeCanvas(240, 320, palette::kNight);
    fillPath(canvas, rectPath(0, 0, 240, 320),
             verticalGradient(0, palette::kDeep, 320, palette::kNight));
    // Floodlight glows from the two top corners.
    for (float cx : {-10.0f, 250.0f})
        fillPath(canvas, ellipsePath(cx, -20.0f, 150.0f, 150.0f),
                 radialGradient(cx, -20.0f, 150.0f, palette::kBlue, palette::kDeep), 0.55f);
    // A faint court in perspective: the game's subject, kept quiet behind the controls.
    const float horizon = 150.0f;
    const Colour line = palette::kSteel;
    auto courtX = [&](float u, float v) { // u -1..1 across, v 0 (far) .. 1 (near)
        const float half = 40.0f + 150.0f * v;
        return 120.0f + u * half;
    };
    auto courtY = [&](float v) { return horizon + 190.0f * v * v + 20.0f * v; };
    for (float u : {-1.0f, -0.75f, 0.75f, 1.0f})
        fillPath(canvas,
                 linePath({courtX(u, 0.0f), courtY(0.0f)}, {courtX(u, 1.0f), courtY(1.0f)}, 1.2f),
                 solid(line), 0.16f);
    for (float v : {0.0f, 0.3f, 0.72f})
        fillPath(canvas,
                 linePath({courtX(-1.0f, v), courtY(v)}, {courtX(1.0f, v), courtY(v)}, 1.2f),
                 solid(line), 0.16f);
    fillPath(
        canvas,
        linePath({courtX(0.0f, 0.3f), courtY(0.3f)}, {courtX(0.0f, 0.72f), courtY(0.72f)}, 1.2f),
        solid(line), 0.16f);
    return canvas;
}

void drawWordMark(Canvas& canvas, const TypeSet& types, float cx, int baseline, int size) {
    const TextStyle style = {Typeface::BoldOblique, size};
    const float width = static_cast<float>(textWidth(types, style, "DROVANA"));
    const float left = cx - width / 2.0f;
    drawText(canvas, types, style, "DROVANA", left + 2.0f, baseline + 2, solid(palette::kNight),
             Align::Left, 0.8f);
    drawText(canvas, types, style, "DROVANA", left, baseline,
             verticalGradient(static_cast<float>(baseline - size), palette::kWhite,
                              static_cast<float>(baseline), palette::kMist));
    // The swoosh of a ball's flight under the letters.
    const float y = static_cast<float>(baseline) + static_cast<float>(size) * 0.22f;
    fillPath(canvas,
             polygonPath({{left - 4.0f, y + 3.0f},
                          {left + width * 0.85f, y - 1.0f},
                          {left + width * 0.85f, y + 1.5f},
                          {left - 4.0f, y + 5.0f}}),
             linearGradient(left, y, palette::kBallShade, left + width, y, palette::kBall));
    const float r = static_cast<float>(size) * 0.22f;
    drawTennisBall(canvas, left + width * 0.85f + r * 1.2f, y, r);
}

void drawScreenTitle(Canvas& canvas, const TypeSet& types, const std::string& title, float x,
                     int baseline) {
    drawShadowedText(canvas, types, kTitleStyle, title, x, baseline, solid(palette::kWhite),
                     palette::kNight);
    const float y = static_cast<float>(baseline) + 4.0f;
    fillPath(canvas,
             polygonPath({{x + 2.0f, y}, {x + 40.0f, y}, {x + 38.0f, y + 3.0f}, {x, y + 3.0f}}),
             solid(palette::kBall));
}

void drawButtonBar(Canvas& canvas) {
    fillPath(canvas, rectPath(0, 288, 240, 32),
             verticalGradient(288, palette::kNight, 320, hexColour(0x050A12)), 0.85f);
    fillPath(canvas, rectPath(0, 288, 240, 1), solid(palette::kSteel), 0.35f);
}
