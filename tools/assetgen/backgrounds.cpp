// The five 240 x 240 background layers. Every repeating layer is made of noise whose lattice
// wraps at 240 pixels, so the picture joins itself top to bottom (and side to side) without a
// seam when the game draws it at y and y - 240.
#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>

#include "images.h"
#include "palette.h"

namespace gen {

namespace {

constexpr int kSize = 240;

int wrap(int v, int n) { return ((v % n) + n) % n; }

// Value noise on a lattice of cell_x x cell_y pixels that repeats every 240 pixels both ways
// (both cell sizes divide 240).
double tile_noise(double x, double y, int cell_x, int cell_y, uint32_t seed) {
    const int px = kSize / cell_x, py = kSize / cell_y;
    double gx = x / cell_x, gy = y / cell_y;
    int ix = int(std::floor(gx)), iy = int(std::floor(gy));
    double fx = gx - ix, fy = gy - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    auto at = [&](int i, int j) { return hash01(wrap(i, px), wrap(j, py), seed); };
    double a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

struct Octave {
    int cell_x, cell_y;
    double weight;
};

// A sum of octaves, scaled to 0..1.
double layered(double x, double y, const std::vector<Octave>& octaves, uint32_t seed) {
    double sum = 0, total = 0;
    for (size_t i = 0; i < octaves.size(); ++i) {
        sum += octaves[i].weight *
               tile_noise(x, y, octaves[i].cell_x, octaves[i].cell_y, seed + uint32_t(i) * 101u);
        total += octaves[i].weight;
    }
    return sum / total;
}

// The 4 x 4 ordered dither of the era: picks one of two neighbouring ramp steps by the
// fraction of `level`, in a fixed pattern that tiles with the picture.
double bayer(int x, int y) {
    static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (m[y & 3][x & 3] + 0.5) / 16.0;
}

template <size_t N>
Rgb dithered(const std::array<Rgb, N>& ramp, double level, int x, int y) {
    level = std::clamp(level, 0.0, double(N - 1));
    int i = int(std::floor(level));
    double frac = level - i;
    if (i + 1 < int(N) && frac > bayer(x, y)) ++i;
    return ramp[size_t(i)];
}

// A small fixed-seed generator for placing cloud puffs.
struct Dice {
    uint32_t state;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state & 0xffffff) / 16777216.0;
    }
    double range(double lo, double hi) { return lo + (hi - lo) * next(); }
};

struct Puff {
    double x, y, r;
};

// Cloud banks as rows of round puffs, the era's way of drawing them: each bank meanders across
// the picture in stretches with gaps between them, big puffs along its middle and smaller ones
// heaped on its edges. Puffs wrap round the top and bottom, so the layer repeats without a seam.
std::vector<Puff> banks(uint32_t seed, int count, double r_lo, double r_hi) {
    Dice dice{seed};
    std::vector<Puff> puffs;
    for (int b = 0; b < count; ++b) {
        double y = kSize * (b + dice.range(0.3, 0.7)) / count;
        double x = dice.range(-20, 10);
        bool on = true;
        while (x < kSize + 10) {
            double length = on ? dice.range(70, 150) : dice.range(25, 60);
            double end = x + length;
            double drift = dice.range(-0.25, 0.25);
            for (; on && x < end; x += dice.range(r_lo * 0.6, r_lo * 1.1)) {
                double taper = std::min(1.0, std::min(x - (end - length), end - x) / 18.0 + 0.35);
                double r = dice.range(r_lo, r_hi) * taper;
                y += drift * (r_lo * 0.8) + dice.range(-1.5, 1.5);
                puffs.push_back({x, y, r});
                if (dice.next() < 0.7)
                    puffs.push_back(
                        {x + dice.range(-5, 5), y - r * dice.range(0.45, 0.8), r * dice.range(0.45, 0.7)});
                if (dice.next() < 0.5)
                    puffs.push_back(
                        {x + dice.range(-5, 5), y + r * dice.range(0.4, 0.7), r * dice.range(0.4, 0.65)});
            }
            x = end;
            on = !on;
        }
    }
    // Upper puffs first, so that the lower ones lie over them.
    std::stable_sort(puffs.begin(), puffs.end(), [](const Puff& a, const Puff& b) { return a.y < b.y; });
    return puffs;
}

// Paints the puffs lit from the top left, each a ball of `ramp` steps, later puffs over earlier
// ones with a darker seam where one crosses another. Pixels no puff covers stay as they were.
template <size_t N>
void paint_puffs(Canvas& c, const std::vector<Puff>& puffs, const std::array<Rgb, N>& ramp,
                 double light_gain) {
    std::vector<int> owner(size_t(kSize) * kSize, -1);
    std::vector<double> shade(size_t(kSize) * kSize, 0.0);
    const double lx = -0.5, ly = -0.62, lz = 0.6;
    for (size_t i = 0; i < puffs.size(); ++i) {
        const Puff& p = puffs[i];
        for (int dy = int(-p.r) - 1; dy <= int(p.r) + 1; ++dy)
            for (int dx = int(-p.r) - 1; dx <= int(p.r) + 1; ++dx) {
                int px = int(std::floor(p.x)) + dx, py = int(std::floor(p.y)) + dy;
                if (px < 0 || px >= kSize) continue;
                double fx = (px + 0.5 - p.x) / p.r, fy = (py + 0.5 - p.y) / p.r;
                double rr = fx * fx + fy * fy;
                if (rr > 1.0) continue;
                double fz = std::sqrt(1.0 - rr);
                size_t at = size_t(wrap(py, kSize)) * kSize + size_t(wrap(px, kSize));
                double v = (fx * lx + fy * ly + fz * lz) * light_gain;
                // A seam: the rim of this puff where it lies over another one, on its shaded side.
                if (owner[at] >= 0 && rr > 0.8 && fx + fy > 0.35) v -= 0.4;
                owner[at] = int(i);
                shade[at] = v;
            }
    }
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            size_t at = size_t(y) * kSize + size_t(x);
            if (owner[at] < 0) continue;
            c.set(x, y, dithered(ramp, (shade[at] + 0.08) * double(N - 1), x, y));
        }
}

