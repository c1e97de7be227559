// ball.cpp: ball flight with drag, spin force and gravity, and bounces off the ground and net.
#include "match/ball.h"

#include "match/vector_math.h"

namespace {

constexpr Fixed kTangentialKeep = 58982; // 0.9 of the sliding velocity survives a bounce

Fixed radiusOf(const Ball& ball) {
    return fxMul(ball.diameter, kFxHalf);
}

// Time to the contact along the plane's normal, before any test against a time window;
// a ball already within one radius meets it at once.
Fixed contactTime(const Ball& ball, Fixed dist, Fixed vn) {
    const Fixed r = radiusOf(ball);
    Fixed t = dist > 0 ? fxDiv(fxSub(dist, r), vn) : fxDiv(fxAdd(dist, r), vn);
    if (t < 0)
        t = 0;
    return t;
}

} // namespace

Fixed timeToPlane(const Ball& ball, const CourtPlane& plane, Fixed dt) {
    const Fixed dist = vDot(vSub(plane.origin, ball.position), plane.normal);
    const Fixed vn = vDot(ball.velocity, plane.normal);
    if (vn == 0)
        return kFxNever;
    if ((dist > 0 && vn < 0) || (dist < 0 && vn > 0))
        return kFxNever;
    const Fixed t = contactTime(ball, dist, vn);
    if (t > dt)
        return kFxNever;
    const Fixed r = radiusOf(ball);
    const Vec3 c = vSub(vAdd(ball.position, vScale(ball.velocity, t)), plane.origin);
    if (fxAbs(vDot(c, plane.uAxis)) <= static_cast<int64_t>(plane.halfU) + r &&
        fxAbs(vDot(c, plane.vAxis)) <= static_cast<int64_t>(plane.halfV) + r)
        return t;
    return kFxNever;
}

Fixed bounceOffPlane(Ball& ball, const CourtPlane& plane) {
    const Fixed r = radiusOf(ball);
    const Fixed dist = vDot(vSub(plane.origin, ball.position), plane.normal);
    const Fixed vn0 = vDot(ball.velocity, plane.normal);
    Fixed t = contactTime(ball, dist, vn0);
    ball.position = vAdd(ball.position, vScale(ball.velocity, t));

    // A ball clipping the net's tape is thrown upward, fully so a radius above the edge.
    Vec3 n = plane.normal;
    if (plane.hasTopEdge) {
        const Fixed h = fxSub(vDot(vSub(ball.position, plane.origin), plane.vAxis), plane.halfV);
        if (h > 0) {
            const Fixed a = fxDiv(h < r ? h : r, r);
            n.y = a;
            n.z = fxMul(n.z, fxSqrt(fxSub(kFxOne, fxMul(a, a))));
        }
    }

    const Fixed vn = vDot(ball.velocity, n);
    const Vec3 normalPart = vScale(n, vn);
    const Vec3 tangentialPart = vSub(ball.velocity, normalPart);
    const Vec3 newNormalPart = vScale(n, fxMul(fxNeg(vn), plane.restitution));

    const Vec3 surfaceSpeed =
        vScale(vCross(n, ball.spinAxis), fxMul(fxMul(ball.spin, ball.diameter), kFxHalf));
    const Vec3 contactVelocity = vAdd(tangentialPart, surfaceSpeed);
    const Vec3 newTangential =
        vScale(vSub(tangentialPart, vScale(contactVelocity, plane.friction)), kTangentialKeep);

    ball.position = vAdd(ball.position, vScale(newTangential, kContactSlideTime));
    t = fxAdd(t, kContactSlideTime);

    // The ball leaves the surface rolling: its spin is the rolling rate of what slides on.
    const Vec3 w = vScale(vCross(n, newTangential), fxDiv(fxFromInt(2), ball.diameter));
    ball.spin = vLength(w);
    if (ball.spin > kFxSmallest)
        ball.spinAxis = {fxDiv(w.x, ball.spin), fxDiv(w.y, ball.spin), fxDiv(w.z, ball.spin)};
    else
        ball.spinAxis = {kFxOne, 0, 0};

    ball.velocity = vAdd(newNormalPart, newTangential);
    ball.position = vAdd(ball.position, vScale(ball.velocity, kContactLeaveTime));
    return fxAdd(t, kContactLeaveTime);
}

void flyBall(Ball& ball, Fixed dt) {
    const Fixed speedSquared = vDot(ball.velocity, ball.velocity);
    const Fixed speed = fxSqrt(speedSquared);
    if (speed > kFxSmallest) {
        // Each product left to right: at 16.16 the order decides the last bits.
        const Fixed drag = fxDiv(
            fxMul(fxMul(fxMul(fxMul(kDragCoefficient, ball.diameter), ball.diameter), speedSquared),
                  dt),
            ball.mass);
        const Vec3 dragPart = vScale(ball.velocity, fxDiv(fxNeg(drag), speed));
        const Fixed lift =
            fxDiv(fxMul(fxMul(fxMul(fxMul(kSpinForceCoefficient, ball.diameter), ball.diameter),
                              ball.spin),
                        dt),
                  ball.mass);
        const Vec3 liftPart = vScale(vCross(ball.spinAxis, ball.velocity), lift);
        Vec3 dv = vAdd(dragPart, liftPart);
        const Fixed dvLength = vLength(dv);
        // The spin force only turns the drag; it adds no magnitude.
        if (dvLength < kFxSmallest)
            dv = {0, 0, 0};
        else
            dv = vScale(dv, fxDiv(drag, dvLength));
        ball.position = vAdd(ball.position, vScale(ball.velocity, dt));
        ball.velocity = vAdd(ball.velocity, dv);
    }
    ball.velocity.y = fxSub(ball.velocity.y, fxMul(kGravity, dt));
    const Fixed k = fxDiv(
        fxMul(fxMul(fxMul(fxMul(kSpinDecayCoefficient, ball.spin), ball.diameter), ball.diameter),
              dt),
        ball.mass);
    const Fixed absK = k < 0 ? fxNeg(k) : k;
    ball.spin = fxMul(ball.spin, fxSub(kFxOne, absK));
}
