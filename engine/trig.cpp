// Degree trigonometry that gives the same bits on every IEEE-754 machine, so replays play alike.
//
// The system's sin, cos and atan2 differ in their last bits between C libraries and versions, and
// a moving object feeds those bits back into its position every frame: a replay recorded on one
// system would drift on another. These functions use only +, -, * and / in a fixed order on
// doubles, plus operations that are exact by definition (fmod, fabs, signbit), and stay within
// one unit in the last place of the true value of the angle in degrees. That relies on
// round-to-nearest doubles without excess precision and without fused multiply-add: the build
// passes -ffp-contract=off, a CMake check refuses flags that would undo it, and the assertion
// below refuses x87-style evaluation in wider registers.
#include <cfloat>
#include <cmath>

#include "engine/engine.h"

#ifdef __FAST_MATH__
#error "fast maths changes the results of these functions: build without -ffast-math"
#endif
static_assert(FLT_EVAL_METHOD == 0, "doubles must be evaluated as doubles for replays to match");
static_assert(DBL_MANT_DIG == 53, "IEEE-754 doubles are required");

namespace {

// A value held as an unevaluated sum hi + lo with |lo| <= half an ulp of hi: about 106 bits.
struct Dd {
    double hi, lo;
};

// a + b exactly, for any a and b.
Dd two_sum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly, when |a| >= |b| or a is 0.
Dd quick_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly (Dekker's product with Veltkamp's split; no fused multiply-add needed). The
// factors stay far below 2^996, where the split would overflow.
Dd two_prod(double a, double b) {
    constexpr double kSplit = 134217729.0;  // 2^27 + 1
    const double ta = kSplit * a, tb = kSplit * b;
    const double ah = ta - (ta - a), al = a - ah;
    const double bh = tb - (tb - b), bl = b - bh;
    const double p = a * b;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

Dd dd_add(Dd a, Dd b) {
    const Dd s = two_sum(a.hi, b.hi);
    return quick_two_sum(s.hi, s.lo + (a.lo + b.lo));
}

Dd dd_sub(Dd a, Dd b) { return dd_add(a, {-b.hi, -b.lo}); }

Dd dd_mul(Dd a, Dd b) {
    const Dd p = two_prod(a.hi, b.hi);
    return quick_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

Dd dd_div(Dd a, Dd b) {
    const double q1 = a.hi / b.hi;
    const Dd r = dd_sub(a, dd_mul(b, {q1, 0.0}));
    return quick_two_sum(q1, r.hi / b.hi);
}

// pi / 180 and 180 / pi to about 106 bits.
constexpr Dd kRadPerDeg = {0x1.1df46a2529d39p-6, 0x1.5c1d8becdd291p-62};
constexpr Dd kDegPerRad = {0x1.ca5dc1a63c1f8p+5, -0x1.1e7ab456405f9p-49};

// An angle of at most about 45 degrees in radians, to about 106 bits.
Dd radians(double degrees) {
    Dd x = two_prod(degrees, kRadPerDeg.hi);
    return quick_two_sum(x.hi, x.lo + degrees * kRadPerDeg.lo);
}

// Taylor coefficients. Within 45 degrees the first term left out is below 2^-70 of the result,
// so the series needs no fitted coefficients.
constexpr double kS1 = -1.0 / 6.0, kS2 = 1.0 / 120.0, kS3 = -1.0 / 5040.0, kS4 = 1.0 / 362880.0,
                 kS5 = -1.0 / 39916800.0, kS6 = 1.0 / 6227020800.0, kS7 = -1.0 / 1307674368000.0,
                 kS8 = 1.0 / 355687428096000.0, kS9 = -1.0 / 121645100408832000.0;
constexpr double kC1 = 1.0 / 24.0, kC2 = -1.0 / 720.0, kC3 = 1.0 / 40320.0, kC4 = -1.0 / 3628800.0,
                 kC5 = 1.0 / 479001600.0, kC6 = -1.0 / 87178291200.0, kC7 = 1.0 / 20922789888000.0,
                 kC8 = -1.0 / 6402373705728000.0, kC9 = 1.0 / 2432902008176640000.0;

// Sine of |y| <= 45 degrees (a little beyond is fine). The series runs on the rounded radian
// value xh; its rounding error xl enters through sin'(x) = 1 - x^2/2, and the large term xh is
// added last, so the result is rounded about once.
double sin_small(double y) {
    if (y == 30.0) return 0.5;  // the one value within reach that is exact; keep it exact
    if (y == -30.0) return -0.5;
    const Dd x = radians(y);
    const double xh = x.hi, xl = x.lo;
    const double z = xh * xh;
    const double v = z * xh;
    const double r = kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * (kS6 + z * (kS7 + z * (kS8 + z * kS9))))));
    return xh - ((z * (0.5 * xl - v * r) - xl) - v * kS1);
}

// Cosine of |y| <= 45 degrees: 1 - x^2/2 with the rounding error of that difference and of x^2
// carried separately, then the higher terms and cos'(x) * xl = -x * xl.
double cos_small(double y) {
    const Dd x = radians(y);
    const double xh = x.hi, xl = x.lo;
    const Dd zz = two_prod(xh, xh);
    const double z = zz.hi;
    const double r =
        z *
        (kC1 + z * (kC2 + z * (kC3 + z * (kC4 + z * (kC5 + z * (kC6 + z * (kC7 + z * (kC8 + z * kC9))))))));
    const double hz = 0.5 * z;
    const double w = 1.0 - hz;
    return w + (((1.0 - w) - hz) + (z * r - (xh * xl + 0.5 * zz.lo)));
}

