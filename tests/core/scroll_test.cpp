// The scroll: its arithmetic down to exactly 0, the rows drawn at each end of the map, the tile
// frames that reach the renderer, and the background layers with their wrap and half speed.
#include "core/scroll.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/assets.h"
#include "core/game_flow.h"
#include "core/stage_map.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "tests/support/game_fixture.h"

namespace {

using headless::DrawRecord;
using testsupport::GameTest;

std::vector<DrawRecord> drawn_of(const TImage* image) {
    std::vector<DrawRecord> out;
    for (const DrawRecord& r : headless::draw_log())
        if (r.kind == DrawRecord::image && r.img == image) out.push_back(r);
    return out;
}

class Scroll : public GameTest {};

TEST_F(Scroll, StartsHeldAtTheBottomScreenful) {
    EXPECT_EQ(scroll_pos, 5760.0f);
    EXPECT_EQ(scrolling, 0);
    scroll_and_draw_map();
    EXPECT_EQ(scroll_pos, 5760.0f);
}

TEST_F(Scroll, MovesHalfAPixelPerFrameWhileScrolling) {
    scrolling = 1;
    scroll_and_draw_map();
    EXPECT_EQ(scroll_pos, 5759.5f);
    scroll_and_draw_map();
    EXPECT_EQ(scroll_pos, 5759.0f);
    EXPECT_EQ(scrolling, 1);
}

TEST_F(Scroll, LastHalfPixelLandsOnExactlyZeroAndStopsTheMap) {
    scroll_pos = 0.5f;
    scrolling = 1;
    scroll_and_draw_map();
    EXPECT_EQ(scroll_pos, 0.0f);
    EXPECT_EQ(scrolling, 0);
    scroll_and_draw_map();
    EXPECT_EQ(scroll_pos, 0.0f);
}

TEST_F(Scroll, APositionBelowOneStepAlsoEndsAtZero) {
    scroll_pos = 0.25f;
    scrolling = 1;
    scroll_and_draw_map();
    EXPECT_EQ(scroll_pos, 0.0f);
    EXPECT_EQ(scrolling, 0);
    scroll_pos = 1.0f;
    scrolling = 1;
    scroll_and_draw_map();
    EXPECT_EQ(scroll_pos, 0.5f);
    EXPECT_EQ(scrolling, 1);
}

class VisibleRows : public GameTest {};

TEST_F(VisibleRows, BottomScreenfulIsRows360To374) {
    scroll_pos = 5760.0f;
    update_visible_rows();
    EXPECT_EQ(first_row, 360);
    EXPECT_EQ(end_row, 375);
}

TEST_F(VisibleRows, AnywhereBelowThePartlyVisibleRowIsAdded) {
    scroll_pos = 5759.5f;
    update_visible_rows();
    EXPECT_EQ(first_row, 359);
    EXPECT_EQ(end_row, 375);
    scroll_pos = 3000.0f;
    update_visible_rows();
    EXPECT_EQ(first_row, 187);
    EXPECT_EQ(end_row, 203);
    scroll_pos = 0.0f;
    update_visible_rows();
    EXPECT_EQ(first_row, 0);
    EXPECT_EQ(end_row, 16);
}

class MapDrawing : public GameTest {
  protected:
    void draw_at(float pos) {
        scroll_pos = pos;
        update_visible_rows();
        cls();
        scroll_and_draw_map();
    }
};

TEST_F(MapDrawing, AtTheTopRows0To15AreDrawnRowByRow) {
    tile_map[3][15] = 77;
    draw_at(0.0f);
    const auto tiles = drawn_of(img_tileset1);
    ASSERT_EQ(tiles.size(), 16u * 15u);
    for (size_t i = 0; i < tiles.size(); ++i) {
        const int row = int(i) / 15, column = int(i) % 15;
        ASSERT_EQ(tiles[i].x, float(column * 16 + 8) * 2.0f) << i;
        ASSERT_EQ(tiles[i].y, float(row * 16 + 8) * 2.0f) << i;
        ASSERT_EQ(tiles[i].scale_x, 2.0f);
    }
    EXPECT_EQ(tiles[15 * 15 + 3].frame, 77);
}

TEST_F(MapDrawing, AtTheStartRows360To374AreDrawn) {
    tile_map[0][360] = 5;
    tile_map[14][374] = 6;
    draw_at(5760.0f);
    const auto tiles = drawn_of(img_tileset1);
    ASSERT_EQ(tiles.size(), 15u * 15u);
    EXPECT_EQ(tiles.front().frame, 5);
    EXPECT_EQ(tiles.front().y, 16.0f);  // row 360 at game y 8
    EXPECT_EQ(tiles.back().frame, 6);
    EXPECT_EQ(tiles.back().x, 464.0f);
    EXPECT_EQ(tiles.back().y, (374.0f * 16.0f + 8.0f - 5760.0f) * 2.0f);
}

TEST_F(MapDrawing, CellsFollowAFractionalScrollPosition) {
    scrolling = 1;
    scroll_pos = 3000.5f;
    update_visible_rows();  // from the previous frame's position, as the frame loop does
    cls();
    scroll_and_draw_map();  // moves to 3000 first, then draws
    const auto tiles = drawn_of(img_tileset1);
    ASSERT_EQ(tiles.size(), 16u * 15u);
    EXPECT_EQ(tiles.front().y, (187.0f * 16.0f + 8.0f - 3000.0f) * 2.0f);  // row 187, partly above
}

TEST_F(MapDrawing, TileBytesWithoutAFrameDrawNothing) {
    for (int column = 0; column < 15; ++column) tile_map[column][0] = 120 + column * 9;  // 120..246
    tile_map[0][1] = 119;
    tile_map[1][1] = 255;
    tile_map[2][1] = 256 + 4;  // only the low byte counts
    draw_at(0.0f);
    const auto tiles = drawn_of(img_tileset1);
    ASSERT_EQ(tiles.size(), 16u * 15u - 16u);
    for (const DrawRecord& t : tiles) ASSERT_LT(t.frame, 120);
    EXPECT_EQ(tiles[0].frame, 119);
    EXPECT_EQ(tiles[1].frame, 4);
    EXPECT_EQ(tiles[1].x, (2.0f * 16.0f + 8.0f) * 2.0f);
}

TEST_F(MapDrawing, StageFileTilesReachTheScreen) {
    std::vector<uint8_t> bytes(stage_file_bytes, 0);
    bytes[(374 * 15 + 7) * 2] = 33;
    bytes[(374 * 15 + 8) * 2] = 130;
    std::filesystem::current_path(testsupport::make_temp_dir("tiles"));
    testsupport::write_bytes("level/level1.txt", bytes);
    load_stage_file(1);
    draw_at(5760.0f);
    const auto tiles = drawn_of(img_tileset1);
    ASSERT_EQ(tiles.size(), 15u * 15u - 1u);
    EXPECT_EQ(tiles[14 * 15 + 7].frame, 33);
    EXPECT_EQ(tiles[14 * 15 + 8].x, (9.0f * 16.0f + 8.0f) * 2.0f);  // column 8 was skipped
}

class Backgrounds : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        stage = 1;
    }
};

