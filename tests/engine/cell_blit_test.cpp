// The sorting of cells by alpha and the two direct copies, on plain pixel arrays.
#include "engine/cell_blit.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using engine_detail::blit_cell;
using engine_detail::CellAlpha;
using engine_detail::classify_cell;
using engine_detail::PixelPlane;

TEST(CellAlpha, SortsByTheCellsOwnPixelsOnly) {
    // A 4 x 3 cell inside a 6-pixel-wide row pitch; the pixels outside it must not count.
    std::vector<uint32_t> px(6 * 3, 0x80123456u);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) px[size_t(y * 6 + x)] = 0xFF102030u;
    EXPECT_EQ(classify_cell(px.data(), 6, 4, 3), CellAlpha::opaque);
    px[2 * 6 + 3] = 0x00FF00FFu;  // the last pixel of the cell masked
    EXPECT_EQ(classify_cell(px.data(), 6, 4, 3), CellAlpha::keyed);
    px[0] = 0x7F102030u;  // one pixel of partial alpha makes the whole cell blended
    EXPECT_EQ(classify_cell(px.data(), 6, 4, 3), CellAlpha::blended);
    px[0] = 0xFE102030u;
    EXPECT_EQ(classify_cell(px.data(), 6, 4, 3), CellAlpha::blended);
}

class CellCopy : public ::testing::Test {
  protected:
    // An 8 x 6 screen inside a larger buffer: two pixels past each row and two rows past the
    // bottom, to catch writes beyond the screen's bounds.
    static constexpr uint32_t kBack = 0xFF000001u;
    std::vector<uint32_t> screen = std::vector<uint32_t>(10 * 8, kBack);
    PixelPlane dst{screen.data(), 10, 8, 6};
    // A 3 x 2 cell at (1, 1) of a 5 x 4 source whose other pixels are a frame around it.
    std::vector<uint32_t> source = std::vector<uint32_t>(5 * 4, 0xFFEEEEEEu);
    PixelPlane src{source.data(), 5, 5, 4};
    void SetUp() override {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                source[size_t((1 + y) * 5 + 1 + x)] = 0xFF000100u * uint32_t(1 + y * 3 + x);
    }
    uint32_t at(int x, int y) const { return screen[size_t(y * 10 + x)]; }
    uint32_t cell(int x, int y) const { return source[size_t((1 + y) * 5 + 1 + x)]; }
};

TEST_F(CellCopy, OpaqueCellsCopyWholeRowsCutAtEveryEdge) {
    blit_cell(dst, 2, 3, src, 1, 1, 3, 2, CellAlpha::opaque);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 5 && y >= 3 && y < 5;
            EXPECT_EQ(at(x, y), inside ? cell(x - 2, y - 3) : kBack) << x << "," << y;
        }
    // Past the top-left corner: only the cell's bottom-right pixel lands, at (0, 0).
    std::fill(screen.begin(), screen.end(), kBack);
    blit_cell(dst, -2, -1, src, 1, 1, 3, 2, CellAlpha::opaque);
    EXPECT_EQ(at(0, 0), cell(2, 1));
    EXPECT_EQ(at(1, 0), kBack);
    EXPECT_EQ(at(0, 1), kBack);
    // Past the bottom-right corner: only its top-left pixel, at (7, 5).
    std::fill(screen.begin(), screen.end(), kBack);
    blit_cell(dst, 7, 5, src, 1, 1, 3, 2, CellAlpha::opaque);
    size_t written = 0;
    for (uint32_t p : screen) written += p != kBack;
    EXPECT_EQ(written, 1u);
    EXPECT_EQ(at(7, 5), cell(0, 0));
    // Wholly outside: nothing.
    std::fill(screen.begin(), screen.end(), kBack);
    blit_cell(dst, 8, 0, src, 1, 1, 3, 2, CellAlpha::opaque);
    blit_cell(dst, 0, 6, src, 1, 1, 3, 2, CellAlpha::keyed);
    blit_cell(dst, 0, -2, src, 1, 1, 3, 2, CellAlpha::opaque);
    blit_cell(dst, -3, 0, src, 1, 1, 3, 2, CellAlpha::opaque);
    for (uint32_t p : screen) EXPECT_EQ(p, kBack);
}

TEST_F(CellCopy, KeyedCellsLeaveTheScreenWhereTheirAlphaIsZero) {
    source[1 * 5 + 2] = 0x00FF00FFu;  // cell pixel (1, 0) masked
    source[2 * 5 + 1] = 0x00123456u;  // cell pixel (0, 1): masked, whatever its colour
    blit_cell(dst, 0, 0, src, 1, 1, 3, 2, CellAlpha::keyed);
    EXPECT_EQ(at(0, 0), cell(0, 0));
    EXPECT_EQ(at(1, 0), kBack);
    EXPECT_EQ(at(2, 0), cell(2, 0));
    EXPECT_EQ(at(0, 1), kBack);
    EXPECT_EQ(at(1, 1), cell(1, 1));
    EXPECT_EQ(at(3, 0), kBack);
}

}  // namespace
