// The degree trigonometry: the formula's own values where they matter to play, the C library's
// special values, and the same bits in every build (pinned checksums). The agreement with a
// correctly rounded reference is trig_reference_test.cpp's.
#include "engine/trig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/engine.h"
#include "player/helpers.h"

namespace {

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

// The sine of the rounded product, not of the exact angle: sin 30 is 0.49999999999999994, one
// unit short of a half, and the offsets the game places bullets at follow from that.
TEST(DegreeTrigonometry, TheFormulasValuesAndTheOffsetsTheyGive) {
    struct Case {
        double got, want;
    };
    const Case cases[] = {
        {sin_deg(30), 0x1.fffffffffffffp-2},
        {sin_deg(150), 0x1.fffffffffffffp-2},
        {sin_deg(-30), -0x1.fffffffffffffp-2},
        {sin_deg(210), -0x1.0000000000001p-1},
        {cos_deg(120), -0x1.ffffffffffffcp-2},
        {cos_deg(60), 0x1.0000000000001p-1},
        {sin_deg(90), 1.0},
        {cos_deg(90), 0x1.1a62633145c07p-54},  // not 0: pi/2 rounded is short of pi/2
        {sin_deg(180), 0x1.1a62633145c07p-53},
        {cos_deg(180), -1.0},
        {sin_deg(360), -0x1.1a62633145c07p-52},
        {sin_deg(1), 0x1.1df0b2b89dd1ep-6},
        {cos_deg(1), 0x1.ffec097f5af8ap-1},
        {sin_deg(45), 0x1.6a09e667f3bccp-1},
        {cos_deg(45), 0x1.6a09e667f3bcdp-1},
        {sin_deg(1e7), -0x1.f838b8c80dd8cp-1},  // the title logo after a long while
        {atan2_deg(1, 1), 45.0},
        {atan2_deg(1, -1), 135.0},
        {atan2_deg(-3, -3), -135.0},
        {atan2_deg(-1, 0), -90.0},
        {atan2_deg(0, -1), 180.0},
        {atan2_deg(0, 2), 0.0},
        {atan2_deg(INFINITY, INFINITY), 45.0},
        {atan2_deg(1, -INFINITY), 180.0},
        {atan2_deg(-INFINITY, 1), -90.0},
        {atan2_deg(0.0, -0.0), 180.0},
        {atan2_deg(-0.0, -0.0), -180.0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got, cases[i].want) << "case " << i;
    // Whole-number offsets: one short wherever the product falls short of a whole number.
    const int offsets[][2] = {
        {sin_offset(30, 50), 24},   {sin_offset(30, 2), 0},    {sin_offset(150, 10), 4},
        {sin_offset(-30, 10), -4},  {cos_offset(120, 2), 0},   {cos_offset(-120, 8), -3},
        {sin_offset(-150, 6), -2},  {sin_offset(210, 10), -5}, {cos_offset(60, 8), 4},
        {sin_offset(120, 8), 6},    {cos_offset(90, 4), 0},    {sin_offset(270, 10), -10},
        {cos_offset(180, 10), -10}, {sin_offset(390, 10), 5},  {cos_offset(300, 8), 4},
    };
    for (size_t i = 0; i < std::size(offsets); ++i) EXPECT_EQ(offsets[i][0], offsets[i][1]) << "offset " << i;
    // Mirror images give the very same bits: the product and the rounding are both symmetric.
    for (double d : {0.5, 30.0, 123.25, 7777.0}) {
        EXPECT_EQ(sin_deg(-d), -sin_deg(d)) << d;
        EXPECT_EQ(cos_deg(-d), cos_deg(d)) << d;
    }
    // Signs of zero as the C library gives them, and NaN for what has no angle.
    EXPECT_TRUE(std::signbit(sin_deg(-0.0)) && !std::signbit(sin_deg(0.0)) && std::signbit(sin_deg(-1e-320)));
    EXPECT_TRUE(std::signbit(atan2_deg(-0.0, 1)) && !std::signbit(atan2_deg(0.0, 0.0)));
    EXPECT_TRUE(std::isnan(sin_deg(INFINITY)) && std::isnan(cos_deg(-INFINITY)) && std::isnan(sin_deg(NAN)));
    EXPECT_TRUE(std::isnan(atan2_deg(NAN, 1)) && std::isnan(atan2_deg(1, NAN)));
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
    EXPECT_STREQ(text, "69f703b4b88b8e16 aef085151fe91a35");
}

}  // namespace
