// Small files for the engine's tests: a scratch folder, BMP pictures of 8, 24 and 32 bits, and
// RIFF/WAVE files put together chunk by chunk.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace enginetest {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator<(const Rgba& o) const { return std::tie(r, g, b, a) < std::tie(o.r, o.g, o.b, o.a); }
};

inline uint32_t rgb(const Rgba& c) { return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

inline std::string scratch_dir(const std::string& tag) {
    static int counter = 0;
    namespace fs = std::filesystem;
    const fs::path p = fs::temp_directory_path() / ("cinder-engine-" + std::to_string(::getpid()) + "-" +
                                                    tag + "-" + std::to_string(counter++));
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string();
}

inline void save(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<uint8_t> load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}

inline void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

inline void put_text(std::vector<uint8_t>& b, const std::string& s) {
    for (char c : s) b.push_back(uint8_t(c));
}

// An uncompressed bottom-up BMP of `bits` 8 (palette of the colours used), 24 or 32 (with alpha).
inline void write_bmp(const std::string& path, int w, int h, const std::vector<Rgba>& px, int bits) {
    std::vector<Rgba> palette;
    std::map<Rgba, int> index;
    if (bits == 8) {
        for (const Rgba& c : px) {
            Rgba key{c.r, c.g, c.b, 255};
            if (!index.count(key)) {
                index[key] = int(palette.size());
                palette.push_back(key);
            }
        }
    }
    const uint32_t bpp = uint32_t(bits / 8);
    const uint32_t row = (uint32_t(w) * bpp + 3) & ~3u;
    const uint32_t header = 14 + 40 + uint32_t(palette.size()) * 4;
    std::vector<uint8_t> b = {'B', 'M'};
    put32(b, header + row * uint32_t(h));
    put32(b, 0);
    put32(b, header);
    put32(b, 40);
    put32(b, uint32_t(w));
    put32(b, uint32_t(h));
    put16(b, 1);
    put16(b, uint32_t(bits));
    put32(b, 0);
    put32(b, row * uint32_t(h));
    put32(b, 2835);
    put32(b, 2835);
    put32(b, uint32_t(palette.size()));
    put32(b, 0);
    for (const Rgba& c : palette) {
        b.push_back(c.b);
        b.push_back(c.g);
        b.push_back(c.r);
        b.push_back(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        const size_t start = b.size();
        for (int x = 0; x < w; ++x) {
            const Rgba& c = px[size_t(y) * size_t(w) + size_t(x)];
            if (bits == 8) {
                b.push_back(uint8_t(index[Rgba{c.r, c.g, c.b, 255}]));
            } else {
                b.push_back(c.b);
                b.push_back(c.g);
                b.push_back(c.r);
                if (bits == 32) b.push_back(c.a);
            }
        }
        while (b.size() - start < row) b.push_back(0);
    }
    save(path, b);
}

// One chunk: id, little-endian length, body, and the pad byte after an odd length.
inline std::vector<uint8_t> chunk(const std::string& id, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> b;
    put_text(b, id);
    put32(b, uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

inline std::vector<uint8_t> fmt_body(int tag, int channels, int rate, int bits, int extra_bytes = 0) {
    std::vector<uint8_t> b;
    put16(b, uint32_t(tag));
    put16(b, uint32_t(channels));
    put32(b, uint32_t(rate));
    put32(b, uint32_t(rate * channels * bits / 8));
    put16(b, uint32_t(channels * bits / 8));
    put16(b, uint32_t(bits));
    for (int i = 0; i < extra_bytes; ++i) b.push_back(0);
    return b;
}

inline std::vector<uint8_t> riff(const std::vector<std::vector<uint8_t>>& chunks) {
    std::vector<uint8_t> body;
    put_text(body, "WAVE");
    for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    std::vector<uint8_t> b;
    put_text(b, "RIFF");
    put32(b, uint32_t(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

// A plain PCM file of `frames` sample frames of silence-like ramp.
inline std::vector<uint8_t> simple_wav(int channels, int rate, int bits, int frames) {
    std::vector<uint8_t> data(size_t(frames) * size_t(channels) * size_t(bits / 8));
    for (size_t i = 0; i < data.size(); ++i) data[i] = uint8_t(i * 7);
    return riff({chunk("fmt ", fmt_body(1, channels, rate, bits)), chunk("data", data)});
}

}  // namespace enginetest
