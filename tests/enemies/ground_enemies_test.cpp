// The ground types: their fire frames on each setting, the point-blank gate, aims without a ship,
// hits, deaths with their drops, the ride on the scroll and the bottom limits.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/scroll.h"
#include "enemies/enemy1.h"
#include "enemies/enemy2.h"
#include "enemies/enemy4.h"
#include "enemies/enemy5.h"
#include "player/bonus.h"
#include "player/effect.h"
#include "player/particle.h"
#include "player/shot1.h"
#include "player/shot2.h"
#include "tests/enemies/enemy_fixture.h"

namespace {

using enemytest::EnemyTest;
using Log = std::vector<std::pair<int, int>>;

class GroundEnemies : public EnemyTest {};

// The ship 100 units straight below each enemy, the map held so nothing drifts.
TEST_F(GroundEnemies, FireFramesOnEachSetting) {
    struct Case {
        const char* type;
        int difficulty;
        int updates;
        Log expected;
    };
    const Case cases[] = {
        {"turret", 0, 320, {{75, 1}, {300, 1}}},
        {"turret", 1, 320, {{75, 1}, {175, 1}, {300, 1}}},
        {"turret", 2, 320, {{25, 1}, {75, 1}, {175, 1}, {300, 1}}},
        {"emplacement",
         0,
         400,
         {{50, 25}, {60, 25}, {100, 25}, {110, 25}, {210, 25}, {220, 25}, {260, 25}, {270, 25}}},
        {"emplacement",
         2,
         400,
         {{50, 25},
          {60, 25},
          {70, 25},
          {100, 25},
          {110, 25},
          {120, 25},
          {210, 25},
          {220, 25},
          {230, 25},
          {260, 25},
          {270, 25},
          {280, 25}}},
        // The twin turret: bursts of four double shots at 75, 82, 89, 96 of each 99-frame cycle.
        {"twin", 0, 200, {{75, 2}, {82, 2}, {89, 2}, {96, 2}, {174, 2}, {181, 2}, {188, 2}, {195, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " at difficulty " + std::to_string(c.difficulty));
        set_difficulty(c.difficulty);
        enemy_list->clear();
        bullet_list->clear();
        const std::string type = c.type;
        if (type == "turret") t_enemy1::create(120.0f, 50.0f);
        if (type == "emplacement") t_enemy2::create(120.0f, 50.0f);
        if (type == "twin") t_enemy5::create(120.0f, 50.0f);
        active_ship(1, 120.0f, 150.0f);
        EXPECT_EQ(fire_log(c.updates), c.expected);
        player_list->clear();
    }
}

// The gun's stream: 19 rows at every setting, 3 more from NORMAL, 3 more on HARD; the cycle
// wraps from 199 to 50, and the update that wraps fires row 50.
TEST_F(GroundEnemies, TheGunsStreamRowsAndItsWrap) {
    for (int d = 0; d <= 2; ++d) {
        SCOPED_TRACE(d);
        set_difficulty(d);
        enemy_list->clear();
        t_enemy4::create(120.0f, 50.0f);
        std::vector<int> expected;
        const int rows = d == 0 ? 19 : d == 1 ? 22 : 25;
        for (int i = 0; i < rows; ++i) expected.push_back(50 + 5 * i);
        for (int i = 0; i < rows; ++i) expected.push_back(200 + 5 * i);  // the second cycle
        EXPECT_EQ(fire_updates(330), expected);
        EXPECT_EQ(last<t_enemy4>(enemy_list, kind_t_enemy4)->timer, 180);
    }
}

TEST_F(GroundEnemies, TheGunAimsOnceACycleAndKeepsItsStreamDownwards) {
    set_difficulty(0);
    t_enemy4::create(120.0f, 50.0f);
    auto* gun = last<t_enemy4>(enemy_list, kind_t_enemy4);
    // Before its first aim the stream leaves along 50 (the start aim 0 brought down).
    fire_log(55);
    ASSERT_EQ(bullets().size(), 2u);
    EXPECT_EQ(bullets()[0]->angle, 47.0f);
    EXPECT_EQ(bullets()[1]->angle, 53.0f);
    // Straight below at 59: the rows of 60 to 80 leave at 75, 105, 68, 112, 90.
    t_player* ship = active_ship(1, 120.0f, 200.0f);
    clear_bullets();
    fire_log(25);
    std::vector<float> angles;
    for (t_bullet* b : bullets()) angles.push_back(b->angle);
    EXPECT_EQ(angles, (std::vector<float>{75, 105, 68, 112, 90}));
    EXPECT_EQ(bullets()[0]->x, 120.0f);  // 2 units along the aim: cos_offset(90, 2) = 0
    EXPECT_EQ(bullets()[0]->y, 52.0f);
    // Straight above at the next 59: -40 after that update, 10 in the 60th (its shot at -5),
    // 60 from the 61st.
    ship->y = 10.0f;
    fire_log(128);  // to timer 58 of the next cycle
    ASSERT_EQ(gun->timer, 58);
    fire_log(1);
    EXPECT_EQ(gun->aim, -40);
    clear_bullets();
    fire_log(1);
    EXPECT_EQ(gun->aim, 10);
    ASSERT_EQ(bullets().size(), 1u);
    EXPECT_EQ(bullets()[0]->angle, -5.0f);
    fire_log(1);
    EXPECT_EQ(gun->aim, 60);
    // With no ship it keeps that aim and goes on firing.
    player_list->clear();
    EXPECT_FALSE(fire_updates(150).empty());
    EXPECT_EQ(gun->aim, 60);
}

TEST_F(GroundEnemies, ThePointBlankGateAndAimsWithoutAShip) {
    set_difficulty(2);  // point blank 48
    for (const auto& [distance, fires] : {std::pair{48.0f, false}, std::pair{49.0f, true}}) {
        enemy_list->clear();
        player_list->clear();
        t_enemy1::create(100.0f, 100.0f);
        active_ship(1, 100.0f, 100.0f + distance);
        EXPECT_EQ(fire_updates(25), fires ? std::vector<int>{25} : std::vector<int>{}) << distance;
    }
    // The shot aimed straight down starts 4 units below the centre.
    EXPECT_EQ(bullets().back()->x, 100.0f);
    EXPECT_EQ(bullets().back()->y, 104.0f);
    EXPECT_EQ(bullets().back()->speed, 1.6f);
    // No ship: nothing fires, the turrets keep their aims.
    player_list->clear();
    auto* turret = last<t_enemy1>(enemy_list, kind_t_enemy1);
    t_enemy5::create(50.0f, 50.0f);
    auto* twin = last<t_enemy5>(enemy_list, kind_t_enemy5);
    twin->facing = 33;
    EXPECT_TRUE(fire_updates(300).empty());
    EXPECT_EQ(turret->aim, 90);
    EXPECT_EQ(twin->facing, 33);
    EXPECT_EQ(twin->aim, 0);
}

TEST_F(GroundEnemies, TheTwinTurretsBarrelsAndItsUpperLimit) {
    set_difficulty(0);
    t_enemy5::create(120.0f, 50.0f);
    auto* twin = last<t_enemy5>(enemy_list, kind_t_enemy5);
    active_ship(1, 120.0f, 200.0f);
    fire_log(75);
    ASSERT_EQ(bullets().size(), 2u);
    EXPECT_EQ(bullets()[0]->x, 123.0f);
    EXPECT_EQ(bullets()[0]->y, 59.0f);
    EXPECT_EQ(bullets()[1]->x, 117.0f);
    EXPECT_EQ(bullets()[1]->y, 59.0f);
    EXPECT_EQ(bullets()[0]->angle, 90.0f);
    EXPECT_EQ(bullets()[1]->angle, 90.0f);
    EXPECT_EQ(bullets()[0]->speed, 1.5f);
    // The burst keeps the aim of 75 while the turret follows the ship.
    last<t_player>(player_list, kind_t_player)->x = 220.0f;
    clear_bullets();
    fire_log(7);
    EXPECT_EQ(bullets().at(0)->angle, 90.0f);
    EXPECT_NE(twin->facing, 90);
    // At y 100 it no longer fires.
    twin->y = 100.0f;
    EXPECT_TRUE(fire_updates(200).empty());
}

// Two main-gun shots (10 each) on a turret of 20 in one frame: two sparks, one death.
TEST_F(GroundEnemies, SeveralShotsKillInOneFrameWithOneDeath) {
    scrolling = 1;
    t_enemy1::create(100.0f, 100.0f);
    t_shot1::create(100.0f, 100.0f, 270.0f, 0.0f);
    t_shot1::create(102.0f, 98.0f, 270.0f, 0.0f);
    update(enemy_list, kind_t_enemy);
    EXPECT_TRUE(enemy_list->empty());
    EXPECT_TRUE(shot_list->empty());
    EXPECT_EQ(score, 300);
    const auto effects = all<t_effect>(effect_list, kind_t_effect);
    ASSERT_EQ(effects.size(), 3u);  // two sparks, then the explosion
    EXPECT_EQ(effects[0]->image, img_explosion1);
    EXPECT_EQ(effects[0]->delay, 2);
    EXPECT_EQ(effects[0]->speed, 0.5f);
    EXPECT_EQ(effects[2]->image, img_explosion2);
    EXPECT_EQ(all<t_particle>(effect_list, kind_t_particle).size(), 1u);
    const auto bonuses = all<t_bonus>(pickup_list, kind_t_bonus);
    ASSERT_EQ(bonuses.size(), 1u);
    EXPECT_EQ(bonuses[0]->mode, 1);
    EXPECT_EQ(bonuses[0]->kind, 1);
    EXPECT_EQ(sounds(), (std::vector<std::pair<const TSound*, int>>{{snd_explosion1, 4}}));
    // It rode the scroll and was drawn once more in its dying update.
    EXPECT_EQ(drawn(img_enemy1).size(), 2u);
    EXPECT_EQ(drawn(img_enemy1)[0].y, 201.0f);
}

// A large enemy bursts at its four corners; killed in the frame of a ring it fires that ring.
TEST_F(GroundEnemies, TheEmplacementFiresItsRingInTheFrameItDies) {
    t_enemy2::create(100.0f, 100.0f);
    auto* e = last<t_enemy2>(enemy_list, kind_t_enemy2);
    e->timer = 49;
    e->hp = 30;
    t_shot2::create(100.0f, 100.0f, 270.0f, 0.0f);
    update(enemy_list, kind_t_enemy);
    EXPECT_EQ(bullets().size(), 25u);
    EXPECT_TRUE(enemy_list->empty());
    EXPECT_EQ(score, 3000);
    // Ring A starts 2 units out: 90 degrees at (x, y + 2), 180 at (x - 2, y); 0 and 360 coincide.
    EXPECT_EQ(bullets()[6]->y, 102.0f);
    EXPECT_EQ(bullets()[12]->x, 98.0f);
    EXPECT_EQ(bullets()[0]->x, bullets()[24]->x);
    std::vector<std::pair<float, float>> drops;
    for (t_bonus* b : all<t_bonus>(pickup_list, kind_t_bonus)) drops.emplace_back(b->x, b->y);
    EXPECT_EQ(drops, (std::vector<std::pair<float, float>>{{92, 92}, {92, 108}, {108, 92}, {108, 108}}));
    EXPECT_EQ(all<t_effect>(effect_list, kind_t_effect).size(), 5u);  // the spark and four explosions
    EXPECT_EQ(sounds().back(), (std::pair<const TSound*, int>{snd_explosion2, 5}));
}

TEST_F(GroundEnemies, FiringFramesShowAfterRingsAndShots) {
    t_enemy2::create(100.0f, 100.0f);
    t_enemy4::create(160.0f, 100.0f);
    std::vector<int> emplacement, gun;
    for (int i = 1; i <= 70; ++i) {
        update(enemy_list, kind_t_enemy);
        emplacement.push_back(drawn(img_enemy2).at(0).frame);
        gun.push_back(drawn(img_enemy4).at(0).frame);
    }
    // The ring at 50 shows frame 1 in updates 50 to 58; the ring at 60 in 60 to 68.
    for (int i = 1; i <= 70; ++i) {
        const bool firing = (i >= 50 && i <= 58) || (i >= 60 && i <= 68);
        EXPECT_EQ(emplacement[size_t(i - 1)], firing ? 1 : 0) << i;
        // The gun's shot every 5 frames from 50 shows for 2 frames.
        EXPECT_EQ(gun[size_t(i - 1)], i >= 50 && (i % 5) <= 1 ? 1 : 0) << i;
    }
}

// The bottom limits: 248 for the small types, 256 for the large, tested after drawing.
TEST_F(GroundEnemies, EnemiesPastTheBottomAreDrawnOnceMoreThenRemoved) {
    scrolling = 1;
    t_enemy1::create(100.0f, 247.9f);
    t_enemy5::create(120.0f, 247.4f);
    t_enemy2::create(140.0f, 255.9f);
    t_enemy4::create(180.0f, 255.4f);
    update(enemy_list, kind_t_enemy);
    EXPECT_EQ(enemy_list->count(), 2u);
    EXPECT_EQ(drawn(img_enemy1).size(), 2u);
    EXPECT_EQ(drawn(img_enemy2).size(), 1u);
    update(enemy_list, kind_t_enemy);
    EXPECT_TRUE(enemy_list->empty());
    EXPECT_EQ(score, 0);
    EXPECT_TRUE(sounds().empty());
}

TEST_F(GroundEnemies, TurretsAreDrawnTurnedToTheirAim) {
    t_enemy1::create(100.0f, 100.0f);
    active_ship(1, 200.0f, 100.0f);  // straight to the right: aim 0
    update(enemy_list, kind_t_enemy);
    ASSERT_EQ(drawn(img_enemy1).size(), 2u);
    EXPECT_EQ(drawn(img_enemy1)[0].rotation, 0.0f);
    EXPECT_EQ(drawn(img_enemy1)[1].frame, 1);
    EXPECT_EQ(drawn(img_enemy1)[1].rotation, -90.0f);
}

}  // namespace
