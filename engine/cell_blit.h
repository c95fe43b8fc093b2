// Cells sorted at load by their alpha, and the two plain copies software drawing uses for them.
#pragma once

#include <cstdint>

namespace engine_detail {

// Opaque: every pixel has alpha 255. Keyed: every pixel has alpha 0 or 255 (the mask colour's
// pixels, or a picture's own on/off alpha). Blended: anything in between, which only SDL's
// blending draws right.
enum class CellAlpha : uint8_t { opaque, keyed, blended };

// The cell of w x h pixels at `pixels`, rows `pitch` pixels apart (ARGB, alpha in the top byte).
CellAlpha classify_cell(const uint32_t* pixels, int pitch, int w, int h);

// A w x h block of 32-bit pixels and where it lies.
struct PixelPlane {
    uint32_t* pixels;
    int pitch;  // in pixels
    int width, height;
};

// Copies the w x h block at (sx, sy) of `src` so that its top-left lands on (dx, dy) of `dst`,
// cut to dst's bounds: opaque cells row by row, keyed cells only their pixels with alpha. For
// such cells this is what SDL's blended copy gives, to the bit, without its per-pixel blending.
void blit_cell(const PixelPlane& dst, int dx, int dy, const PixelPlane& src, int sx, int sy, int w, int h,
               CellAlpha kind);

}  // namespace engine_detail