// Stage 1, far: deep atmosphere far below, dark blue haze with low banks of distant cloud.
Canvas far_atmosphere() {
    const auto& a = pal::kAtmosphere;
    const std::array<Rgb, 3> haze_ramp{{{0x0a, 0x14, 0x2c}, a[0], {0x14, 0x2c, 0x54}}};
    const std::vector<Octave> haze{{240, 60, 3.0}, {120, 30, 2.0}, {60, 20, 1.0}};
    Canvas c(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            double level = (layered(x, y, haze, 31u) - 0.32) * 6.0;
            c.set(x, y, dithered(haze_ramp, level, x, y));
        }
    const std::array<Rgb, 4> far_ramp{{a[0], {0x14, 0x2c, 0x54}, a[1], {0x22, 0x4c, 0x86}}};
    paint_puffs(c, banks(0x51u, 6, 5.0, 10.0), far_ramp, 1.0);
    return c;
}

// Stage 1, near: banks of cumulus lit from the top left, with open sky (key) between them.
Canvas near_clouds() {
    const auto& a = pal::kAtmosphere;
    const std::array<Rgb, 5> ramp{{a[1], a[2], a[3], a[4], {0xcf, 0xe8, 0xf7}}};
    Canvas c(kSize, kSize);
    paint_puffs(c, banks(0x2024u, 3, 12.0, 24.0), ramp, 1.0);
    return c;
}

void put_star(Canvas& c, int x, int y, int kind) {
    const auto& m = pal::kMetal;
    if (kind == 0) {
        c.set(x, y, m[3]);
    } else if (kind == 1) {
        c.set(x, y, m[5]);
    } else {
        c.set(x, y, m[6]);
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
            c.set(wrap(x + dx, kSize), wrap(y + dy, kSize), m[3]);
    }
}

