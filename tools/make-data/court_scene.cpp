// court_scene.cpp: ground, court surface, lines, advertising boards and stands in world space.
#include "court_scene.h"

#include <cmath>

#include "house_style.h"

namespace {

// Boards behind the baselines and beside the run-off; stands rise behind the far boards.
constexpr double kBackBoardZ = 17.6;
constexpr double kSideBoardX = 9.2;
constexpr double kBoardHeight = 0.9;

// A deterministic per-pixel hash for grain and crowds.
float grain(int x, int y, unsigned salt) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
                 salt * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65535.0f;
}

Paint grainy(Colour base, float amount, unsigned salt) {
    return [=](float x, float y) {
        const float g = (grain(static_cast<int>(x), static_cast<int>(y), salt) - 0.5f) * amount;
        return Colour{base.r + g, base.g + g, base.b + g};
    };
}

void fillWorld(Canvas& canvas, const Projector& camera, const std::vector<WorldPoint>& world,
               const Paint& paint, float opacity = 1.0f) {
    const std::vector<WorldPoint> visible = clipToNearDepth(camera, world);
    if (visible.size() < 3)
        return;
    std::vector<Point> points;
    for (const WorldPoint& p : visible)
        points.push_back(camera.toScreen(p));
    fillPath(canvas, {points}, paint, opacity);
}

std::vector<WorldPoint> groundRect(double x0, double z0, double x1, double z1) {
    return {{x0, 0, z0}, {x1, 0, z0}, {x1, 0, z1}, {x0, 0, z1}};
}

// A line as a screen quad on its projected centre line, at least minPixels thick.
void drawLine(Canvas& canvas, const Projector& camera, const CourtLine& line, Colour colour,
              float minPixels) {
    const double dx = line.to.x - line.from.x, dz = line.to.z - line.from.z;
    const double length = std::hypot(dx, dz);
    const double ux = dx / length, uz = dz / length;
    // Reach half a line width past each end so the corners close.
    const double reach = 0.04;
    const WorldPoint a = {line.from.x - ux * reach, 0, line.from.z - uz * reach};
    const WorldPoint b = {line.to.x + ux * reach, 0, line.to.z + uz * reach};
    const double nx = -uz * line.width / 2, nz = ux * line.width / 2;
    Point sa, sb, a1, a2, b1, b2;
    if (!projectPoint(camera, a, sa) || !projectPoint(camera, b, sb) ||
        !projectPoint(camera, {a.x + nx, 0, a.z + nz}, a1) ||
        !projectPoint(camera, {a.x - nx, 0, a.z - nz}, a2) ||
        !projectPoint(camera, {b.x + nx, 0, b.z + nz}, b1) ||
        !projectPoint(camera, {b.x - nx, 0, b.z - nz}, b2))
        return;
    const float ex = sb.x - sa.x, ey = sb.y - sa.y;
    const float el = std::hypot(ex, ey);
    const float px = -ey / el, py = ex / el;
    auto halfThickness = [&](Point p1, Point p2) {
        const float t = std::fabs((p1.x - p2.x) * px + (p1.y - p2.y) * py) / 2.0f;
        return std::max(t, minPixels / 2.0f);
    };
    const float ha = halfThickness(a1, a2), hb = halfThickness(b1, b2);
    fillPath(canvas,
             polygonPath({{sa.x + px * ha, sa.y + py * ha},
                          {sb.x + px * hb, sb.y + py * hb},
                          {sb.x - px * hb, sb.y - py * hb},
                          {sa.x - px * ha, sa.y - py * ha}}),
             solid(colour));
}

void drawGround(Canvas& canvas, Surface surface, const Projector& camera) {
    const SurfaceLook look = surfaceLook(surface);
    fillWorld(canvas, camera, groundRect(-40, -40, 40, 40), grainy(look.surround, 0.035f, 1));
    const double courtX = kDoublesHalfWidth + 0.03, courtZ = kBaselineZ + 0.05;
    if (surface == Surface::Grass) {
        // Mowing stripes across the whole lawn, worn a little paler inside the court.
        for (int band = -14; band < 14; ++band) {
            const double z0 = band * 1.5, z1 = z0 + 1.5;
            const bool light = (band & 1) == 0;
            fillWorld(canvas, camera, groundRect(-40, z0, 40, z1),
                      grainy(light ? hexColour(0x5FA243) : hexColour(0x4F8E37), 0.05f, 2));
        }
        fillWorld(canvas, camera, groundRect(-courtX, -courtZ, courtX, courtZ),
                  solid(hexColour(0xB8C77A)), 0.12f);
        return;
    }
    fillWorld(canvas, camera, groundRect(-courtX, -courtZ, courtX, courtZ),
              grainy(look.court, surface == Surface::RedClay ? 0.06f : 0.03f, 3));
}

// Spectators: rows of small heads and shirts, muted so that the court stays the subject.
Paint crowd(unsigned salt) {
    const Colour shirts[] = {hexColour(0xB8BCC4), hexColour(0x2E5A9A), hexColour(0x9A4A40),
                             hexColour(0xB89A4A), hexColour(0x3F6F4F), hexColour(0x30343C)};
    return [=](float x, float y) {
        const int cx = static_cast<int>(x) / 3, cy = static_cast<int>(y) / 3;
        const Colour seat = hexColour(0x18202E);
        if (grain(cx, cy, salt + 2) < 0.25f)
            return seat; // empty seats
        const Colour shirt = shirts[static_cast<int>(grain(cx, cy, salt) * 5.99f)];
        const bool head = (static_cast<int>(y) % 3) == 0;
        return mixColour(seat, head ? hexColour(0xC9A083) : shirt, head ? 0.35f : 0.55f);
    };
}

