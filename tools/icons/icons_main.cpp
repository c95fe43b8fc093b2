// cinder-arc-icons: the desktop icon at the usual sizes, as PNG files for the icon theme.
//   cinder-arc-icons --game GAME_DIR --out DIR   writes DIR/SIZExSIZE/cinder-arc.png
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "canvas.h"
#include "engine/engine.h"
#include "icon.h"

int main(int argc, char** argv) {
    std::string game, out;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--game")) game = argv[i + 1];
        if (!std::strcmp(argv[i], "--out")) out = argv[i + 1];
    }
    if (game.empty() || out.empty()) {
        std::fprintf(stderr, "usage: cinder-arc-icons --game GAME_DIR --out DIR\n");
        return 2;
    }
    gen::Canvas strip;
    const std::string ship_file = game + "/gfx/player1.bmp";
    if (!gen::read_bmp(ship_file, strip) || strip.w < 30 || strip.h < 30) {
        std::fprintf(stderr, "cinder-arc-icons: %s: not the ship's picture\n", ship_file.c_str());
        return 1;
    }
    // The ship's middle frame: the one drawn while it flies straight.
    const gen::Canvas ship = strip.crop(30, 0, 30, 30);
    for (int size : gen::kIconSizes) {
        const gen::Canvas icon = gen::make_icon(ship, size);
        std::vector<uint32_t> argb(size_t(size) * size_t(size));
        for (size_t i = 0; i < argb.size(); ++i) {
            const gen::Rgb c = icon.px[i];
            argb[i] = c == gen::kKey ? 0u : 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
        }
        const std::string dir = out + "/" + std::to_string(size) + "x" + std::to_string(size);
        std::filesystem::create_directories(dir);
        if (!write_png(dir + "/cinder-arc.png", size, size, argb, true)) {
            std::fprintf(stderr, "cinder-arc-icons: %s: %s\n", dir.c_str(), engine_last_error());
            return 1;
        }
    }
    return 0;
}
