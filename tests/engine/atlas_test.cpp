// The texture layout of strip frames: each frame sits whole inside its own gutter ring of its
// edge pixels, so no sampling near a frame's border can reach a neighbour.
#include "engine/atlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using engine_detail::Atlas;
using engine_detail::build_atlas;
using engine_detail::kAtlasGutter;

// Frame k's pixel (x, y) has a value unique across all frames.
std::vector<std::vector<uint32_t>> numbered_frames(int w, int h, int count) {
    std::vector<std::vector<uint32_t>> frames(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                frames[size_t(k)].push_back(uint32_t(k) << 16 | uint32_t(y) << 8 | uint32_t(x));
    return frames;
}

uint32_t at(const Atlas& a, int x, int y) { return a.pixels[size_t(y) * size_t(a.width) + size_t(x)]; }

void expect_gutters(const Atlas& a, int w, int h, int count) {
    ASSERT_EQ(int(a.cells.size()), count);
    std::vector<int> owner(a.pixels.size(), -1);
    for (int k = 0; k < count; ++k) {
        const int cx = a.cells[size_t(k)].x, cy = a.cells[size_t(k)].y;
        for (int y = -kAtlasGutter; y < h + kAtlasGutter; ++y)
            for (int x = -kAtlasGutter; x < w + kAtlasGutter; ++x) {
                const int ax = cx + x, ay = cy + y;
                ASSERT_TRUE(ax >= 0 && ay >= 0 && ax < a.width && ay < a.height) << "frame " << k;
                int& o = owner[size_t(ay) * size_t(a.width) + size_t(ax)];
                ASSERT_EQ(o, -1) << "frames " << o << " and " << k << " share atlas pixel " << ax << ","
                                 << ay;
                o = k;
                const int sx = std::clamp(x, 0, w - 1), sy = std::clamp(y, 0, h - 1);
                ASSERT_EQ(at(a, ax, ay), uint32_t(k) << 16 | uint32_t(sy) << 8 | uint32_t(sx))
                    << "frame " << k << " at " << x << "," << y;
            }
    }
}

TEST(FrameAtlas, EachFrameIsRingedByItsOwnEdgePixels) {
    expect_gutters(build_atlas(16, 16, numbered_frames(16, 16, 6), 4096), 16, 16, 6);
    expect_gutters(build_atlas(5, 3, numbered_frames(5, 3, 11), 4096), 5, 3, 11);
    expect_gutters(build_atlas(1, 1, numbered_frames(1, 1, 1), 4096), 1, 1, 1);
}

TEST(FrameAtlas, LongStripsWrapIntoRowsWithinTheWidthLimit) {
    const Atlas tiles = build_atlas(16, 16, numbered_frames(16, 16, 120), 4096);
    expect_gutters(tiles, 16, 16, 120);
    EXPECT_LT(tiles.width, 400);  // near square, not one 2160-pixel row
    const Atlas narrow = build_atlas(100, 5, numbered_frames(100, 5, 20), 250);
    EXPECT_LE(narrow.width, 250);
    expect_gutters(narrow, 100, 5, 20);
}

TEST(FrameAtlas, NoFramesGiveAnEmptyAtlas) {
    const Atlas a = build_atlas(8, 8, {}, 4096);
    EXPECT_EQ(a.width, 0);
    EXPECT_TRUE(a.cells.empty());
}

}  // namespace
