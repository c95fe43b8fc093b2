// The ship: fly-in, steering limits, hits and the death sequence, pick-ups and scoring.
#include "player/ship.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/game_flow.h"
#include "core/hud.h"
#include "core/scroll.h"
#include "core/tables.h"
#include "frontend/settings_file.h"
#include "player/bonus.h"
#include "player/bonus2.h"
#include "player/bullet.h"
#include "player/effect.h"
#include "player/particle.h"
#include "player/powerup.h"
#include "player/shot1.h"
#include "player/shot2.h"
#include "tests/player/player_fixture.h"

namespace {

using playertest::PlayerTest;

struct TestEnemy : t_enemy {
    TestEnemy(float at_x, float at_y, uint8_t on_layer) : t_enemy(kind_t_enemy2) {
        x = at_x;
        y = at_y;
        hit_size = 8.0f;
        hp = 5000;
        layer = on_layer;
    }
};

struct TestBoss : t_boss {
    TestBoss(float at_x, float at_y) : t_boss(kind_t_boss1a) {
        x = at_x;
        y = at_y;
        hit_size = 30.0f;
        hp = 5000;
    }
};

// ---------------------------------------------------------------------------------------------

class FlyIn : public PlayerTest {};

TEST_F(FlyIn, RisesTo196In74UpdatesAndIgnoresTheStickUntilThen) {
    t_player* ship = new_ship();
    input_move = 7;
    update_ship(74);
    EXPECT_EQ(ship->y, 196.0f);
    EXPECT_EQ(ship->x, 120.0f);
    EXPECT_EQ(ship->start_timer, 151);
    update_ship();  // the 75th: steering starts, the climb has ended
    EXPECT_EQ(ship->x, 120.0f - 0.7f * 1.8f);
    EXPECT_EQ(ship->y, 196.0f - 0.7f * 1.8f);
}

TEST_F(FlyIn, FiresFromItsThirtyFifthUpdate) {
    new_ship();
    input_button = 1;
    update_ship(34);
    EXPECT_TRUE(shot_list->empty());
    update_ship();
    EXPECT_EQ(all<t_shot1>(shot_list, kind_t_shot1).size(), 3u);
    EXPECT_EQ(all<t_shot2>(shot_list, kind_t_shot2).size(), 2u);
}

TEST_F(FlyIn, CanBeHitFromIts225thUpdateOn) {
    t_player* ship = new_ship();
    update_ship(223);
    ship->x = 50.0f;
    ship->y = 50.0f;
    t_bullet::create(50.0f, 50.0f, 0.0f, 0.0f, 2.0f, img_bullet1);
    update_ship();  // start_timer 1 at the hit test: protected
    EXPECT_EQ(ship->start_timer, 1);
    EXPECT_EQ(player_list->count(), 1u);
    EXPECT_EQ(bullet_list->count(), 1u);
    update_ship();  // start_timer 0: the same bullet destroys it
    EXPECT_TRUE(player_list->empty());
    EXPECT_TRUE(bullet_list->empty());
}

TEST_F(FlyIn, MarkerAndShrinkingBarFollowTheShip) {
    t_player* ship = new_ship();
    update_ship();  // start_timer 224: bar 28 units
    ASSERT_EQ(drawn(img_playerstart).size(), 1u);
    EXPECT_EQ(drawn(img_playerstart)[0].x, (120.0f + 15.0f) * 2);
    EXPECT_EQ(drawn(img_playerstart)[0].y, (269.0f - 15.0f) * 2);
    const auto label = drawn(img_font2);
    ASSERT_EQ(label.size(), 8u);  // PLAYER=1
    EXPECT_EQ(label[0].frame, 'P' - 48);
    EXPECT_EQ(label[0].x, 140.0f * 2);
    EXPECT_EQ(label[7].x, (140.0f + 7 * 8) * 2);
    EXPECT_EQ(label[0].y, 239.0f * 2);
    auto bar = rects();
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(bar[0].g, 216);
    EXPECT_EQ(bar[0].x, 95.0f * 2);
    EXPECT_EQ(bar[0].y, (269.0f - 28) * 2);
    EXPECT_EQ(bar[0].w, 10.0f);
    EXPECT_EQ(bar[0].h, 56.0f);
    ship->start_timer = 8;
    update_ship();  // 7 / 8 = 0: an empty bar, but the marker still shows
    EXPECT_EQ(rects()[0].h, 0.0f);
    EXPECT_EQ(drawn(img_playerstart).size(), 1u);
    update_ship(7);
    EXPECT_TRUE(rects().empty());
    EXPECT_TRUE(drawn(img_playerstart).empty());
}

// ---------------------------------------------------------------------------------------------

class Steering : public PlayerTest {};

TEST_F(Steering, StepsEndJustPastALimitAndStopThere) {
    t_player* ship = active_ship(1, 229.0f, 120.0f);
    input_move = 6;
    update_ship();
    EXPECT_EQ(ship->x, 229.0f + 1.8f);
    update_ship(3);
    EXPECT_EQ(ship->x, 229.0f + 1.8f);

    ship->x = 11.0f;
    input_move = 4;
    update_ship(2);
    EXPECT_EQ(ship->x, 11.0f - 1.8f);

    ship->y = 229.5f;
    input_move = 2;
    update_ship(2);
    EXPECT_EQ(ship->y, 229.5f + 1.8f);

    ship->y = 10.5f;
    input_move = 8;
    update_ship(2);
    EXPECT_EQ(ship->y, 10.5f - 1.8f);
}

TEST_F(Steering, EveryKeypadDirection) {
    const float s = 1.7f, d = 0.7f * s;
    struct Case {
        uint8_t move;
        float dx, dy;
    } cases[] = {{1, -d, d}, {2, 0, s},   {3, d, d},  {4, -s, 0}, {5, 0, 0},
                 {6, s, 0},  {7, -d, -d}, {8, 0, -s}, {9, d, -d}};
    for (const Case& c : cases) {
        t_player* ship = active_ship(2, 100.0f, 100.0f);
        input_move = c.move;
        update_ship();
        EXPECT_EQ(ship->x, 100.0f + c.dx) << "move " << int(c.move);
        EXPECT_EQ(ship->y, 100.0f + c.dy) << "move " << int(c.move);
        player_list->clear();
    }
}

TEST_F(Steering, ADiagonalAtALimitStillMovesAlongTheOtherAxis) {
    t_player* ship = active_ship(1, 230.5f, 100.0f);
    input_move = 9;
    update_ship();
    EXPECT_EQ(ship->x, 230.5f);
    EXPECT_EQ(ship->y, 100.0f - 0.7f * 1.8f);
}

TEST_F(Steering, TheShipBanksWithTheStick) {
    active_ship();
    const uint8_t expected[10] = {1, 0, 1, 2, 0, 1, 2, 0, 1, 2};
    for (uint8_t move = 1; move <= 9; ++move) {
        input_move = move;
        update_ship();
        ASSERT_EQ(drawn(img_player1).size(), 1u);
        EXPECT_EQ(drawn(img_player1)[0].frame, expected[move]) << "move " << int(move);
    }
}

TEST_F(Steering, ExhaustSitsLowerUnderShipOneAndAdvancesEveryFiveUpdates) {
    active_ship(1, 100.0f, 100.0f);
    update_ship();
    auto plasma = drawn(img_plasma);
    ASSERT_EQ(plasma.size(), 2u);
    EXPECT_EQ(plasma[0].x, 194.0f);
    EXPECT_EQ(plasma[1].x, 206.0f);
    EXPECT_EQ(plasma[0].y, 226.0f);  // 13 units below the centre
    EXPECT_EQ(plasma[0].frame, 1);   // advanced on the first update
    update_ship(4);
    EXPECT_EQ(drawn(img_plasma)[0].frame, 1);
    update_ship(15);
    EXPECT_EQ(drawn(img_plasma)[0].frame, 0);  // 1, 2, 3, then round to 0
    player_list->clear();
    active_ship(2, 100.0f, 100.0f);
    update_ship();
    EXPECT_EQ(drawn(img_plasma)[0].y, 220.0f);  // 10 units for ship 2
}

// ---------------------------------------------------------------------------------------------

class Hits : public PlayerTest {};

TEST_F(Hits, TwoBulletsInOneFrameBothVanishAndBothRunTheDeathSequence) {
    active_ship(1, 100.0f, 100.0f);
    respawn_timer = 3;
    t_bullet::create(101.0f, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet1);
    t_bullet::create(103.0f, 99.0f, 0.0f, 0.0f, 2.0f, img_bullet2);   // edges touch at x 101
    t_bullet::create(104.0f, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet3);  // one unit clear
    update_ship();
    EXPECT_TRUE(player_list->empty());
    ASSERT_EQ(bullet_list->count(), 1u);
    EXPECT_EQ(all<t_bullet>(bullet_list, kind_t_bullet)[0]->x, 104.0f);
    EXPECT_EQ(respawn_timer, 75);
    auto effects = all<t_effect>(effect_list, kind_t_effect);
    ASSERT_EQ(effects.size(), 2u);
    EXPECT_EQ(effects[0]->image, img_explosion2);
    EXPECT_EQ(effects[0]->last_frame, 5);
    EXPECT_EQ(effects[0]->delay, 4);
    EXPECT_EQ(all<t_particle>(effect_list, kind_t_particle).size(), 2u);
    int explosions = 0;
    for (auto& [sound, channel] : sounds())
        if (sound == snd_explosion5 && channel == channel6->id) ++explosions;
    EXPECT_EQ(explosions, 2);
    // The update went on after the removal: the ship was still drawn.
    EXPECT_EQ(drawn(img_player1).size(), 1u);
}

TEST_F(Hits, FlyingEnemiesAndBossesAreHurtByTheCollisionGroundEnemiesAreNot) {
    active_ship(1, 100.0f, 100.0f);
    auto* ground = new TestEnemy(100.0f, 100.0f, 1);
    auto* flier = new TestEnemy(108.0f, 92.0f, 3);
    auto* boss = new TestBoss(100.0f, 131.0f);
    enemy_list->append(ground);
    enemy_list->append(flier);
    enemy_list->append(boss);
    update_ship();
    EXPECT_TRUE(player_list->empty());
    EXPECT_EQ(ground->hp, 5000);
    EXPECT_EQ(flier->hp, 4000);
    EXPECT_EQ(boss->hp, 4000);
    EXPECT_EQ(all<t_effect>(effect_list, kind_t_effect).size(), 2u);
}

TEST_F(Hits, OnlyTheGroundEnemyBelowLeavesTheShipFlying) {
    t_player* ship = active_ship(1, 100.0f, 100.0f);
    auto* ground = new TestEnemy(100.0f, 100.0f, 1);
    enemy_list->append(ground);
    update_ship();
    EXPECT_TRUE(player_list->contains(ship));
    EXPECT_EQ(ground->hp, 5000);
}

TEST_F(Hits, TheNextShipComes74FramesAfterTheDeath) {
    start_stage();
    for (int frame = 0; frame < 74; ++frame) world_step();
    ASSERT_EQ(player_list->count(), 1u);
    t_player* ship = last<t_player>(player_list, kind_t_player);
    EXPECT_EQ(ship->ship, ship_choice);
    ship->start_timer = 0;
    t_bullet::create(ship->x, ship->y, 0.0f, 0.0f, 2.0f, img_bullet1);
    update_ship();
    ASSERT_TRUE(player_list->empty());
    for (int frame = 1; frame < 74; ++frame) world_step();
    EXPECT_TRUE(player_list->empty());
    world_step();
    ASSERT_EQ(player_list->count(), 1u);
    ship = last<t_player>(player_list, kind_t_player);
    EXPECT_EQ(ship->y, 270.0f);  // a fresh ship: nothing carries over
    EXPECT_EQ(ship->hypers, 3);
    EXPECT_EQ(ship->power, 0);
}

TEST_F(Hits, AfterTheLastShipTheGameOverDisplayStarts74FramesLater) {
    start_stage();
    lives = 1;
    for (int frame = 0; frame < 74; ++frame) world_step();
    ASSERT_EQ(player_list->count(), 1u);
    EXPECT_EQ(lives, 0);
    t_player* ship = last<t_player>(player_list, kind_t_player);
    ship->start_timer = 0;
    t_bullet::create(ship->x, ship->y, 0.0f, 0.0f, 2.0f, img_bullet1);
    update_ship();
    for (int frame = 0; frame < 73; ++frame) world_step();
    EXPECT_EQ(game_over_timer, 0);
    world_step();
    EXPECT_EQ(game_over_timer, 374);  // set to 375, and counted down by the same step
    EXPECT_TRUE(player_list->empty());
}

// ---------------------------------------------------------------------------------------------

class PickUps : public PlayerTest {
  protected:
    void collect_chain_bonus() {
        t_player* ship = last<t_player>(player_list, kind_t_player);
        t_bonus::create(ship->x, ship->y, 1, 1);
        update_ship();
    }
    static int32_t last_bonus_value() { return last<t_bonus>(pickup_list, kind_t_bonus)->value; }
};

TEST_F(PickUps, PowerFrom49To50ShowsThePowerInfoAndPlaysBothSounds) {
    t_player* ship = active_ship(1, 100.0f, 100.0f);
    ship->power = 49;
    scrolling = 1;
    t_powerup::create(108.0f, 91.0f);  // the squares' edges just touch
    update_ship();
    EXPECT_EQ(ship->power, 50);
    EXPECT_TRUE(pickup_list->empty());
    EXPECT_EQ(powerinfo_timer, 149);  // set to 150, then its first frame shown
    ASSERT_EQ(drawn(img_powerinfo).size(), 1u);
    EXPECT_EQ(drawn(img_powerinfo)[0].y, 140.0f);
    EXPECT_EQ(sounds(),
              (std::vector<std::pair<const TSound*, int>>{{snd_powerup, 0}, {snd_item1, channel2->id}}));
    auto rings = all<t_effect>(effect_list, kind_t_effect);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0]->image, img_ringgreen);
    EXPECT_EQ(rings[0]->x, 108.0f);
    EXPECT_EQ(rings[0]->speed, 0.5f);  // drifts with the scrolling ground
    update_ship(149);
    EXPECT_EQ(powerinfo_timer, 0);
    EXPECT_EQ(drawn(img_powerinfo).size(), 1u);  // the 150th frame
    update_ship();
    EXPECT_TRUE(drawn(img_powerinfo).empty());
}

