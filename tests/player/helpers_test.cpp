// The drawing and maths helpers: doubled drawing with the scale put back, bitmap-font text, the
// square test with touching edges, whole-number circle offsets and the distance to the ship.
#include "player/helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/assets.h"
#include "core/entities.h"
#include "core/objects.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "player/helpers_internal.h"
#include "player/ship.h"
#include "tests/support/game_fixture.h"

namespace {

using headless::DrawRecord;
using testsupport::GameTest;

std::vector<DrawRecord> images_drawn() {
    std::vector<DrawRecord> out;
    for (const DrawRecord& r : headless::draw_log())
        if (r.kind == DrawRecord::image) out.push_back(r);
    return out;
}

class DrawScaled : public GameTest {};

TEST_F(DrawScaled, HiresDoublesPositionAndScaleThenPutsTheScaleBack) {
    cls();
    draw_scaled_at_resolution(1, img_enemy1, 160.0f, 120.0f, 0);
    draw_image(img_enemy1, 10.0f, 10.0f, 1);  // whatever draws next sees scale 1 again
    const auto drawn = images_drawn();
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].img, img_enemy1);
    EXPECT_EQ(drawn[0].frame, 0);
    EXPECT_EQ(drawn[0].x, 320.0f);
    EXPECT_EQ(drawn[0].y, 240.0f);
    EXPECT_EQ(drawn[0].scale_x, 2.0f);
    EXPECT_EQ(drawn[0].scale_y, 2.0f);
    EXPECT_EQ(drawn[1].scale_x, 1.0f);
    EXPECT_EQ(drawn[1].scale_y, 1.0f);
}

TEST_F(DrawScaled, LowResolutionDrawsAtTheGivenPositionAndLeavesTheScaleAlone) {
    cls();
    set_scale(3.0f, 3.0f);
    draw_scaled_at_resolution(0, img_enemy1, 160.0f, 120.0f, 1);
    set_scale(1.0f, 1.0f);
    const auto drawn = images_drawn();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].x, 160.0f);
    EXPECT_EQ(drawn[0].y, 120.0f);
    EXPECT_EQ(drawn[0].frame, 1);
    EXPECT_EQ(drawn[0].scale_x, 3.0f);
}

TEST_F(DrawScaled, GameBuildDrawsDoubled) {
    cls();
    draw_scaled(img_bullet1, -4.5f, 250.25f, 7);
    const auto drawn = images_drawn();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].x, -9.0f);
    EXPECT_EQ(drawn[0].y, 500.5f);
    EXPECT_EQ(drawn[0].frame, 7);
    EXPECT_EQ(drawn[0].scale_x, 2.0f);
}

class GlyphText : public GameTest {};

TEST_F(GlyphText, OneFramePerCharacterAtEqualSteps) {
    cls();
    draw_glyph_text(img_font2, "PLAYER=1", 100.0f, 50.0f, 8.0f);
    const auto drawn = images_drawn();
    ASSERT_EQ(drawn.size(), 8u);
    const int frames[] = {'P' - 48, 'L' - 48, 'A' - 48, 'Y' - 48, 'E' - 48, 'R' - 48, 13, 1};
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(drawn[i].img, img_font2);
        EXPECT_EQ(drawn[i].frame, frames[i]) << i;
        EXPECT_EQ(drawn[i].x, (100.0f + 8.0f * float(i)) * 2.0f) << i;
        EXPECT_EQ(drawn[i].y, 100.0f);
        EXPECT_EQ(drawn[i].scale_x, 2.0f);
    }
    EXPECT_EQ(drawn[6].x, 148.0f * 2.0f);  // the "=" cell
}

TEST_F(GlyphText, EmptyTextDrawsNothing) {
    cls();
    draw_glyph_text(img_font1, "", 10.0f, 10.0f, 8.0f);
    EXPECT_TRUE(headless::draw_log().empty());
}

TEST_F(GlyphText, CharactersWithoutAFrameAreSkippedButKeepTheirPlace) {
    cls();
    // The small font has "0" to ":" only; a blank and a lower-case letter have no cell anywhere.
    draw_glyph_text(img_font3, ":1A 2a9", 0.0f, 0.0f, 5.0f);
    const auto drawn = images_drawn();
    ASSERT_EQ(drawn.size(), 4u);
    EXPECT_EQ(drawn[0].frame, 10);
    EXPECT_EQ(drawn[1].frame, 1);
    EXPECT_EQ(drawn[2].frame, 2);
    EXPECT_EQ(drawn[2].x, 2.0f * 20.0f);
    EXPECT_EQ(drawn[3].frame, 9);
    EXPECT_EQ(drawn[3].x, 2.0f * 30.0f);
}

TEST(BoxesOverlap, TouchingEdgesOverlap) {
    EXPECT_EQ(boxes_overlap(0, 0, 1, 2, 0, 1), 1);
    EXPECT_EQ(boxes_overlap(0, 0, 1, 3, 0, 1), 0);
    EXPECT_EQ(boxes_overlap(0, 0, 1, 0, 2, 1), 1);
    EXPECT_EQ(boxes_overlap(0, 0, 0, 0, 0, 0), 1);
}

