// sin_deg, cos_deg and atan2_deg bit for bit against GNU MPFR's correctly rounded results, over the
// angles and offsets a whole game makes, and where the system's C library differs from both.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/trig.h"

namespace {

constexpr double kRadPerDeg = 0.017453292519943295;

// MPFR in the double format: 53 bits, the double exponent range, subnormals rounded as doubles.
struct Mpfr {
    mpfr_t a, b;
    Mpfr() {
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
        mpfr_inits2(53, a, b, (mpfr_ptr)0);
    }
    ~Mpfr() { mpfr_clears(a, b, (mpfr_ptr)0); }
    double finish(int inexact) {
        mpfr_subnormalize(a, mpfr_check_range(a, inexact, MPFR_RNDN), MPFR_RNDN);
        return mpfr_get_d(a, MPFR_RNDN);
    }
    double sin(double x) {
        mpfr_set_d(a, x, MPFR_RNDN);
        return finish(mpfr_sin(a, a, MPFR_RNDN));
    }
    double cos(double x) {
        mpfr_set_d(a, x, MPFR_RNDN);
        return finish(mpfr_cos(a, a, MPFR_RNDN));
    }
    double atan2(double y, double x) {
        mpfr_set_d(a, y, MPFR_RNDN);
        mpfr_set_d(b, x, MPFR_RNDN);
        return finish(mpfr_atan2(a, a, b, MPFR_RNDN));
    }
};

bool same(double a, double b) { return (a == b && std::signbit(a) == std::signbit(b)) || (a != a && b != b); }

struct Sets {
    std::vector<std::pair<std::string, std::vector<double>>> angles;
    std::vector<std::pair<std::string, std::vector<std::pair<double, double>>>> offsets;
};

// The angles and aims the game computed in the three golden games, one hex float (or two) a line.
void read_corpus(Sets& sets) {
    std::ifstream in(std::string(CINDER_SOURCE_DIR) + "/tests/reference/trig_corpus.txt");
    std::vector<double> angles;
    std::vector<std::pair<double, double>> offsets;
    std::string line, kind, first, second;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        if (!(words >> kind >> first) || kind[0] == '#') continue;
        if (kind == "a") {
            angles.push_back(std::strtod(first.c_str(), nullptr));
        } else if (kind == "o" && words >> second) {
            offsets.push_back({std::strtod(first.c_str(), nullptr), std::strtod(second.c_str(), nullptr)});
        }
    }
    EXPECT_GT(angles.size(), 1000u) << "the corpus of game angles is missing";
    EXPECT_GT(offsets.size(), 1000u) << "the corpus of game aims is missing";
    sets.angles.push_back({"the golden games", angles});
    sets.offsets.push_back({"the golden games", offsets});
}

Sets make_sets() {
    Sets sets;
    std::vector<double> halves;
    for (int i = -1440; i <= 1440; ++i) halves.push_back(i * 0.5);
    sets.angles.push_back({"whole and half degrees", halves});
    read_corpus(sets);
    // A million random doubles over the game's range: turning angles near the start, as floats
    // too, and the title logo's angle, which grows for as long as the title shows.
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> near(-1080, 1080), far(-1e7, 1e7);
    std::vector<double> randoms;
    for (int i = 0; i < 1000000; ++i) {
        const double d = i % 4 == 3 ? far(random) : near(random);
        randoms.push_back(i % 2 ? double(float(d)) : d);
    }
    sets.angles.push_back({"random angles", randoms});
    // Hard cases of the reduction: multiples of 90 and 180 degrees, up to and past the logo's
    // range, where the product lands closest to a multiple of pi/2; large and tiny arguments.
    std::vector<double> hard;
    for (double k = 1; k <= 120000; ++k) hard.insert(hard.end(), {90 * k, -90 * k, 180 * k + 0.5});
    for (double k = 1; k < 1e7; k = std::floor(k * 1.37) + 1) hard.insert(hard.end(), {90 * k, 1e7 - k});
    for (double big : {1e8, 3.6e9, 1e15, 0x1p60, 1e100, 1e300, 1.7976931348623157e308}) hard.push_back(big);
    for (double tiny : {1e-300, 1e-30, 1e-9, 0x1p-1074, 0x1p-20, 0x1.2p-21}) hard.push_back(tiny);
    sets.angles.push_back({"hard cases", hard});

    std::vector<std::pair<double, double>> grid, random_offsets;
    for (int y = -240; y <= 240; ++y)
        for (int x = -240; x <= 240; x += 2) grid.push_back({y, x});
    sets.offsets.push_back({"whole-number offsets", grid});
    std::uniform_real_distribution<double> offset(-480, 480);
    for (int i = 0; i < 1000000; ++i) {
        const double y = offset(random), x = offset(random);
        random_offsets.push_back(i % 2 ? std::pair{double(float(y)), double(float(x))} : std::pair{y, x});
    }
    sets.offsets.push_back({"random offsets", random_offsets});
    std::vector<std::pair<double, double>> extremes;
    for (double v : {1e-300, 0x1p-1074, 1e-20, 1e300, 0x1p1000, 3.0, -0.5})
        for (double w : {1.0, -2.5, 1e300, 0x1p-1060}) extremes.insert(extremes.end(), {{v, w}, {w, v}});
    sets.offsets.push_back({"extreme offsets", extremes});
    return sets;
}

