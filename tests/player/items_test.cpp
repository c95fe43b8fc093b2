// Power-ups, bonuses and container items: motion, sparkle, values shown after collection, edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/scroll.h"
#include "player/bonus.h"
#include "player/bonus2.h"
#include "player/powerup.h"
#include "tests/player/player_fixture.h"

namespace {

using playertest::DrawRecord;
using playertest::PlayerTest;

class Items : public PlayerTest {
  protected:
    static std::vector<int> glyphs(const TImage* font) {
        std::vector<int> out;
        for (const DrawRecord& r : drawn(font)) out.push_back(r.frame);
        return out;
    }
};

TEST_F(Items, APowerUpPastTheBottomIsDrawnOnceMoreThenRemoved) {
    scrolling = 1;
    t_powerup::create(100.0f, 247.8f);
    update(pickup_list, kind_t_powerup);
    EXPECT_TRUE(pickup_list->empty());
    ASSERT_EQ(drawn(img_power).size(), 1u);
    EXPECT_FLOAT_EQ(drawn(img_power)[0].y, 248.3f * 2);
}

TEST_F(Items, GroundItemsStandStillWhileTheMapIsHeld) {
    scrolling = 0;
    t_powerup::create(100.0f, 100.0f);
    t_bonus::create(100.0f, 100.0f, 1, 1);
    t_bonus2::create(100.0f, 100.0f);
    update(pickup_list, kind_t_powerup | kind_t_bonus | kind_t_bonus2, 10);
    EXPECT_EQ(last<t_powerup>(pickup_list, kind_t_powerup)->y, 100.0f);
    EXPECT_EQ(last<t_bonus>(pickup_list, kind_t_bonus)->y, 100.0f);
    EXPECT_EQ(last<t_bonus2>(pickup_list, kind_t_bonus2)->y, 100.0f);
    scrolling = 1;
    update(pickup_list, kind_t_powerup | kind_t_bonus | kind_t_bonus2, 2);
    EXPECT_EQ(last<t_bonus>(pickup_list, kind_t_bonus)->y, 101.0f);
    EXPECT_EQ(last<t_bonus2>(pickup_list, kind_t_bonus2)->y, 101.0f);
}

TEST_F(Items, APoppingBonusRisesThirtySevenFramesThenFallsAtTwoPointZeroTwo) {
    scrolling = 1;  // a popping bonus does not scroll with the ground
    t_bonus::create(100.0f, 100.0f, 2, 2);
    const t_bonus* b = last<t_bonus>(pickup_list, kind_t_bonus);
    // The bonus is read only while it is still listed: removal at the bottom edge ends it.
    float lowest = 100.0f, previous = 100.0f, speed = 0.0f, last_drawn_y = 0.0f;
    int rising = 0, updates = 0;
    while (!pickup_list->empty() && updates < 400) {
        update(pickup_list, kind_t_bonus);
        ++updates;
        ASSERT_EQ(drawn(img_bonus2).size(), 1u);  // kind 2: the 1000-point picture
        last_drawn_y = drawn(img_bonus2)[0].y / 2;
        if (pickup_list->empty()) break;
        if (b->y < previous) ++rising;
        lowest = std::min(lowest, b->y);
        previous = b->y;
        speed = b->speed;
    }
    EXPECT_EQ(rising, 37);
    EXPECT_NEAR(100.0f - lowest, 10.0f, 0.5f);
    EXPECT_NEAR(speed, -2.02f, 1e-4);
    EXPECT_GT(last_drawn_y, 248.0f);
}

TEST_F(Items, SparklesEvery150Frames) {
    t_bonus::create(100.0f, 100.0f, 1, 1);
    std::vector<int> frames;
    for (int i = 0; i < 300; ++i) {
        update(pickup_list, kind_t_bonus);
        frames.push_back(drawn(img_bonus).at(0).frame);
    }
    // The count is set to 150 on the first update and reaches 90 sixty updates later.
    std::vector<int> expected(300, 0);
    for (int cycle = 0; cycle < 2; ++cycle)
        for (int i = 0; i < 25; ++i)
            expected[size_t(60 + 150 * cycle + i)] = std::vector<int>{1, 2, 3, 2, 1}[size_t(i / 5)];
    EXPECT_EQ(frames, expected);
}

TEST_F(Items, ACollectedBonusShowsItsValueFor100Updates) {
    scrolling = 0;
    t_bonus::create(100.0f, 200.0f, 1, 1);
    t_bonus* b = last<t_bonus>(pickup_list, kind_t_bonus);
    b->collected = 1;
    b->value = 10000;
    update(pickup_list, kind_t_bonus);
    EXPECT_TRUE(drawn(img_bonus).empty());
    EXPECT_EQ(glyphs(img_font3), (std::vector<int>{10, 1, 0, 0, 0, 0}));  // ":" marks the top
    EXPECT_EQ(b->y, 199.0f);
    b->value = 5000;
    update(pickup_list, kind_t_bonus, 98);
    EXPECT_EQ(glyphs(img_font3), (std::vector<int>{5, 0, 0, 0}));
    EXPECT_EQ(pickup_list->count(), 1u);
    update(pickup_list, kind_t_bonus);
    EXPECT_TRUE(pickup_list->empty());
    EXPECT_EQ(glyphs(img_font3).size(), 4u);  // drawn in its last update too
}

TEST_F(Items, AScrollingCollectedBonusNetsHalfAUnitUpPerFrame) {
    scrolling = 1;
    t_bonus::create(100.0f, 200.0f, 1, 1);
    t_bonus* b = last<t_bonus>(pickup_list, kind_t_bonus);
    b->collected = 1;
    update(pickup_list, kind_t_bonus, 10);
    EXPECT_EQ(b->y, 195.0f);
}

TEST_F(Items, AContainerItemFloatsAQuarterUnitWhileTheMapScrolls) {
    scrolling = 1;
    t_bonus2::create(100.0f, 200.0f);
    t_bonus2* item = last<t_bonus2>(pickup_list, kind_t_bonus2);
    update(pickup_list, kind_t_bonus2);
    EXPECT_EQ(drawn(img_gorge).size(), 1u);
    EXPECT_EQ(item->y, 200.5f);
    item->collected = 1;
    item->value = 20000;
    update(pickup_list, kind_t_bonus2, 4);
    EXPECT_EQ(item->y, 199.5f);
    EXPECT_TRUE(drawn(img_gorge).empty());
    EXPECT_EQ(glyphs(img_font3), (std::vector<int>{2, 0, 0, 0, 0}));
    update(pickup_list, kind_t_bonus2, 95);
    EXPECT_EQ(pickup_list->count(), 1u);
    update(pickup_list, kind_t_bonus2);
    EXPECT_TRUE(pickup_list->empty());
}

TEST_F(Items, ItemsLeaveByTheBottomEdge) {
    scrolling = 1;
    t_powerup::create(100.0f, 247.5f);
    t_bonus::create(100.0f, 247.5f, 1, 1);
    t_bonus2::create(100.0f, 247.5f);
    const uint32_t items = kind_t_powerup | kind_t_bonus | kind_t_bonus2;
    update(pickup_list, items);
    EXPECT_EQ(pickup_list->count(), 3u);  // exactly on the edge at 248: they stay
    update(pickup_list, items);
    EXPECT_TRUE(pickup_list->empty());
    EXPECT_EQ(drawn(img_power).size() + drawn(img_bonus).size() + drawn(img_gorge).size(), 3u);
}

}  // namespace
