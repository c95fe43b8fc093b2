// Degree trigonometry, correctly rounded, so that every IEEE-754 machine gives the same bits.
//
// The game's angles are degrees; sin_deg(a) is the sine of the double a * 0.017453292519943295
// (the product rounded first, as a plain call of the C library's sin on radians would be), and
// atan2_deg(y, x) is atan2(y, x) multiplied by 57.29577951308232. Replays depend on every bit of
// these: a moving object feeds them back into its position every frame. The C libraries differ
// in their last bits between systems and versions, so the functions here compute the radian
// results themselves, correctly rounded: the one right answer, the same everywhere.
//
// Each result is computed in double-double arithmetic (about 100 bits) with a known error bound;
// when that bound cannot decide the rounding (about once in 2^40 calls), a slow path computes it
// again in fixed point with 256 fraction bits. Only +, -, *, / on doubles in a fixed order, exact
// scalings by powers of two (frexp, ldexp), sign operations and integer arithmetic are used: no
// system libm. That relies on round-to-nearest doubles without excess precision and without fused
// multiply-add: the build passes -ffp-contract=off, a CMake check refuses flags that would undo it,
// and the assertions below refuse x87-style evaluation in wider registers. Arguments past the fast
// reduction's range (2^19 radians, about 3 * 10^7 degrees) always take the slow path.
#include "engine/trig.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>

#include "engine/engine.h"

#ifdef __FAST_MATH__
#error "fast maths changes the results of these functions: build without -ffast-math"
#endif
static_assert(FLT_EVAL_METHOD == 0, "doubles must be evaluated as doubles for replays to match");
static_assert(DBL_MANT_DIG == 53, "IEEE-754 doubles are required");

