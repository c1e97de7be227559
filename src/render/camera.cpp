// camera.cpp: the match and close cameras, the perspective projection, and the mapping of a
// screen position back onto the court.
#include "render/camera.h"

#include "core/display.h"

namespace {

constexpr Fixed kScreenWidthPixels = fxFromInt(kScreenWidth);
constexpr Fixed kScreenHeightPixels = fxFromInt(kScreenHeight);

// Symmetric frustum: n, f the plane distances, w, h the window at the near plane.
FxMatrix perspective(Fixed n, Fixed f, Fixed w, Fixed h) {
    FxMatrix m = {};
    const Fixed twoN = fxAdd(n, n);
    const Fixed depth = fxSub(f, n);
    m.m[0] = fxDiv(twoN, w);
    m.m[5] = fxDiv(twoN, h);
    m.m[10] = fxDiv(fxNeg(fxAdd(f, n)), depth);
    m.m[11] = -kFxOne;
    m.m[14] = fxDiv(fxMul(fxNeg(twoN), f), depth);
    return m;
}

// Camera space back to world space for a rotation about x: the transpose of the rotation.
Vec3 unrotateAboutX(const Vec3& p, Fixed c, Fixed s) {
    return {p.x, fxAdd(fxMul(p.y, c), fxMul(p.z, s)), fxSub(fxMul(p.z, c), fxMul(p.y, s))};
}

} // namespace

FxMatrix cameraMatrix(Fixed angleDegrees, const Vec3& offset) {
    const Fixed radians = fxMul(angleDegrees, kFxDegreesToRadians);
    const Fixed c = fxCos(radians);
    const Fixed s = fxSin(radians);
    FxMatrix m = {};
    m.m[0] = kFxOne;
    m.m[5] = c;
    m.m[6] = s;
    m.m[9] = -s;
    m.m[10] = c;
    m.m[12] = offset.x;
    m.m[13] = offset.y;
    m.m[14] = offset.z;
    m.m[15] = kFxOne;
    return m;
}

CameraSetup makeCameraSetup() {
    CameraSetup cam = {};
    cam.viewAngle = kMatchViewAngle;
    cam.viewOffset = {0, 0, -kMatchViewDistance};
    cam.nearPlane = kNearPlane;
    cam.farPlane = kFarPlane;
    cam.frustumWidth = fxMul(cam.nearPlane, kFrustumWidthPerNear);
    cam.frustumHeight = fxMul(cam.frustumWidth, kFrustumHeightPerWidth);
    cam.matchView = cameraMatrix(cam.viewAngle, cam.viewOffset);
    const Vec3 closeOffset = {fxMul(cam.viewOffset.x, kFxHalf), fxMul(cam.viewOffset.y, kFxHalf),
                              fxMul(cam.viewOffset.z, kFxHalf)};
    cam.previewView = cameraMatrix(kPreviewViewAngle, closeOffset);
    cam.projection = perspective(cam.nearPlane, cam.farPlane, cam.frustumWidth, cam.frustumHeight);
    return cam;
}

Vec3 screenToGround(const CameraSetup& camera, Fixed sx, Fixed sy) {
    // The point on the near plane in camera space.
    const Fixed u = fxMul(camera.frustumWidth, fxSub(fxDiv(sx, kScreenWidthPixels), kFxHalf));
    const Fixed v = fxMul(camera.frustumHeight, fxSub(kFxHalf, fxDiv(sy, kScreenHeightPixels)));
    const Vec3& t = camera.viewOffset;

    // Undo the translation, then the rotation, for that point and for the camera itself.
    const Fixed radians = fxMul(camera.viewAngle, kFxDegreesToRadians);
    const Fixed c = fxCos(radians);
    const Fixed s = fxSin(radians);
    const Vec3 p =
        unrotateAboutX({fxSub(u, t.x), fxSub(v, t.y), fxSub(fxNeg(camera.nearPlane), t.z)}, c, s);
    const Vec3 eye = unrotateAboutX({fxNeg(t.x), fxNeg(t.y), fxNeg(t.z)}, c, s);

    // Along the ray from the camera through that point down to y = 0.
    const Fixed along = fxDiv(eye.y, fxSub(eye.y, p.y));
    return {fxSub(eye.x, fxMul(along, fxSub(eye.x, p.x))), 0,
            fxSub(eye.z, fxMul(along, fxSub(eye.z, p.z)))};
}
