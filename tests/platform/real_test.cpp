// The game's arithmetic after the display device exists: every operation
// rounds to a 24-bit significand; before it, plain doubles.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/real.h"
#include "support/single_precision.h"

namespace {

// Steps `step` from `start` while `keepGoing` holds; returns the count.
template <typename Cond>
int stepWhile(Real& v, Real step, Cond keepGoing) {
    int n = 0;
    while (keepGoing(v)) {
        v += step;
        ++n;
    }
    return n;
}

}  // namespace

TEST(Real, ShipClimbReachesTheTopAfterEightySingleRoundedSteps) {
    SinglePrecision on;
    Real y = 2.0;
    EXPECT_EQ(stepWhile(y, 0.1, [](Real v) { return v < 10.0; }), 80);
    EXPECT_EQ(y.value(), static_cast<double>(10.0000019f));
    // Back down: 81 steps, stopping just below the lower edge.
    EXPECT_EQ(stepWhile(y, -0.1, [](Real v) { return v > 2.0; }), 81);
    EXPECT_EQ(y.value(), static_cast<double>(1.9000005f));
}

TEST(Real, SidewaysAndRollFiguresOfTheShip) {
    SinglePrecision on;
    Real x = 0.0;
    EXPECT_EQ(stepWhile(x, 0.2, [](Real v) { return v < 8.0; }), 41);
    EXPECT_EQ(x.value(), static_cast<double>(8.1999969f));

    Real roll = 0.0;
    for (int i = 0; i < 79; ++i) roll += -0.08;
    EXPECT_EQ(roll.value(), static_cast<double>(-6.3199964f));
    EXPECT_LT(roll, -6.28);
}

TEST(Real, DoublePrecisionBeforeTheDeviceExists) {
    fpu::setSinglePrecision(false);
    Real y = 2.0;
    for (int i = 0; i < 80; ++i) y += 0.1;
    double plain = 2.0;
    for (int i = 0; i < 80; ++i) plain += 0.1;
    EXPECT_EQ(y.value(), plain);
    EXPECT_NE(y.value(), static_cast<double>(static_cast<float>(plain)));
}

TEST(Real, ConstantsLoadsAndComparisonsAreNotRounded) {
    SinglePrecision on;
    const Real tenth = 0.1;
    EXPECT_EQ(tenth.value(), 0.1);  // not the float 0.1
    EXPECT_GT(Real(0.1f), tenth);   // the float 0.1 is above the double 0.1
    EXPECT_EQ((-tenth).value(), -0.1);
}

TEST(Real, EachOperationRoundsOnceToNearestEven) {
    SinglePrecision on;
    // 1 + 2^-24 is exactly halfway between two floats: ties go to even (1).
    EXPECT_EQ((Real(1.0) + Real(std::ldexp(1.0, -24))).value(), 1.0);
    // (1 + 2^-23) + 2^-24 is halfway again: even is 1 + 2^-22.
    EXPECT_EQ((Real(1.0 + std::ldexp(1.0, -23)) + Real(std::ldexp(1.0, -24))).value(),
              1.0 + std::ldexp(1.0, -22));
    // The double sum 1 + 2^-24 + 2^-60 rounds (in double) to the midpoint
    // 1 + 2^-24; rounding that again would give 1. The exact sum is above
    // the midpoint, so the single rounding goes up.
    const Real a = 1.0 + std::ldexp(1.0, -24);  // a constant, exact in a double
    EXPECT_EQ((a + Real(std::ldexp(1.0, -60))).value(), 1.0 + std::ldexp(1.0, -23));
    // And just below the midpoint it goes down.
    EXPECT_EQ((a - Real(std::ldexp(1.0, -60))).value(), 1.0);
}

TEST(Real, MultiplyDivideAndSquareRootRoundToSingle) {
    SinglePrecision on;
    EXPECT_EQ((Real(1.0) / Real(3.0)).value(), static_cast<double>(1.0f / 3.0f));
    EXPECT_EQ((Real(0.1) * Real(3.0)).value(), static_cast<double>(static_cast<float>(0.1 * 3.0)));
    EXPECT_EQ(sqrt(Real(2.0)).value(), static_cast<double>(std::sqrt(2.0f)));
    // Results keep the double's range (no float overflow or underflow) but
    // carry only 24 significant bits.
    auto has24Bits = [](double v) {
        int e;
        const double m = std::frexp(v, &e) * 16777216.0;
        return std::isfinite(v) && m == std::floor(m);
    };
    const Real big = Real(1e300) * Real(3.0);
    EXPECT_TRUE(has24Bits(big.value()));
    EXPECT_NEAR(big.value() / 3e300, 1.0, 1e-7);
    const Real tiny = Real(1e-300) / Real(7.0);
    EXPECT_TRUE(has24Bits(tiny.value()));
    EXPECT_NEAR(tiny.value() * 7e300, 1.0, 1e-7);
}

TEST(Real, SpecialValuesPassThrough) {
    SinglePrecision on;
    EXPECT_TRUE(std::isinf((Real(1.0) / Real(0.0)).value()));
    EXPECT_TRUE(std::isnan((Real(0.0) / Real(0.0)).value()));
    EXPECT_EQ((Real(5.0) - Real(5.0)).value(), 0.0);
}
