// Pictures for the asset generator: an RGB canvas with the magenta key, 24-bit BMP writing, and
// the text pixel-art format of assets/ (a named palette, then frames drawn one character a pixel).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gen {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kKey{255, 0, 255};  // transparent: never a colour of its own

Rgb hex(const char* rrggbb);  // "0b0d14" -> {11, 13, 20}

struct Canvas {
    int w = 0, h = 0;
    std::vector<Rgb> px;  // row-major, top row first

    Canvas() = default;
    Canvas(int width, int height, Rgb fill = kKey);
    Rgb get(int x, int y) const { return px[size_t(y) * w + x]; }
    void set(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < w && y < h) px[size_t(y) * w + x] = c;
    }
    bool is_key(int x, int y) const { return get(x, y) == kKey; }
    void fill_rect(int x, int y, int rw, int rh, Rgb c);
    // The cw x ch piece with its top-left at (x, y); whatever lies outside this canvas is key.
    Canvas crop(int x, int y, int cw, int ch) const;
    // Copies `src` with its top-left at (x, y); key pixels of `src` are skipped unless `opaque`.
    void blit(const Canvas& src, int x, int y, bool opaque = false);
};

// Lays `frames` (all of the same size) out as a strip: `columns` cells a row, left to right,
// then top to bottom.
Canvas strip(const std::vector<Canvas>& frames, int columns);

// Every key pixel beside a non-key one (left, right, above, below, and diagonally too when
// `corners`) becomes `colour`: the dark rim of a flying sprite.
void add_outline(Canvas& c, Rgb colour, bool corners = false);
// Each pixel repeated `factor` times across and down.
Canvas scaled(const Canvas& c, int factor);

// Writes an uncompressed 24-bit BMP (bottom-up rows, each padded to 4 bytes).
bool write_bmp(const std::string& path, const Canvas& c);
// Reads the 24-bit BMPs that write_bmp makes (for tests and the contact sheet).
bool read_bmp(const std::string& path, Canvas& out);

// A pixel-art source file:
//
//   # comments and blank lines are ignored
//   palette
//   .  key            <- a character and a colour: "key" (transparent) or six hex digits
//   o  1c2130
//   end
//   frame NAME        <- any number of frames, each a block of equal-length lines
//   ..oo..
//   .oOOo.
//   end
//
// Frames are kept in file order and by name. Parsing errors name the file and line.
struct PixelArt {
    std::map<char, Rgb> palette;
    std::vector<std::string> frame_names;
    std::vector<Canvas> frames;
    std::vector<std::vector<std::string>> text;          // each frame's rows as written, one char a pixel
    const Canvas& frame(const std::string& name) const;  // throws when missing
};

PixelArt load_pixel_art(const std::string& path);  // throws std::runtime_error with a message
PixelArt parse_pixel_art(const std::string& text, const std::string& name_for_errors);

}  // namespace gen
