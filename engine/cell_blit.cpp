// Sorting cells by alpha, and the row copy and keyed copy that draw the opaque and keyed ones.
#include "engine/cell_blit.h"

#include <cstddef>
#include <cstring>

namespace engine_detail {

CellAlpha classify_cell(const uint32_t* pixels, int pitch, int w, int h) {
    bool all_opaque = true;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = pixels + std::ptrdiff_t(y) * pitch;
        for (int x = 0; x < w; ++x) {
            const uint32_t a = row[x] >> 24;
            if (a == 0) {
                all_opaque = false;
            } else if (a != 255) {
                return CellAlpha::blended;
            }
        }
    }
    return all_opaque ? CellAlpha::opaque : CellAlpha::keyed;
}

void blit_cell(const PixelPlane& dst, int dx, int dy, const PixelPlane& src, int sx, int sy, int w, int h,
               CellAlpha kind) {
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    if (dx + w > dst.width) w = dst.width - dx;
    if (dy + h > dst.height) h = dst.height - dy;
    if (w <= 0 || h <= 0) return;
    const uint32_t* in = src.pixels + std::ptrdiff_t(sy) * src.pitch + sx;
    uint32_t* out = dst.pixels + std::ptrdiff_t(dy) * dst.pitch + dx;
    if (kind == CellAlpha::opaque) {
        for (int y = 0; y < h; ++y, in += src.pitch, out += dst.pitch) std::memcpy(out, in, size_t(w) * 4);
        return;
    }
    // Written as a select rather than a skip, so the compiler can do it a vector at a time.
    for (int y = 0; y < h; ++y, in += src.pitch, out += dst.pitch)
        for (int x = 0; x < w; ++x) out[x] = (in[x] >> 24) ? in[x] : out[x];
}

}  // namespace engine_detail