namespace trig {
namespace {

long long slow_count = 0;

// ---------------------------------------------------------------------------------------------
// Double-double arithmetic: a value held as hi + lo with |lo| <= half an ulp of hi
// ---------------------------------------------------------------------------------------------

struct Dd {
    double hi, lo;
};

// a + b exactly, for any a and b.
constexpr Dd two_sum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return {s, (a - (s - bb)) + (b - bb)};
}

// a + b exactly, when |a| >= |b| or a is 0.
constexpr Dd quick_two_sum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a * b exactly (Dekker's product with Veltkamp's split, no fused multiply-add needed), for
// factors far below 2^996, where the split would overflow.
constexpr Dd two_prod(double a, double b) {
    constexpr double kSplit = 134217729.0;  // 2^27 + 1
    const double ta = kSplit * a, tb = kSplit * b;
    const double ah = ta - (ta - a), al = a - ah;
    const double bh = tb - (tb - b), bl = b - bh;
    const double p = a * b;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

// The error is within about 2^-105 of |a| + |b|: every sum below is free of large cancellation,
// or (in the argument reduction) cancels only terms whose error is counted apart.
constexpr Dd dd_add(Dd a, Dd b) {
    const Dd s = two_sum(a.hi, b.hi);
    return quick_two_sum(s.hi, s.lo + (a.lo + b.lo));
}

constexpr Dd dd_neg(Dd a) { return {-a.hi, -a.lo}; }
constexpr Dd dd_sub(Dd a, Dd b) { return dd_add(a, dd_neg(b)); }

constexpr Dd dd_mul(Dd a, Dd b) {
    const Dd p = two_prod(a.hi, b.hi);
    return quick_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

constexpr Dd dd_div(Dd a, Dd b) {
    const double q1 = a.hi / b.hi;
    const Dd r = dd_sub(a, dd_mul(b, {q1, 0.0}));
    return quick_two_sum(q1, r.hi / b.hi);
}

// Whether the true value, known to lie within err of y.hi + y.lo, rounds to y.hi. y.hi must be a
// normal double of at least 2^-960. The spacing of doubles on lo's side of hi is halved below a
// power of two; its half is built from hi's exponent bits.
bool rounds_to_hi(Dd y, double err) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(y.hi) & 0x7fffffffffffffffull;
    const std::uint64_t exponent = bits & 0x7ff0000000000000ull;
    const double half_above = std::bit_cast<double>(exponent - (53ull << 52));
    const double half_below = bits == exponent ? 0.5 * half_above : half_above;
    const double half = (y.lo < 0) != (y.hi < 0) ? half_below : half_above;
    return err < 0.5 * half_below && std::fabs(y.lo) + err < half;
}

// Relative error bound of every double-double result below, with a wide margin (the analyses
// give about 2^-100).
constexpr double kRelErr = 0x1p-96;

// ---------------------------------------------------------------------------------------------
// Fixed point with 256 fraction bits for the slow path
// ---------------------------------------------------------------------------------------------

__extension__ typedef unsigned __int128 u128;
using u64 = std::uint64_t;

// w[4] is the whole part, w[3] to w[0] the fraction: the value is sum w[i] * 2^(64 i - 256).
struct Fix {
    u64 w[5];
};

constexpr Fix kFixOne = {{0, 0, 0, 0, 1}};
// pi / 2, truncated.
constexpr Fix kFixHalfPi = {
    {0x04177d4c76273644ull, 0x52049c1114cf98e8ull, 0x898cc51701b839a2ull, 0x921fb54442d18469ull, 1}};

Fix fix_add(Fix a, const Fix& b) {
    u128 carry = 0;
    for (int i = 0; i < 5; ++i) {
        carry += u128(a.w[i]) + b.w[i];
        a.w[i] = u64(carry);
        carry >>= 64;
    }
    return a;
}

// a - b for a >= b.
Fix fix_sub(Fix a, const Fix& b) {
    u64 borrow = 0;
    for (int i = 0; i < 5; ++i) {
        const u128 d = u128(a.w[i]) - b.w[i] - borrow;
        a.w[i] = u64(d);
        borrow = u64(d >> 64) ? 1 : 0;
    }
    return a;
}

bool fix_less(const Fix& a, const Fix& b) {
    for (int i = 4; i >= 0; --i)
        if (a.w[i] != b.w[i]) return a.w[i] < b.w[i];
    return false;
}

bool fix_zero(const Fix& a) { return !(a.w[0] | a.w[1] | a.w[2] | a.w[3] | a.w[4]); }

// a * b, truncated to 256 fraction bits; the whole part of the product must fit in 64 bits.
Fix fix_mul(const Fix& a, const Fix& b) {
    u64 p[10] = {};
    for (int i = 0; i < 5; ++i) {
        u128 carry = 0;
        for (int j = 0; j < 5; ++j) {
            carry += u128(a.w[i]) * b.w[j] + p[i + j];
            p[i + j] = u64(carry);
            carry >>= 64;
        }
        p[i + 5] = u64(carry);
    }
    return {{p[4], p[5], p[6], p[7], p[8]}};
}

Fix fix_div(Fix a, u64 d) {
    u128 rest = 0;
    for (int i = 4; i >= 0; --i) {
        const u128 cur = (rest << 64) | a.w[i];
        a.w[i] = u64(cur / d);
        rest = cur % d;
    }
    return a;
}

// Bits from..from+63 of the 320-bit value held in limbs (count of them); bits outside are 0.
u64 bits_at(const u64* limbs, int count, int from) {
    const int lo = from >= 0 ? from / 64 : -((-from + 63) / 64);
    const int shift = from - lo * 64;  // 0..63
    const auto limb = [&](int i) -> u64 { return i >= 0 && i < count ? limbs[i] : 0; };
    u64 out = limb(lo) >> shift;
    if (shift) out |= limb(lo + 1) << (64 - shift);
    return out;
}

Fix fix_shr(const Fix& a, int n) {
    Fix r;
    for (int i = 0; i < 5; ++i) r.w[i] = bits_at(a.w, 5, 64 * i + n);
    return r;
}

Fix fix_shl(const Fix& a, int n) { return fix_shr(a, -n); }

// floor(d * 2^256) for 0 <= d < 2^63.
Fix fix_from_double(double d) {
    if (d == 0) return {};
    int e = 0;
    const double m = std::frexp(d, &e);
    const Fix mant = {{u64(std::ldexp(m, 53)), 0, 0, 0, 0}};
    return fix_shl(mant, e - 53 + 256);
}

// Whether any bit of a below bit `pos` is set.
bool any_below(const Fix& a, int pos) {
    for (int i = 0; i < 5; ++i) {
        if (64 * i >= pos) break;
        const int n = pos - 64 * i;
        const u64 mask = n >= 64 ? ~u64(0) : (u64(1) << n) - 1;
        if (a.w[i] & mask) return true;
    }
    return false;
}

// The double nearest a * 2^(scale - 256), ties to even, subnormals and underflow included.
double fix_round(const Fix& a, int scale, bool negative) {
    int top = -1;
    for (int i = 4; i >= 0 && top < 0; --i)
        if (a.w[i]) top = 64 * i + 63 - __builtin_clzll(a.w[i]);
    if (top < 0) return negative ? -0.0 : 0.0;
    const int exponent = top - 256 + scale;  // the value lies in [2^exponent, 2^(exponent + 1))
    int keep = 53;
    if (exponent < -1022) keep -= -1022 - exponent;
    double result = 0;
    if (keep > 0) {
        const int low = top - keep + 1;
        u64 m = bits_at(a.w, 5, low) & (keep == 64 ? ~u64(0) : (u64(1) << keep) - 1);
        const bool half = (bits_at(a.w, 5, low - 1) & 1) != 0;
        if (half && (any_below(a, low - 1) || (m & 1))) ++m;
        result = std::ldexp(double(m), low - 256 + scale);
    } else if (keep == 0 && any_below(a, top)) {
        result = 0x1p-1074;  // above half of the smallest subnormal: rounds up to it
    }
    return negative ? -result : result;
}

// The sine and cosine of 0 <= r <= pi/4 by their Taylor series; each term's truncation leaves
// an error of a few units of 2^-256.
void fix_sincos(const Fix& r, Fix& s, Fix& c) {
    const Fix z = fix_mul(r, r);
    Fix pos = r, neg = {}, term = r;
    for (u64 n = 1; !fix_zero(term); ++n) {
        term = fix_div(fix_mul(term, z), (2 * n) * (2 * n + 1));
        (n % 2 ? neg : pos) = fix_add(n % 2 ? neg : pos, term);
    }
    s = fix_sub(pos, neg);
    pos = kFixOne, neg = {}, term = kFixOne;
    for (u64 n = 1; !fix_zero(term); ++n) {
        term = fix_div(fix_mul(term, z), (2 * n - 1) * (2 * n));
        (n % 2 ? neg : pos) = fix_add(n % 2 ? neg : pos, term);
    }
    c = fix_sub(pos, neg);
}

// 2 / pi in binary, 64 bits a word, the most significant first: enough bits for every double.
constexpr u64 kTwoOverPi[22] = {
    0xa2f9836e4e441529ull, 0xfc2757d1f534ddc0ull, 0xdb6295993c439041ull, 0xfe5163abdebbc561ull,
    0xb7246e3a424dd2e0ull, 0x06492eea09d1921cull, 0xfe1deb1cb129a73eull, 0xe88235f52ebb4484ull,
    0xe99c7026b45f7e41ull, 0x3991d639835339f4ull, 0x9c845f8bbdf9283bull, 0x1ff897ffde05980full,
    0xef2f118b5a0a6d1full, 0x6d367ecf27cb09b7ull, 0x4f463f669e5fea2dull, 0x7527bac7ebe5f17bull,
    0x3d0739f78a5292eaull, 0x6bfb5fb11f8d5d08ull, 0x56033046fc7b6babull, 0xf0cfbc209af4361dull,
    0xa9e391615ee61b08ull, 0x6599855f14a06840ull,
};

// For finite x >= 2^-60: x = k pi/2 + r with |r| <= pi/4, as the quadrant k mod 4, |r| and the
// sign of r. x * 2/pi is taken modulo 4 from a window of 384 bits of 2/pi: the bits before the
// window only add multiples of 4, those after it less than 2^-260.
int fix_reduce(double x, Fix& r, bool& r_negative) {
    int e = 0;
    const double m = std::frexp(x, &e);
    const u64 mant = u64(std::ldexp(m, 53));
    const int exponent = e - 53;  // x = mant * 2^exponent
    const int first = exponent - 2 >= 64 ? (exponent - 2) / 64 : 0;
    // The window as a 384-bit number, least significant word first, times the mantissa.
    u64 p[7] = {};
    u128 carry = 0;
    for (int j = 0; j < 6; ++j) {
        carry += u128(mant) * kTwoOverPi[first + 5 - j];
        p[j] = u64(carry);
        carry >>= 64;
    }
    p[6] = u64(carry);
    // p * 2^-(384 + 64 first - exponent) is x * 2/pi modulo 4.
    const int drop = 384 + 64 * first - exponent - 256;
    Fix t;
    for (int i = 0; i < 5; ++i) t.w[i] = bits_at(p, 7, 64 * i + drop);
    int quadrant = int(t.w[4] & 3);
    t.w[4] = 0;
    r_negative = (t.w[3] >> 63) != 0;
    if (r_negative) {
        t = fix_sub(kFixOne, t);
        quadrant = (quadrant + 1) & 3;
    }
    r = fix_mul(t, kFixHalfPi);
    return quadrant;
}

// sin(x) for tiny |x| is x and cos(x) is 1, correctly rounded: x^3/6 and x^2/2 stay below half
// the spacing of doubles next to x and below 1.
constexpr double kSinIsX = 0x1p-26, kCosIsOne = 0x1p-27;

double sincos_exact(double x, bool want_sin) {
    const double ax = std::fabs(x);
    if (!(ax <= DBL_MAX)) return x - x;
    if (want_sin && ax < kSinIsX) return x;
    if (!want_sin && ax < kCosIsOne) return 1.0;
    Fix r, s, c;
    bool r_negative = false;
    const int quadrant = fix_reduce(ax, r, r_negative);
    fix_sincos(r, s, c);
    // sin(k pi/2 + r) and cos(k pi/2 + r) by the quadrant; sin(-r) = -sin(r).
    const int k = want_sin ? quadrant : (quadrant + 1) & 3;
    const bool sine = k % 2 == 0;
    bool negative = k >= 2;
    if (sine && r_negative) negative = !negative;
    if (want_sin && std::signbit(x)) negative = !negative;
    return fix_round(sine ? s : c, 0, negative);
}

// ---------------------------------------------------------------------------------------------
// Sine and cosine
// ---------------------------------------------------------------------------------------------

// The Taylor coefficients (-1)^k / (2k+1)! and (-1)^k / (2k)! as double-doubles.
struct Coefficients {
    Dd sin[15], cos[15];
};

constexpr Coefficients make_coefficients() {
    Coefficients c{};
    Dd inverse = {1.0, 0.0};  // 1 / n!
    for (int n = 1; n <= 29; ++n) {
        inverse = dd_div(inverse, {double(n), 0.0});
        const int k = n / 2;
        const Dd signed_inverse = k % 2 ? dd_neg(inverse) : inverse;
        if (n % 2) {
            c.sin[k] = signed_inverse;
        } else {
            c.cos[k] = signed_inverse;
        }
    }
    return c;
}

constexpr Coefficients kTaylor = make_coefficients();

// 1 + z * (c[1] + z * (c[2] + ...)) for z = r^2 <= 0.62: the terms from z^8 on are below 2^-53 of
// the result, so doubles carry them; the earlier ones need double-doubles.
Dd series(const Dd (&c)[15], Dd z) {
    double tail = c[14].hi;
    for (int k = 13; k >= 8; --k) tail = c[k].hi + z.hi * tail;
    Dd p = {tail, 0.0};
    for (int k = 7; k >= 1; --k) p = dd_add(c[k], dd_mul(z, p));
    return p;
}

// Pi / 2 in four parts: the first two of 33 bits, so that k times them is exact for k < 2^20.
constexpr double kHalfPi1 = 0x1.921fb544p+0, kHalfPi2 = 0x1.0b4611a6p-34, kHalfPi3 = 0x1.3198a2e037073p-69,
                 kHalfPi4 = 0x1.129024e088a68p-123;
constexpr double kTwoOverPiD = 0x1.45f306dc9c883p-1;
// Past this the fast reduction's k would not fit its exact products.
constexpr double kFastReduceLimit = 0x1p19;

// Error of the fast reduction beyond the relative error of r: pi/2 - (kHalfPi1 + ... + kHalfPi4)
// is 2^-177, times k < 2^19, and the rounding of the sums next to k * kHalfPi3 < 2^-46.
constexpr double kReduceErr = 0x1p-148;

double sincos_fast(double x, bool want_sin) {
    const double ax = std::fabs(x);
    if (!(ax <= DBL_MAX)) return x - x;  // infinities and NaN give NaN
    if (want_sin && ax < kSinIsX) return x;
    if (!want_sin && ax < kCosIsOne) return 1.0;
    if (ax >= kFastReduceLimit) {
        ++slow_count;
        return sincos_exact(x, want_sin);
    }
    const double k = (ax * kTwoOverPiD + 0x1.8p52) - 0x1.8p52;  // nearest whole number (or next)
    Dd r = {ax, 0.0};
    double err = 0;
    if (k != 0) {
        const double r1 = ax - k * kHalfPi1;  // exact: both products and the difference
        r = dd_sub(two_sum(r1, -k * kHalfPi2), two_prod(k, kHalfPi3));
        r = dd_sub(r, {k * kHalfPi4, 0.0});
        err = kReduceErr;
    }
    const int quadrant = int(k - 4.0 * double(int64_t(k / 4.0)));
    const Dd z = dd_mul(r, r);
    // sin(k pi/2 + r) and cos(k pi/2 + r) by the quadrant.
    const int q = want_sin ? quadrant : (quadrant + 1) & 3;
    Dd y = q % 2 == 0 ? dd_add(r, dd_mul(dd_mul(r, z), series(kTaylor.sin, z)))
                      : dd_add({1.0, 0.0}, dd_mul(z, series(kTaylor.cos, z)));
    if (q >= 2) y = dd_neg(y);
    if (want_sin && std::signbit(x)) y = dd_neg(y);
    if (std::fabs(y.hi) >= 0x1p-960 && rounds_to_hi(y, std::fabs(y.hi) * kRelErr + err)) return y.hi;
    ++slow_count;
    return sincos_exact(x, want_sin);
}

// ---------------------------------------------------------------------------------------------
// Arc tangent
// ---------------------------------------------------------------------------------------------

// atan(i / 8) in radians.
constexpr Dd kAtanEighths[9] = {
    {0.0, 0.0},
    {0x1.fd5ba9aac2f6ep-4, -0x1.cd37686760c17p-59},
    {0x1.f5b75f92c80ddp-3, 0x1.8ab6e3cf7afbdp-57},
    {0x1.6f61941e4def1p-2, -0x1.c63aae6f6e918p-56},
    {0x1.dac670561bb4fp-2, 0x1.a2b7f222f65e2p-56},
    {0x1.1e00babdefeb4p-1, -0x1.928df287a668fp-58},
    {0x1.4978fa3269ee1p-1, 0x1.2419a87f2a458p-56},
    {0x1.700a7c5784634p-1, -0x1.8c34d25aadef6p-56},
    {0x1.921fb54442d18p-1, 0x1.1a62633145c07p-55},
};
constexpr Dd kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};
constexpr Dd kPi = {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53};

// The terms of atan(u) = u - u^3/3 + u^5/5 - ... as coefficients of z = u^2: (-1)^k / (2k + 1).
struct AtanCoefficients {
    Dd c[14];
};

constexpr AtanCoefficients make_atan_coefficients() {
    AtanCoefficients a{};
    for (int k = 0; k < 14; ++k) a.c[k] = dd_div({k % 2 ? -1.0 : 1.0, 0.0}, {double(2 * k + 1), 0.0});
    return a;
}

constexpr AtanCoefficients kAtanSeries = make_atan_coefficients();

// atan(num / den) in radians for 0 < num <= den, both normal and within 2^900 of each other. The
// quotient t is carried as a double-double and moved next to the nearest eighth c by
// atan(t) = atan(c) + atan((t - c) / (1 + t c)), leaving |u| <= 1/16 for the series.
Dd atan_dd(double num, double den) {
    const double th = num / den;
    const Dd back = two_prod(th, den);
    const Dd t = quick_two_sum(th, ((num - back.hi) - back.lo) / den);
    const int i = int(t.hi * 8.0 + 0.5);  // 0..8
    const double c = double(i) * 0.125;
    const Dd diff = two_sum(t.hi - c, t.lo);  // t.hi - c is exact: they are within a factor of 2
    const Dd u = dd_div(diff, dd_add({1.0, 0.0}, dd_mul(t, {c, 0.0})));
    const Dd z = dd_mul(u, u);
    // With z <= 2^-8 the terms from z^7 on are below 2^-53 of the result: doubles carry them.
    double tail = kAtanSeries.c[13].hi;
    for (int k = 12; k >= 7; --k) tail = kAtanSeries.c[k].hi + z.hi * tail;
    Dd p = {tail, 0.0};
    for (int k = 6; k >= 1; --k) p = dd_add(kAtanSeries.c[k], dd_mul(z, p));
    return dd_add(kAtanEighths[i], dd_add(u, dd_mul(dd_mul(u, z), p)));
}

// The C library's values where an argument is zero, infinite or NaN; false for the rest.
bool atan2_special(double y, double x, double& out) {
    constexpr double pi = 0x1.921fb54442d18p+1, half_pi = 0x1.921fb54442d18p+0,
                     quarter_pi = 0x1.921fb54442d18p-1, three_quarter_pi = 0x1.2d97c7f3321d2p+1;
    if (y != y || x != x) {
        out = x + y;
    } else if (y == 0) {
        out = std::signbit(x) ? std::copysign(pi, y) : y;
    } else if (x == 0) {
        out = std::copysign(half_pi, y);
    } else if (std::isinf(y)) {
        out = std::copysign(std::isinf(x) ? (x > 0 ? quarter_pi : three_quarter_pi) : half_pi, y);
    } else if (std::isinf(x)) {
        out = std::copysign(x > 0 ? 0.0 : pi, y);
    } else {
        return false;
    }
    return true;
}

Fix fix_from_dd(Dd a) {
    const Fix hi = fix_from_double(a.hi), lo = fix_from_double(std::fabs(a.lo));
    return a.lo < 0 ? fix_sub(hi, lo) : fix_add(hi, lo);
}

// The slow path: t = num / den to 256 bits, then one Newton step on y cos(a) - x sin(a) = 0 from
// the double-double estimate (about 2^-100), which leaves an error of about 2^-150; for t below
// 2^-62, t - t^3/3 is exact to far more than that.
double atan2_exact_finite(double y, double x) {
    const double ay = std::fabs(y), ax = std::fabs(x);
    const bool swap = ay > ax;
    const double num = swap ? ax : ay, den = swap ? ay : ax;
    int en = 0, ed = 0;
    const double mn = std::frexp(num, &en), md = std::frexp(den, &ed);
    const Fix q = fix_div(Fix{{0, 0, 0, 0, u64(std::ldexp(mn, 53))}}, u64(std::ldexp(md, 53)));
    const int d = en - ed;  // t = q * 2^d <= 1, with q in (1/2, 2)
    Fix angle;
    int scale = 0;
    if (d >= -62) {
        const Fix t = fix_shl(q, d);
        const Fix a0 = fix_from_dd(atan_dd(std::ldexp(mn, d), md));
        Fix s, c;
        fix_sincos(a0, s, c);
        const Fix tc = fix_mul(t, c);
        const bool below = fix_less(tc, s);
        const Fix n = below ? fix_sub(s, tc) : fix_sub(tc, s);
        const double step = fix_round(n, 0, false) / fix_round(fix_add(c, fix_mul(t, s)), 0, false);
        angle = below ? fix_sub(a0, fix_from_double(step)) : fix_add(a0, fix_from_double(step));
    } else {
        const Fix cube = fix_div(fix_shr(fix_mul(fix_mul(q, q), q), -2 * d), 3);
        angle = fix_sub(q, cube);
        scale = d;
    }
    if (swap || std::signbit(x)) {
        angle = fix_shr(angle, -scale);
        scale = 0;
        if (swap) angle = fix_sub(kFixHalfPi, angle);
        if (std::signbit(x)) angle = fix_sub(fix_shl(kFixHalfPi, 1), angle);
    }
    return fix_round(angle, scale, std::signbit(y));
}

}  // namespace

