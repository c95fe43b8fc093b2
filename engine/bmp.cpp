// BMP decoding with every size checked against the file before it is trusted, and frame cutting.
#include "engine/bmp.h"

#include <bit>

namespace engine_detail {

namespace {

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

// A bit-field mask must be one run of bits (or empty) to name a channel.
bool contiguous(uint32_t mask) {
    if (mask == 0) return true;
    const uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

// The channel under `mask`, scaled to 0..255.
uint32_t channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask), width = std::popcount(mask);
    const uint32_t v = (pixel & mask) >> shift;
    if (width >= 8) return v >> (width - 8);
    return v * 255 / ((1u << width) - 1);
}

}  // namespace

std::string decode_bmp(const uint8_t* b, size_t size, Picture& out) {
    out = Picture{};
    if (size < 18 || b[0] != 'B' || b[1] != 'M') return "not a BMP picture";
    const uint32_t offset = le32(b + 10);
    const uint32_t header = le32(b + 14);
    if (header != 12 && header != 40 && header != 52 && header != 56 && header != 64 && header != 108 &&
        header != 124)
        return "not a BMP picture (a header of " + std::to_string(header) + " bytes)";
    if (14 + size_t(header) > size) return "cut short inside its header";
    int64_t width, height;
    uint32_t bits, compression = 0, colours_used = 0;
    if (header == 12) {
        width = le16(b + 18);
        height = le16(b + 20);
        bits = le16(b + 24);
    } else {
        width = int32_t(le32(b + 18));
        height = int32_t(le32(b + 22));
        bits = le16(b + 28);
        compression = le32(b + 30);
        colours_used = le32(b + 46);
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return std::to_string(bits) + " bits per pixel (only 1, 4, 8, 24 and 32 are read)";
    // Bit fields only say where a 32-bit pixel keeps its channels: still uncompressed. (The 64-byte
    // header uses the same number for another, compressed, format.)
    const bool fields = compression == 3 && bits == 32 && header != 64;
    if (!(compression == 0 || fields)) return "a compressed BMP (only uncompressed ones are read)";
    const bool top_down = height < 0;
    if (top_down) height = -height;
    if (width < 1 || height < 1 || width > kMaxPictureSide || height > kMaxPictureSide)
        return "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
               " (each side must be 1 to " + std::to_string(kMaxPictureSide) + ")";

    size_t at = 14 + size_t(header);
    uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};
    if (fields) {
        // A 40-byte header has the three colour masks after it; longer ones hold them (and, from
        // 56 bytes on, the alpha mask) inside.
        const size_t mask_at = header == 40 ? at : 14 + 40;
        if (header == 40) at += 12;
        if (mask_at + 12 > size) return "cut short inside its bit fields";
        for (int k = 0; k < 3; ++k) masks[k] = le32(b + mask_at + size_t(4 * k));
        masks[3] = header >= 56 ? le32(b + 14 + 52) : 0;
        for (uint32_t m : masks)
            if (!contiguous(m)) return "bit fields that are not runs of bits";
    }
    std::vector<uint32_t> palette;
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        const uint32_t count = colours_used == 0 ? most : colours_used;
        if (count > most)
            return "a palette of " + std::to_string(count) + " colours for " + std::to_string(bits) +
                   "-bit pixels";
        const size_t entry = header == 12 ? 3 : 4;
        if (at + count * entry > size) return "cut short inside its palette";
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = b + at + i * entry;
            palette.push_back(0xFF000000u | uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0]);
        }
        at += count * entry;
    }
    if (offset < at) return "pixels that overlap its header or palette";
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    const uint64_t last_row = (uint64_t(width) * bits + 7) / 8;  // the last row's padding may be missing
    if (uint64_t(offset) + stride * uint64_t(height - 1) + last_row > size)
        return "cut short: the header promises " + std::to_string(width) + " x " + std::to_string(height) +
               " pixels that the file does not hold";

    const int w = int(width), h = int(height);
    out.width = w;
    out.height = h;
    out.own_alpha = bits == 32 && (!fields || masks[3] != 0);
    out.argb.resize(size_t(w) * size_t(h));
    for (int row = 0; row < h; ++row) {
        const uint8_t* src = b + offset + size_t(stride) * size_t(row);
        uint32_t* dst = &out.argb[size_t(top_down ? row : h - 1 - row) * size_t(w)];
        for (int x = 0; x < w; ++x) {
            if (bits <= 8) {
                const size_t bit = size_t(x) * bits;
                const uint32_t index = (src[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index >= palette.size()) {
                    const size_t colours = palette.size();
                    out = Picture{};
                    return "a pixel of colour " + std::to_string(index) + " past its palette of " +
                           std::to_string(colours);
                }
                dst[x] = palette[index];
            } else if (bits == 24) {
                const uint8_t* p = src + size_t(x) * 3;
                dst[x] = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            } else if (!fields) {
                dst[x] = le32(src + size_t(x) * 4);  // B, G, R, A: the fourth byte is alpha
            } else {
                const uint32_t p = le32(src + size_t(x) * 4);
                const uint32_t a = masks[3] ? channel(p, masks[3]) : 255;
                dst[x] =
                    a << 24 | channel(p, masks[0]) << 16 | channel(p, masks[1]) << 8 | channel(p, masks[2]);
            }
        }
    }
    return "";
}

