// Player shots and enemy bullets: flight, animation and the strict edges they leave by.
#include <gtest/gtest.h>

#include <vector>

#include "player/bullet.h"
#include "player/shot1.h"
#include "player/shot2.h"
#include "tests/player/player_fixture.h"

namespace {

using playertest::PlayerTest;

class Shots : public PlayerTest {
  protected:
    static t_shot* only_shot() {
        auto v = all<t_shot>(shot_list, kind_t_shot);
        return v.size() == 1 ? v[0] : nullptr;
    }
};

TEST_F(Shots, AMainShotIsDrawnPastTheTopEdgeOnceThenRemoved) {
    t_shot1::create(100.0f, -7.9f, 270.0f, 3.5f);
    update(shot_list, kind_t_shot1);
    EXPECT_TRUE(shot_list->empty());
    auto d = drawn(img_shot1);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_FLOAT_EQ(d[0].y, -11.4f * 2);
}

TEST_F(Shots, SideEdgesAreStrict) {
    t_shot1::create(250.0f, 100.0f, 0.0f, 0.0f);
    t_shot1::create(-10.0f, 100.0f, 0.0f, 0.0f);
    t_shot1::create(100.0f, -8.0f, 0.0f, 0.0f);
    update(shot_list, kind_t_shot1, 3);
    EXPECT_EQ(shot_list->count(), 3u);
    t_shot1::create(250.1f, 100.0f, 0.0f, 0.0f);
    t_shot1::create(-10.1f, 100.0f, 0.0f, 0.0f);
    update(shot_list, kind_t_shot1);
    EXPECT_EQ(shot_list->count(), 3u);
}

TEST_F(Shots, TheNextShotIsStillUpdatedAfterOneLeaves) {
    t_shot1::create(100.0f, -7.9f, 270.0f, 3.5f);
    t_shot1::create(100.0f, 100.0f, 270.0f, 3.5f);
    update(shot_list, kind_t_shot1);
    ASSERT_NE(only_shot(), nullptr);
    EXPECT_EQ(only_shot()->y, 96.5f);
}

TEST_F(Shots, ASecondShotFliesFortyFramesHangsTwentyAndShowsItsFrames) {
    t_shot2::create(100.0f, 100.0f, 270.0f, 2.0f);
    std::vector<int> frames;
    for (int i = 1; i <= 60; ++i) {
        update(shot_list, kind_t_shot2);
        ASSERT_EQ(drawn(img_shot2).size(), 1u) << "update " << i;
        frames.push_back(drawn(img_shot2)[0].frame);
        if (i == 40) {
            ASSERT_NE(only_shot(), nullptr);
            EXPECT_NEAR(only_shot()->y, 20.0f, 1e-4);
        }
        if (i < 60) {
            ASSERT_EQ(shot_list->count(), 1u) << "update " << i;
        }
    }
    EXPECT_TRUE(shot_list->empty());
    EXPECT_EQ(std::vector<int>(frames.begin(), frames.begin() + 40), std::vector<int>(40, 0));
    EXPECT_EQ(frames[40], 1);  // life 20: stops and swells
    EXPECT_EQ(frames[45], 2);
    EXPECT_EQ(frames[50], 3);
    EXPECT_EQ(frames[55], 4);
    EXPECT_EQ(frames[59], 4);
}

TEST_F(Shots, ASecondShotStopsWhereItIs) {
    t_shot2::create(100.0f, 100.0f, 290.0f, 2.0f);
    update(shot_list, kind_t_shot2, 40);
    const float x = only_shot()->x, y = only_shot()->y;
    update(shot_list, kind_t_shot2, 19);
    EXPECT_EQ(only_shot()->x, x);
    EXPECT_EQ(only_shot()->y, y);
    EXPECT_EQ(only_shot()->speed, 0.0f);
}

TEST_F(Shots, MovementIsInDoublePrecisionStoredAsFloat) {
    t_shot1::create(100.0f, 100.0f, 258.0f, 3.5f);
    update(shot_list, kind_t_shot1);
    EXPECT_EQ(only_shot()->x, float(100.0 + cos_deg(258.0) * 3.5));
    EXPECT_EQ(only_shot()->y, float(100.0 + sin_deg(258.0) * 3.5));
}

// ---------------------------------------------------------------------------------------------

class Bullets : public PlayerTest {};

TEST_F(Bullets, LeavesTheBottomAfterItsLastDrawingPast260) {
    t_bullet::create(120.0f, 250.0f, 90.0f, 2.0f, 2.0f, img_bullet2);
    std::vector<float> ys;
    for (int i = 0; i < 10 && !bullet_list->empty(); ++i) {
        update(bullet_list, kind_t_bullet);
        ys.push_back(drawn(img_bullet2).at(0).y / 2);
    }
    EXPECT_TRUE(bullet_list->empty());
    EXPECT_EQ(ys, (std::vector<float>{252, 254, 256, 258, 260, 262}));
}

TEST_F(Bullets, AllFourEdgesAreStrict) {
    t_bullet::create(260.0f, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet1);
    t_bullet::create(-20.0f, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet1);
    t_bullet::create(100.0f, 260.0f, 0.0f, 0.0f, 2.0f, img_bullet1);
    t_bullet::create(100.0f, -20.0f, 0.0f, 0.0f, 2.0f, img_bullet1);
    update(bullet_list, kind_t_bullet, 20);
    EXPECT_EQ(bullet_list->count(), 4u);
    for (float x : {260.01f, -20.01f}) t_bullet::create(x, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet1);
    for (float y : {260.01f, -20.01f}) t_bullet::create(100.0f, y, 0.0f, 0.0f, 2.0f, img_bullet1);
    update(bullet_list, kind_t_bullet);
    EXPECT_EQ(bullet_list->count(), 4u);
}

TEST_F(Bullets, AnimatesOnItsFirstUpdateThenEveryFive) {
    t_bullet::create(100.0f, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet3);
    std::vector<int> frames;
    for (int i = 0; i < 42; ++i) {
        update(bullet_list, kind_t_bullet);
        frames.push_back(drawn(img_bullet3).at(0).frame);
    }
    EXPECT_EQ(frames[0], 1);
    EXPECT_EQ(frames[4], 1);
    EXPECT_EQ(frames[5], 2);
    EXPECT_EQ(frames[30], 7);
    EXPECT_EQ(frames[35], 0);  // round to the first frame
    EXPECT_EQ(frames[40], 1);
    const t_bullet* b = all<t_bullet>(bullet_list, kind_t_bullet)[0];
    EXPECT_EQ(b->x, 100.0f);  // speed 0: it stays
    EXPECT_EQ(b->hit_size, 2.0f);
}

}  // namespace
