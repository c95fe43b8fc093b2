// The ground types: their fire frames on each setting, the point-blank gate, aims without a ship,
// hits, deaths with their drops, the ride on the scroll and the bottom limits.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/scroll.h"
#include "enemies/enemy1.h"
#include "enemies/enemy2.h"
#include "enemies/enemy3.h"
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

// The ship 100 units straight below each enemy, the map held so nothing drifts, a wobble of 3:
// the fire frames, and every bullet's speed, image and hit size, one probed direction, and the
// sound of each volley (on channel 3, or none).
TEST_F(GroundEnemies, FireFramesOnEachSetting) {
    struct Case {
        const char* type;
        int difficulty;
        int updates;
        Log expected;
        float speed;
        TImage* image;
        TSound* sound;
        size_t probe;
        float direction;
    };
    const Log twin = {{75, 2}, {82, 2}, {89, 2}, {96, 2}, {174, 2}, {181, 2}, {188, 2}, {195, 2}};
    const Log rings = {{50, 25}, {60, 25}, {100, 25}, {110, 25}, {210, 25}, {220, 25}, {260, 25}, {270, 25}};
    const Log hard_rings = {{50, 25},  {60, 25},  {70, 25},  {100, 25}, {110, 25}, {120, 25},
                            {210, 25}, {220, 25}, {230, 25}, {260, 25}, {270, 25}, {280, 25}};
    // The turret adds the wobble to its aim, the twin turret does not; the first ring B (bullet 50,
    // or 75 on HARD) is turned 8 degrees.
    const Case cases[] = {
        {"turret", 0, 320, {{75, 1}, {300, 1}}, 1.2f, img_bullet2, nullptr, 0, 93.0f},
        {"turret", 1, 320, {{75, 1}, {175, 1}, {300, 1}}, 1.4f, img_bullet2, nullptr, 0, 93.0f},
        {"turret", 2, 320, {{25, 1}, {75, 1}, {175, 1}, {300, 1}}, 1.6f, img_bullet2, nullptr, 0, 93.0f},
        {"emplacement", 0, 400, rings, 1.2f, img_bullet1, snd_bullet2, 50, 8.0f},
        {"emplacement", 1, 400, rings, 1.5f, img_bullet1, snd_bullet2, 50, 8.0f},
        {"emplacement", 2, 400, hard_rings, 1.8f, img_bullet1, snd_bullet2, 75, 8.0f},
        // The twin turret: bursts of four double shots at 75, 82, 89, 96 of each 99-frame cycle.
        {"twin", 0, 200, twin, 1.5f, img_bullet2, snd_bullet3, 0, 90.0f},
        {"twin", 2, 200, twin, 2.5f, img_bullet2, snd_bullet3, 0, 90.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " at difficulty " + std::to_string(c.difficulty));
        set_difficulty(c.difficulty);
        wobble = 3.0f;
        enemy_list->clear();
        bullet_list->clear();
        headless::clear_sound_log();
        const std::string type = c.type;
        if (type == "turret") t_enemy1::create(120.0f, 50.0f);
        if (type == "emplacement") t_enemy2::create(120.0f, 50.0f);
        if (type == "twin") t_enemy5::create(120.0f, 50.0f);
        active_ship(1, 120.0f, 150.0f);
        EXPECT_EQ(fire_log(c.updates), c.expected);
        int odd = 0;
        for (t_bullet* b : bullets())
            odd += std::abs(b->speed - c.speed) > 1e-6f || b->image != c.image || b->hit_size != 2.0f;
        EXPECT_EQ(odd, 0);
        EXPECT_EQ(bullets().at(c.probe)->angle, c.direction);
        const std::vector<std::pair<const TSound*, int>> volleys(c.sound ? c.expected.size() : 0,
                                                                 {c.sound, 3});
        EXPECT_EQ(sounds(), volleys);
        player_list->clear();
    }
}

