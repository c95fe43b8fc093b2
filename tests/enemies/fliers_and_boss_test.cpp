// Wave markers, fliers and the boss in both forms: release times and sides, the flier's path and
// fire, the boss's flight, attack cycles, departure, death and energy bar.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>
#include <vector>

#include "core/scroll.h"
#include "enemies/boss.h"
#include "enemies/boss1a.h"
#include "enemies/boss1b.h"
#include "enemies/enemy3.h"
#include "player/bonus.h"
#include "player/effect.h"
#include "player/helpers.h"
#include "player/particle.h"
#include "player/shot2.h"
#include "player/trigger.h"
#include "tests/enemies/enemy_fixture.h"

namespace {

using enemytest::EnemyTest;

class Fliers : public EnemyTest {
  protected:
    static std::vector<t_enemy3*> fliers() { return all<t_enemy3>(enemy_list, kind_t_enemy3); }
};

TEST_F(Fliers, WaveMarkersReleaseFromTheirSideThirteenFramesApart) {
    struct Case {
        float x;
        uint8_t count, kind;
        float entry_x;
        std::vector<int> releases;
    };
    const Case cases[] = {
        {120.0f, 4, 3, 248.0f, {1, 14, 27, 40}},
        {119.9f, 4, 3, -8.0f, {1, 14, 27, 40}},
        {40.0f, 1, 3, -8.0f, {1}},
        {200.0f, 2, 5, 0.0f, {}},  // another kind counts down and releases nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        TearDown();
        SetUp();
        t_trigger::create(c.x, -8.0f, c.count, 12, c.kind);
        std::vector<int> releases;
        int gone_at = 0;
        for (int i = 1; i <= 60; ++i) {
            const size_t before = enemy_list->count();
            update(levelobject_list, kind_t_trigger);
            if (enemy_list->count() > before) releases.push_back(i);
            if (gone_at == 0 && levelobject_list->empty()) gone_at = i;
        }
        EXPECT_EQ(releases, c.releases);
        EXPECT_EQ(gone_at, c.kind == 3 ? c.releases.back() : 14);
        for (t_enemy3* f : fliers()) {
            EXPECT_EQ(f->x, c.entry_x);
            EXPECT_EQ(f->y, 32.0f);
        }
    }
}

// The path from each edge: headings after the turns, points to within a unit, and removal in the
// 201st update wherever it is.
TEST_F(Fliers, ThePathFromEachEdge) {
    struct Point {
        int after;
        float x, y, heading;
    };
    const std::map<float, std::vector<Point>> paths = {
        {-8.0f, {{1, -6, 32, 0}, {25, 42, 32, 0}, {70, 98, 90, 90}, {80, 98, 110, 90}, {125, 40, 167, 180}}},
        {248.0f,
         {{1, 250, 32, 0}, {2, 248, 32, 180}, {25, 202, 32, 180}, {70, 146, 90, 90}, {125, 204, 167, 0}}},
    };
    for (const auto& [start_x, points] : paths) {
        SCOPED_TRACE(start_x);
        enemy_list->clear();
        t_enemy3::create(start_x, 32.0f);
        t_enemy3* f = fliers().at(0);
        int done = 0;
        for (const Point& p : points) {
            update(enemy_list, kind_t_enemy, p.after - done);
            done = p.after;
            EXPECT_NEAR(f->x, p.x, 1.0f) << p.after;
            EXPECT_NEAR(f->y, p.y, 1.0f) << p.after;
            EXPECT_EQ(f->angle, p.heading) << p.after;
        }
        EXPECT_EQ(f->side, start_x > 0 ? 1 : 0);
        update(enemy_list, kind_t_enemy, 200 - done);
        ASSERT_EQ(enemy_list->count(), 1u);
        update(enemy_list, kind_t_enemy);
        EXPECT_TRUE(enemy_list->empty());
        EXPECT_EQ(drawn(img_enemy3).size(), 1u);  // drawn in its last update
    }
    EXPECT_EQ(score, 0);
}

// It moves, then fires 4 units along its aim from where it now is, adding the wobble, at
// 1.2 + 0.2 per difficulty step, with bullet2's image; within point blank it holds its fire.
TEST_F(Fliers, FireFramesOnEachSettingAndTheDropOfADeadFlier) {
    wobble = 3.0f;
    for (int d = 0; d <= 2; ++d) {
        SCOPED_TRACE(d);
        set_difficulty(d);
        enemy_list->clear();
        player_list->clear();
        bullet_list->clear();
        t_enemy3::create(-8.0f, 32.0f);
        t_enemy3* f = fliers().at(0);
        t_player* ship = active_ship(1, 210.0f, 190.0f);  // about 45 degrees down to the right
        EXPECT_EQ(fire_updates(35), std::vector<int>{35});
        const t_bullet* b = bullets().at(0);
        EXPECT_EQ(b->x, f->x + float(cos_offset(float(f->aim), 4)));
        EXPECT_EQ(b->y, f->y + float(sin_offset(float(f->aim), 4)));
        EXPECT_EQ(b->angle, float(f->aim) + 3.0f);
        EXPECT_NEAR(b->speed, 1.2f + 0.2f * float(d), 1e-6f);
        EXPECT_EQ(b->image, img_bullet2);
        if (d == 2) {  // point blank 48: the ship 40 below in the second firing update
            fire_log(39);
            ship->x = f->x;
            ship->y = f->y + 40.0f;
        }
        EXPECT_EQ(fire_updates(165), (d == 1 ? std::vector<int>{40} : std::vector<int>{}));
    }
    // Killed, it drops a chain bonus that pops up and falls.
    t_enemy3::create(100.0f, 100.0f);
    t_shot2::create(100.0f, 100.0f, 270.0f, 0.0f);
    update(enemy_list, kind_t_enemy);
    EXPECT_EQ(score, 300);
    ASSERT_EQ(all<t_bonus>(pickup_list, kind_t_bonus).size(), 1u);
    EXPECT_EQ(all<t_bonus>(pickup_list, kind_t_bonus)[0]->mode, 2);
    EXPECT_EQ(sounds().back(), (std::pair<const TSound*, int>{snd_explosion3, 4}));
}

// The ship rams a flier: it takes 1000 hit points and dies in its own next update.
TEST_F(Fliers, RammedByTheShip) {
    t_enemy3::create(100.0f, 100.0f);
    active_ship(1, 100.0f, 100.0f);
    update_ship();
    EXPECT_TRUE(player_list->empty());
    ASSERT_EQ(fliers().size(), 1u);
    EXPECT_EQ(fliers()[0]->hp, 20 - 1000);
    update(enemy_list, kind_t_enemy);
    EXPECT_TRUE(enemy_list->empty());
    EXPECT_EQ(score, 300);
}

class Boss : public EnemyTest {
  protected:
    static t_boss* boss() { return last<t_boss>(enemy_list, kind_t_boss); }
    static void update_boss(int times = 1) { update(enemy_list, kind_t_boss, times); }
    // The directions of the bullets made by the next update.
    static std::vector<float> next_directions() {
        clear_bullets();
        update_boss();
        std::vector<float> out;
        for (t_bullet* b : bullets()) out.push_back(b->angle);
        return out;
    }
};

TEST_F(Boss, FliesInRestsAndLoopsAFigureOfEight) {
    scroll_pos = 3000.0f;
    t_boss1a::create(290.0f, 90.0f);
    update_boss(169);
    EXPECT_FLOAT_EQ(boss()->x, 121.0f);
    EXPECT_FLOAT_EQ(boss()->y, 90.0f);
    update_boss(30);
    EXPECT_FLOAT_EQ(boss()->x, 121.0f);
    // The first two arcs up to the right and back, the last two up to the left and back.
    update_boss(91);
    EXPECT_NEAR(boss()->x, 149.0f, 1.0f);
    EXPECT_NEAR(boss()->y, 61.0f, 1.0f);
    update_boss(90);
    EXPECT_NEAR(boss()->x, 121.0f, 0.5f);
    update_boss(90);
    EXPECT_NEAR(boss()->x, 93.0f, 1.0f);
    EXPECT_NEAR(boss()->y, 61.0f, 1.0f);
    update_boss(90);
    EXPECT_NEAR(boss()->x, 121.0f, 0.5f);
    EXPECT_NEAR(boss()->y, 90.0f, 0.5f);
    EXPECT_EQ(boss()->timer, 0);
    EXPECT_EQ(boss()->speed, 0.0f);
}

TEST_F(Boss, TheFirstFormsFansRingsAndBulletSpeeds) {
    scroll_pos = 3000.0f;
    for (int d : {0, 2}) {
        SCOPED_TRACE(d);
        set_difficulty(d);
        enemy_list->clear();
        headless::clear_sound_log();
        t_boss1a::create(121.0f, 90.0f);
        auto* b = static_cast<t_boss1a*>(boss());
        b->speed = 0.0f;
        update_boss(199);
        EXPECT_EQ(next_directions(), (std::vector<float>{270.0f, 270.0f}));
        EXPECT_EQ(bullets()[0]->x, 94.0f);
        EXPECT_EQ(bullets()[0]->y, 71.0f);
        EXPECT_EQ(bullets()[1]->x, 148.0f);
        EXPECT_EQ(bullets()[0]->speed, d == 0 ? 1.8f : 2.8f);
        update_boss(3);
        EXPECT_EQ(next_directions(), (std::vector<float>{268.5f, 271.5f}));
        update_boss(12);
        EXPECT_EQ(next_directions(), (std::vector<float>{255.0f, 285.0f}));
        // The whole cycle: 95 double shots from 200 to 522, then 6 rings of 24 from 600 to 625,
        // each shot and ring sounding bullet2 on channel 3.
        clear_bullets();
        const auto log = fire_log(650 - 217);
        EXPECT_EQ(sounds(), (std::vector<std::pair<const TSound*, int>>(101, {snd_bullet2, 3})));
        ASSERT_EQ(bullets().size(), 89u * 2u + 6u * 24u);
        EXPECT_EQ(bullets()[0]->image, img_bullet1);
        EXPECT_EQ(bullets()[1]->image, img_bullet1);
        EXPECT_EQ(bullets().back()->image, img_bullet3);
        // The sixth ring is turned 15 degrees and leaves from the centre (its last bullet at 360).
        EXPECT_EQ(bullets()[bullets().size() - 24]->angle, 15.0f);
        EXPECT_EQ(bullets().back()->x, b->x);
        EXPECT_EQ(bullets().back()->y, b->y);
        int fans = 0, rings = 0;
        for (const auto& [at, n] : log) (n == 2 ? fans : rings) += 1;
        EXPECT_EQ(fans, 95 - 6);  // six were fired above, up to 217
        EXPECT_EQ(rings, 6);
        EXPECT_EQ(log.back().first + 217, 625);
        EXPECT_EQ(bullets().back()->speed, d == 0 ? 1.6f : 2.0f);
        EXPECT_EQ(b->attack_timer, 0);
        EXPECT_EQ(b->burst, 0);
        EXPECT_EQ(b->sweep, 0);
    }
}

// At scroll_pos 1900 it stops firing in that frame and flies right by 1 a frame from wherever
// its pattern has it, until it is past 290: unharmed and unscored.
TEST_F(Boss, TheFirstFormLeavesToTheRight) {
    scroll_pos = 1900.5f;
    t_boss1a::create(121.0f, 90.0f);
    auto* b = static_cast<t_boss1a*>(boss());
    b->speed = 0.0f;
    b->attack_timer = 199;
    b->timer = 300;
    update_boss();
    EXPECT_EQ(bullets().size(), 2u);
    const float x = b->x;
    scroll_pos = 1900.0f;
    int updates = 0;
    while (!enemy_list->empty() && updates < 400) {
        update_boss();
        ++updates;
    }
    EXPECT_EQ(bullets().size(), 2u);
    EXPECT_EQ(updates, int(std::floor(290.0f - x)) + 1);
    EXPECT_EQ(score, 0);
    EXPECT_TRUE(effect_list->empty());
}

// Bullets of each kind per attack frame over a whole 1100-frame cycle of the second form.
TEST_F(Boss, TheSecondFormsCycleOnEachSetting) {
    for (int d = 0; d <= 2; ++d) {
        SCOPED_TRACE(d);
        set_difficulty(d);
        enemy_list->clear();
        bullet_list->clear();
        headless::clear_sound_log();
        t_boss1b::create(121.0f, 90.0f);
        active_ship(1, 120.0f, 200.0f);
        std::map<int, int> expected;
        for (int start : {200, 240, 280, 320})
            for (int k = 0; k < 6; ++k) expected[start + 5 * k] = 24;
        for (int k = 0; k <= 80; ++k) expected[420 + 5 * k] = 6;
        const int aimed = d == 2 ? 6 : 0;
        for (int k = 0; k < 4; ++k) {
            if (d > 0) expected[900 + 50 * k] = 144 + aimed;
            expected[925 + 50 * k] = 144 + aimed;
        }
        std::map<int, int> fired;
        for (const auto& [at, n] : fire_log(1100)) fired[at] = n;
        EXPECT_EQ(fired, expected);
        // Speeds and images: rings 1.6 + 0.2 d (bullet3), arrows 1.1 + 0.1 d and hexagons
        // 1.2 + 0.2 d (bullet1), aimed hexagons 2.0 (bullet3). Sounds, all on channel 3: bullet2
        // for a ring, bullet3 for arrows, bullet1 for hexagons.
        const float fd = float(d);
        std::map<std::pair<float, const TImage*>, int> kinds, expected_kinds;
        for (const t_bullet* bullet : bullets()) ++kinds[{bullet->speed, bullet->image}];
        expected_kinds[{1.6f + 0.2f * fd, img_bullet3}] += 24 * 24;
        expected_kinds[{1.1f + 0.1f * fd, img_bullet1}] += 81 * 6;
        expected_kinds[{1.2f + 0.2f * fd, img_bullet1}] += (d > 0 ? 8 : 4) * 144;
        if (d == 2) expected_kinds[{2.0f, img_bullet3}] += 8 * 6;
        EXPECT_EQ(kinds, expected_kinds);
        std::map<std::pair<const TSound*, int>, int> heard;
        for (const auto& sound : sounds()) ++heard[sound];
        EXPECT_EQ(heard,
                  (std::map<std::pair<const TSound*, int>, int>{
                      {{snd_bullet1, 3}, d > 0 ? 8 : 4}, {{snd_bullet2, 3}, 24}, {{snd_bullet3, 3}, 81}}));
        auto* b = static_cast<t_boss1b*>(boss());
        EXPECT_EQ(b->attack_timer, 0);
        EXPECT_EQ(b->burst, 0);
        EXPECT_EQ(b->sweep, 0);
        player_list->clear();
    }
}

TEST_F(Boss, TheSecondFormsArrowsRingsAndAimedHexagons) {
    set_difficulty(2);
    t_boss1b::create(121.0f, 90.0f);
    auto* b = static_cast<t_boss1b*>(boss());
    b->speed = 0.0f;
    b->timer = -10000;  // no flight: the guns stay put
    update_boss(204);
    EXPECT_EQ(next_directions()[1], 17.0f);  // the second ring A is turned 2 degrees
    update_boss(244 - 205);
    EXPECT_EQ(next_directions()[0], -2.0f);  // the second ring B the other way
    // The first arrows: from the left gun heading 180, rear bullets 20 behind, 30 to each side.
    update_boss(419 - 245);
    const auto arrows = next_directions();
    EXPECT_EQ(arrows, (std::vector<float>{180, 180, 180, 0, 0, 0}));
    EXPECT_EQ(bullets()[0]->x, 94.0f);
    EXPECT_EQ(bullets()[1]->x, 94.0f + 17.0f);
    EXPECT_EQ(bullets()[2]->x, 94.0f + 17.0f);
    // Whole-number offsets of exactly 10 may truncate to 9 by the last bit of a sine.
    EXPECT_NEAR(bullets()[1]->y, 71.0f - 9.5f, 0.5f);
    EXPECT_NEAR(bullets()[2]->y, 71.0f + 9.5f, 0.5f);
    EXPECT_FLOAT_EQ(bullets()[0]->speed, 1.3f);
    update_boss(4);  // the next volley turns each gun 25 degrees further
    EXPECT_EQ(next_directions(), (std::vector<float>{155, 155, 155, 25, 25, 25}));
    // Hexagons of 8 around the nose, (121, 70); with no ship the aimed hexagons keep the last
    // aim: none taken yet, so they fly right, around the left gun with hexagons A.
    update_boss(899 - 425);
    const auto hexagons = next_directions();
    ASSERT_EQ(hexagons.size(), 150u);
    EXPECT_EQ(hexagons[0], 7.5f);
    EXPECT_EQ(std::pair(bullets()[0]->x, bullets()[0]->y), std::pair(129.0f, 70.0f));
    EXPECT_EQ(std::pair(bullets()[144]->x, bullets()[144]->y), std::pair(102.0f, 71.0f));
    for (size_t i = 144; i < 150; ++i) EXPECT_EQ(hexagons[i], 0.0f);
    // With a ship at (+80, +40) from the right gun they fly at it, the direction not made whole.
    active_ship(1, 228.0f, 111.0f);
    update_boss(24);
    const auto aimed = next_directions();
    EXPECT_EQ(aimed[0], 0.0f);
    EXPECT_NEAR(aimed.back(), 26.5651f, 1e-3f);
    EXPECT_EQ(std::pair(bullets()[144]->x, bullets()[144]->y), std::pair(156.0f, 71.0f));
    EXPECT_EQ(bullets().back()->speed, 2.0f);
}

// Either form's death: 64 explosions, 16 bursts, 25 chain bonuses, every bullet a 1000-point
// bonus, the score; the second form starts the end of the game.
TEST_F(Boss, DeathTurnsEveryBulletIntoABonus) {
    for (bool second : {false, true}) {
        SCOPED_TRACE(second);
        TearDown();
        SetUp();
        scroll_pos = 3000.0f;
        if (second)
            t_boss1b::create(121.0f, 90.0f);
        else
            t_boss1a::create(121.0f, 90.0f);
        for (int i = 0; i < 7; ++i)
            t_bullet::create(10.0f * float(i), 200.0f, 90.0f, 1.0f, 2.0f, img_bullet1);
        boss()->hp = 30;
        boss()->speed = 0.0f;
        // A shot (hit size 4) touching the right edge of its square of 30 hits; one a unit beyond
        // the left edge does not.
        t_shot2::create(121.0f + 34.0f, 90.0f, 270.0f, 0.0f);
        t_shot2::create(121.0f - 35.0f, 90.0f, 270.0f, 0.0f);
        // The random numbers: each explosion's speed before its direction, then each burst's y
        // before its x.
        seed_rnd(17);
        const double speed = 0.3 + rnd(0.3, 0.0), direction = rnd(360.0, 0.0);
        for (int i = 2; i < 128; ++i) rnd(1.0, 0.0);
        const double dy = rnd(10.0, 0.0), dx = rnd(10.0, 0.0);
        seed_rnd(17);
        update_boss();
        EXPECT_EQ(shot_list->count(), 1u);
        EXPECT_EQ(sounds(), (std::vector<std::pair<const TSound*, int>>{{snd_explosion2, 5}}));
        const auto effects = all<t_effect>(effect_list, kind_t_effect);
        ASSERT_EQ(effects.size(), 65u);
        EXPECT_EQ(effects[0]->delay, 2);  // the spark
        EXPECT_EQ(std::pair(effects[1]->x, effects[1]->y), std::pair(91.0f, 60.0f));
        EXPECT_EQ(std::pair(effects[64]->x, effects[64]->y), std::pair(161.0f, 130.0f));
        EXPECT_EQ(effects[1]->speed, float(speed));
        EXPECT_EQ(effects[1]->angle, float(direction));
        EXPECT_EQ(effects[1]->image, img_explosion2);
        EXPECT_EQ(effects[1]->delay, 4);
        EXPECT_EQ(effects[1]->last_frame, 5);
        const t_particle* burst = all<t_particle>(effect_list, kind_t_particle).at(0);
        EXPECT_EQ(std::pair(burst->x, burst->y), std::pair(float(86.0 + dx), float(55.0 + dy)));
        const auto popped = all<t_bonus>(pickup_list, kind_t_bonus);
        ASSERT_EQ(popped.size(), 32u);
        EXPECT_EQ(std::pair(popped[0]->x, popped[0]->y), std::pair(101.0f, 70.0f));
        EXPECT_EQ(std::pair(popped[24]->x, popped[24]->y), std::pair(141.0f, 110.0f));
        EXPECT_TRUE(enemy_list->empty());
        EXPECT_TRUE(bullet_list->empty());
        int chain = 0, points = 0;
        for (t_bonus* b : all<t_bonus>(pickup_list, kind_t_bonus)) {
            EXPECT_EQ(b->mode, 2);
            (b->kind == 1 ? chain : points) += 1;
        }
        EXPECT_EQ(chain, 25);
        EXPECT_EQ(points, 7);
        EXPECT_EQ(all<t_effect>(effect_list, kind_t_effect).size(), 1u + 64u);  // the spark, then 64
        EXPECT_EQ(all<t_particle>(effect_list, kind_t_particle).size(), 16u);
        EXPECT_EQ(score, second ? 100000 : 50000);
        EXPECT_EQ(game_over_timer, second ? 375 : 0);
        EXPECT_EQ(drawn(img_boss1a).size(), 1u);  // drawn once more in its dying update
    }
}

// Either form starts full (4600 or 6900): 100 units (200 pixels); half: 50 units; rammed below 0:
// no fill at all. The fill is orange-red (248, 56, 0), the frame drawn at (120, 10) in white.
TEST_F(Boss, TheEnergyBar) {
    scroll_pos = 3000.0f;
    for (const auto& [second, hp, width] :
         {std::tuple{true, 6900, 200.0f}, std::tuple{true, 3450, 100.0f}, std::tuple{true, -700, 0.0f},
          std::tuple{false, 4600, 200.0f}, std::tuple{false, 2300, 100.0f}}) {
        SCOPED_TRACE(hp);
        enemy_list->clear();
        if (second)
            t_boss1b::create(121.0f, 90.0f);
        else
            t_boss1a::create(121.0f, 90.0f);
        EXPECT_EQ(boss()->hp, second ? 6900 : 4600);
        boss()->hp = hp;
        update_boss();
        ASSERT_EQ(drawn(img_hpbar).size(), 1u);
        EXPECT_EQ(std::pair(drawn(img_hpbar)[0].x, drawn(img_hpbar)[0].y), std::pair(240.0f, 20.0f));
        EXPECT_EQ(drawn(img_hpbar)[0].b, 255);
        const auto bars = rects();
        if (width == 0.0f) {
            EXPECT_TRUE(bars.empty());
            continue;
        }
        ASSERT_EQ(bars.size(), 1u);
        EXPECT_EQ(bars[0].x, 140.0f);
        EXPECT_EQ(bars[0].y, 14.0f);
        EXPECT_FLOAT_EQ(bars[0].w, width);
        EXPECT_EQ(bars[0].h, 10.0f);
        EXPECT_EQ(std::tuple(bars[0].r, bars[0].g, bars[0].b), std::tuple(248, 56, 0));
    }
    // Rammed by the ship: 1000 hit points.
    TearDown();
    SetUp();
    t_boss1b::create(121.0f, 90.0f);
    active_ship(1, 121.0f, 90.0f);
    update_ship();
    EXPECT_EQ(boss()->hp, 5900);
}

}  // namespace
