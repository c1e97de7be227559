// Fixed-point arithmetic against bit-by-bit algorithms and double references.
#include "core/fixed_point.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// Restoring binary division of the magnitudes, bit by bit, with a wide quotient register
// so that huge quotients still end in saturation. For a dividend of -2^31 the divisor can stop
// doubling at 2^30 with the dividend still twice as large, where the first quotient bit would
// need to be 2; the game wants the exact floor there, which exactFloorDiv supplies.
Fixed referenceDiv(Fixed a, Fixed b) {
    if (a == 0)
        return 0;
    const bool negative = (a < 0) != (b < 0);
    uint64_t rem = a < 0 ? 0ull - static_cast<int64_t>(a) : static_cast<uint64_t>(a);
    uint64_t d = b < 0 ? 0ull - static_cast<int64_t>(b) : static_cast<uint64_t>(b);
    uint64_t q = 0x7FFFFFFF;
    if (d != 0) {
        int k = 0;
        while (d <= rem && d < (1ull << 30)) {
            d <<= 1;
            ++k;
        }
        q = 0;
        for (int i = 0; i < 17 + k; ++i) {
            q <<= 1;
            if (rem >= d) {
                rem -= d;
                q |= 1;
            }
            rem <<= 1;
        }
        if (q > 0x7FFFFFFF)
            q = 0x7FFFFFFF;
    }
    return negative ? -static_cast<Fixed>(q) : static_cast<Fixed>(q);
}

// Bit-by-bit square root: 16 integer bits with early exit, then 8 bits with 64-bit remainders.
Fixed referenceSqrt(Fixed a) {
    uint32_t n = static_cast<uint32_t>(a);
    uint32_t root = 0;
    uint32_t rem = 0;
    for (int bit = 15; bit >= 0; --bit) {
        rem = (rem << 2) | (n >> 30);
        n <<= 2;
        root <<= 1;
        const uint32_t trial = (root << 1) | 1;
        if (rem >= trial) {
            rem -= trial;
            root |= 1;
        }
        if (rem == 0 && n == 0)
            return static_cast<Fixed>(root << (8 + bit));
    }
    uint64_t rem64 = rem;
    uint64_t root64 = root;
    for (int step = 0; step < 8; ++step) {
        rem64 <<= 2;
        root64 <<= 1;
        const uint64_t trial = (root64 << 1) | 1;
        if (rem64 >= trial) {
            rem64 -= trial;
            root64 |= 1;
        }
        if (rem64 == 0)
            return static_cast<Fixed>(root64 << (7 - step));
    }
    return static_cast<Fixed>(root64);
}

Fixed exactFloorDiv(Fixed a, Fixed b) {
    if (a == 0)
        return 0;
    const int64_t ma = std::llabs(static_cast<int64_t>(a)),
                  mb = std::llabs(static_cast<int64_t>(b));
    const int64_t q = mb == 0 ? 0x7FFFFFFF : std::min<int64_t>((ma << 16) / mb, 0x7FFFFFFF);
    return ((a < 0) != (b < 0)) ? static_cast<Fixed>(-q) : static_cast<Fixed>(q);
}

Fixed truncatedRoot(Fixed a) {
    const uint64_t n = static_cast<uint64_t>(a) << 16;
    uint64_t r = 0;
    for (uint64_t bit = 1ull << 23; bit; bit >>= 1)
        if ((r | bit) * (r | bit) <= n)
            r |= bit;
    return static_cast<Fixed>(r);
}

std::vector<Fixed> edgeValues() {
    return {0,
            1,
            -1,
            2,
            -2,
            255,
            256,
            65535,
            65536,
            -65536,
            65537,
            0x8000,
            -0x8000,
            0x7FFFFFFF,
            -0x7FFFFFFF,
            INT32_MIN,
            0x40000000,
            -0x40000000,
            0x3FFFFFFF,
            0x00010001,
            3 << 16,
            32767 << 16,
            -(32767 << 16)};
}

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

TEST(FixedDiv, MatchesRestoringDivisionOnEdgesAndRandomInputs) {
    const std::vector<Fixed> edges = edgeValues();
    for (Fixed a : edges)
        for (Fixed b : edges)
            ASSERT_EQ(fxDiv(a, b), a == INT32_MIN ? exactFloorDiv(a, b) : referenceDiv(a, b))
                << a << " / " << b;
    std::mt19937 rng(2);
    for (int i = 0; i < 2000000; ++i) {
        const Fixed a = static_cast<Fixed>(rng()) >> (rng() % 32);
        const Fixed b = static_cast<Fixed>(rng()) >> (rng() % 32);
        ASSERT_EQ(fxDiv(a, b), referenceDiv(a, b)) << a << " / " << b;
    }
}

TEST(FixedDiv, TruncatesTowardZeroLikeDoubleDivision) {
    std::mt19937 rng(3);
    for (int i = 0; i < 200000; ++i) {
        const Fixed a = static_cast<Fixed>(rng()) >> 8, b = static_cast<Fixed>(rng()) >> 4;
        if (b == 0)
            continue;
        const double q = std::trunc(static_cast<double>(a) * 65536.0 / b);
        const double expected = std::fabs(q) >= 2147483647.0 ? std::copysign(2147483647.0, q) : q;
        ASSERT_EQ(fxDiv(a, b), static_cast<Fixed>(expected));
    }
}

TEST(FixedSqrt, EdgeCases) {
    EXPECT_EQ(fxSqrt(0), 0);
    EXPECT_EQ(fxSqrt(1), 256);
    EXPECT_EQ(fxSqrt(kFxOne), kFxOne);
    EXPECT_EQ(fxSqrt(4 << 16), 2 << 16);
    EXPECT_EQ(fxSqrt(2 << 16), 92681);
    EXPECT_EQ(fxSqrt(0x7FFFFFFF), referenceSqrt(0x7FFFFFFF));
}

TEST(FixedSqrt, MatchesBitByBitRootAndExactFloor) {
    for (Fixed a : edgeValues()) {
        if (a >= 0) {
            ASSERT_EQ(fxSqrt(a), referenceSqrt(a)) << a;
        }
    }
    std::mt19937 rng(4);
    for (int i = 0; i < 2000000; ++i) {
        const Fixed a = static_cast<Fixed>(rng() >> 1) >> (rng() % 31);
        const Fixed fast = fxSqrt(a);
        ASSERT_EQ(fast, referenceSqrt(a)) << a;
        ASSERT_EQ(fast, truncatedRoot(a)) << a;
    }
    for (Fixed r = 0; r < 46341; ++r) { // perfect squares and their neighbours
        const Fixed sq = static_cast<Fixed>((static_cast<int64_t>(r) * r) >> 16);
        ASSERT_EQ(fxSqrt(sq), referenceSqrt(sq));
        ASSERT_EQ(fxSqrt(sq + 1), referenceSqrt(sq + 1));
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
