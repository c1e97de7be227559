// Fixed-point arithmetic against bit-by-bit algorithms and double references.
#include "core/fixed_point.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>

namespace {

// The quotient a / b in 16.16 as exact arithmetic gives it: truncated toward zero, saturated at
// +-0x7FFFFFFF. a x 65536 is exact in a double, and the quotient's rounding can never carry it
// across a whole number: its gap to one is at least 1 / |b|, far above half a unit of its last
// place.
Fixed exactDiv(Fixed a, Fixed b) {
    const double q = std::trunc(static_cast<double>(a) * 65536.0 / b);
    return static_cast<Fixed>(std::fabs(q) >= 2147483647.0 ? std::copysign(2147483647.0, q) : q);
}

// floor(sqrt(a x 65536)), bit by bit.
Fixed floorRoot(Fixed a) {
    const uint64_t n = static_cast<uint64_t>(a) << 16;
    uint64_t r = 0;
    for (uint64_t bit = 1ull << 23; bit; bit >>= 1)
        if ((r | bit) * (r | bit) <= n)
            r |= bit;
    return static_cast<Fixed>(r);
}

// Zero, a raw unit either way, the byte and half-word borders, one, the range's ends.
constexpr Fixed kEdges[] = {
    0,          1,           -1,         2,          -2,      255,         256,           65535,
    65536,      -65536,      65537,      0x8000,     -0x8000, 0x7FFFFFFF,  -0x7FFFFFFF,   INT32_MIN,
    0x40000000, -0x40000000, 0x3FFFFFFF, 0x00010001, 3 << 16, 32767 << 16, -(32767 << 16)};

TEST(FixedMul, TruncatesTowardMinusInfinity) {
    EXPECT_EQ(fxMul(0x8000, 0x8000), 0x4000);
    EXPECT_EQ(fxMul(-1, 1), -1);
    EXPECT_EQ(fxMul(1, 1), 0);
    EXPECT_EQ(fxMul(kFxOne, kFxOne), kFxOne);
}

TEST(FixedMul, MatchesWideProductForRandomInputs) {
    std::mt19937 rng(1);
    for (int i = 0; i < 1000000; ++i) {
        const Fixed a = static_cast<Fixed>(rng()), b = static_cast<Fixed>(rng());
        const int64_t wide = static_cast<int64_t>(a) * b;
        ASSERT_EQ(fxMul(a, b), static_cast<Fixed>(static_cast<uint64_t>(wide >> 16)));
    }
}

TEST(FixedDiv, EdgeCases) {
    EXPECT_EQ(fxDiv(0, 0), 0);
    EXPECT_EQ(fxDiv(kFxOne, 0), 0x7FFFFFFF);
    EXPECT_EQ(fxDiv(-kFxOne, 0), -0x7FFFFFFF);
    EXPECT_EQ(fxDiv(32767 << 16, kFxOne), 32767 << 16);
    EXPECT_EQ(fxDiv(0x7FFFFFFF, kFxOne), 0x7FFFFFFF);
    EXPECT_EQ(fxDiv(kFxOne, 3 << 16), 21845);
    EXPECT_EQ(fxDiv(-kFxOne, 3 << 16), -21845);
    EXPECT_EQ(fxDiv(INT32_MIN, kFxOne), -0x7FFFFFFF);
    EXPECT_EQ(fxDiv(INT32_MIN, -kFxOne), 0x7FFFFFFF);
    EXPECT_EQ(fxDiv(INT32_MIN, INT32_MIN), kFxOne);
    EXPECT_EQ(fxDiv(32768 << 15, 1 << 15), 0x7FFFFFFF); // quotient 32768.0 saturates
}

TEST(FixedDiv, TruncatesTowardZeroOnEdgesAndRandomInputs) {
    for (Fixed a : kEdges)
        for (Fixed b : kEdges) {
            if (b != 0) {
                ASSERT_EQ(fxDiv(a, b), exactDiv(a, b)) << a << " / " << b;
            }
        }
    std::mt19937 rng(2);
    for (int i = 0; i < 2000000; ++i) {
        const Fixed a = static_cast<Fixed>(rng()) >> (rng() % 32);
        const Fixed b = static_cast<Fixed>(rng()) >> (rng() % 32);
        if (b != 0) {
            ASSERT_EQ(fxDiv(a, b), exactDiv(a, b)) << a << " / " << b;
        }
    }
}

TEST(FixedSqrt, EdgeCases) {
    EXPECT_EQ(fxSqrt(0), 0);
    EXPECT_EQ(fxSqrt(1), 256);
    EXPECT_EQ(fxSqrt(kFxOne), kFxOne);
    EXPECT_EQ(fxSqrt(4 << 16), 2 << 16);
    EXPECT_EQ(fxSqrt(2 << 16), 92681);
    EXPECT_EQ(fxSqrt(0x7FFFFFFF), 11863283);
}

TEST(FixedSqrt, IsTheFloorRootOnEdgesSquaresAndRandomInputs) {
    for (Fixed a : kEdges) {
        if (a >= 0) {
            ASSERT_EQ(fxSqrt(a), floorRoot(a)) << a;
        }
    }
    std::mt19937 rng(4);
    for (int i = 0; i < 2000000; ++i) {
        const Fixed a = static_cast<Fixed>(rng() >> 1) >> (rng() % 31);
        ASSERT_EQ(fxSqrt(a), floorRoot(a)) << a;
    }
    for (Fixed r = 0; r < 46341; ++r) { // perfect squares and their neighbours
        const Fixed sq = static_cast<Fixed>((static_cast<int64_t>(r) * r) >> 16);
        ASSERT_EQ(fxSqrt(sq), floorRoot(sq));
        ASSERT_EQ(fxSqrt(sq + 1), floorRoot(sq + 1));
    }
}

TEST(FixedTrig, TableIsRoundedQuarterSine) {
    for (int i = 0; i < kSineTableSize; ++i)
        ASSERT_EQ(kSineTable[i], static_cast<Fixed>(std::lround(std::sin(i * M_PI / 2048) * 65536)))
            << i;
    EXPECT_EQ(kSineTable[512], 46341);
    EXPECT_EQ(kSineTable[1022], kFxOne);
    EXPECT_EQ(kSineTable[1023], kFxOne);
}

TEST(FixedTrig, KnownValues) {
    EXPECT_EQ(fxSin(0), 0);
    EXPECT_EQ(fxSin(kFxHalfPi), kFxOne);
    EXPECT_LE(std::abs(fxSin(kFxPi)), 4);
    const Fixed ninetyDegrees = 90 * kFxDegreesToRadians;
    EXPECT_EQ(ninetyDegrees, 102870);
    EXPECT_EQ(fxSin(ninetyDegrees), kFxOne);
    EXPECT_EQ(fxCos(ninetyDegrees), 75);
}

TEST(FixedTrig, SymmetryAndAccuracyOverSeveralTurns) {
    for (Fixed x = -3 * kFxTwoPi; x <= 3 * kFxTwoPi; x += 37) {
        ASSERT_EQ(fxSin(-x), -fxSin(x)) << x;
        ASSERT_EQ(fxCos(-x), fxCos(x)) << x;
        ASSERT_LT(std::fabs(fxSin(x) / 65536.0 - std::sin(x / 65536.0)), 0.0003) << x;
        ASSERT_LT(std::fabs(fxCos(x) / 65536.0 - std::cos(x / 65536.0)), 0.0003) << x;
    }
}

TEST(FixedTrig, ExtremeAnglesWrapWithoutFault) {
    // Quarter-turn values beyond the range wrap inside fxMul; the result is still a sine value.
    for (Fixed x : {INT32_MIN, INT32_MAX, INT32_MIN + 1, 0x40000000}) {
        EXPECT_LE(std::abs(fxSin(x)), kFxOne);
        EXPECT_LE(std::abs(fxCos(x)), kFxOne);
    }
}

TEST(FixedTransform, EachProductTruncatedSeparately) {
    FxMatrix m{};
    m.m[0] = kFxOne;
    m.m[5] = 0x8000;
    m.m[10] = kFxOne;
    m.m[15] = kFxOne;
    m.m[12] = 3 << 16;
    m.m[4] = 1; // a tiny shear whose product truncates to -1 for negative y
    Fixed out[4];
    fxTransformPoint({kFxOne, -kFxOne, 2 << 16}, m, out);
    EXPECT_EQ(out[0], kFxOne + fxMul(1, -kFxOne) + (3 << 16));
    EXPECT_EQ(out[1], -0x8000);
    EXPECT_EQ(out[2], 2 << 16);
    EXPECT_EQ(out[3], kFxOne);
}

TEST(FixedConversion, TruncatesTowardZero) {
    EXPECT_EQ(fxFromFloat(0.05f), 3276);
    EXPECT_EQ(fxFromFloat(-0.05f), -3276);
    EXPECT_EQ(fxFromDouble(9.7805), 640974);
    EXPECT_EQ(fxFromInt(-3), -3 * 65536);
    // Damaged asset data must not reach an undefined conversion.
    EXPECT_EQ(fxFromFloat(std::nanf("")), 0);
    EXPECT_EQ(fxFromFloat(1e30f), INT32_MAX);
    EXPECT_EQ(fxFromFloat(-1e30f), INT32_MIN);
}

TEST(FloatHelpers, TransformMayWriteIntoItsInput) {
    float m[16] = {0, 1, 0, 0, -1, 0, 0, 0,
                   0, 0, 1, 0, 5,  6, 7, 1}; // 90 degrees about z, then move
    Vec3F p{1, 2, 3};
    transformPointF(m, p, p);
    EXPECT_FLOAT_EQ(p.x, 5 - 2);
    EXPECT_FLOAT_EQ(p.y, 6 + 1);
    EXPECT_FLOAT_EQ(p.z, 7 + 3);
    Vec3F n;
    negateVec3F(kVec3FUnitY, n);
    EXPECT_FLOAT_EQ(n.y, -1.0f);
}

} // namespace
