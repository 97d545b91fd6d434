// Real: the game's number type for positions, speeds, angles and counters.
//
// The game was tuned on a machine whose floating-point unit is switched to
// single precision when the display device is created. From then on every
// +, -, *, / and sqrt rounds its exact result to a 24-bit significand (round
// to nearest, ties to even) and stores it in a double; loads, constants and
// comparisons are untouched, and results from before the switch keep full
// double precision. Real reproduces that portably on top of IEEE doubles.
#pragma once

#include <cmath>
#include <compare>
#include <cstdint>
#include <cstring>

namespace fpu {

// True once the display device exists (see setSinglePrecision).
extern bool singlePrecision;

// Switches the rounding mode; the display device's creation calls it once.
inline void setSinglePrecision(bool on) { singlePrecision = on; }

// Below this magnitude a result, or the error term that settles its
// rounding, can reach the double's subnormal range, where the steps of the
// encoding no longer are 24 significant bits. Such operations are redone on
// operands scaled by powers of two (exact), rounded to 24 bits there, and
// scaled back: the hardware keeps a wide exponent range in its registers, so
// only the store into a double rounds a tiny result once more, to the
// subnormal steps, as the scaling back does (ties to even).
inline constexpr double tinyLimit = 0x1p-960;
inline constexpr int subnormalShift = 600;

// Rounds a double to a 24-bit significand, keeping the double's exponent
// range (as the hardware does inside its registers). `r` is the double
// nearest to an exact result and `errorSign` is the sign of (exact - r):
// it settles the one case in which rounding twice would go wrong, when r
// lies exactly halfway between two 24-bit values. `r` must be a normal
// double or exact (a subnormal r is scaled up, rounded and scaled back).
inline double roundTo24(double r, int errorSign) {
    std::uint64_t bits;
    std::memcpy(&bits, &r, sizeof bits);
    const std::uint64_t exponent = (bits >> 52) & 0x7FF;
    if (exponent == 0x7FF || (bits << 1) == 0) return r;  // inf, nan, zero
    if (exponent == 0) return std::ldexp(roundTo24(std::ldexp(r, subnormalShift), errorSign), -subnormalShift);
    constexpr std::uint64_t dropped = (std::uint64_t{1} << 29) - 1;
    constexpr std::uint64_t half = std::uint64_t{1} << 28;
    constexpr std::uint64_t unit = std::uint64_t{1} << 29;
    const std::uint64_t low = bits & dropped;
    bits &= ~dropped;
    // errorSign is relative to the signed value; turn it into "the exact
    // magnitude is larger than |r|".
    const bool negative = (bits >> 63) != 0;
    const int magnitudeError = negative ? -errorSign : errorSign;
    bool up = low > half;
    if (low == half) {
        if (magnitudeError > 0) up = true;
        else if (magnitudeError < 0) up = false;
        else up = (bits & unit) != 0;  // ties to even
    }
    if (up) bits += unit;  // a carry into the exponent is the right answer
    double out;
    std::memcpy(&out, &bits, sizeof out);
    return out;
}

inline int sign(double v) { return (v > 0) - (v < 0); }

// Exact-error helpers: the rounding error of each double operation is itself
// a double, found without extended precision.
inline double add(double a, double b) {
    const double s = a + b;
    if (!singlePrecision) return s;
    // A sum in the subnormal range is exact; roundTo24 scales it.
    const double bb = s - a;
    const double err = (a - (s - bb)) + (b - bb);  // Knuth's two-sum
    return roundTo24(s, sign(err));
}
inline double sub(double a, double b) { return add(a, -b); }
inline double mul(double a, double b) {
    const double p = a * b;
    if (!singlePrecision) return p;
    if (!(std::fabs(p) < tinyLimit) || a == 0 || b == 0) return roundTo24(p, sign(std::fma(a, b, -p)));
    int ea, eb;
    const double ma = std::frexp(a, &ea), mb = std::frexp(b, &eb);
    const double m = ma * mb;
    return std::ldexp(roundTo24(m, sign(std::fma(ma, mb, -m))), ea + eb);
}
inline double div(double a, double b) {
    const double q = a / b;
    if (!singlePrecision) return q;
    if (!std::isfinite(q) || b == 0 || a == 0 || !std::isfinite(b)) return roundTo24(q, 0);
    // a - q*b has the sign of (a/b - q) * sign(b)
    if (std::fabs(q) >= tinyLimit && std::fabs(a) >= tinyLimit)
        return roundTo24(q, sign(-std::fma(q, b, -a)) * sign(b));
    int ea, eb;
    const double ma = std::frexp(a, &ea), mb = std::frexp(b, &eb);
    const double m = ma / mb;
    return std::ldexp(roundTo24(m, sign(-std::fma(m, mb, -ma)) * sign(mb)), ea - eb);
}
inline double sqrt(double a) {
    const double s = std::sqrt(a);
    if (!singlePrecision) return s;
    if (!(s > 0) || !std::isfinite(s)) return s;
    if (a >= tinyLimit) return roundTo24(s, sign(-std::fma(s, s, -a)));
    int e;
    double m = std::frexp(a, &e);
    if (e % 2 != 0) {  // an even exponent halves exactly
        m *= 2;
        --e;
    }
    const double ms = std::sqrt(m);
    return std::ldexp(roundTo24(ms, sign(-std::fma(ms, ms, -m))), e / 2);
}

}  // namespace fpu

// A double whose arithmetic follows the current rounding mode.
class Real {
public:
    constexpr Real() = default;
    constexpr Real(double v) : v_(v) {}  // constants and loads: not rounded
    constexpr Real(int v) : v_(v) {}

    constexpr double value() const { return v_; }
    // The single-precision value handed to the graphics layer.
    constexpr float toFloat() const { return static_cast<float>(v_); }

    friend Real operator+(Real a, Real b) { return Real(fpu::add(a.v_, b.v_)); }
    friend Real operator-(Real a, Real b) { return Real(fpu::sub(a.v_, b.v_)); }
    friend Real operator*(Real a, Real b) { return Real(fpu::mul(a.v_, b.v_)); }
    friend Real operator/(Real a, Real b) { return Real(fpu::div(a.v_, b.v_)); }
    friend constexpr Real operator-(Real a) { return Real(-a.v_); }  // exact

    Real& operator+=(Real b) { return *this = *this + b; }
    Real& operator-=(Real b) { return *this = *this - b; }
    Real& operator*=(Real b) { return *this = *this * b; }
    Real& operator/=(Real b) { return *this = *this / b; }

    friend constexpr bool operator==(Real a, Real b) { return a.v_ == b.v_; }
    friend constexpr auto operator<=>(Real a, Real b) { return a.v_ <=> b.v_; }

private:
    double v_ = 0;
};

inline Real sqrt(Real a) { return Real(fpu::sqrt(a.value())); }
// The C library's sine, cosine and tangent of the double, as they come: the
// rounding applies to the arithmetic around them.
inline Real sin(Real a) { return Real(std::sin(a.value())); }
inline Real cos(Real a) { return Real(std::cos(a.value())); }
inline Real tan(Real a) { return Real(std::tan(a.value())); }