// The gun's stream: 19 rows at every setting, 3 more from NORMAL, 3 more on HARD; the cycle
// wraps from 199 to 50, and the update that wraps fires row 50. With no ship the aim stays at 50
// (the start aim brought down), so each bullet leaves at 50 plus its row's offset, at 1.2 with
// bullet3's image; the rows from 145 on sound bullet3 instead of bullet2, all on channel 3.
TEST_F(GroundEnemies, TheGunsStreamRowsAndItsWrap) {
    const int offsets[] = {-3, 3, -15, 15, -22, 22, 0,   35, 35,  -20, 20,  -12, 12,
                           -3, 3, -40, 40, -35, 35, -25, 25, -20, 20,  -10, 10};
    for (int d = 0; d <= 2; ++d) {
        SCOPED_TRACE(d);
        set_difficulty(d);
        enemy_list->clear();
        bullet_list->clear();
        headless::clear_sound_log();
        t_enemy4::create(120.0f, 50.0f);
        std::vector<int> expected;
        const int rows = d == 0 ? 19 : d == 1 ? 22 : 25;
        for (int i = 0; i < rows; ++i) expected.push_back(50 + 5 * i);
        for (int i = 0; i < rows; ++i) expected.push_back(200 + 5 * i);  // the second cycle
        EXPECT_EQ(fire_updates(330), expected);
        EXPECT_EQ(last<t_enemy4>(enemy_list, kind_t_enemy4)->timer, 180);
        const auto shots = bullets();
        const auto heard = sounds();
        ASSERT_EQ(shots.size(), size_t(2 * rows));
        ASSERT_EQ(heard.size(), size_t(2 * rows));
        for (size_t i = 0; i < shots.size(); ++i) {
            const size_t row = i % size_t(rows);
            EXPECT_EQ(shots[i]->angle, float(50 + offsets[row])) << i;
            EXPECT_EQ(shots[i]->speed, 1.2f);
            EXPECT_EQ(shots[i]->image, img_bullet3);
            EXPECT_EQ(heard[i], (std::pair<const TSound*, int>{row < 19 ? snd_bullet2 : snd_bullet3, 3}))
                << i;
        }
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
    // Aims just inside 30 and 150 are brought in too: 26 (to (+100, +50)) becomes 76, 153 (to
    // (-100, +50)) 103.
    for (const auto& [dx, aim] : {std::pair{100.0f, 76}, std::pair{-100.0f, 103}}) {
        enemy_list->clear();
        player_list->clear();
        t_enemy4::create(120.0f, 50.0f);
        active_ship(1, 120.0f + dx, 100.0f);
        fire_log(60);
        EXPECT_EQ(last<t_enemy4>(enemy_list, kind_t_enemy4)->aim, aim) << dx;
    }
}

TEST_F(GroundEnemies, ThePointBlankGateAndAimsWithoutAShip) {
    set_difficulty(2);  // point blank 48
    for (const auto& [distance, fires] : {std::pair{48.0f, false}, std::pair{49.0f, true}}) {
        enemy_list->clear();
        player_list->clear();
        t_enemy1::create(100.0f, 100.0f);
        // To the right until the firing update, then below: the turret aims before it fires.
        t_player* ship = active_ship(1, 100.0f + distance, 100.0f);
        fire_log(24);
        ship->x = 100.0f;
        ship->y = 100.0f + distance;
        EXPECT_EQ(fire_updates(1), fires ? std::vector<int>{1} : std::vector<int>{}) << distance;
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
    t_player* ship = active_ship(1, 220.0f, 50.0f);  // to the right until the aim is taken at 75
    fire_log(74);
    ship->x = 120.0f;
    ship->y = 200.0f;
    fire_log(1);
    ASSERT_EQ(bullets().size(), 2u);
    EXPECT_EQ(bullets()[0]->x, 123.0f);
    EXPECT_EQ(bullets()[0]->y, 59.0f);
    EXPECT_EQ(bullets()[1]->x, 117.0f);
    EXPECT_EQ(bullets()[1]->y, 59.0f);
    EXPECT_EQ(bullets()[0]->angle, 90.0f);
    EXPECT_EQ(bullets()[1]->angle, 90.0f);
    EXPECT_EQ(bullets()[0]->speed, 1.5f);
    // The burst keeps the aim of 75 while the turret follows the ship.
    ship->x = 220.0f;
    clear_bullets();
    fire_log(7);
    EXPECT_EQ(bullets().at(0)->angle, 90.0f);
    EXPECT_NE(twin->facing, 90);
    // At y 100 it no longer fires.
    twin->y = 100.0f;
    EXPECT_TRUE(fire_updates(200).empty());
}

// Each type's hit square and hit points: in one frame a main-gun shot (10) touching the square's
// right edge hits, one a unit beyond its left edge does not, and shots at the centre bring it to
// 10; in the next, two shots kill it once. Its death: a burst at its centre, explosions (delay 4,
// drifting down with the ground) and bonuses on its centre or its four corners, score and sound.
// It rode the scroll and was drawn once more in its dying update.
TEST_F(GroundEnemies, SeveralShotsKillInOneFrameWithOneDeath) {
    struct Case {
        const char* type;
        float hit_size;
        int hp;
        int32_t points;
        bool corners;
        uint8_t bonus_mode;
        TSound* sound;
        int channel;
        TImage* image;
    };
    const Case cases[] = {
        {"turret", 6, 20, 300, false, 1, snd_explosion1, 4, img_enemy1},
        {"emplacement", 10, 120, 3000, true, 1, snd_explosion2, 5, img_enemy2},
        {"gun", 10, 120, 3000, true, 1, snd_explosion2, 5, img_enemy4},
        {"twin", 6, 30, 600, false, 1, snd_explosion1, 4, img_enemy5},
        {"flier", 8, 20, 300, false, 2, snd_explosion3, 4, img_enemy3},  // pops up, as it flies
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        TearDown();
        SetUp();
        scrolling = 1;
        const std::string type = c.type;
        if (type == "turret") t_enemy1::create(100.0f, 100.0f);
        if (type == "emplacement") t_enemy2::create(100.0f, 100.0f);
        if (type == "gun") t_enemy4::create(100.0f, 100.0f);
        if (type == "twin") t_enemy5::create(100.0f, 100.0f);
        if (type == "flier") t_enemy3::create(100.0f, 100.0f);
        t_enemy* e = last<t_enemy>(enemy_list, kind_t_enemy);
        if (type == "flier") e->speed = 0.0f;  // held in place; it does not ride the scroll
        t_shot1::create(100.0f + c.hit_size + 3.0f, 100.0f, 270.0f, 0.0f);  // shot hit size 3
        t_shot1::create(100.0f - c.hit_size - 4.0f, 100.0f, 270.0f, 0.0f);
        for (int i = 2; i < c.hp / 10; ++i) t_shot1::create(100.0f, 100.0f, 270.0f, 0.0f);
        update(enemy_list, kind_t_enemy);
        ASSERT_EQ(enemy_list->count(), 1u);
        EXPECT_EQ(e->hp, 10);
        EXPECT_EQ(shot_list->count(), 1u);
        const float x = e->x, y = e->y;
        t_shot1::create(x, y, 270.0f, 0.0f);
        t_shot1::create(x + 2.0f, y - 2.0f, 270.0f, 0.0f);
        update(enemy_list, kind_t_enemy);
        EXPECT_TRUE(enemy_list->empty());
        EXPECT_EQ(shot_list->count(), 1u);
        EXPECT_EQ(score, c.points);
        std::vector<std::pair<float, float>> points = {{x, y}};
        if (c.corners) points = {{x - 8, y - 8}, {x - 8, y + 8}, {x + 8, y - 8}, {x + 8, y + 8}};
        std::vector<std::pair<float, float>> explosions, bonuses;
        int sparks = 0;
        for (t_effect* f : all<t_effect>(effect_list, kind_t_effect)) {
            EXPECT_EQ(f->angle, 90.0f);
            EXPECT_EQ(f->speed, 0.5f);
            EXPECT_EQ(f->frame, 0);
            EXPECT_EQ(f->last_frame, 5);
            EXPECT_EQ(f->delay, f->image == img_explosion1 ? 2 : 4);
            if (f->image == img_explosion1) ++sparks;
            if (f->image == img_explosion2) explosions.emplace_back(f->x, f->y);
        }
        EXPECT_EQ(sparks, c.hp / 10 + 1);
        EXPECT_EQ(explosions, points);
        for (t_bonus* b : all<t_bonus>(pickup_list, kind_t_bonus)) {
            bonuses.emplace_back(b->x, b->y);
            EXPECT_EQ(b->mode, c.bonus_mode);
            EXPECT_EQ(b->kind, 1);
        }
        EXPECT_EQ(bonuses, points);
        const auto bursts = all<t_particle>(effect_list, kind_t_particle);
        ASSERT_EQ(bursts.size(), 1u);
        EXPECT_EQ(std::pair(bursts[0]->x, bursts[0]->y), std::pair(x, y));
        EXPECT_EQ(sounds(), (std::vector<std::pair<const TSound*, int>>{{c.sound, c.channel}}));
        ASSERT_FALSE(drawn(c.image).empty());
        EXPECT_EQ(drawn(c.image)[0].y, 2.0f * (type == "flier" ? y : y + 0.5f));
    }
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
    t_enemy5::create(120.0f, 247.5f);  // at 248 exactly: still there
    t_enemy2::create(140.0f, 255.5f);  // at 256 exactly: still there
    t_enemy4::create(180.0f, 255.4f);
    update(enemy_list, kind_t_enemy);
    EXPECT_EQ(enemy_list->count(), 3u);
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
