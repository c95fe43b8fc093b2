// Canvas, BMP writing and the pixel-art parser of the asset generator.
#include "canvas.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace gen {

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parse_hex(const std::string& s, Rgb& out) {
    if (s.size() != 6) return false;
    int v[6];
    for (int i = 0; i < 6; ++i)
        if ((v[i] = hex_digit(s[i])) < 0) return false;
    out = {uint8_t(v[0] * 16 + v[1]), uint8_t(v[2] * 16 + v[3]), uint8_t(v[4] * 16 + v[5])};
    return true;
}

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}
uint32_t get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

Rgb hex(const char* rrggbb) {
    Rgb c;
    if (!parse_hex(rrggbb, c)) throw std::runtime_error(std::string("bad colour ") + rrggbb);
    return c;
}

Canvas::Canvas(int width, int height, Rgb fill) : w(width), h(height), px(size_t(width) * height, fill) {}

void Canvas::fill_rect(int x, int y, int rw, int rh, Rgb c) {
    for (int j = y; j < y + rh; ++j)
        for (int i = x; i < x + rw; ++i) set(i, j, c);
}

void Canvas::blit(const Canvas& src, int x, int y, bool opaque) {
    for (int j = 0; j < src.h; ++j)
        for (int i = 0; i < src.w; ++i) {
            Rgb c = src.get(i, j);
            if (opaque || !(c == kKey)) set(x + i, y + j, c);
        }
}

Canvas Canvas::crop(int x, int y, int cw, int ch) const {
    Canvas out(cw, ch);
    for (int j = 0; j < ch; ++j)
        for (int i = 0; i < cw; ++i)
            if (x + i >= 0 && y + j >= 0 && x + i < w && y + j < h) out.set(i, j, get(x + i, y + j));
    return out;
}

void add_outline(Canvas& c, Rgb colour, bool corners) {
    Canvas before = c;
    auto ink = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < before.w && y < before.h && !before.is_key(x, y);
    };
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            if (!before.is_key(x, y)) continue;
            bool edge = ink(x - 1, y) || ink(x + 1, y) || ink(x, y - 1) || ink(x, y + 1);
            if (corners)
                edge =
                    edge || ink(x - 1, y - 1) || ink(x + 1, y - 1) || ink(x - 1, y + 1) || ink(x + 1, y + 1);
            if (edge) c.set(x, y, colour);
        }
}

Canvas scaled(const Canvas& c, int factor) {
    Canvas out(c.w * factor, c.h * factor);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) out.set(x, y, c.get(x / factor, y / factor));
    return out;
}

Canvas strip(const std::vector<Canvas>& frames, int columns) {
    if (frames.empty()) return {};
    int fw = frames[0].w, fh = frames[0].h;
    int rows = (int(frames.size()) + columns - 1) / columns;
    Canvas out(fw * columns, fh * rows);
    for (size_t k = 0; k < frames.size(); ++k) {
        if (frames[k].w != fw || frames[k].h != fh) throw std::runtime_error("strip: frame sizes differ");
        out.blit(frames[k], fw * int(k % columns), fh * int(k / columns), true);
    }
    return out;
}

bool write_bmp(const std::string& path, const Canvas& c) {
    const uint32_t row = uint32_t((c.w * 3 + 3) & ~3);
    const uint32_t data = row * uint32_t(c.h);
    std::vector<uint8_t> b;
    b.reserve(54 + data);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + data);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, uint32_t(c.w));
    put32(b, uint32_t(c.h));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);  // BI_RGB: uncompressed
    put32(b, data);
    put32(b, 2835);  // 72 dpi
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = c.h - 1; y >= 0; --y) {
        for (int x = 0; x < c.w; ++x) {
            Rgb p = c.get(x, y);
            b.push_back(p.b);
            b.push_back(p.g);
            b.push_back(p.r);
        }
        for (uint32_t pad = uint32_t(c.w) * 3; pad < row; ++pad) b.push_back(0);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    ok = (std::fclose(f) == 0) && ok;
    return ok;
}

bool read_bmp(const std::string& path, Canvas& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    uint32_t offset = get32(b, 10);
    int w = int(get32(b, 18)), h = int(get32(b, 22));
    if (w <= 0 || h <= 0 || b[28] != 24 || get32(b, 30) != 0) return false;
    size_t row = size_t((w * 3 + 3) & ~3);
    if (offset + row * size_t(h) > b.size()) return false;
    out = Canvas(w, h);
    for (int y = 0; y < h; ++y) {
        size_t at = offset + row * size_t(h - 1 - y);
        for (int x = 0; x < w; ++x, at += 3) out.set(x, y, {b[at + 2], b[at + 1], b[at]});
    }
    return true;
}

const Canvas& PixelArt::frame(const std::string& name) const {
    for (size_t i = 0; i < frame_names.size(); ++i)
        if (frame_names[i] == name) return frames[i];
    throw std::runtime_error("no frame named " + name);
}

PixelArt parse_pixel_art(const std::string& text, const std::string& file) {
    PixelArt art;
    std::istringstream in(text);
    std::string line;
    int line_no = 0;
    enum { top, palette, frame } state = top;
    std::vector<std::string> rows;
    std::vector<int> row_lines;  // where each row of the frame being read was written
    std::string frame_name;
    auto fail = [&](const std::string& what) {
        throw std::runtime_error(file + ":" + std::to_string(line_no) + ": " + what);
    };
    auto finish_frame = [&]() {
        if (rows.empty()) fail("frame " + frame_name + " is empty");
        Canvas c(int(rows[0].size()), int(rows.size()));
        for (size_t y = 0; y < rows.size(); ++y) {
            line_no = row_lines[y];
            if (rows[y].size() != rows[0].size()) fail("frame " + frame_name + ": rows differ in length");
            for (size_t x = 0; x < rows[y].size(); ++x) {
                auto it = art.palette.find(rows[y][x]);
                if (it == art.palette.end())
                    fail(std::string("colour '") + rows[y][x] + "' is not in the palette");
                c.set(int(x), int(y), it->second);
            }
        }
        art.frame_names.push_back(frame_name);
        art.frames.push_back(std::move(c));
        art.text.push_back(std::move(rows));
        rows.clear();
        row_lines.clear();
    };
    while (std::getline(in, line)) {
        ++line_no;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (state == frame) {
            if (line == "end") {
                int end_line = line_no;
                finish_frame();
                line_no = end_line;
                state = top;
            } else {
                rows.push_back(line);
                row_lines.push_back(line_no);
            }
            continue;
        }
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream words(line.substr(first));
        std::string word;
        words >> word;
        if (state == palette) {
            if (word == "end") {
                state = top;
                continue;
            }
            if (word.size() != 1) fail("palette entries are one character and a colour");
            std::string colour;
            words >> colour;
            Rgb c;
            if (colour == "key")
                c = kKey;
            else if (!parse_hex(colour, c))
                fail("bad colour '" + colour + "'");
            else if (c == kKey)
                fail("ff00ff is the transparent key; write 'key'");
            art.palette[word[0]] = c;
        } else if (word == "palette") {
            state = palette;
        } else if (word == "frame") {
            words >> frame_name;
            if (frame_name.empty()) fail("a frame needs a name");
            state = frame;
        } else {
            fail("expected 'palette' or 'frame', found '" + word + "'");
        }
    }
    if (state == frame) fail("frame " + frame_name + " has no 'end'");
    if (state == palette) fail("palette has no 'end'");
    return art;
}

PixelArt load_pixel_art(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot open");
    std::stringstream ss;
    ss << in.rdbuf();
    return parse_pixel_art(ss.str(), path);
}

}  // namespace gen
