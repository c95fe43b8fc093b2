// The frames drawn by code: explosions, pick-up rings, sparks and the hyper field. All shapes
// come from distances and a fixed hash, never from the clock, so every run gives the same bytes.
#include <algorithm>
#include <cmath>

#include "images.h"
#include "palette.h"

namespace gen {

namespace {

// Smooth value noise on a square lattice of `cell` pixels: lumps that hold together from one
// frame to the next when the seed stays the same.
double lumps(double x, double y, double cell, uint32_t seed) {
    double gx = x / cell, gy = y / cell;
    int ix = int(std::floor(gx)), iy = int(std::floor(gy));
    double fx = gx - ix, fy = gy - iy;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    double a = hash01(ix, iy, seed), b = hash01(ix + 1, iy, seed);
    double c = hash01(ix, iy + 1, seed), d = hash01(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

// The fire ramp into light, by heat: 0 (cold smoke) to 1 (white).
Rgb fire(double heat) {
    const auto& f = pal::kFire;
    if (heat > 0.86) return pal::kWhite;
    if (heat > 0.72) return f[4];
    if (heat > 0.56) return f[3];
    if (heat > 0.40) return f[2];
    if (heat > 0.25) return f[1];
    return f[0];
}

}  // namespace

Canvas make_explosion(int size) {
    // Six frames: a white flash, a fireball at full size, then it cools from the outside in and
    // breaks into lumps of smoke over the last three. The radius grows fast in the first two.
    static const double radius[6] = {0.45, 0.85, 1.0, 1.0, 0.96, 0.9};
    static const double heat[6] = {0.55, 0.35, 0.12, -0.08, -0.24, -0.38};
    static const double holes[6] = {0.0, 0.0, 0.05, 0.3, 0.5, 0.66};
    const double c = (size - 1) / 2.0, full = size / 2.0;
    const double cell = size > 15 ? 3.2 : 2.2;
    std::vector<Canvas> frames;
    for (int k = 0; k < 6; ++k) {
        Canvas f(size, size);
        double r = full * radius[k];
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                double dx = x - c, dy = y - c;
                double d = std::sqrt(dx * dx + dy * dy);
                double rim = r * (0.78 + 0.32 * lumps(x, y, cell, 11u + uint32_t(size)));
                if (d > rim) continue;
                double t = d / rim;
                // The upper-left side of the ball is the lit one, as everywhere in the game.
                double lit = (-dx - dy) / (2.0 * full) * 0.12;
                double h = 1.0 - t * 0.85 + heat[k] + lit + 0.18 * (lumps(x, y, cell * 0.7, 5u) - 0.5);
                if (k >= 2 && lumps(x + 17, y + 5, cell, 23u + uint32_t(k)) < holes[k] + 0.35 * t * (k >= 3))
                    continue;
                if (h < 0.02) continue;
                f.set(x, y, fire(h));
            }
        frames.push_back(f);
    }
    return strip(frames, 6);
}

Canvas make_ring(bool blue) {
    // An expanding ring: a bright spot that opens into a thin ring and darkens as it grows.
    const auto& a = pal::kAtmosphere;
    const auto& g = pal::kGreen;
    const Rgb light = pal::kWhite;
    const Rgb ramp[5] = {blue ? a[0] : g[0], blue ? a[1] : g[1], blue ? a[3] : g[2], blue ? a[4] : g[3],
                         light};
    static const double radius[6] = {1.2, 2.2, 3.0, 3.8, 4.4, 5.0};
    static const double width[6] = {1.6, 1.5, 1.3, 1.1, 1.0, 0.9};
    static const int top[6] = {4, 4, 3, 3, 2, 2};  // ramp step of the inner edge
    std::vector<Canvas> frames;
    for (int k = 0; k < 6; ++k) {
        Canvas f(11, 11);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 11; ++x) {
                double dx = x - 5, dy = y - 5;
                double d = std::sqrt(dx * dx + dy * dy);
                double off = d - radius[k];
                if (off < -width[k] || off > width[k] * 0.75) continue;
                int step = top[k];
                if (off > 0) step -= 1;        // the outer edge one step darker
                if (dx + dy > 1.5) step -= 1;  // the side away from the light
                if (k == 5 && off > 0) step -= 1;
                f.set(x, y, ramp[std::clamp(step, 0, 4)]);
            }
        frames.push_back(f);
    }
    return strip(frames, 6);
}

Canvas make_particles() {
    // A spark that shrinks and cools: heat falls off by steps from the centre (a diamond).
    static const double heat[10] = {1.25, 1.12, 1.0, 0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3};
    std::vector<Canvas> frames;
    for (int k = 0; k < 10; ++k) {
        Canvas f(5, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 5; ++x) {
                int d = std::abs(x - 2) + std::abs(y - 2);
                double h = heat[k] - 0.28 * d - (x == 2 || y == 2 ? 0.0 : 0.12);
                if (h < 0.12) continue;
                f.set(x, y, fire(h));
            }
        frames.push_back(f);
    }
    return strip(frames, 10);
}

Canvas make_hyperfield() {
    // A 100 x 100 disc: a glowing teal rim with a dark outer edge, and inside it a faint,
    // dotted triangular lattice that thins out towards the middle, so the ship and the bullets
    // it catches stay readable. The game cuts it into 20 strips of 5 rows and sways them.
    const auto& t = pal::kTeal;
    Canvas f(100, 100);
    const double c = 49.5, sqrt3 = 1.7320508075688772;
    const double spacing = 11.0;
    // Unit normals of the three line families, 60 degrees apart.
    const double n[3][2] = {{0.0, 1.0}, {sqrt3 / 2, 0.5}, {sqrt3 / 2, -0.5}};
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            double dx = x - c, dy = y - c;
            double d = std::sqrt(dx * dx + dy * dy);
            if (d > 49.0) continue;
            bool lit_side = dx + dy < 0;
            if (d > 48.0) {
                f.set(x, y, t[0]);
            } else if (d > 46.8) {
                f.set(x, y, lit_side ? pal::kWhite : t[3]);
            } else if (d > 45.6) {
                f.set(x, y, t[2]);
            } else if (d > 44.0) {
                if ((x + y) % 2 == 0) f.set(x, y, t[1]);
            } else if (d > 16.0) {
                int on = 0;
                for (const auto& m : n) {
                    double v = (dx * m[0] + dy * m[1]) / spacing + 100.0;
                    double fr = v - std::floor(v);
                    if (fr * spacing < 1.0) ++on;
                }
                if (on >= 2 && d > 22.0)
                    f.set(x, y, d > 34.0 ? t[3] : t[2]);  // lattice nodes
                else if (on == 1 && (x + y) % 3 == 0 && d > 26.0)
                    f.set(x, y, d > 38.0 ? t[2] : t[1]);
            }
        }
    return f;  // one column of 20 cells of 100 x 5
}

}  // namespace gen
