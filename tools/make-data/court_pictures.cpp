// court_pictures.cpp: match backdrops through the match camera, previews through a corner camera.
#include "court_pictures.h"

#include <cmath>

#include "assets/asset_names.h"
#include "button_faces.h"
#include "frontend/screen_tables.h"
#include "house_style.h"
#include "render/pipeline.h"

namespace {

// Order of the stadium option: 0 green, 1 red clay, 2 grass, 3 red, 4 blue.
constexpr Surface kStadiumSurfaces[kSurfaceCount] = {
    Surface::GreenHard, Surface::RedClay, Surface::Grass, Surface::RedHard, Surface::BlueHard};

// Metres in front of the eye where polygons are cut, for both cameras (the match camera's clip w
// is its depth in metres too); nothing of the stadium that a picture shows lies nearer.
constexpr double kNearDepth = 0.5;

// Floodlights: the picture darkens toward its corners.
void vignette(Canvas& canvas, float strength) {
    const float cx = static_cast<float>(canvas.width) / 2.0f,
                cy = static_cast<float>(canvas.height) / 2.0f;
    const float reach = std::hypot(cx, cy);
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float d =
                std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) /
                reach;
            Colour& p = pixelAt(canvas, x, y);
            p = scaleColour(p, 1.0f - strength * d * d);
        }
}

// A camera looking at the court from behind a corner, for the small previews.
struct LookCamera {
    double eye[3], right[3], up[3], forward[3];
    double focal; // pixels per unit at distance 1
    double cx, cy;
};

LookCamera lookCamera(const double eye[3], const double target[3], double focal, double cx,
                      double cy) {
    LookCamera c{};
    double f[3] = {target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
    const double fl = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
    for (double& v : f)
        v /= fl;
    double r[3] = {-f[2], 0, f[0]};
    const double rl = std::sqrt(r[0] * r[0] + r[2] * r[2]);
    r[0] /= rl;
    r[2] /= rl;
    const double u[3] = {r[1] * f[2] - r[2] * f[1], r[2] * f[0] - r[0] * f[2],
                         r[0] * f[1] - r[1] * f[0]};
    for (int i = 0; i < 3; ++i) {
        c.eye[i] = eye[i];
        c.forward[i] = f[i];
        c.right[i] = r[i];
        c.up[i] = u[i];
    }
    c.focal = focal;
    c.cx = cx;
    c.cy = cy;
    return c;
}

// How far a world point lies from the eye along one of the camera's axes.
double alongAxis(const LookCamera& c, const double axis[3], const WorldPoint& p) {
    return (p.x - c.eye[0]) * axis[0] + (p.y - c.eye[1]) * axis[1] + (p.z - c.eye[2]) * axis[2];
}

Projector lookProjector(const LookCamera& c) {
    return {[c](const WorldPoint& p) { return alongAxis(c, c.forward, p); },
            [c](const WorldPoint& p) {
                const double z = alongAxis(c, c.forward, p);
                return Point{static_cast<float>(c.cx + c.focal * alongAxis(c, c.right, p) / z),
                             static_cast<float>(c.cy - c.focal * alongAxis(c, c.up, p) / z)};
            },
            kNearDepth};
}

} // namespace

Projector cameraProjector(const FxMatrix& view, const FxMatrix& projection) {
    // The game's own product: projection x view, each element four truncated products.
    const FxMatrix combined = fxMatrixMultiply(projection, view);
    auto clipOf = [combined](const WorldPoint& p, Fixed clip[4]) {
        fxTransformPoint({fxFromDouble(p.x), fxFromDouble(p.y), fxFromDouble(p.z)}, combined, clip);
    };
    // The divide is left unrounded: polygons reaching past the screen edge keep their shape, and
    // points on the screen land within a hundredth of a pixel of the game's transform.
    return {[clipOf](const WorldPoint& p) {
                Fixed clip[4];
                clipOf(p, clip);
                return fxToDouble(clip[3]);
            },
            [clipOf](const WorldPoint& p) {
                Fixed clip[4];
                clipOf(p, clip);
                const double w = clip[3];
                return Point{static_cast<float>((1.0 + clip[0] / w) * 120.0),
                             static_cast<float>((1.0 - clip[1] / w) * 160.0)};
            },
            kNearDepth};
}

FigureSpot figureSpot(const CameraSetup& camera, const WorldPoint& feet) {
    const Projector project = cameraProjector(camera.previewView, camera.projection);
    const Point base = project.toScreen(feet);
    const Point head = project.toScreen({feet.x, feet.y + kFigureHeight, feet.z});
    return {base.x, base.y, base.y - head.y};
}

void addCourtPictures(DataSet& data, const CameraSetup& camera) {
    const ScreenLayout* match = findScreenLayout(ExhibitionMatch);
    const Projector project = cameraProjector(camera.matchView, camera.projection);
    for (int i = 0; i < kSurfaceCount; ++i) {
        Canvas canvas = makeCanvas(240, 320, palette::kNight);
        drawStadium(canvas, kStadiumSurfaces[i], project, 1.7f);
        vignette(canvas, 0.28f);
        addPicture(data, dataEntryName(match->backdropByStadium[static_cast<size_t>(i)]), canvas);
    }
}

void addStadiumPreviews(DataSet& data, const TypeSet& types) {
    const ScreenRect& frame = findScreenLayout(ExhibitionStadium)->buttons[0].rect;
    const double eye[3] = {-10.5, 7.0, 19.0}, target[3] = {0.3, 0.0, -0.5};
    const LookCamera camera =
        lookCamera(eye, target, 205.0, frame.width / 2.0, frame.height / 2.0 - 4.0);
    for (int i = 0; i < kSurfaceCount; ++i) {
        Canvas canvas = makeCanvas(frame.width, frame.height, palette::kNight);
        drawStadium(canvas, kStadiumSurfaces[i], lookProjector(camera), 1.1f);
        // The net, which the match draws in 3D, belongs in a picture of the stadium.
        const Projector view = lookProjector(camera);
        const Point a = view.toScreen({-6.4, 0, 0}), b = view.toScreen({6.4, 0, 0}),
                    c = view.toScreen({6.4, 1.07, 0}), d = view.toScreen({-6.4, 1.07, 0});
        fillPath(canvas, polygonPath({a, b, c, d}), solid(hexColour(0x1A1A1A)), 0.45f);
        fillPath(canvas, linePath(d, c, 1.4f), solid(hexColour(0xE8E8E8)));
        vignette(canvas, 0.3f);
        const SurfaceLook look = surfaceLook(kStadiumSurfaces[i]);
        const float w = static_cast<float>(frame.width), h = static_cast<float>(frame.height);
        fillPath(canvas, rectPath(0, h - 24, w, 24),
                 verticalGradient(h - 24, palette::kNight, h, palette::kDeep), 0.8f);
        drawText(canvas, types, kHeadingStyle, look.name, 8, static_cast<int>(h) - 8,
                 solid(palette::kWhite));
        drawText(canvas, types, kSmallStyle, std::to_string(i + 1) + " / 5", w - 8,
                 static_cast<int>(h) - 8, solid(palette::kBall), Align::Right);
        addPicture(data, buttonPictureName("Stadium" + std::to_string(i + 1) + ".jpg"), canvas);
    }
}