void drawSurroundings(Canvas& canvas, const Projector& camera) {
    // Far stands: steep tiers behind the boards at the far end, and low ones along the sides.
    fillWorld(canvas, camera,
              {{-40, kBoardHeight, -kBackBoardZ - 0.4},
               {40, kBoardHeight, -kBackBoardZ - 0.4},
               {40, 14, -kBackBoardZ - 12},
               {-40, 14, -kBackBoardZ - 12}},
              crowd(5));
    const Colour board = palette::kNavy;
    // Advertising boards: alternating panels of the house colours.
    for (int panel = -8; panel < 8; ++panel) {
        const double x0 = panel * 5.0, x1 = x0 + 5.0;
        const Colour c = (panel & 1) ? board : palette::kBlue;
        fillWorld(canvas, camera,
                  {{x0, 0, -kBackBoardZ},
                   {x1, 0, -kBackBoardZ},
                   {x1, kBoardHeight, -kBackBoardZ},
                   {x0, kBoardHeight, -kBackBoardZ}},
                  solid(c));
        fillWorld(canvas, camera,
                  {{x0 + 1.2, 0.38, -kBackBoardZ + 0.01},
                   {x1 - 1.2, 0.38, -kBackBoardZ + 0.01},
                   {x1 - 1.2, 0.52, -kBackBoardZ + 0.01},
                   {x0 + 1.2, 0.52, -kBackBoardZ + 0.01}},
                  solid((panel & 1) ? palette::kBall : palette::kWhite), 0.85f);
    }
    for (double side : {-1.0, 1.0}) {
        const double x = side * kSideBoardX;
        fillWorld(canvas, camera,
                  {{x + side * 0.4, kBoardHeight, -kBackBoardZ},
                   {x + side * 0.4, kBoardHeight, 30},
                   {x + side * 10, 8, 30},
                   {x + side * 10, 8, -kBackBoardZ}},
                  crowd(9));
        fillWorld(canvas, camera,
                  {{x, 0, -kBackBoardZ},
                   {x, 0, 30},
                   {x, kBoardHeight, 30},
                   {x, kBoardHeight, -kBackBoardZ}},
                  verticalGradient(0, palette::kBlue, 320, palette::kNavy));
    }
}

} // namespace

bool projectPoint(const Projector& camera, const WorldPoint& p, Point& out) {
    if (camera.depth(p) < camera.nearDepth)
        return false;
    out = camera.toScreen(p);
    return true;
}

std::vector<WorldPoint> clipToNearDepth(const Projector& camera,
                                        const std::vector<WorldPoint>& polygon) {
    std::vector<WorldPoint> kept;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const WorldPoint& a = polygon[i];
        const WorldPoint& b = polygon[(i + 1) % polygon.size()];
        const double da = camera.depth(a) - camera.nearDepth,
                     db = camera.depth(b) - camera.nearDepth;
        if (da >= 0)
            kept.push_back(a);
        if ((da >= 0) != (db >= 0)) {
            const double t = da / (da - db);
            kept.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t});
        }
    }
    return kept;
}

SurfaceLook surfaceLook(Surface surface) {
    switch (surface) {
    case Surface::GreenHard:
        return {"Green court", hexColour(0x3C8A58), hexColour(0x2A5F45), hexColour(0xF2F4EE)};
    case Surface::RedClay:
        return {"Red clay", hexColour(0xBE5E32), hexColour(0xB0552C), hexColour(0xF1ECE2)};
    case Surface::Grass:
        return {"Grass", hexColour(0x589C3E), hexColour(0x4F8E37), hexColour(0xF4F6EE)};
    case Surface::RedHard:
        return {"Red court", hexColour(0xA8413A), hexColour(0x5B3A45), hexColour(0xF2F2EE)};
    case Surface::BlueHard:
        break;
    }
    return {"Blue court", hexColour(0x2E67B0), hexColour(0x1F3E6C), hexColour(0xF2F4F8)};
}

std::vector<CourtLine> courtLines() {
    std::vector<CourtLine> lines;
    for (double end : {-1.0, 1.0}) {
        lines.push_back({{-kDoublesHalfWidth, 0, end * kBaselineZ},
                         {kDoublesHalfWidth, 0, end * kBaselineZ},
                         kBaselineWidth});
        lines.push_back({{-kSinglesHalfWidth, 0, end * kServiceLineZ},
                         {kSinglesHalfWidth, 0, end * kServiceLineZ},
                         kLineWidth});
        lines.push_back(
            {{0, 0, end * kBaselineZ}, {0, 0, end * (kBaselineZ - kCentreMarkLength)}, kLineWidth});
        lines.push_back({{end * kDoublesHalfWidth, 0, -kBaselineZ},
                         {end * kDoublesHalfWidth, 0, kBaselineZ},
                         kLineWidth});
        lines.push_back({{end * kSinglesHalfWidth, 0, -kBaselineZ},
                         {end * kSinglesHalfWidth, 0, kBaselineZ},
                         kLineWidth});
    }
    lines.push_back({{0, 0, -kServiceLineZ}, {0, 0, kServiceLineZ}, kLineWidth});
    return lines;
}

void drawStadium(Canvas& canvas, Surface surface, const Projector& camera, float minLinePixels) {
    drawGround(canvas, surface, camera);
    const Colour line = surfaceLook(surface).line;
    for (const CourtLine& l : courtLines())
        drawLine(canvas, camera, l, line, minLinePixels);
    drawSurroundings(canvas, camera);
}
