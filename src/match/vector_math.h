// vector_math.h: the Vec3 operations of the match code, each product one fxMul, sums wrapping.
#pragma once

#include "core/fixed_point.h"

#include <cmath>
#include <cstdint>

constexpr Fixed kFxNever = kFxThirtyThousand; // "never" as a time

constexpr Vec3 vAdd(const Vec3& a, const Vec3& b) {
    return {fxAdd(a.x, b.x), fxAdd(a.y, b.y), fxAdd(a.z, b.z)};
}
constexpr Vec3 vSub(const Vec3& a, const Vec3& b) {
    return {fxSub(a.x, b.x), fxSub(a.y, b.y), fxSub(a.z, b.z)};
}
constexpr Vec3 vScale(const Vec3& v, Fixed s) {
    return {fxMul(v.x, s), fxMul(v.y, s), fxMul(v.z, s)};
}
constexpr Fixed vDot(const Vec3& a, const Vec3& b) {
    return fxAdd(fxAdd(fxMul(a.x, b.x), fxMul(a.y, b.y)), fxMul(a.z, b.z));
}
constexpr Vec3 vCross(const Vec3& a, const Vec3& b) {
    return {fxSub(fxMul(a.y, b.z), fxMul(a.z, b.y)), fxSub(fxMul(a.z, b.x), fxMul(a.x, b.z)),
            fxSub(fxMul(a.x, b.y), fxMul(a.y, b.x))};
}
// The square root of the dot product with itself, without wrapping: a ball rolling off a bounce
// faster than 6 m/s spins above 181 rad/s, whose square no longer fits in 16.16, and a wrapped
// sum would turn its rolling spin into garbage. Each square is truncated as fxMul truncates it,
// so wherever the squares and their sum fit in 16.16 the result is the plain 16.16 one; beyond,
// it is exact and saturates at the largest Fixed.
inline Fixed vLength(const Vec3& v) {
    auto square = [](Fixed a) { return (static_cast<int64_t>(a) * a) >> 16; };
    const uint64_t sum = static_cast<uint64_t>(square(v.x) + square(v.y) + square(v.z));
    if (sum <= INT32_MAX)
        return fxSqrt(static_cast<Fixed>(sum));
    const uint64_t scaled = sum << 16;
    uint64_t root = static_cast<uint64_t>(std::sqrt(static_cast<double>(scaled)));
    while (root * root > scaled)
        --root;
    while ((root + 1) * (root + 1) <= scaled)
        ++root;
    return root > INT32_MAX ? INT32_MAX : static_cast<Fixed>(root);
}

// Absolute values and sign tests go through wider arithmetic so -2^31 cannot overflow.
constexpr int64_t fxAbs(Fixed a) {
    return a < 0 ? -static_cast<int64_t>(a) : static_cast<int64_t>(a);
}

// Halving and quartering of raw values truncate toward zero, as integer division does.
constexpr Fixed fxHalf(Fixed a) {
    return static_cast<Fixed>(static_cast<int64_t>(a) / 2);
}
