// The layout of a picture's frames in its one texture: a grid of frames, each framed by a gutter
// that repeats the frame's edge pixels. Pure pixel work, no SDL, so tests can check the layout.
#pragma once

#include <cstdint>
#include <vector>

namespace engine_detail {

constexpr int kAtlasGutter = 1;

struct AtlasCell {
    int x = 0, y = 0;  // top-left of the frame itself (the gutter lies around it)
};

struct Atlas {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // row by row, width * height
    std::vector<AtlasCell> cells;  // one per frame, in frame order
};

// Frames are w x h arrays of pixels (row by row). Frames go in rows of at most max_width pixels,
// in a near-square grid; nearest sampling at any placement of a frame then only ever reads the
// frame's own pixels, with the gutter standing in for the half-texel just past its edges.
Atlas build_atlas(int w, int h, const std::vector<std::vector<uint32_t>>& frames, int max_width);

}  // namespace engine_detail
