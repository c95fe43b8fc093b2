// The map tiles: the catalogue of the 120 frames, and the painter that composes them from the
// textures of assets/tiles/ (deck rims, corners and south walls are worked out per pixel here).
#include "tiles.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen.h"
#include "canvas.h"

namespace gen::tiles {

namespace {

struct Tables {
    std::array<TileInfo, kCount> info{};
    std::array<int, 256> deck_by_reduced{};
    int variants = 0, rust = 0, pipe = 0, girder = 0, pad = 0, fixture = 0, prop = 0;
};

Tables build_tables() {
    Tables t;
    t.deck_by_reduced.fill(-1);
    int next = 0;
    auto add = [&](Family f, int mask, int variant) {
        if (next >= kCount) throw std::logic_error("tile catalogue overflows the tileset");
        t.info[size_t(next)] = {f, uint8_t(mask), uint8_t(variant)};
        return next++;
    };
    add(Family::Sky, 0, 0);
    for (int m = 0; m < 256; ++m)
        if (reduce_mask(uint8_t(m)) == m) t.deck_by_reduced[size_t(m)] = add(Family::Deck, m, 0);
    t.variants = next;
    for (int v = 1; v < kDeckVariants; ++v) add(Family::DeckPlain, 255, v);
    t.rust = next;
    for (int v = 0; v < kRustVariants; ++v) add(Family::Rust, 0, v);
    t.pipe = next;
    for (int m = 1; m < 16; ++m) add(Family::Pipe, m, 0);
    t.girder = next;
    for (int m = 1; m < 16; ++m) add(Family::Girder, m, 0);
    t.pad = next;
    for (int v = 0; v < 9; ++v) add(Family::Pad, 0, v);
    t.fixture = next;
    for (int v = 0; v < int(Fixture::Count); ++v) add(Family::Fixture, 0, v);
    t.prop = next;
    for (int v = 0; v < int(Prop::Count) * 4; ++v) add(Family::Prop, 0, v);
    while (next < kCount) add(Family::Spare, 0, 0);
    return t;
}

const Tables& tables() {
    static const Tables t = build_tables();
    return t;
}

}  // namespace

uint8_t reduce_mask(uint8_t m) {
    auto both = [m](uint8_t a, uint8_t b) { return (m & a) && (m & b); };
    if (!both(kN, kE)) m &= uint8_t(~kNE);
    if (!both(kS, kE)) m &= uint8_t(~kSE);
    if (!both(kS, kW)) m &= uint8_t(~kSW);
    if (!both(kN, kW)) m &= uint8_t(~kNW);
    return m;
}

const std::array<TileInfo, kCount>& catalogue() { return tables().info; }

int deck_tile(uint8_t mask8) { return tables().deck_by_reduced[reduce_mask(mask8)]; }
int deck_variant_tile(int v) { return v == 0 ? deck_tile(255) : tables().variants + v - 1; }
int rust_tile(int v) { return tables().rust + v; }
int pipe_tile(uint8_t mask4) { return tables().pipe + mask4 - 1; }
int girder_tile(uint8_t mask4) { return tables().girder + mask4 - 1; }
int pad_tile(int row, int column) { return tables().pad + row * 3 + column; }
int fixture_tile(Fixture f) { return tables().fixture + int(f); }
int prop_tile(Prop p, int quadrant) { return tables().prop + int(p) * 4 + quadrant; }

}  // namespace gen::tiles

