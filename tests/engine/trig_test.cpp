// The degree trigonometry: exact special values, within one ulp of a long-double reference over
// every kind of angle the game makes, and the same bits in every build (pinned checksums).
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/engine.h"

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// The spacing of doubles at |r| (subnormals included).
long double ulp_at(long double r) {
    if (r == 0) return 0x1p-1074L;
    int e = 0;
    std::frexp(std::fabs(r), &e);
    return std::max(std::ldexp(1.0L, e - 53), 0x1p-1074L);
}

// The true sine and cosine of a degree angle: reduced exactly to a quarter turn and at most 45
// degrees, then the long-double library, about 2^-10 ulp of a double away from the truth.
void reference(double degrees, long double& s, long double& c) {
    const long double r = std::fmod((long double)degrees, 360.0L);
    const long double k = std::round(r / 90);
    const long double rest = r - 90 * k;
    const long double rs = rest == 0 ? 0 : std::sin(rest * kPi / 180), rc = std::cos(rest * kPi / 180);
    switch (((int(k) % 4) + 4) % 4) {
        case 0:
            s = rs, c = rc;
            break;
        case 1:
            s = rc, c = -rs;
            break;
        case 2:
            s = -rs, c = -rc;
            break;
        default:
            s = -rc, c = rs;
            break;
    }
}

// The angles the game turns with and stores as floats: whole and half degrees, the boss's and
// the fliers' 1- and 2-degree turns from aimed start angles, random particle and explosion angles,
// the title logo's ever-growing angle, and a few extremes.
std::vector<double> game_angles() {
    std::vector<double> a;
    for (int i = -1440; i <= 1440; ++i) a.push_back(i * 0.5);
    for (int start = 0; start < 40; ++start) {
        float turning = float(atan2_deg(start * 7 - 140, 3 + start));
        for (int i = 0; i < 720; ++i) {
            turning += start % 2 ? 1.0f : -2.0f;
            a.push_back(turning);
        }
    }
    seed_rnd(12345);
    for (int i = 0; i < 200000; ++i) a.push_back(float(rnd(0, 360)));
    for (double logo = 2; logo < 0x1p24; logo += 2 * 997) a.push_back(logo);
    for (double tiny : {1e-300, 1e-30, 1e-9, 0x1p-1074, 1e-5, 44.999999999999993, 45.000000000000007})
        a.insert(a.end(), {tiny, -tiny});
    for (double big : {1e9 + 0.25, 0x1p52 + 1, 1e300}) a.insert(a.end(), {big, -big});
    return a;
}

// Offsets the game aims along: every whole-number offset within the play field, and float ones.
std::vector<std::pair<double, double>> game_offsets() {
    std::vector<std::pair<double, double>> o;
    for (int y = -240; y <= 240; y += 1)
        for (int x = -240; x <= 240; x += 2) o.push_back({y, x});
    seed_rnd(777);
    for (int i = 0; i < 100000; ++i) {
        const float ay = float(rnd(0, 240)), by = float(rnd(0, 240));
        const float ax = float(rnd(0, 240)), bx = float(rnd(0, 240));
        o.push_back({double(ay - by), double(ax - bx)});
    }
    for (double tiny : {1e-300, 0x1p-1074, 1e-20}) o.insert(o.end(), {{tiny, 1.0}, {1.0, tiny}, {-tiny, -1}});
    for (double big : {1e300, 0x1p1000}) o.insert(o.end(), {{big, 3.0}, {3.0, big}, {big, big}, {-big, 0.5}});
    return o;
}

