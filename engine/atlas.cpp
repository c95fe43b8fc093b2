// Frames laid out with their edge-repeating gutters.
#include "engine/atlas.h"

#include <algorithm>
#include <cmath>

namespace engine_detail {

Atlas build_atlas(int w, int h, const std::vector<std::vector<uint32_t>>& frames, int max_width) {
    Atlas a;
    const int count = int(frames.size());
    if (count == 0 || w <= 0 || h <= 0) return a;
    const int pw = w + 2 * kAtlasGutter, ph = h + 2 * kAtlasGutter;
    int columns = int(std::ceil(std::sqrt(double(count) * double(ph) / double(pw))));
    columns = std::clamp(columns, 1, count);
    columns = std::max(1, std::min(columns, max_width / pw));
    const int rows = (count + columns - 1) / columns;
    a.width = columns * pw;
    a.height = rows * ph;
    a.pixels.assign(size_t(a.width) * size_t(a.height), 0);
    for (int k = 0; k < count; ++k) {
        const int ox = (k % columns) * pw, oy = (k / columns) * ph;
        a.cells.push_back(AtlasCell{ox + kAtlasGutter, oy + kAtlasGutter});
        const std::vector<uint32_t>& f = frames[size_t(k)];
        for (int y = -kAtlasGutter; y < h + kAtlasGutter; ++y) {
            uint32_t* row = &a.pixels[size_t(oy + kAtlasGutter + y) * size_t(a.width)];
            const int sy = std::clamp(y, 0, h - 1);
            for (int x = -kAtlasGutter; x < w + kAtlasGutter; ++x) {
                const int sx = std::clamp(x, 0, w - 1);
                row[ox + kAtlasGutter + x] = f[size_t(sy) * size_t(w) + size_t(sx)];
            }
        }
    }
    return a;
}

}  // namespace engine_detail