// The angle as a whole number of quarter turns plus a remainder of at most about 45 degrees.
// fmod is exact by definition, and so is the subtraction (the remainder has no more bits than r).
struct Quarters {
    int quadrant;  // 0..3
    double rest;
};

Quarters quarters(double degrees) {
    const double r = std::fmod(degrees, 360.0);  // -360 < r < 360, exact
    const double k = r / 90.0;
    const int q = int(k < 0 ? k - 0.5 : k + 0.5);  // -4..4
    return {((q % 4) + 4) % 4, r - 90.0 * double(q)};
}

// atan(i / 8) in degrees, to about 106 bits.
constexpr Dd kAtanEighths[9] = {
    {0.0, 0.0},
    {0x1.c80044927fe83p+2, -0x1.2a9346eb4b87bp-53},
    {0x1.c128e80fae02ep+3, -0x1.0fc10e257c651p-53},
    {0x1.48e58fac13547p+4, 0x1.bdef92fae944fp-51},
    {0x1.a90a731a61dc4p+4, -0x1.80b27b26e182bp-51},
    {0x1.000b0659f5545p+5, 0x1.0e62435c62f2fp-49},
    {0x1.26f58ce59e23cp+5, 0x1.80b27b26e182bp-50},
    {0x1.497cc65551cf8p+5, -0x1.2dd089737cc28p-49},
    {45.0, 0.0},
};

// atan(num / den) in degrees for 0 < num <= den, both finite: 0..45. The quotient is carried to
// about 106 bits, moved next to the nearest eighth c by atan(t) = atan(c) + atan((t - c) / (1 + tc)),
// leaving |u| <= 1/16 for a short series, and everything stays at about 106 bits until the end.
Dd atan_degrees(double num, double den) {
    // Powers of two keep the exact products below away from overflow and underflow.
    if (den > 0x1p900) {
        num *= 0x1p-600;
        den *= 0x1p-600;
    } else if (den < 0x1p-900) {
        num *= 0x1p600;
        den *= 0x1p600;
    }
    const double th = num / den;
    const Dd back = two_prod(th, den);
    const Dd t = quick_two_sum(th, ((num - back.hi) - back.lo) / den);
    const int i = int(t.hi * 8.0 + 0.5);  // 0..8
    const double c = double(i) * 0.125;
    const Dd diff = two_sum(t.hi - c, t.lo);  // t.hi - c is exact: they are within a factor of 2
    const Dd tc = dd_mul(t, {c, 0.0});
    const Dd u = dd_div(diff, dd_add({1.0, 0.0}, tc));
    const double uh = u.hi, u2 = uh * uh;
    // atan(u) = u - u^3/3 + u^5/5 - ...; with |u| <= 1/16 the terms past u^15 are below 2^-64 of u.
    const double tail =
        u2 * uh *
        (-1.0 / 3.0 +
         u2 * (1.0 / 5.0 +
               u2 * (-1.0 / 7.0 +
                     u2 * (1.0 / 9.0 + u2 * (-1.0 / 11.0 + u2 * (1.0 / 13.0 + u2 * (-1.0 / 15.0)))))));
    const Dd atan_u = quick_two_sum(uh, u.lo + tail);
    return dd_add(kAtanEighths[i], dd_mul(atan_u, kDegPerRad));
}

}  // namespace

double sin_deg(double degrees) {
    if (!(degrees - degrees == 0.0)) return degrees - degrees;  // infinities and NaN give NaN
    const Quarters a = quarters(degrees);
    // Whole half turns: zero with the angle's sign, as -0 and +0 enter.
    if (a.rest == 0.0 && a.quadrant % 2 == 0) return degrees * 0.0;
    switch (a.quadrant) {
        case 0:
            return sin_small(a.rest);
        case 1:
            return cos_small(a.rest);
        case 2:
            return -sin_small(a.rest);
        default:
            return -cos_small(a.rest);
    }
}

double cos_deg(double degrees) {
    if (!(degrees - degrees == 0.0)) return degrees - degrees;
    const Quarters a = quarters(degrees);
    if (a.rest == 0.0 && a.quadrant % 2 == 1) return 0.0;  // odd quarter turns: exactly +0
    switch (a.quadrant) {
        case 0:
            return cos_small(a.rest);
        case 1:
            return -sin_small(a.rest);
        case 2:
            return -cos_small(a.rest);
        default:
            return sin_small(a.rest);
    }
}

// The angle of (x, y) from +x towards +y in -180..180, with the special values of the C library's
// atan2 for zeros, infinities and NaN (so a sign of zero still picks +0 or 180).
double atan2_deg(double y, double x) {
    if (y != y || x != x) return x + y;
    const bool negative_y = std::signbit(y), negative_x = std::signbit(x);
    const double ay = std::fabs(y), ax = std::fabs(x);
    double angle;  // of (|x|, |y|) in 0..90, then mirrored for a negative x
    if (ay == 0.0) {
        angle = 0.0;
    } else if (ax == 0.0) {
        angle = 90.0;
    } else if (ay == INFINITY || ax == INFINITY) {
        angle = ay != INFINITY ? 0.0 : ax != INFINITY ? 90.0 : 45.0;
    } else {
        Dd a = ay <= ax ? atan_degrees(ay, ax) : dd_sub({90.0, 0.0}, atan_degrees(ax, ay));
        if (negative_x) a = dd_sub({180.0, 0.0}, a);
        angle = a.hi + a.lo;
        return negative_y ? -angle : angle;
    }
    if (negative_x) angle = 180.0 - angle;
    return negative_y ? -angle : angle;
}
