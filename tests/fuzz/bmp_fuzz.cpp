// Fuzz target: BMP decoding, then the cell cutting and mask of every entry of the image table.
// Properties: a decoded picture is within the size limits and no larger than the file allows
// (so a small file can never ask for a large picture); each frame of a strip equals its source
// cell pixel for pixel, transparent exactly where the mask colour (or, for 32 bits, alpha below
// half) is, opaque everywhere else.
#include <algorithm>

#include "core/asset_table.h"
#include "engine/bmp.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

void check_cells(const engine_detail::Picture& pic, int cw, int ch, int count) {
    std::vector<std::vector<uint32_t>> frames;
    const std::string why = engine_detail::cut_cells(pic, cw, ch, 0, count, 1, kMagenta, frames);
    const int columns = pic.width / cw, rows = pic.height / ch;
    FUZZ_CHECK(why.empty() == (int64_t(columns) * rows >= count));
    if (!why.empty()) return;
    FUZZ_CHECK(int(frames.size()) == count);
    for (int k = 0; k < count; ++k) {
        const std::vector<uint32_t>& f = frames[size_t(k)];
        FUZZ_CHECK(f.size() == size_t(cw) * size_t(ch));
        const int x0 = cw * (k % columns), y0 = ch * (k / columns);
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                const uint32_t src = pic.argb[size_t(y0 + y) * size_t(pic.width) + size_t(x0 + x)];
                const uint32_t out = f[size_t(y) * size_t(cw) + size_t(x)];
                const bool clear = pic.own_alpha ? (src >> 24) < 128 : (src & 0xFFFFFF) == kMagenta;
                FUZZ_CHECK((out >> 24) == (clear ? 0u : 255u));
                // A masked pixel's colour is its neighbours' average; every other one is the cell's.
                if (pic.own_alpha || !clear) FUZZ_CHECK((out & 0xFFFFFF) == (src & 0xFFFFFF));
            }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    engine_detail::Picture pic;
    const std::string why = engine_detail::decode_bmp(data, size, pic);
    if (!why.empty()) {
        FUZZ_CHECK(pic.argb.empty());
        return 0;
    }
    FUZZ_CHECK(pic.width >= 1 && pic.width <= engine_detail::kMaxPictureSide);
    FUZZ_CHECK(pic.height >= 1 && pic.height <= engine_detail::kMaxPictureSide);
    FUZZ_CHECK(pic.argb.size() == size_t(pic.width) * size_t(pic.height));
    // At least one bit of the file for every pixel: a file cannot promise more than it holds.
    FUZZ_CHECK(pic.argb.size() <= size * 8);
    for (const ImageEntry& e : kImageTable) {
        if (e.count == 0) {
            check_cells(pic, pic.width, pic.height, 1);
        } else {
            check_cells(pic, e.cell_w, e.cell_h, e.count);
        }
    }
    return 0;
}
