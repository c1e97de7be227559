// figure_math.h: vectors, quaternions and rigid transforms for authoring the player figure
// (column-vector convention, degrees at the edges).
#pragma once

#include <cmath>

struct V3 {
    float x = 0, y = 0, z = 0;
};

inline V3 operator+(V3 a, V3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline V3 operator-(V3 a, V3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline V3 operator*(V3 a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline float dot(V3 a, V3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline V3 cross(V3 a, V3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float length(V3 a) {
    return std::sqrt(dot(a, a));
}
inline V3 lerp(V3 a, V3 b, float t) {
    return a + (b - a) * t;
}

struct Quat {
    float w = 1, x = 0, y = 0, z = 0;
};

inline Quat operator*(Quat a, Quat b) {
    return {a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z,
            a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}
inline Quat conjugate(Quat q) {
    return {q.w, -q.x, -q.y, -q.z};
}
inline V3 rotate(Quat q, V3 v) {
    const V3 u{q.x, q.y, q.z};
    const V3 t = cross(u, v) * 2.0f;
    return v + t * q.w + cross(u, t);
}
inline Quat axisAngle(V3 axis, float degrees) {
    const float half = degrees * 3.14159265358979f / 360.0f;
    const float s = std::sin(half) / length(axis);
    return {std::cos(half), axis.x * s, axis.y * s, axis.z * s};
}
// Roll about z first, then pitch about x, then yaw about y (each about the parent's axes).
inline Quat eulerDegrees(V3 angles) {
    return axisAngle({0, 1, 0}, angles.y) * axisAngle({1, 0, 0}, angles.x) *
           axisAngle({0, 0, 1}, angles.z);
}

// A bone's pose: v' = rotation(v) + translation.
struct Rigid {
    Quat rotation;
    V3 translation;
};
inline Rigid compose(const Rigid& parent, const Rigid& local) {
    return {parent.rotation * local.rotation,
            parent.translation + rotate(parent.rotation, local.translation)};
}
inline V3 apply(const Rigid& r, V3 v) {
    return rotate(r.rotation, v) + r.translation;
}
inline Rigid inverse(const Rigid& r) {
    const Quat c = conjugate(r.rotation);
    return {c, rotate(c, r.translation) * -1.0f};
}
