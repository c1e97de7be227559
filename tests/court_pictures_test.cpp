// The court pictures against the game's own camera: every line lies where the 3D scene expects it;
// the stadium previews show their ground up to the picture's near edge.
#include "assets/asset_names.h"
#include "assets/file_error.h"
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/jpeg_decoder.h"
#include "built_data.h"
#include "frontend/screen_tables.h"
#include "pak_fixture.h"
#include "render/camera.h"
#include "render/pipeline.h"

#include <string>
#include <vector>

namespace {

// Court geometry in metres: the lines' centre lines.
constexpr double kBaseline = 11.89, kService = 6.40, kSingles = 4.115, kDoubles = 5.485;

struct CourtPoint {
    double x, z;
};

// End points and crossings of every line, and points along them.
std::vector<CourtPoint> linePoints() {
    std::vector<CourtPoint> points;
    for (double end : {-1.0, 1.0}) {
        for (double side : {-1.0, 1.0}) {
            points.push_back({side * kDoubles, end * kBaseline}); // doubles corner
            points.push_back({side * kSingles, end * kBaseline}); // singles sideline meets baseline
            points.push_back({side * kSingles, end * kService});  // service line meets sideline
            points.push_back({side * kDoubles, end * kService * 0.5}); // along the doubles sideline
            points.push_back({side * kSingles * 0.5, end * kService}); // along the service line
            points.push_back(
                {side * (kSingles + kDoubles) / 2, end * kBaseline}); // along a baseline
        }
        points.push_back({0, end * kService});          // the T
        points.push_back({0, end * kService * 0.5});    // along the centre service line
        points.push_back({0, end * kBaseline});         // centre mark on the baseline
        points.push_back({0, end * (kBaseline - 0.1)}); // tip of the centre mark
    }
    for (double side : {-1.0, 1.0}) {
        points.push_back({side * kDoubles, 0});
        points.push_back({side * kSingles, 0});
    }
    return points;
}

// The middle of each service box and of the back courts: surface, never a line.
std::vector<CourtPoint> surfacePoints() {
    return {{-2.0, 3.2}, {2.0, -3.2}, {-2.0, -9.0}, {2.0, 9.0}, {4.8, 3.0}, {-4.8, -8.0}};
}

int luma(uint32_t p) {
    return (299 * static_cast<int>(p & 0xFF) + 587 * static_cast<int>((p >> 8) & 0xFF) +
            114 * static_cast<int>((p >> 16) & 0xFF)) /
           1000;
}

struct CourtPictures : ::testing::Test {
    OwnedPak pak{openBuiltData()};
    Owned<JpegDecoder, destroyJpegDecoder> decoder{makeJpegDecoder()};
    CameraSetup camera = makeCameraSetup();
    FxMatrix combined = fxMatrixMultiply(camera.projection, camera.matchView);
    std::vector<uint32_t> backdrop = std::vector<uint32_t>(kScreenPixels);
    bool project(const CourtPoint& p, int& x, int& y) const {
        ScreenVertex v;
        if (!transformVertex({fxFromDouble(p.x), 0, fxFromDouble(p.z)}, combined, kScreenWidth,
                             kScreenHeight, v))
            return false;
        x = v.x >> 16;
        y = v.y >> 16;
        return true;
    }
    // Brightest pixel within one pixel of (x, y).
    int brightestAround(int x, int y) const {
        int best = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int px = std::clamp(x + dx, 0, kScreenWidth - 1);
                const int py = std::clamp(y + dy, 0, kScreenHeight - 1);
                best = std::max(best, luma(backdrop[frameBufferIndex(px, py)]));
            }
        return best;
    }
};

TEST_F(CourtPictures, LinesLieWhereTheMatchCameraProjectsThem) {
    const ScreenLayout* match = findScreenLayout(ExhibitionMatch);
    ASSERT_EQ(match->backdropByStadium.size(), 5u);
    for (const char16_t* court : match->backdropByStadium) {
        try {
            loadBackground(decoder.get(), pak.get(), dataEntryName(court), backdrop.data());
        } catch (const FileError& e) {
            FAIL() << toUtf8(court) << ": " << toUtf8(e.message);
        }
        int onScreen = 0;
        for (const CourtPoint& p : linePoints()) {
            int x, y;
            if (!project(p, x, y))
                continue;
            ++onScreen;
            EXPECT_GE(brightestAround(x, y), 185)
                << toUtf8(court) << ": no line at (" << p.x << ", " << p.z << ") -> (" << x << ", "
                << y << ")";
        }
        EXPECT_EQ(onScreen, static_cast<int>(linePoints().size())) << "the whole court is in view";
        for (const CourtPoint& p : surfacePoints()) {
            int x, y;
            ASSERT_TRUE(project(p, x, y));
            EXPECT_LT(brightestAround(x, y), 165)
                << toUtf8(court) << ": line colour on the surface";
        }
    }
}

// The previews look past a corner of the court, so the ground nearest the camera runs out of the
// picture behind it: it is still drawn up to the picture's edge, never left as the night behind.
TEST_F(CourtPictures, PreviewsDrawTheGroundBelowTheNetUpToTheCaption) {
    const ButtonLayout& preview = findScreenLayout(ExhibitionStadium)->buttons[0];
    const ScreenRect& r = preview.rect;
    ASSERT_NE(preview.choice, nullptr);
    // The near half of the picture, above the caption bar that closes its bottom.
    const int captionRows = 24, top = r.height / 2, bottom = r.height - captionRows;
    for (const FaceImage& image : preview.choice->images) {
        Owned<ImageButton, freeImageButton> face{makeImageButton(r.left, r.top, r.width, r.height)};
        loadFace(decoder.get(), face.get(), pak.get(), 2, buttonEntryName(image.image), nullptr);
        int dark = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < r.width; ++x)
                dark += luma(face->face[2][y * r.width + x]) < 18;
        EXPECT_LT(dark, (bottom - top) * r.width / 50)
            << toUtf8(image.image) << ": " << dark << " night-dark pixels below the net";
    }
}

} // namespace
