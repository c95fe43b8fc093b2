// The picture makers behind write_images: one per family of images. Each reads its text sources
// from the assets/gfx folder it is given and returns the finished picture (a strip of cells, left
// to right, for animated images); each throws std::runtime_error naming the source on bad input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace gen {

// The frames of a pixel-art file in file order, each checked to be w x h (any size when w is 0)
// and at least `count` of them.
std::vector<Canvas> load_frames(const std::string& path, int w, int h, size_t count);

// The first `count` cells of a strip (left to right, then top to bottom); a single picture
// (count 0) is its own one cell.
std::vector<Canvas> cells_of(const Canvas& img, int cell_w, int cell_h, int count);

// Every picture of the image table by its file name ("gfx/enemy1.bmp"), made from `src` (the
// assets folder); throws for a name that is not in the table.
Canvas make_image(const std::string& src, const std::string& file);

// lettering.cpp: the glyph-grid fonts and the pictures lettered with them.
Canvas make_font(const std::string& path, int cell_w, int cell_h, int count);
Canvas make_logo(const std::string& gfx);
Canvas make_powerinfo(const std::string& gfx);
Canvas make_stats(const std::string& gfx, int ship);

// effects.cpp: frames drawn by code.
Canvas make_explosion(int size);  // 6 frames of size x size
Canvas make_ring(bool blue);      // 6 frames of 11 x 11
Canvas make_particles();          // 10 frames of 5 x 5
Canvas make_hyperfield();         // 20 strips of 100 x 5, one above the other

// backgrounds.cpp: the five 240 x 240 background layers, bg1 .. bg5.
Canvas make_background(int n);

// A small fixed hash: the generator's only source of variation, the same on every run.
inline uint32_t hash3(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x8da6b343u ^ uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}
inline double hash01(int x, int y, uint32_t seed) {
    return double(hash3(x, y, seed) & 0xffffff) / 16777216.0;
}

}  // namespace gen