TEST(BoxesOverlap, EachSideSeparatesOnItsOwn) {
    EXPECT_EQ(boxes_overlap(0, 0, 2, 0, -5, 2), 0);  // above
    EXPECT_EQ(boxes_overlap(0, 0, 2, 0, 5, 2), 0);   // below
    EXPECT_EQ(boxes_overlap(0, 0, 2, -5, 0, 2), 0);  // left
    EXPECT_EQ(boxes_overlap(0, 0, 2, 5, 0, 2), 0);   // right
    EXPECT_EQ(boxes_overlap(0, 0, 2, 4, 4, 2), 1);   // corners touch
    EXPECT_EQ(boxes_overlap(0, 0, 2, 4, 5, 2), 0);
}

TEST(BoxesOverlap, ContainedAndUnequalSquares) {
    EXPECT_EQ(boxes_overlap(100, 100, 30, 110, 90, 2), 1);
    EXPECT_EQ(boxes_overlap(110, 90, 2, 100, 100, 30), 1);
    EXPECT_EQ(boxes_overlap(-10, -10, 3, -16, -10, 3), 1);
    EXPECT_EQ(boxes_overlap(-10, -10, 3, -17, -10, 3), 0);
}

TEST(CircleOffsets, RightAnglesAreExact) {
    EXPECT_EQ(cos_offset(180.0f, 10.0f), -10);
    EXPECT_EQ(sin_offset(180.0f, 10.0f), 0);
    EXPECT_EQ(cos_offset(270.0f, 10.0f), 0);
    EXPECT_EQ(sin_offset(270.0f, 10.0f), -10);
    EXPECT_EQ(cos_offset(0.0f, 12.0f), 12);
    EXPECT_EQ(sin_offset(90.0f, 4.0f), 4);
    EXPECT_EQ(cos_offset(90.0f, 4.0f), 0);
}

TEST(CircleOffsets, ProductsAreTruncatedTowardZero) {
    EXPECT_EQ(cos_offset(250.0f, 12.0f), -4);
    EXPECT_EQ(sin_offset(250.0f, 12.0f), -11);
    EXPECT_EQ(sin_offset(210.0f, 3.0f), -1);  // -1.5, not -2
    EXPECT_EQ(cos_offset(60.0f, 3.0f), 1);    // 1.5
    EXPECT_EQ(cos_offset(330.0f, -20.0f), -17);
    EXPECT_EQ(sin_offset(300.0f, -20.0f), 17);
}

// The offsets follow the sine of the rounded product, not of the exact angle: where that falls a
// unit short of one half (sin 30, sin 150, cos 120) the truncated offset is one short, and the
// boss's hexagon of bullets at 0, 60, ..., 300 degrees starts at -3 for 120 but -4 for 240.
TEST(CircleOffsets, HalvesFollowTheRoundedProduct) {
    for (float a : {30.0f, 150.0f}) EXPECT_EQ(sin_offset(a, 10.0f), 4) << a;
    for (float a : {-210.0f, 390.0f}) EXPECT_EQ(sin_offset(a, 10.0f), 5) << a;
    for (float a : {210.0f, 330.0f}) EXPECT_EQ(sin_offset(a, 10.0f), -5) << a;
    EXPECT_EQ(sin_offset(-30.0f, 10.0f), -4);
    for (float a : {60.0f, 300.0f, -60.0f}) EXPECT_EQ(cos_offset(a, 8.0f), 4) << a;
    for (float a : {120.0f, -120.0f}) EXPECT_EQ(cos_offset(a, 8.0f), -3) << a;
    EXPECT_EQ(cos_offset(240.0f, 8.0f), -4);
    EXPECT_EQ(sin_offset(30.0f, 2.0f), 0);
}

class PlayerDistance : public GameTest {
  protected:
    struct Ship : t_player {
        Ship(float at_x, float at_y) {
            x = at_x;
            y = at_y;
        }
    };
    void add_ship(float x, float y) { player_list->append(new Ship(x, y)); }
};

TEST_F(PlayerDistance, NoShipGivesZero) { EXPECT_EQ(player_distance(100.0f, 100.0f), 0); }

TEST_F(PlayerDistance, WholeNumberDistanceToTheShip) {
    add_ship(100.0f, 100.0f);
    EXPECT_EQ(player_distance(103.0f, 104.0f), 5);
    EXPECT_EQ(player_distance(97.0f, 96.0f), 5);
    EXPECT_EQ(player_distance(101.0f, 101.0f), 1);
    EXPECT_EQ(player_distance(100.0f, 100.0f), 0);
    EXPECT_EQ(player_distance(148.9f, 100.0f), 48);
}

TEST_F(PlayerDistance, TheLastShipInTheListWins) {
    add_ship(0.0f, 0.0f);
    add_ship(100.0f, 100.0f);
    EXPECT_EQ(player_distance(100.0f, 110.0f), 10);
}

}  // namespace