TEST_F(PickUps, PowerStopsAt100ButTheItemStillRingsAndSounds) {
    t_player* ship = active_ship(1, 100.0f, 100.0f);
    ship->power = 100;
    scrolling = 0;
    t_powerup::create(100.0f, 100.0f);
    update_ship();
    EXPECT_EQ(ship->power, 100);
    EXPECT_EQ(powerinfo_timer, 0);
    EXPECT_EQ(sounds(), (std::vector<std::pair<const TSound*, int>>{{snd_item1, channel2->id}}));
    EXPECT_EQ(last<t_effect>(effect_list, kind_t_effect)->speed, 0.0f);
}

TEST_F(PickUps, PowerUpsAreCollectedDuringTheFlyIn) {
    t_player* ship = new_ship();
    t_powerup::create(120.0f, 260.0f);
    update_ship();
    EXPECT_EQ(ship->power, 1);
}

TEST_F(PickUps, AChainClimbsTheTableAndStaysAtTheTop) {
    active_ship(1, 100.0f, 100.0f);
    const int32_t expected[] = {50,  100,  150,  200,  250,  300,  400,  500,  600,   700,   800,
                                900, 1000, 1200, 1500, 2000, 2500, 3000, 5000, 10000, 10000, 10000};
    int32_t total = 0;
    for (int32_t value : expected) {
        collect_chain_bonus();
        EXPECT_EQ(last_bonus_value(), value);
        EXPECT_EQ(chain_value_shown, value);
        total += value;
        for (int frame = 0; frame < 74; ++frame) draw_hud();  // the longest pause that keeps it going
    }
    EXPECT_EQ(score, total);
    EXPECT_EQ(chain_level, 19);
}