std::string cut_cells(const Picture& pic, int cell_w, int cell_h, int first, int count, int flags,
                      uint32_t mask_rgb, std::vector<std::vector<uint32_t>>& frames) {
    frames.clear();
    const int w = pic.width, h = pic.height;
    if (cell_w <= 0 || cell_h <= 0 || first < 0 || count <= 0 || w <= 0 || h <= 0) return "no cells to cut";
    const int columns = w / cell_w, rows = h / cell_h;
    if (int64_t(columns) * rows < int64_t(first) + count)
        return "a picture of " + std::to_string(w) + " x " + std::to_string(h) + " holds " +
               std::to_string(int64_t(columns) * rows) + " cells of " + std::to_string(cell_w) + " x " +
               std::to_string(cell_h) + ", not " + std::to_string(int64_t(first) + count);
    frames.resize(size_t(count));
    for (int k = 0; k < count; ++k) {
        const int i = first + k;
        const int x0 = cell_w * (i % columns), y0 = cell_h * (i / columns);
        std::vector<uint32_t>& f = frames[size_t(k)];
        f.resize(size_t(cell_w) * size_t(cell_h));
        for (int y = 0; y < cell_h; ++y) {
            const uint32_t* src = &pic.argb[size_t(y0 + y) * size_t(w) + size_t(x0)];
            std::copy(src, src + cell_w, &f[size_t(y) * size_t(cell_w)]);
        }
        finish_frame(f, cell_w, cell_h, flags, pic.own_alpha, mask_rgb);
    }
    return "";
}

void finish_frame(std::vector<uint32_t>& f, int w, int h, int flags, bool own_alpha, uint32_t key) {
    if (own_alpha) {
        for (uint32_t& p : f) p = (p >> 24) >= 128 ? (p | 0xFF000000u) : (p & 0x00FFFFFFu);
        return;
    }
    if (!(flags & 1)) {
        for (uint32_t& p : f) p |= 0xFF000000u;
        return;
    }
    std::vector<uint8_t> masked(f.size());
    for (size_t i = 0; i < f.size(); ++i) masked[i] = (f[i] & 0xFFFFFFu) == key;
    std::vector<uint32_t> out(f.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * size_t(w) + size_t(x);
            if (!masked[i]) {
                out[i] = f[i] | 0xFF000000u;
                continue;
            }
            // A see-through pixel takes its visible neighbours' average colour, which only shows
            // at the edges of filtered drawing.
            unsigned r = 0, g = 0, bl = 0, n = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                    const size_t j = size_t(ny) * size_t(w) + size_t(nx);
                    if (masked[j]) continue;
                    r += (f[j] >> 16) & 255;
                    g += (f[j] >> 8) & 255;
                    bl += f[j] & 255;
                    ++n;
                }
            out[i] = n ? ((r / n) << 16 | (g / n) << 8 | (bl / n)) : 0;
        }
    }
    f.swap(out);
}

}  // namespace engine_detail
