// fixed_point.cpp: 16.16 division, square root, sine and cosine, and the float helpers.
#include "core/fixed_point.h"

#include <cmath>

namespace {

// |a| as an unsigned magnitude; -2^31 becomes 2^31 instead of overflowing.
constexpr uint32_t magnitude(Fixed a) {
    return a < 0 ? 0u - static_cast<uint32_t>(a) : static_cast<uint32_t>(a);
}

Fixed truncateToFixed(double scaled) {
    // Out-of-range and NaN conversions are undefined in C++; damaged data must not reach them.
    if (scaled != scaled)
        return 0;
    if (scaled >= 2147483647.0)
        return INT32_MAX;
    if (scaled <= -2147483648.0)
        return INT32_MIN;
    return static_cast<Fixed>(scaled);
}

// Shared core of sine and cosine: t in quarter turns (0x10000 each) reduced to one turn.
Fixed sineOfQuarterTurns(uint32_t t, bool negative) {
    t &= 0x3FFFF;
    if (t >= 0x20000) {
        negative = !negative;
        t &= 0x1FFFF;
    }
    if (t & 0x10000)
        t = 0x20000 - t;
    const uint32_t i = t >> 6;
    const int32_t f = static_cast<int32_t>(t & 63);
    Fixed value = kFxOne;
    if (i < kSineTableSize - 1)
        value = ((64 - f) * kSineTable[i] + f * kSineTable[i + 1]) >> 6;
    return negative ? -value : value;
}

} // namespace

Fixed fxFromFloat(float f) {
    return truncateToFixed(static_cast<double>(f * 65536.0f));
}

Fixed fxFromDouble(double d) {
    return truncateToFixed(d * 65536.0);
}

Fixed fxSqrt(Fixed a) {
    if (a <= 0)
        return 0;
    const uint64_t n = static_cast<uint64_t>(a) << 16;
    // The double estimate is within one of the true root for n < 2^47; correct it exactly.
    uint64_t r = static_cast<uint64_t>(std::sqrt(static_cast<double>(n)));
    while (r * r > n)
        --r;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return static_cast<Fixed>(r);
}

Fixed fxSin(Fixed angle) {
    const uint32_t t =
        static_cast<uint32_t>(fxMul(kFxTwoOverPi, static_cast<Fixed>(magnitude(angle))));
    return sineOfQuarterTurns(t, angle < 0);
}

Fixed fxCos(Fixed angle) {
    // Cosine is even: the sign of the angle is dropped and only the half-turn flips it.
    const uint32_t t =
        static_cast<uint32_t>(fxMul(kFxTwoOverPi, static_cast<Fixed>(magnitude(angle)))) + 0x10000;
    return sineOfQuarterTurns(t, false);
}

void fxTransformPoint(const Vec3& p, const FxMatrix& matrix, Fixed out[4]) {
    const Fixed* m = matrix.m;
    for (int row = 0; row < 4; ++row) {
        Fixed sum = fxMul(m[row], p.x);
        sum = fxAdd(sum, fxMul(m[4 + row], p.y));
        sum = fxAdd(sum, fxMul(m[8 + row], p.z));
        out[row] = fxAdd(sum, m[12 + row]);
    }
}

void transformPointF(const float m[16], const Vec3F& p, Vec3F& out) {
    Vec3F r;
    r.x = ((m[4] * p.y + m[8] * p.z) + m[0] * p.x) + m[12];
    r.y = ((m[1] * p.x + m[5] * p.y) + m[9] * p.z) + m[13];
    r.z = ((m[2] * p.x + m[6] * p.y) + m[10] * p.z) + m[14];
    out = r;
}

void negateVec3F(const Vec3F& v, Vec3F& out) {
    out = {-v.x, -v.y, -v.z};
}
