// Camera and projection set-up, and carrying a screen position back onto the court.
#include "render/camera.h"

#include <gtest/gtest.h>

#include "render/pipeline.h"

namespace {

// World position of the eye of a camera matrix (rotation about x, then translation).
void eyeOf(const FxMatrix& view, double out[3]) {
    // The eye is -R^T t; R's columns are the first three columns of the matrix.
    for (int c = 0; c < 3; ++c) {
        double sum = 0;
        for (int r = 0; r < 3; ++r)
            sum -= fxToDouble(view.m[c * 4 + r]) * fxToDouble(view.m[12 + r]);
        out[c] = sum;
    }
}

TEST(Camera, ValuesAreComputedInTheirOwnFixedPointOrder) {
    const CameraSetup cam = makeCameraSetup();
    EXPECT_EQ(36 * 65536, cam.viewAngle);
    EXPECT_EQ(-72 * 65536, cam.viewOffset.z);
    EXPECT_EQ(219152, cam.frustumWidth);  // 16.0 x 13697 raw
    EXPECT_EQ(292201, cam.frustumHeight); // that x 87381 raw, truncated
    const FxMatrix& p = cam.projection;
    EXPECT_EQ(627139, p.m[0]);
    EXPECT_EQ(470357, p.m[5]);
    EXPECT_EQ(-91750, p.m[10]);   // -1.4
    EXPECT_EQ(-65536, p.m[11]);   // w = -z
    EXPECT_EQ(-2516582, p.m[14]); // -38.4
    EXPECT_EQ(0, p.m[15]);
    for (int i : {1, 2, 3, 4, 6, 7, 8, 9, 12, 13})
        EXPECT_EQ(0, p.m[i]) << i;

    const Fixed c = fxCos(fxMul(36 * 65536, kFxDegreesToRadians));
    const Fixed s = fxSin(fxMul(36 * 65536, kFxDegreesToRadians));
    EXPECT_EQ(c, cam.matchView.m[5]);
    EXPECT_EQ(s, cam.matchView.m[6]);
    EXPECT_EQ(-s, cam.matchView.m[9]);
    EXPECT_EQ(c, cam.matchView.m[10]);
    EXPECT_EQ(-72 * 65536, cam.matchView.m[14]);
    EXPECT_EQ(65536, cam.matchView.m[15]);
    EXPECT_EQ(-36 * 65536, cam.previewView.m[14]);
}

TEST(Camera, MatchAndCloseCamerasSitWhereTheyShould) {
    const CameraSetup cam = makeCameraSetup();
    double eye[3];
    eyeOf(cam.matchView, eye);
    EXPECT_NEAR(0.0, eye[0], 1e-3);
    EXPECT_NEAR(42.3, eye[1], 0.05);
    EXPECT_NEAR(58.2, eye[2], 0.1); // 58.27: the degree constant is a little short
    eyeOf(cam.previewView, eye);
    EXPECT_NEAR(6.25, eye[1], 0.05);
    EXPECT_NEAR(35.45, eye[2], 0.05);
}

TEST(ScreenToGround, TheScreenCentreIsTheGroundPointOnTheCameraAxis) {
    const CameraSetup cam = makeCameraSetup();
    // The match camera looks at the centre of the net.
    const Vec3 g = screenToGround(cam, 120 * 65536, 160 * 65536);
    EXPECT_EQ(0, g.x);
    EXPECT_EQ(0, g.y);
    EXPECT_NEAR(0.0, fxToDouble(g.z), 0.03);
}

TEST(ScreenToGround, ProjectedCourtPointsMapBackWithinAFewCentimetres) {
    const CameraSetup cam = makeCameraSetup();
    const FxMatrix combined = fxMatrixMultiply(cam.projection, cam.matchView);
    int checked = 0;
    for (double z = -11.89; z <= 11.89; z += 1.7)
        for (double x = -5.48; x <= 5.48; x += 1.37) {
            ScreenVertex s;
            ASSERT_TRUE(
                transformVertex({fxFromDouble(x), 0, fxFromDouble(z)}, combined, 240, 320, s))
                << x << ", " << z;
            const Vec3 g = screenToGround(cam, s.x, s.y);
            EXPECT_NEAR(x, fxToDouble(g.x), 0.04) << x << ", " << z;
            EXPECT_NEAR(z, fxToDouble(g.z), 0.06) << x << ", " << z;
            EXPECT_EQ(0, g.y);
            ++checked;
        }
    EXPECT_GT(checked, 100);
}

} // namespace