uint64_t fnv(uint64_t h, double v) {
    unsigned char b[8];
    std::memcpy(b, &v, 8);
    for (unsigned char c : b) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// How far the C library's value lies from ours, in ulps of ours; where ours is an exact zero (a
// true zero) the library's distance is counted apart, as a plain number.
struct Drift {
    int differ = 0, total = 0, at_zero = 0, beyond_one_ulp = 0;
    double worst_ulps = 0, worst_at_zero = 0;
    void add(double system, double ours) {
        ++total;
        if (system == ours) return;
        ++differ;
        if (ours == 0) {
            ++at_zero;
            worst_at_zero = std::max(worst_at_zero, std::fabs(system));
        } else {
            const double ulps = double(std::fabs((long double)system - ours) / ulp_at(ours));
            worst_ulps = std::max(worst_ulps, ulps);
            beyond_one_ulp += ulps > 1;
        }
    }
    void print(const char* what) const {
        std::printf(
            "%s: %d of %d differ from the C library, %d by more than one ulp, by at most %.3g ulps; %d of "
            "them at a true zero, where the library gives up to %.3g\n",
            what, differ, total, beyond_one_ulp, worst_ulps, at_zero, worst_at_zero);
    }
};

TEST(DegreeTrigonometry, ExactValuesAndTheCLibrarysSpecialCases) {
    struct Case {
        double got, want;
    };
    const Case cases[] = {
        {sin_deg(0), 0.0},
        {sin_deg(90), 1.0},
        {sin_deg(180), 0.0},
        {sin_deg(270), -1.0},
        {sin_deg(-90), -1.0},
        {sin_deg(450), 1.0},
        {sin_deg(30), 0.5},
        {sin_deg(150), 0.5},
        {sin_deg(210), -0.5},
        {sin_deg(-30), -0.5},
        {cos_deg(0), 1.0},
        {cos_deg(90), 0.0},
        {cos_deg(180), -1.0},
        {cos_deg(270), 0.0},
        {cos_deg(60), 0.5},
        {cos_deg(300), 0.5},
        {cos_deg(-120), -0.5},
        {cos_deg(720), 1.0},
        {atan2_deg(1, 1), 45.0},
        {atan2_deg(1, -1), 135.0},
        {atan2_deg(-3, -3), -135.0},
        {atan2_deg(-1, 0), -90.0},
        {atan2_deg(5, 0), 90.0},
        {atan2_deg(0, -1), 180.0},
        {atan2_deg(0, 2), 0.0},
        {atan2_deg(INFINITY, INFINITY), 45.0},
        {atan2_deg(1, -INFINITY), 180.0},
        {atan2_deg(-INFINITY, 1), -90.0},
        {atan2_deg(0.0, -0.0), 180.0},
        {atan2_deg(-0.0, -0.0), -180.0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got, cases[i].want) << "case " << i;
    // Signs of zero as the C library gives them, and NaN for what has no angle.
    EXPECT_TRUE(std::signbit(sin_deg(-180)) && std::signbit(sin_deg(-0.0)) && !std::signbit(sin_deg(360)));
    EXPECT_TRUE(std::signbit(atan2_deg(-0.0, 1)) && !std::signbit(atan2_deg(0.0, 0.0)));
    EXPECT_TRUE(std::isnan(sin_deg(INFINITY)) && std::isnan(cos_deg(-INFINITY)) && std::isnan(sin_deg(NAN)));
    EXPECT_TRUE(std::isnan(atan2_deg(NAN, 1)) && std::isnan(atan2_deg(1, NAN)));
}

TEST(DegreeTrigonometry, WithinOneUlpOfTheTrueValueOnEveryGameAngleAndAsPeriodicAsTheTruth) {
    if (LDBL_MANT_DIG < 64) GTEST_SKIP() << "long double is no wider than double here: no reference";
    const std::vector<double> angles = game_angles();
    double worst_sin = 0, worst_cos = 0, worst_atan = 0;
    Drift near, far;  // angles within two turns, and the title logo's large ones
    for (double d : angles) {
        long double s, c;
        reference(d, s, c);
        const double gs = sin_deg(d), gc = cos_deg(d);
        const double es = double(std::fabs(gs - s) / ulp_at(s)), ec = double(std::fabs(gc - c) / ulp_at(c));
        worst_sin = std::max(worst_sin, es);
        worst_cos = std::max(worst_cos, ec);
        ASSERT_LE(es, 1.0) << "sin_deg(" << d << ")";
        ASSERT_LE(ec, 1.0) << "cos_deg(" << d << ")";
        // Whole turns and mirror images give the very same bits (where adding the turns is exact).
        if ((d + 720) - 720 == d && (d - 1080) + 1080 == d) {
            ASSERT_EQ(sin_deg(-d), -gs) << d;
            ASSERT_EQ(cos_deg(-d), gc) << d;
            ASSERT_EQ(sin_deg(d + 720), gs) << d;
            ASSERT_EQ(cos_deg(d - 1080), gc) << d;
        }
        // The library's functions as the game called them before: radians from the rounded factor.
        if (std::fabs(d) > 0x1p24) continue;  // no angle of the game gets this far
        Drift& drift = std::fabs(d) <= 720 ? near : far;
        drift.add(std::sin(d * 0.017453292519943295), gs);
        drift.add(std::cos(d * 0.017453292519943295), gc);
    }
    const auto offsets = game_offsets();
    Drift aim;
    for (const auto& [y, x] : offsets) {
        const long double want = std::atan2((long double)y, (long double)x) * (180 / kPi);
        const double got = atan2_deg(y, x);
        const double e = double(std::fabs(got - want) / ulp_at(want));
        worst_atan = std::max(worst_atan, e);
        ASSERT_LE(e, 1.0) << "atan2_deg(" << y << ", " << x << ")";
        aim.add(std::atan2(y, x) * 57.29577951308232, got);
    }
    std::printf("worst error in ulps: sin_deg %.3f, cos_deg %.3f, atan2_deg %.3f\n", worst_sin, worst_cos,
                worst_atan);
    near.print("sin_deg and cos_deg within 720 degrees");
    far.print("sin_deg and cos_deg from 720 to 2^24 degrees");
    aim.print("atan2_deg");
}

// The results themselves, pinned: a compiler, an optimisation level or a flag that changes a single
// bit of any of them breaks replays, and fails here first.
TEST(DegreeTrigonometry, SameBitsInEveryBuild) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (double d : game_angles()) h = fnv(fnv(h, sin_deg(d)), cos_deg(d));
    uint64_t g = 0xcbf29ce484222325ull;
    for (const auto& [y, x] : game_offsets()) g = fnv(g, atan2_deg(y, x));
    char text[64];
    std::snprintf(text, sizeof text, "%016llx %016llx", (unsigned long long)h, (unsigned long long)g);
    EXPECT_STREQ(text, "2d995d9d5d4a970c eecac682b1b63319");
    // Two by hand, for a reader: sine and cosine of 1 degree, correctly rounded.
    EXPECT_EQ(sin_deg(1), 0x1.1df0b2b89dd1ep-6);
    EXPECT_EQ(cos_deg(1), 0x1.ffec097f5af8ap-1);
}

}  // namespace