// Stages 2 and 3 far, and the title: deep space with dim nebulae and stars.
Canvas far_space() {
    const auto& s = pal::kSpace;
    const auto& v = pal::kViolet;
    const std::array<Rgb, 6> ramp{{s[0], s[1], s[2], s[3], {0x24, 0x1a, 0x3f}, v[0]}};
    const std::vector<Octave> cloud{
        {120, 120, 3.0}, {60, 60, 2.0}, {30, 30, 1.0}, {15, 15, 0.5}, {8, 8, 0.25}};
    Canvas c(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            double n = layered(x, y, cloud, 91u);
            double level = 0.6 + std::max(0.0, n - 0.42) * 12.0;
            c.set(x, y, dithered(ramp, level, x, y));
        }
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            uint32_t h = hash3(x, y, 404u) % 1000u;
            if (h < 6)
                put_star(c, x, y, 0);
            else if (h < 8)
                put_star(c, x, y, 1);
            else if (h == 8 && hash3(x, y, 405u) % 4 == 0)
                put_star(c, x, y, 2);
        }
    return c;
}

// Stage 3 near: drifting rocks lit from the top left, open space between them.
Canvas near_rocks() {
    const auto& m = pal::kMetal;
    const auto& f = pal::kFire;
    const std::array<Rgb, 5> ramp{{m[0], f[0], {0x4a, 0x38, 0x38}, {0x6e, 0x58, 0x52}, {0x9a, 0x86, 0x7a}}};
    const std::vector<Octave> body{{60, 60, 3.0}, {30, 30, 1.5}, {15, 15, 0.8}, {8, 8, 0.4}, {4, 4, 0.2}};
    std::vector<double> d(size_t(kSize) * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) d[size_t(y) * kSize + x] = layered(x, y, body, 13u);
    auto at = [&](int x, int y) { return d[size_t(wrap(y, kSize)) * kSize + wrap(x, kSize)]; };
    Canvas c(kSize, kSize);
    const double edge = 0.6;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            double v = at(x, y);
            if (v < edge) continue;
            double slope = (at(x + 1, y + 1) - at(x - 1, y - 1)) * 30.0;
            double level = 2.0 + slope + std::min((v - edge) * 8.0, 0.8);
            if (v - edge < 0.01) level = 0.0;  // a dark rim against the stars
            c.set(x, y, dithered(ramp, level, x, y));
        }
    return c;
}

// Stage 2 overlay, drawn once and never repeated: a banded planet lit from the top left, with
// a small grey moon; everything else is key.
Canvas planet() {
    const auto& a = pal::kAtmosphere;
    const auto& t = pal::kTeal;
    const std::array<Rgb, 7> ramp{{pal::kSpace[1], a[0], t[0], a[1], t[1], a[2], a[3]}};
    Canvas c(kSize, kSize);
    auto body = [&](double cx, double cy, double r, bool banded) {
        const double lx = -0.55, ly = -0.55, lz = 0.63;  // towards the light, unit length
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                double dx = (x - cx) / r, dy = (y - cy) / r;
                double rr = dx * dx + dy * dy;
                if (rr > 1.0) continue;
                double dz = std::sqrt(1.0 - rr);
                double light = std::max(0.0, dx * lx + dy * ly + dz * lz);
                double level;
                if (banded) {
                    double u = dy * 0.9 + dx * 0.35;
                    double band = tile_noise(u * 200.0 + 240.0, 3.0, 12, 240, 61u);
                    level = light * 5.2 + (band - 0.5) * 1.6;
                    if (rr > 0.93 && dx + dy < 0) level = 6.0;  // the lit rim of the atmosphere
                    c.set(x, y, dithered(ramp, level, x, y));
                } else {
                    const auto& m = pal::kMetal;
                    double pits = tile_noise(x * 4.0, y * 4.0, 8, 8, 17u);
                    level = light * 4.0 + (pits - 0.5) * 0.8;
                    const std::array<Rgb, 5> grey{{m[0], m[1], m[2], m[3], m[4]}};
                    c.set(x, y, dithered(grey, level, x, y));
                }
            }
    };
    body(150.0, 170.0, 98.0, true);
    body(42.0, 46.0, 13.0, false);
    return c;
}

}  // namespace

Canvas make_background(int n) {
    switch (n) {
        case 1:
            return far_space();
        case 2:
            return near_rocks();
        case 3:
            return far_atmosphere();
        case 4:
            return near_clouds();
        case 5:
            return planet();
    }
    throw std::runtime_error("no background " + std::to_string(n));
}

}  // namespace gen