TEST_F(PickUps, AChainLapses75FramesAfterTheLastBonus) {
    active_ship(1, 100.0f, 100.0f);
    collect_chain_bonus();
    collect_chain_bonus();
    EXPECT_EQ(last_bonus_value(), 100);
    for (int frame = 0; frame < 75; ++frame) draw_hud();
    collect_chain_bonus();
    EXPECT_EQ(last_bonus_value(), 50);
}

TEST_F(PickUps, ACaughtBulletBonusKeepsTheChainAliveWithoutAdvancingIt) {
    t_player* ship = active_ship(1, 100.0f, 100.0f);
    collect_chain_bonus();
    for (int frame = 0; frame < 70; ++frame) draw_hud();
    t_bonus::create(ship->x, ship->y, 2, 2);
    update_ship();
    EXPECT_EQ(last_bonus_value(), 1000);
    EXPECT_EQ(chain_level, 0);
    EXPECT_EQ(chain_value_shown, 50);
    EXPECT_EQ(chain_timer, 75.0f);
    for (int frame = 0; frame < 70; ++frame) draw_hud();  // 140 frames after the first chain bonus
    collect_chain_bonus();
    EXPECT_EQ(last_bonus_value(), 100);
    EXPECT_EQ(score, 50 + 1000 + 100);
}