TEST(TrigReference, EveryAngleAndAimAgreesWithACorrectlyRoundedReference) {
    Mpfr mpfr;
    const Sets sets = make_sets();
    const long long slow_before = trig::slow_calls();
    long long calls = 0;
    for (const auto& [name, angles] : sets.angles) {
        int wrong = 0, library = 0;
        for (double d : angles) {
            const double x = d * kRadPerDeg;
            const double s = mpfr.sin(x), c = mpfr.cos(x);
            if (!same(sin_deg(d), s) && ++wrong <= 5)
                ADD_FAILURE() << "sin_deg(" << std::hexfloat << d << ")";
            if (!same(cos_deg(d), c) && ++wrong <= 5)
                ADD_FAILURE() << "cos_deg(" << std::hexfloat << d << ")";
            library += !same(std::sin(x), s) + !same(std::cos(x), c);
        }
        calls += 2 * (long long)angles.size();
        EXPECT_EQ(wrong, 0) << name;
        std::printf("sin_deg, cos_deg over %s: %zu angles, %d results differ; the C library differs in %d\n",
                    name.c_str(), angles.size(), wrong, library);
    }
    for (const auto& [name, offsets] : sets.offsets) {
        int wrong = 0, library = 0;
        for (const auto& [y, x] : offsets) {
            const double a = mpfr.atan2(y, x);
            if (!same(atan2_deg(y, x), a * 57.29577951308232) && ++wrong <= 5)
                ADD_FAILURE() << "atan2_deg(" << std::hexfloat << y << ", " << x << ")";
            library += !same(std::atan2(y, x), a);
        }
        calls += (long long)offsets.size();
        EXPECT_EQ(wrong, 0) << name;
        std::printf("atan2_deg over %s: %zu offsets, %d results differ; the C library differs in %d\n",
                    name.c_str(), offsets.size(), wrong, library);
    }
    std::printf("%lld of %lld calls needed the slow path\n", trig::slow_calls() - slow_before, calls);
}

// The slow path decides only the rare undecided call, so it is checked on its own: on a sample of
// every set, on arguments past the fast reduction's range, and on the extreme quotients of atan2.
TEST(TrigReference, TheSlowPathAgreesOnItsOwn) {
    Mpfr mpfr;
    const Sets sets = make_sets();
    int wrong = 0, checked = 0;
    for (const auto& [name, angles] : sets.angles) {
        const size_t step = angles.size() / 3000 + 1;
        for (size_t i = 0; i < angles.size(); i += step) {
            const double x = angles[i] * kRadPerDeg;
            ++checked;
            if (!same(trig::sin_rad_exact(x), mpfr.sin(x)) && ++wrong <= 5)
                ADD_FAILURE() << name << " sin " << x;
            if (!same(trig::cos_rad_exact(x), mpfr.cos(x)) && ++wrong <= 5)
                ADD_FAILURE() << name << " cos " << x;
        }
    }
    for (const auto& [name, offsets] : sets.offsets) {
        const size_t step = offsets.size() / 3000 + 1;
        for (size_t i = 0; i < offsets.size(); i += step) {
            const auto [y, x] = offsets[i];
            ++checked;
            if (!same(trig::atan2_rad_exact(y, x), mpfr.atan2(y, x)) && ++wrong <= 5)
                ADD_FAILURE() << name << " atan2 " << y << ", " << x;
        }
    }
    // Every exponent of the double range.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(1, 2);
    for (int e = -1074; e <= 1023; ++e) {
        const double v = std::ldexp(mantissa(random), e);
        checked += 2;
        if (e >= -80 && !same(trig::sin_rad_exact(v), mpfr.sin(v)) && ++wrong <= 5)
            ADD_FAILURE() << "sin " << v;
        if (!same(trig::atan2_rad_exact(v, 1.5), mpfr.atan2(v, 1.5)) && ++wrong <= 5)
            ADD_FAILURE() << "atan2 " << v;
        if (!same(trig::atan2_rad_exact(-1.5, v), mpfr.atan2(-1.5, v)) && ++wrong <= 5)
            ADD_FAILURE() << "atan2 " << v;
    }
    EXPECT_EQ(wrong, 0);
    std::printf("slow path: %d arguments checked\n", checked);
}

}  // namespace