namespace gen {

namespace {

using namespace tiles;

constexpr int kCell = 16;
constexpr float kCornerRadius = 4.5f;  // outer corners of a deck are rounded this much
constexpr int kWallRows = 5;           // a south-facing deck edge shows its side wall this tall

// Colours of a deck rim, in the order of the `ramp` frame of deck.txt.
enum Ramp { LitOuter, LitInner, FlatOuter, FlatInner, DarkOuter, DarkInner, RampSize };

struct Sources {
    std::string deck_path, links_path, fixtures_path;
    PixelArt deck, links, fixtures;
};

const Canvas& sized(const PixelArt& art, const std::string& path, const std::string& name, int w, int h) {
    bool known = false;
    for (const std::string& n : art.frame_names) known = known || n == name;
    if (!known) throw std::runtime_error(path + ": no frame named " + name);
    const Canvas& c = art.frame(name);
    if (c.w != w || c.h != h)
        throw std::runtime_error(path + ": frame " + name + " must be " + std::to_string(w) + " x " +
                                 std::to_string(h));
    return c;
}

Canvas crop(const Canvas& c, int x, int y, int w, int h) {
    Canvas out(w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) out.set(i, j, c.get(x + i, y + j));
    return out;
}

// The nearest open boundary of a deck cell seen from one pixel: how far inside the surface the
// pixel lies (negative: cut away by a rounded corner) and the outward direction of that boundary.
struct Edge {
    float depth = 1e9f;
    float nx = 0, ny = 0;
};

Edge nearest_edge(uint8_t m, float px, float py) {
    Edge best;
    auto take = [&](float d, float nx, float ny) {
        if (d < best.depth) best = {d, nx, ny};
    };
    const bool n = m & kN, e = m & kE, s = m & kS, w = m & kW;
    const float r = kCornerRadius, far = float(kCell);
    bool n_done = false, e_done = false, s_done = false, w_done = false;
    // Inside an outer corner's box the arc stands for both of its sides.
    auto arc = [&](bool open, bool inside, float cx, float cy, bool& side_a, bool& side_b) {
        if (!open || !inside) return;
        float dx = px - cx, dy = py - cy, len = std::sqrt(dx * dx + dy * dy);
        if (len < 1e-6f) len = 1e-6f;
        take(r - len, dx / len, dy / len);
        side_a = side_b = true;
    };
    arc(!n && !w, px < r && py < r, r, r, n_done, w_done);
    arc(!n && !e, px > far - r && py < r, far - r, r, n_done, e_done);
    arc(!s && !e, px > far - r && py > far - r, far - r, far - r, s_done, e_done);
    arc(!s && !w, px < r && py > far - r, r, far - r, s_done, w_done);
    if (!n && !n_done) take(py, 0, -1);
    if (!s && !s_done) take(far - py, 0, 1);
    if (!w && !w_done) take(px, -1, 0);
    if (!e && !e_done) take(far - px, 1, 0);
    // An open diagonal with both of its sides joined is an inner corner: a point of the rim.
    auto point = [&](uint8_t bit, float qx, float qy) {
        if (m & bit) return;
        float dx = qx - px, dy = qy - py, len = std::sqrt(dx * dx + dy * dy);
        take(len, dx / len, dy / len);
    };
    if (n && e) point(kNE, far, 0);
    if (s && e) point(kSE, far, far);
    if (s && w) point(kSW, 0, far);
    if (n && w) point(kNW, 0, 0);
    return best;
}

Canvas paint_deck(uint8_t m, const Canvas& plate, const Canvas& ramp, const Canvas& wall) {
    Canvas out(kCell, kCell);
    const bool south_open = !(m & kS);
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) {
            Edge e = nearest_edge(m, float(x) + 0.5f, float(y) + 0.5f);
            if (e.depth < 0) continue;  // cut by a rounded corner: stays transparent
            if (south_open && y >= kCell - kWallRows) {
                out.set(x, y, wall.get(x, y - (kCell - kWallRows)));
                continue;
            }
            if (e.depth >= 2) {
                out.set(x, y, plate.get(x, y));
                continue;
            }
            // Light comes from the top left: rims facing it are lit, those facing away dark.
            float light = -(e.nx + e.ny) * 0.70710678f;
            int outer = light > 0.3f ? LitOuter : light < -0.3f ? DarkOuter : FlatOuter;
            out.set(x, y, ramp.get(e.depth < 1 ? outer : outer + 1, 0));
        }
    return out;
}

// A pipe or girder joint: the arms of the straight pieces towards each joined side, and the hub
// over the middle unless the piece runs straight through.
Canvas paint_link(uint8_t m, const Canvas& h, const Canvas& v, const Canvas& hub) {
    Canvas out(kCell, kCell);
    const int half = kCell / 2;
    if (m & kLinkW) out.blit(crop(h, 0, 0, half, kCell), 0, 0);
    if (m & kLinkE) out.blit(crop(h, half, 0, half, kCell), half, 0);
    if (m & kLinkN) out.blit(crop(v, 0, 0, kCell, half), 0, 0);
    if (m & kLinkS) out.blit(crop(v, 0, half, kCell, half), 0, half);
    if (m != (kLinkW | kLinkE) && m != (kLinkN | kLinkS)) out.blit(hub, 0, 0);
    return out;
}

Canvas paint(const TileInfo& t, const Sources& s) {
    const std::string& dp = s.deck_path;
    const std::string& lp = s.links_path;
    const std::string& fp = s.fixtures_path;
    const Canvas& plate = sized(s.deck, dp, "plate", kCell, kCell);
    switch (t.family) {
        case Family::Sky:
            return Canvas(kCell, kCell);
        case Family::Deck:
            return paint_deck(t.mask, plate, sized(s.deck, dp, "ramp", RampSize, 1),
                              sized(s.deck, dp, "wall", kCell, kWallRows));
        case Family::DeckPlain:
            return sized(s.deck, dp, "plate_" + std::to_string(t.variant), kCell, kCell);
        case Family::Rust:
            return sized(s.deck, dp, "rust_" + std::to_string(t.variant), kCell, kCell);
        case Family::Pipe:
            return paint_link(t.mask, sized(s.links, lp, "pipe_h", kCell, kCell),
                              sized(s.links, lp, "pipe_v", kCell, kCell),
                              sized(s.links, lp, "pipe_hub", kCell, kCell));
        case Family::Girder:
            return paint_link(t.mask, sized(s.links, lp, "girder_h", kCell, kCell),
                              sized(s.links, lp, "girder_v", kCell, kCell),
                              sized(s.links, lp, "girder_hub", kCell, kCell));
        case Family::Pad: {
            const Canvas& pad = sized(s.fixtures, fp, "pad", kCell * 3, kCell * 3);
            return crop(pad, kCell * (t.variant % 3), kCell * (t.variant / 3), kCell, kCell);
        }
        case Family::Fixture: {
            static const char* names[] = {"hatch_round", "hatch_square", "vent", "beacon", "crates"};
            static_assert(std::size(names) == size_t(Fixture::Count));
            return sized(s.fixtures, fp, names[t.variant], kCell, kCell);
        }
        case Family::Prop: {
            static const char* names[] = {"fan", "tank", "solar"};
            static_assert(std::size(names) == size_t(Prop::Count));
            const Canvas& prop = sized(s.fixtures, fp, names[t.variant / 4], kCell * 2, kCell * 2);
            int q = t.variant % 4;
            return crop(prop, kCell * (q % 2), kCell * (q / 2), kCell, kCell);
        }
        case Family::Spare:
            return plate;
    }
    throw std::logic_error("unknown tile family");
}

}  // namespace

Canvas make_tileset(const std::string& src) {
    Sources s;
    s.deck_path = src + "/tiles/deck.txt";
    s.links_path = src + "/tiles/links.txt";
    s.fixtures_path = src + "/tiles/fixtures.txt";
    s.deck = load_pixel_art(s.deck_path);
    s.links = load_pixel_art(s.links_path);
    s.fixtures = load_pixel_art(s.fixtures_path);
    std::vector<Canvas> frames;
    frames.reserve(kCount);
    for (const TileInfo& t : catalogue()) frames.push_back(paint(t, s));
    return strip(frames, 10);
}

}  // namespace gen
