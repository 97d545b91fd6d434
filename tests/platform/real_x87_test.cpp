// Real's single-precision mode checked against the hardware it stands for:
// the x87 unit with its precision control set to 24 bits, storing each
// result into a double. Covers ordinary values, halfway cases, and results
// at and below the double's subnormal range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "platform/real.h"
#include "support/single_precision.h"

#if defined(__x86_64__) || defined(__i386__)

namespace {

enum class Op { Add, Sub, Mul, Div, Sqrt };

// One operation on the x87 at 24-bit precision, stored to a double.
double x87(Op op, double a, double b) {
    std::uint16_t saved;
    asm volatile("fnstcw %0" : "=m"(saved));
    const std::uint16_t single = static_cast<std::uint16_t>(saved & ~0x0300);  // PC = 00: 24 bits
    double r;
    switch (op) {
    case Op::Add:
        asm volatile("fldcw %1\n\tfldl %2\n\tfaddl %3\n\tfstpl %0\n\tfldcw %4"
                     : "=m"(r) : "m"(single), "m"(a), "m"(b), "m"(saved));
        break;
    case Op::Sub:
        asm volatile("fldcw %1\n\tfldl %2\n\tfsubl %3\n\tfstpl %0\n\tfldcw %4"
                     : "=m"(r) : "m"(single), "m"(a), "m"(b), "m"(saved));
        break;
    case Op::Mul:
        asm volatile("fldcw %1\n\tfldl %2\n\tfmull %3\n\tfstpl %0\n\tfldcw %4"
                     : "=m"(r) : "m"(single), "m"(a), "m"(b), "m"(saved));
        break;
    case Op::Div:
        asm volatile("fldcw %1\n\tfldl %2\n\tfdivl %3\n\tfstpl %0\n\tfldcw %4"
                     : "=m"(r) : "m"(single), "m"(a), "m"(b), "m"(saved));
        break;
    case Op::Sqrt:
        asm volatile("fldcw %1\n\tfldl %2\n\tfsqrt\n\tfstpl %0\n\tfldcw %3"
                     : "=m"(r) : "m"(single), "m"(a), "m"(saved));
        break;
    }
    return r;
}

double viaReal(Op op, double a, double b) {
    switch (op) {
    case Op::Add: return (Real(a) + Real(b)).value();
    case Op::Sub: return (Real(a) - Real(b)).value();
    case Op::Mul: return (Real(a) * Real(b)).value();
    case Op::Div: return (Real(a) / Real(b)).value();
    case Op::Sqrt: return sqrt(Real(a)).value();
    }
    return 0;
}

std::uint64_t bitsOf(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

const char* name(Op op) {
    static const char* names[] = {"+", "-", "*", "/", "sqrt"};
    return names[static_cast<int>(op)];
}

// Compares every operation on (a, b); returns the number of mismatches and
// reports the first few.
int compareAll(double a, double b, int& reported) {
    int bad = 0;
    for (Op op : {Op::Add, Op::Sub, Op::Mul, Op::Div, Op::Sqrt}) {
        if (op == Op::Div && b == 0) continue;
        if (op == Op::Sqrt && a < 0) continue;
        const double want = x87(op, a, b), got = viaReal(op, a, b);
        if (bitsOf(want) == bitsOf(got) || (std::isnan(want) && std::isnan(got))) continue;
        ++bad;
        if (reported++ < 8)
            ADD_FAILURE() << std::hexfloat << a << " " << name(op) << " " << b << ": x87 " << want << ", Real "
                          << got;
    }
    return bad;
}

// A double with a random significand, with `bits` significant bits, and a
// random exponent in [lo, hi].
double randomDouble(std::mt19937_64& rng, int lo, int hi, int bits = 53) {
    std::uniform_int_distribution<int> exp(lo, hi);
    std::uint64_t m = (rng() >> 11) | (std::uint64_t{1} << 52);
    if (bits < 53) m &= ~((std::uint64_t{1} << (53 - bits)) - 1);
    double v = std::ldexp(static_cast<double>(m), exp(rng) - 52);
    return (rng() & 1) ? -v : v;
}

}  // namespace

TEST(RealAgainstX87, TheExampleOfASubnormalProduct) {
    SinglePrecision on;
    const double tiny = 0x1p-1050;
    EXPECT_EQ(x87(Op::Mul, tiny, 1.0), tiny);
    EXPECT_EQ((Real(tiny) * Real(1.0)).value(), tiny);
    // A product whose 24-bit rounding is then rounded again on the way into
    // the subnormal range: 1.5 * 2^-1074 ties to the even step 2^-1073.
    EXPECT_EQ((Real(0x1.8p-1000) * Real(0x1p-74)).value(), x87(Op::Mul, 0x1.8p-1000, 0x1p-74));
    EXPECT_EQ((Real(0x1.8p-1000) * Real(0x1p-74)).value(), 0x1p-1073);
}

TEST(RealAgainstX87, OrdinaryValuesAndHalfwayCases) {
    SinglePrecision on;
    std::mt19937_64 rng(20261208);
    int bad = 0, reported = 0;
    for (int i = 0; i < 200000; ++i) {
        // Short significands make exact halfway cases common.
        const int bits = (i % 3 == 0) ? 53 : 26 + static_cast<int>(rng() % 5);
        const double a = randomDouble(rng, -30, 30, bits), b = randomDouble(rng, -30, 30, bits);
        bad += compareAll(a, b, reported);
        bad += compareAll(std::fabs(a), b, reported);
    }
    EXPECT_EQ(bad, 0);
}

TEST(RealAgainstX87, ResultsNearAndBelowTheSubnormalRange) {
    SinglePrecision on;
    std::mt19937_64 rng(7);
    int bad = 0, reported = 0;
    for (int i = 0; i < 200000; ++i) {
        const int bits = (i % 2 == 0) ? 53 : 20 + static_cast<int>(rng() % 10);
        double a, b;
        switch (i % 4) {
        case 0:  // products and quotients that land in or near the subnormal range
            a = randomDouble(rng, -600, -480, bits);
            b = randomDouble(rng, -600, -480, bits);
            break;
        case 1:  // subnormal operands
            a = randomDouble(rng, -1074, -1022, bits);
            b = randomDouble(rng, -40, 40, bits);
            break;
        case 2:  // sums and differences of tiny values
            a = randomDouble(rng, -1060, -1000, bits);
            b = randomDouble(rng, -1060, -1000, bits);
            break;
        default:  // quotients of a tiny value by a large one, and the reverse
            a = randomDouble(rng, -1000, -900, bits);
            b = randomDouble(rng, 40, 200, bits);
            if (rng() & 1) std::swap(a, b);
            break;
        }
        if (a == 0 || b == 0 || !std::isfinite(a) || !std::isfinite(b)) continue;
        bad += compareAll(a, b, reported);
        bad += compareAll(std::fabs(a), b, reported);
    }
    EXPECT_EQ(bad, 0);
}

TEST(RealAgainstX87, OverflowAndSpecialValues) {
    SinglePrecision on;
    int reported = 0;
    const double cases[][2] = {
        {0x1.fffffep1023, 0x1p0},    {0x1.ffffffp1023, 0x1p-60}, {0x1p1000, 0x1p30},
        {0x1p-1074, 0x1p-1074},      {0x1p-1074, -0x1p-1074},    {-0x1p-1060, 0x1p-20},
        {0.0, -0.0},                 {INFINITY, 1.0},             {-INFINITY, 0x1p-1074},
        {0x1.000001p0, 0x1.000001p0}, {1.0, 3.0},                 {0x1p-1022, 0x1.8p-1},
    };
    int bad = 0;
    for (const auto& c : cases) bad += compareAll(c[0], c[1], reported);
    EXPECT_EQ(bad, 0);
}

#endif