TEST_F(PickUps, ABonusIsCollectedOnceAndRingsOnTheBlueChannel) {
    active_ship(1, 100.0f, 100.0f);
    scrolling = 0;
    collect_chain_bonus();
    update_ship(3);
    EXPECT_EQ(score, 50);
    EXPECT_EQ(sounds(), (std::vector<std::pair<const TSound*, int>>{{snd_item2, channel2->id}}));
    auto rings = all<t_effect>(effect_list, kind_t_effect);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0]->image, img_ringblue);
    EXPECT_EQ(rings[0]->speed, 0.5f);  // scroll_speed even while the map is held
    EXPECT_EQ(rings[0]->delay, 5);
}

TEST_F(PickUps, ItemValuesRiseAndEndAtNothing) {
    active_ship(1, 100.0f, 100.0f);
    int32_t total = 0;
    for (int i = 0; i < 12; ++i) {
        t_bonus2::create(100.0f, 100.0f);
        update_ship();
        const int32_t value = last<t_bonus2>(pickup_list, kind_t_bonus2)->value;
        EXPECT_EQ(value, item_values[size_t(std::min(i, 10))]) << "item " << i;
        total += value;
    }
    EXPECT_EQ(item_index, 10);
    EXPECT_EQ(score, total);
    EXPECT_EQ(all<t_particle>(effect_list, kind_t_particle).size(), 12u);
    EXPECT_EQ(sounds().front(), (std::pair<const TSound*, int>{snd_gorge, 0}));
}

}  // namespace
