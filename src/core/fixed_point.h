// fixed_point.h: signed 16.16 fixed point, the arithmetic of all geometry, physics and rendering.
#pragma once

#include <cstdint>

// 16.16: the integer divided by 65,536. Addition and subtraction wrap on overflow.
using Fixed = int32_t;

constexpr int kFixedFractionBits = 16;

constexpr Fixed kFxZero = 0;
constexpr Fixed kFxOne = 65536;
constexpr Fixed kFxPi = 205887;
constexpr Fixed kFxTwoPi = 411774;
constexpr Fixed kFxHalfPi = 102943;
constexpr Fixed kFxTwoOverPi = 41721; // quarter turns per radian
constexpr Fixed kFxDegreesToRadians = 1143;

// Further program-wide constants; the match simulation gives them their meaning.
constexpr Fixed kFxSmallest = 1;
constexpr Fixed kFxHalf = 32768;
constexpr Fixed kFxThirtyThousand = 0x75300000;

struct Vec3 {
    Fixed x, y, z;
};

// Column-major 4 x 4: element (row r, column c) at index c * 4 + r, translation at 12..14.
struct FxMatrix {
    Fixed m[16];
};

constexpr int kSineTableSize = 1024;
extern const Fixed kSineTable[kSineTableSize];

// Wrapping arithmetic, without signed-overflow UB: results wrap at 32 bits, as the stored data
// and the matches played from a seed were computed.
constexpr Fixed fxAdd(Fixed a, Fixed b) {
    return static_cast<Fixed>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr Fixed fxSub(Fixed a, Fixed b) {
    return static_cast<Fixed>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
constexpr Fixed fxNeg(Fixed a) {
    return static_cast<Fixed>(0u - static_cast<uint32_t>(a));
}

constexpr Fixed fxFromInt(int32_t i) {
    return static_cast<Fixed>(static_cast<uint32_t>(i) << kFixedFractionBits);
}

// Truncates value * 65536 toward zero: the conversion every written-out constant goes through,
// so a constant reads as the number it stands for.
constexpr Fixed fx(double value) {
    return static_cast<Fixed>(value * 65536.0);
}

// Multiplies in single precision and truncates toward zero, as the asset loaders do.
Fixed fxFromFloat(float f);
// Multiplies in double precision and truncates toward zero (table set-up).
Fixed fxFromDouble(double d);
constexpr double fxToDouble(Fixed a) {
    return a / 65536.0;
}

// The full 64-bit product shifted right by 16: rounds toward minus infinity, wraps.
constexpr Fixed fxMul(Fixed a, Fixed b) {
    return static_cast<Fixed>((static_cast<int64_t>(a) * static_cast<int64_t>(b)) >> 16);
}

// a / b truncated toward zero; 0 / 0 is 0, x / 0 and any quotient of 32768.0 or more
// saturate to +-0x7FFFFFFF (never 0x80000000). Inline: the renderer divides per edge and per
// vertex. One signed 64-bit division truncates toward zero: the quotient of the magnitudes
// with the sign given after, as the stored data and the matches played from a seed were
// computed.
constexpr Fixed fxDiv(Fixed a, Fixed b) {
    constexpr int64_t kSaturated = 0x7FFFFFFF;
    if (b == 0)
        return a == 0  ? 0
               : a < 0 ? static_cast<Fixed>(-kSaturated)
                       : static_cast<Fixed>(kSaturated);
    const int64_t q = static_cast<int64_t>(a) * 65536 / b;
    if (q >= kSaturated)
        return static_cast<Fixed>(kSaturated);
    if (q <= -kSaturated)
        return static_cast<Fixed>(-kSaturated);
    return static_cast<Fixed>(q);
}

// floor(sqrt(a * 65536)) for a >= 0.
Fixed fxSqrt(Fixed a);

Fixed fxSin(Fixed angle);
Fixed fxCos(Fixed angle);

// out = m * (p.x, p.y, p.z, 1): each product truncated on its own, sums wrapping.
void fxTransformPoint(const Vec3& p, const FxMatrix& m, Fixed out[4]);

// Companions that chain through out-slots: write the result into *out and return out.
inline Fixed* fxSubTo(const Fixed* a, const Fixed* b, Fixed* out) {
    *out = fxSub(*a, *b);
    return out;
}
inline Fixed* fxAddTo(const Fixed* a, const Fixed* b, Fixed* out) {
    *out = fxAdd(*a, *b);
    return out;
}
inline Fixed* fxMulTo(const Fixed* a, const Fixed* b, Fixed* out) {
    *out = fxMul(*a, *b);
    return out;
}
inline Fixed* fxDivTo(const Fixed* a, const Fixed* b, Fixed* out) {
    *out = fxDiv(*a, *b);
    return out;
}

// Single-precision helpers of the animation code, same column-major convention.
struct Vec3F {
    float x, y, z;
};
constexpr Vec3F kVec3FZero = {0.0f, 0.0f, 0.0f};
constexpr Vec3F kVec3FUnitX = {1.0f, 0.0f, 0.0f};
constexpr Vec3F kVec3FUnitY = {0.0f, 1.0f, 0.0f};
constexpr Vec3F kVec3FUnitZ = {0.0f, 0.0f, 1.0f};

// Sums are evaluated in the order the bake was tuned with; out may alias p.
void transformPointF(const float m[16], const Vec3F& p, Vec3F& out);
void negateVec3F(const Vec3F& v, Vec3F& out);