TEST_F(Backgrounds, LayersMoveAtTheirSpeedsWhileScrollingAndAtHalfWhileHeld) {
    scrolling = 1;
    draw_backgrounds();
    EXPECT_EQ(bg_far_y, 120.0f + 0.2f);
    EXPECT_EQ(bg_near_y, 120.0f + 0.3f);
    scrolling = 0;
    bg_far_y = bg_near_y = 120.0f;
    draw_backgrounds();
    EXPECT_EQ(bg_far_y, 120.0f + 0.1f);
    EXPECT_EQ(bg_near_y, 120.0f + 0.15f);
    for (int frame = 1; frame < 100; ++frame) draw_backgrounds();
    EXPECT_NEAR(bg_far_y, 130.0f, 1e-3);
    EXPECT_NEAR(bg_near_y, 135.0f, 1e-3);
}

TEST_F(Backgrounds, WrapAt360ToExactly120) {
    scrolling = 1;
    bg_far_y = 359.9f;
    bg_near_y = 359.6f;
    draw_backgrounds();
    EXPECT_EQ(bg_far_y, 120.0f);
    EXPECT_FLOAT_EQ(bg_near_y, 359.9f);
    draw_backgrounds();
    EXPECT_EQ(bg_near_y, 120.0f);
    EXPECT_FLOAT_EQ(bg_far_y, 120.2f);
}

TEST_F(Backgrounds, StageOneDrawsTheFarLayerTwiceThenTheNearLayerTwice) {
    bg_far_y = 200.0f;
    bg_near_y = 300.0f;
    scrolling = 1;
    cls();
    draw_backgrounds();
    const auto& log = headless::draw_log();
    ASSERT_EQ(log.size(), 4u);
    const float far = 200.2f, near = 300.3f;
    EXPECT_EQ(log[0].img, img_bg3);
    EXPECT_EQ(log[1].img, img_bg3);
    EXPECT_EQ(log[2].img, img_bg4);
    EXPECT_EQ(log[3].img, img_bg4);
    EXPECT_EQ(log[0].x, 240.0f);
    EXPECT_EQ(log[0].y, far * 2.0f);
    EXPECT_EQ(log[1].y, (far - 240.0f) * 2.0f);
    EXPECT_EQ(log[2].y, near * 2.0f);
    EXPECT_EQ(log[3].y, (near - 240.0f) * 2.0f);
    for (const DrawRecord& r : log) {
        EXPECT_EQ(r.frame, 0);
        EXPECT_EQ(r.scale_x, 2.0f);
    }
}

TEST_F(Backgrounds, StageTwoDriftsItsOverlayWithoutWrapping) {
    stage = 2;
    bg_drift_y = 359.995f;
    cls();
    draw_backgrounds();
    const auto& log = headless::draw_log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].img, img_bg1);
    EXPECT_EQ(log[1].img, img_bg1);
    EXPECT_EQ(log[2].img, img_bg5);
    EXPECT_EQ(log[2].y, bg_drift_y * 2.0f);
    EXPECT_GT(bg_drift_y, 360.0f);
    for (int frame = 0; frame < 100; ++frame) draw_backgrounds();
    EXPECT_NEAR(bg_drift_y, 361.005f, 1e-3);
}

TEST_F(Backgrounds, StageThreeAndTheLaterStages) {
    stage = 3;
    cls();
    draw_backgrounds();
    ASSERT_EQ(headless::draw_log().size(), 4u);
    EXPECT_EQ(headless::draw_log()[0].img, img_bg1);
    EXPECT_EQ(headless::draw_log()[3].img, img_bg2);
    for (uint8_t later : {4, 5}) {
        stage = later;
        const float far = bg_far_y;
        cls();
        draw_backgrounds();
        EXPECT_TRUE(headless::draw_log().empty());
        EXPECT_GT(bg_far_y, far);  // nothing drawn, but the layers still move
    }
}

}  // namespace
