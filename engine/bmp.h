// BMP decoding and the cutting of a picture into frames: pure pixel work without SDL, so the
// checks that keep a damaged file from costing gigabytes can be tested and fuzzed on their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace engine_detail {

// No picture of the game comes near this; a header asking for more is damaged.
constexpr int kMaxPictureSide = 8192;
// The most bytes read of a picture file: the largest picture the limit allows, with headers.
constexpr size_t kMaxPictureFileBytes = size_t(kMaxPictureSide) * kMaxPictureSide * 4 + 4096;

struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;  // row by row from the top, 0xAARRGGBB
    bool own_alpha = false;      // a 32-bit picture: its fourth byte is its alpha
};

// Decodes an uncompressed BMP of 1, 4, 8, 24 or 32 bits per pixel (32 also with bit fields),
// rows bottom-up or top-down. Before anything is allocated it checks the header's size, the
// dimensions (1 .. kMaxPictureSide each way), that the palette and every row the header promises
// lie inside `size`, and afterwards that no pixel names a colour past the palette. Returns "" or
// one line saying what is wrong with the file.
std::string decode_bmp(const uint8_t* data, size_t size, Picture& out);

// Frames `first` .. `first + count - 1` of the picture cut into cell_w x cell_h cells, left to
// right then top to bottom (partial cells at the right and bottom ignored), each finished by
// finish_frame. Returns "" or why the picture has too few cells.
std::string cut_cells(const Picture& picture, int cell_w, int cell_h, int first, int count, int flags,
                      uint32_t mask_rgb, std::vector<std::vector<uint32_t>>& frames);

// The binary alpha of one w x h frame: a picture with its own alpha keeps pixels of alpha 128 and
// more (made opaque) and drops the rest; otherwise, with flag bit 1, pixels of exactly `mask_rgb`
// get alpha 0 (and their visible neighbours' average colour), every other pixel alpha 255.
void finish_frame(std::vector<uint32_t>& frame, int w, int h, int flags, bool own_alpha, uint32_t mask_rgb);

}  // namespace engine_detail
