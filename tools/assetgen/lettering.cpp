// The glyph-grid fonts, and the pictures lettered from glyph grids: the title logo, the
// power-up badge and the two ship panels of the selection page.
#include <algorithm>
#include <stdexcept>

#include "images.h"
#include "palette.h"

namespace gen {

namespace {

// The style a font file keeps in its palette besides the glyph colours: 'X' is ink coloured by
// the row ramp '0'..'9' (the ink colour of that row of the cell; 'X' itself where a row has
// none); 'o' outlines every glyph at its four sides, 'O' at its corners too; 's' is a shadow
// one pixel down and right. Other characters are drawn in their own colours.
struct FontStyle {
    std::map<int, Rgb> rows;
    bool outline = false, corners = false, shadow = false;
    Rgb outline_colour, shadow_colour;
};

FontStyle style_of(const PixelArt& art, const std::string& path) {
    FontStyle s;
    auto has = [&](char c) { return art.palette.count(c) > 0; };
    if (!has('X')) throw std::runtime_error(path + ": a font palette needs the ink 'X'");
    for (char r = '0'; r <= '9'; ++r)
        if (has(r)) s.rows[r - '0'] = art.palette.at(r);
    if (has('o') || has('O')) {
        s.outline = true;
        s.corners = has('O');
        s.outline_colour = art.palette.at(has('O') ? 'O' : 'o');
    }
    if (has('s')) {
        s.shadow = true;
        s.shadow_colour = art.palette.at('s');
    }
    return s;
}

// Colours the ink by row, then adds the outline and shadow of the style.
Canvas styled(Canvas g, const std::vector<std::string>& text, const FontStyle& s) {
    for (int y = 0; y < g.h; ++y) {
        auto row = s.rows.find(y);
        for (int x = 0; x < g.w; ++x)
            if (text[size_t(y)][size_t(x)] == 'X' && row != s.rows.end()) g.set(x, y, row->second);
    }
    if (s.outline) add_outline(g, s.outline_colour, s.corners);
    if (s.shadow) {
        Canvas before = g;
        for (int y = 1; y < g.h; ++y)
            for (int x = 1; x < g.w; ++x)
                if (before.is_key(x, y) && !before.is_key(x - 1, y - 1)) g.set(x, y, s.shadow_colour);
    }
    return g;
}

// A font's glyphs by character: frame names are the characters themselves.
std::map<char, Canvas> glyphs_of(const std::string& path, bool style) {
    PixelArt art = load_pixel_art(path);
    FontStyle s = style_of(art, path);
    std::map<char, Canvas> out;
    for (size_t i = 0; i < art.frames.size(); ++i) {
        if (art.frame_names[i].size() != 1)
            throw std::runtime_error(path + ": glyph names are one character");
        out[art.frame_names[i][0]] = style ? styled(art.frames[i], art.text[i], s) : art.frames[i];
    }
    return out;
}

// Writes `text` with the glyphs, `gap` pixels apart, the first glyph's top-left at (x, y).
// A space advances by half the width of a glyph; returns the x after the last glyph.
int letter(Canvas& c, const std::map<char, Canvas>& font, const std::string& text, int x, int y, int gap) {
    for (char ch : text) {
        auto it = font.find(ch);
        if (it == font.end()) {
            if (ch != ' ') throw std::runtime_error(std::string("no glyph for '") + ch + "'");
            x += font.begin()->second.w / 2 + gap;
            continue;
        }
        c.blit(it->second, x, y);
        x += it->second.w + gap;
    }
    return x;
}

int text_width(const std::map<char, Canvas>& font, const std::string& text, int gap) {
    Canvas scratch(1, 1);
    return letter(scratch, font, text, 0, -1000, gap) - gap;
}

}  // namespace

Canvas make_font(const std::string& path, int cell_w, int cell_h, int count) {
    PixelArt art = load_pixel_art(path);
    if (int(art.frames.size()) != count)
        throw std::runtime_error(path + ": a font has " + std::to_string(count) + " glyphs, this file " +
                                 std::to_string(art.frames.size()));
    FontStyle s = style_of(art, path);
    std::vector<Canvas> cells;
    for (int i = 0; i < count; ++i) {
        std::string want(1, char(48 + i));
        if (art.frame_names[i] != want)
            throw std::runtime_error(path + ": glyph " + std::to_string(i) + " must be '" + want + "', is '" +
                                     art.frame_names[i] + "'");
        const Canvas& g = art.frames[i];
        if (g.w != cell_w || g.h != cell_h)
            throw std::runtime_error(path + ": glyph '" + want + "' must be " + std::to_string(cell_w) +
                                     " x " + std::to_string(cell_h));
        cells.push_back(styled(g, art.text[size_t(i)], s));
    }
    return strip(cells, count);
}

Canvas make_logo(const std::string& gfx) {
    // The big letters are bevelled by the light from the top left: ink whose upper-left
    // neighbour is open turns light, ink whose lower-right neighbour is open turns dark; then
    // the rows lean right by one pixel every four for speed.
    PixelArt art = load_pixel_art(gfx + "/logo.txt");
    auto big = glyphs_of(gfx + "/logo.txt", false);
    FontStyle s = style_of(art, gfx + "/logo.txt");
    const Rgb ink = art.palette.at('X');
    const Rgb light = art.palette.at('L'), dark = art.palette.at('D'), edge = art.palette.at('E');
    const std::string title = "CINDER ARC";
    const int gap = 2, lean = 4;
    int h = big.begin()->second.h;
    int w = text_width(big, title, gap) + h / lean + 4;
    Canvas words(w, h + 4);
    letter(words, big, title, 2, 2, gap);
    Canvas shaded = words;
    for (int y = 0; y < words.h; ++y)
        for (int x = 0; x < words.w; ++x) {
            if (!(words.get(x, y) == ink)) continue;
            Rgb c = s.rows.count(y - 2) ? s.rows.at(y - 2) : ink;
            if (words.is_key(x - 1, y) || words.is_key(x, y - 1))
                c = light;
            else if (words.is_key(x + 1, y) || words.is_key(x, y + 1))
                c = dark;
            shaded.set(x, y, c);
        }
    Canvas leaned(w, words.h);
    for (int y = 0; y < words.h; ++y)
        for (int x = 0; x < w; ++x) {
            int from = x - (words.h - 1 - y) / lean;
            if (from >= 0) leaned.set(x, y, shaded.get(from, y));
        }
    add_outline(leaned, edge, true);

    // "TESSEL" above in the menu font's letters, between two rules.
    auto small = glyphs_of(gfx + "/font1.txt", true);
    const std::string over = "TESSEL";
    Canvas top = Canvas(text_width(small, over, -1), 10);
    letter(top, small, over, 0, 0, -1);

    Canvas logo(std::max(leaned.w, top.w) + 2, top.h + leaned.h + 1);
    int tx = (logo.w - top.w) / 2;
    logo.blit(top, tx, 0);
    const Rgb rule_light = art.palette.at('R'), rule_dark = art.palette.at('r');
    for (int x = 6; x < tx - 4; ++x) {
        logo.set(x, 4, rule_light);
        logo.set(x, 5, rule_dark);
        logo.set(logo.w - 1 - x, 4, rule_light);
        logo.set(logo.w - 1 - x, 5, rule_dark);
    }
    logo.blit(leaned, (logo.w - leaned.w) / 2, top.h + 1);
    return logo;
}

Canvas make_powerinfo(const std::string& gfx) {
    PixelArt art = load_pixel_art(gfx + "/badges.txt");
    Canvas badge = art.frame("powerinfo");
    auto font = glyphs_of(gfx + "/microfont.txt", true);
    const std::string text = "POWER UP";
    int tw = text_width(font, text, -1);
    letter(badge, font, text, (badge.w - tw) / 2, (badge.h - font.begin()->second.h) / 2, -1);
    return badge;
}

Canvas make_stats(const std::string& gfx, int ship) {
    // The panel frame and the speed pips are drawn in badges.txt; the labels are lettered here
    // and the shot pattern drawn from the shot picture: three straight lanes for ship 1, a fan of
    // five for ship 2.
    PixelArt art = load_pixel_art(gfx + "/badges.txt");
    Canvas panel = art.frame("stats_panel");
    const Canvas& pip_on = art.frame("pip_on");
    const Canvas& pip_off = art.frame("pip_off");
    const Canvas& dart = art.frame("mini_shot");
    auto font = glyphs_of(gfx + "/microfont.txt", true);
    letter(panel, font, "SPEED", 4, 5, -1);
    letter(panel, font, "SHOT", 4, 16, -1);
    letter(panel, font, ship == 1 ? "FRONT" : "WIDE", 4, 27, -1);
    const int lit = ship == 1 ? 5 : 4;
    for (int i = 0; i < 6; ++i) panel.blit(i < lit ? pip_on : pip_off, 36 + 6 * i, 6);
    const int base_x = 55, base_y = 31;  // where the shots leave the ship
    for (int row = 0; row < 3; ++row) {
        int y = base_y - 6 - row * 7;
        if (ship == 1) {
            for (int lane : {-6, 0, 6}) panel.blit(dart, base_x + lane - dart.w / 2, y);
        } else {
            for (int lane = -2; lane <= 2; ++lane)
                panel.blit(dart, base_x + lane * (3 + 3 * row) - dart.w / 2, y);
        }
    }
    const Canvas& icon = art.frame(ship == 1 ? "mini_ship1" : "mini_ship2");
    panel.blit(icon, base_x - icon.w / 2, base_y);
    return panel;
}

}  // namespace gen