namespace {

// A moving object asks for the sine and cosine of its own unchanging angle in every frame, so the
// last results are kept by the bits of their argument: the same answers, without the series.
struct Memo {
    std::uint64_t key[1024];
    double value[1024];
};

// NaN never reaches the memo, so its bits mark an empty place.
Memo make_memo() {
    Memo m;
    for (auto& k : m.key) k = 0x7ff8000000000000ull;
    return m;
}

Memo sin_memo = make_memo(), cos_memo = make_memo();

double remembered(Memo& memo, double x, bool want_sin) {
    if (x != x) return x - x;
    const std::uint64_t key = std::bit_cast<std::uint64_t>(x);
    const std::size_t place = std::size_t((key * 0x9e3779b97f4a7c15ull) >> 54);
    if (memo.key[place] != key) {
        memo.value[place] = sincos_fast(x, want_sin);
        memo.key[place] = key;
    }
    return memo.value[place];
}

}  // namespace

double sin_rad(double x) { return remembered(sin_memo, x, true); }
double cos_rad(double x) { return remembered(cos_memo, x, false); }
double sin_rad_exact(double x) { return sincos_exact(x, true); }
double cos_rad_exact(double x) { return sincos_exact(x, false); }

double atan2_rad(double y, double x) {
    double special = 0;
    if (atan2_special(y, x, special)) return special;
    const double ay = std::fabs(y), ax = std::fabs(x);
    const bool swap = ay > ax;
    const double num = swap ? ax : ay, den = swap ? ay : ax;
    int en = 0, ed = 0;
    std::frexp(num, &en);
    std::frexp(den, &ed);
    if (en - ed >= -900 && en >= -1000) {
        // Scaled by a power of two, the quotient and its products stay far from overflow.
        Dd a = atan_dd(std::ldexp(num, -ed), std::ldexp(den, -ed));
        if (swap) a = dd_sub(kHalfPi, a);
        if (std::signbit(x)) a = dd_sub(kPi, a);
        if (std::signbit(y)) a = dd_neg(a);
        if (std::fabs(a.hi) >= 0x1p-960 && rounds_to_hi(a, std::fabs(a.hi) * kRelErr)) return a.hi;
    }
    ++slow_count;
    return atan2_exact_finite(y, x);
}

double atan2_rad_exact(double y, double x) {
    double special = 0;
    return atan2_special(y, x, special) ? special : atan2_exact_finite(y, x);
}

long long slow_calls() { return slow_count; }

}  // namespace trig

double sin_deg(double degrees) { return trig::sin_rad(degrees * 0.017453292519943295); }
double cos_deg(double degrees) { return trig::cos_rad(degrees * 0.017453292519943295); }
double atan2_deg(double y, double x) { return trig::atan2_rad(y, x) * 57.29577951308232; }
