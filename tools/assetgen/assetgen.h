// The asset generator's three writers. Each reads its sources from `src` (the assets/ folder)
// and writes into `out` (the game folder), byte for byte the same on every run; each throws
// std::runtime_error with a message naming the source file and line on a bad source.
#pragma once

#include <string>

namespace gen {

void write_images(const std::string& src, const std::string& out);  // gfx/*.bmp
void write_sounds(const std::string& src, const std::string& out);  // sfx/*.wav
void write_stage(const std::string& src, const std::string& out);   // level/level1.txt
// One picture of every image at 2x with its cell grid and name, for review.
void write_contact_sheet(const std::string& out_dir, const std::string& path);

}  // namespace gen

namespace gen {
struct Canvas;
// The 120 map tiles of img_tileset1 as one strip (16 x 16 cells, left to right then top to
// bottom); made by the tile code and written by write_images with the other pictures.
Canvas make_tileset(const std::string& src);
}  // namespace gen
