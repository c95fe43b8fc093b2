// The ship's weapons: the main gun's table, cap and rhythm, the second weapon, the hyper field.
#include "player/weapons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "core/hud.h"
#include "player/bonus.h"
#include "player/bullet.h"
#include "player/effect.h"
#include "player/helpers.h"
#include "player/shot1.h"
#include "player/shot2.h"
#include "tests/player/player_fixture.h"

namespace {

using playertest::PlayerTest;
using Shot = std::tuple<float, float, float>;  // offset x, offset y, angle

std::vector<Shot> offsets_of(const std::vector<t_shot*>& shots, const t_player& ship) {
    std::vector<Shot> out;
    for (const t_shot* s : shots) out.emplace_back(s->x - ship.x, s->y - ship.y, s->angle);
    return out;
}

class MainGun : public PlayerTest {
  protected:
    // The first volley of a ship of `kind` at `power`, with the second weapon still loading.
    std::vector<Shot> volley(uint8_t kind, uint8_t power) {
        shot_list->clear();
        player_list->clear();
        t_player* ship = active_ship(kind, 100.0f, 100.0f);
        ship->power = power;
        ship->shot1_delay = 1;
        input_button = 1;
        update_ship();
        std::vector<Shot> out = offsets_of(all<t_shot>(shot_list, kind_t_shot1), *ship);
        for (t_shot* s : all<t_shot>(shot_list, kind_t_shot1)) {
            EXPECT_EQ(s->speed, 3.5f);
            EXPECT_EQ(s->damage, 10);
            EXPECT_EQ(s->hit_size, 3.0f);
        }
        return out;
    }
    // Puts `n` main-gun shots far away from everything.
    static void fill_shots(int n) {
        for (int i = 0; i < n; ++i) t_shot1::create(0.0f, 0.0f, 270.0f, 0.0f);
    }
};

TEST_F(MainGun, VolleysByShipAndPowerLevel) {
    using V = std::vector<Shot>;
    const V ship1_low = {{-7, 0, 270}, {0, -5, 270}, {7, 0, 270}};
    const V ship1_mid = {{-10, 4, 270}, {10, 4, 270}, {-5, -4, 270}, {5, -4, 270}};
    const V ship1_full = {{-12, 8, 270}, {12, 8, 270}, {-7, -4, 270}, {7, -4, 270}, {0, 4, 270}};
    const V ship2_low = {{-5, -2, 265}, {5, -2, 275}};
    const V ship2_mid = {{0, -2, 270}, {-5, -2, 258}, {5, -2, 282}};
    const V ship2_full = {{-10, 0, 258}, {0, -10, 258}, {10, 0, 282}, {0, -10, 282}};
    EXPECT_EQ(volley(1, 0), ship1_low);
    EXPECT_EQ(volley(1, 49), ship1_low);
    EXPECT_EQ(volley(1, 50), ship1_mid);
    EXPECT_EQ(volley(1, 99), ship1_mid);
    EXPECT_EQ(volley(1, 100), ship1_full);
    EXPECT_EQ(volley(2, 0), ship2_low);
    EXPECT_EQ(volley(2, 49), ship2_low);
    EXPECT_EQ(volley(2, 50), ship2_mid);
    EXPECT_EQ(volley(2, 99), ship2_mid);
    EXPECT_EQ(volley(2, 100), ship2_full);
}

TEST_F(MainGun, ShipTwoFullPowerOffsetsAreTheRadiusTenPoints) {
    const GunRow* row = gun_row(2, 100);
    ASSERT_NE(row, nullptr);
    const float angles[4] = {180, 270, 0, 270};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(row->shots[size_t(i)].dx, cos_offset(angles[i], 10.0f)) << i;
        EXPECT_EQ(row->shots[size_t(i)].dy, sin_offset(angles[i], 10.0f)) << i;
    }
}

TEST_F(MainGun, TheCapIsInclusiveAndOnlyMainShotsCount) {
    const struct {
        uint8_t kind, power;
        int cap;
    } caps[] = {{1, 0, 15}, {1, 50, 20}, {1, 100, 25}, {2, 0, 10}, {2, 50, 15}, {2, 100, 20}};
    for (const auto& c : caps) {
        shot_list->clear();
        player_list->clear();
        t_player* ship = active_ship(c.kind, 100.0f, 100.0f);
        ship->power = c.power;
        fill_shots(c.cap + 1);
        t_shot2::create(0.0f, 0.0f, 270.0f, 0.0f);
        input_button = 1;
        ship->shot1_delay = 1;
        update_ship();  // one over the cap: nothing, and the gun stays ready
        EXPECT_EQ(all<t_shot>(shot_list, kind_t_shot1).size(), size_t(c.cap + 1));
        EXPECT_EQ(ship->shot1_delay, 0);
        shot_list->remove(all<t_shot>(shot_list, kind_t_shot1).front());
        update_ship();  // at the cap: the next frame fires
        EXPECT_GT(all<t_shot>(shot_list, kind_t_shot1).size(), size_t(c.cap))
            << int(c.kind) << " " << int(c.power);
        EXPECT_EQ(ship->shot1_delay, 9);
    }
}

TEST_F(MainGun, AHeldButtonFiresEveryNineFramesWithOneSoundPerVolley) {
    t_player* ship = active_ship(1, 100.0f, 200.0f);
    ship->shot1_delay = 1;
    ship->shot2_delay = 200;
    input_button = 3;
    ship->hypers = 0;
    std::vector<int> fired;
    for (int frame = 1; frame <= 30; ++frame) {
        const size_t before = shot_list->count();
        update_ship();
        if (shot_list->count() > before) fired.push_back(frame);
    }
    EXPECT_EQ(fired, (std::vector<int>{1, 10, 19, 28}));
    int shots = 0;
    for (auto& [sound, channel] : sounds()) {
        EXPECT_EQ(sound, snd_shot1);
        EXPECT_EQ(channel, channel1->id);
        ++shots;
    }
    EXPECT_EQ(shots, 4);
}

TEST_F(MainGun, TheHyperButtonAloneDoesNotFire) {
    t_player* ship = active_ship();
    ship->shot1_delay = ship->shot2_delay = 0;
    input_button = 2;
    update_ship();
    EXPECT_TRUE(shot_list->empty());
}

// ---------------------------------------------------------------------------------------------

class SecondWeapon : public MainGun {
  protected:
    std::vector<int> firing_frames(uint8_t kind, int frames) {
        t_player* ship = active_ship(kind, 100.0f, 200.0f);
        input_button = 1;
        ship->shot1_delay = 255;  // the main gun out of the way
        std::vector<int> fired;
        for (int frame = 1; frame <= frames; ++frame) {
            const size_t before = all<t_shot>(shot_list, kind_t_shot2).size();
            update_ship();
            if (all<t_shot>(shot_list, kind_t_shot2).size() > before) fired.push_back(frame);
        }
        return fired;
    }
};

TEST_F(SecondWeapon, ShipOneEveryThirtyFramesShipTwoEveryForty) {
    EXPECT_EQ(firing_frames(1, 100), (std::vector<int>{35, 65, 95}));
    player_list->clear();
    shot_list->clear();
    EXPECT_EQ(firing_frames(2, 120), (std::vector<int>{35, 75, 115}));
    EXPECT_TRUE(sounds().empty());  // it makes no sound
}

TEST_F(SecondWeapon, Volleys) {
    t_player* ship = active_ship(1, 100.0f, 100.0f);
    ship->shot2_delay = 0;
    ship->shot1_delay = 255;
    input_button = 3;
    ship->hypers = 0;
    update_ship();
    EXPECT_EQ(offsets_of(all<t_shot>(shot_list, kind_t_shot2), *ship),
              (std::vector<Shot>{{-6, 0, 270}, {6, 0, 270}}));
    for (t_shot* s : all<t_shot>(shot_list, kind_t_shot2)) {
        EXPECT_EQ(s->speed, 2.0f);
        EXPECT_EQ(s->damage, 30);
        EXPECT_EQ(s->hit_size, 4.0f);
    }
    shot_list->clear();
    player_list->clear();
    ship = active_ship(2, 100.0f, 100.0f);
    ship->shot2_delay = 0;
    ship->shot1_delay = 255;
    update_ship();
    EXPECT_EQ(offsets_of(all<t_shot>(shot_list, kind_t_shot2), *ship),
              (std::vector<Shot>{{-4, -11, 250}, {-12, 0, 250}, {12, 0, 290}, {4, -11, 290}}));
}

TEST_F(SecondWeapon, ShipTwoOffsetsAreTheRadiusTwelvePoints) {
    const SecondVolley* v = second_volley(2);
    ASSERT_NE(v, nullptr);
    const float at[4] = {250, 180, 0, 290};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v->shots[size_t(i)].dx, cos_offset(at[i], 12.0f)) << i;
        EXPECT_EQ(v->shots[size_t(i)].dy, sin_offset(at[i], 12.0f)) << i;
    }
}

// ---------------------------------------------------------------------------------------------

class HyperField : public PlayerTest {};

TEST_F(HyperField, RunsFor150FramesAndTheThirdIsTheLast) {
    t_player* ship = active_ship(1, 100.0f, 100.0f);
    input_button = 2;
    std::vector<int> drawn_frames;
    for (int frame = 1; frame <= 3 * 150 + 20; ++frame) {
        update_ship();
        if (drawn(img_hyperfield).size() == 20) drawn_frames.push_back(frame);
    }
    // A held button starts the next field in the frame after the last one ended: one unbroken run.
    ASSERT_EQ(drawn_frames.size(), 450u);
    EXPECT_EQ(drawn_frames.front(), 1);
    EXPECT_EQ(drawn_frames[149], 150);
    EXPECT_EQ(drawn_frames[150], 151);
    EXPECT_EQ(drawn_frames.back(), 450);
    EXPECT_EQ(ship->hypers, 0);
    int started = 0;
    for (auto& [sound, channel] : sounds())
        if (sound == snd_hyperfield && channel == channel6->id) ++started;
    EXPECT_EQ(started, 3);
}

TEST_F(HyperField, StripsStackIntoASwayingSquare) {
    active_ship(1, 100.0f, 100.0f);
    hud_spin = 40;
    input_button = 2;
    update_ship();
    auto strips = drawn(img_hyperfield);
    ASSERT_EQ(strips.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(strips[size_t(i)].frame, i);
        EXPECT_EQ(strips[size_t(i)].y, (100.0f + float(5 * i) - 50.0f) * 2);
        const float sway = float(double(100.0f) + 3.0 * sin_deg(i * 50 + 40));
        EXPECT_EQ(strips[size_t(i)].x, sway * 2) << i;
    }
}

TEST_F(HyperField, RingBurstOfSeventyFourOnTheNextToLastFrame) {
    active_ship(1, 100.0f, 100.0f);
    input_button = 2;
    update_ship();
    input_button = 0;
    update_ship(147);
    EXPECT_TRUE(effect_list->empty());
    update_ship();  // the 149th frame of the field
    auto rings = all<t_effect>(effect_list, kind_t_effect);
    ASSERT_EQ(rings.size(), 74u);
    for (int i = 0; i < 37; ++i) {
        const t_effect* near = rings[size_t(2 * i)];
        const t_effect* far = rings[size_t(2 * i + 1)];
        EXPECT_EQ(near->x, 100.0f + float(cos_offset(10.0f * i, 25.0f)));
        EXPECT_EQ(near->y, 100.0f + float(sin_offset(10.0f * i, 25.0f)));
        EXPECT_EQ(far->x, 100.0f + float(cos_offset(10.0f * i, 50.0f)));
        EXPECT_EQ(far->y, 100.0f + float(sin_offset(10.0f * i, 50.0f)));
        EXPECT_EQ(near->image, img_ringblue);
        EXPECT_EQ(near->speed, 0.0f);
        EXPECT_EQ(near->delay, 5);
        EXPECT_EQ(near->tag, 1);
    }
    EXPECT_EQ(rings[0]->x, rings[72]->x);  // the first and the last on the same spot
    update_ship(3);
    EXPECT_EQ(effect_list->count(), 74u);
}

TEST_F(HyperField, CatchesBulletsInsideTheSquareOfHalfSize40) {
    t_player* ship = active_ship(1, 100.0f, 100.0f);
    t_bullet::create(142.9f, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet1);  // Int 142 = 40 + 2 away: caught
    t_bullet::create(58.0f, 58.0f, 0.0f, 0.0f, 2.0f, img_bullet1);    // corner, 42 away on both axes: caught
    t_bullet::create(143.0f, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet1);  // 43 away: not
    t_bullet::create(100.0f, 100.0f, 0.0f, 0.0f, 2.0f, img_bullet2);  // on the ship: caught, no death
    input_button = 2;
    update_ship();
    EXPECT_TRUE(player_list->contains(ship));
    auto left = all<t_bullet>(bullet_list, kind_t_bullet);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0]->x, 143.0f);
    auto bonuses = all<t_bonus>(pickup_list, kind_t_bonus);
    ASSERT_EQ(bonuses.size(), 3u);
    EXPECT_EQ(bonuses[0]->x, 142.9f);
    EXPECT_EQ(bonuses[0]->mode, 2);
    EXPECT_EQ(bonuses[0]->kind, 2);
    // The bonus on the ship was collected at once, in the same update.
    EXPECT_EQ(bonuses[2]->collected, 1);
    EXPECT_EQ(bonuses[2]->value, 1000);
}

TEST_F(HyperField, EnemiesStillDestroyTheShip) {
    struct Flier : t_enemy {
        Flier() : t_enemy(kind_t_enemy4) {
            x = y = 100.0f;
            hit_size = 5.0f;
            layer = 2;
        }
    };
    active_ship(1, 100.0f, 100.0f);
    enemy_list->append(new Flier);
    input_button = 2;
    update_ship();
    EXPECT_TRUE(player_list->empty());
}

TEST_F(HyperField, WithoutFieldsLeftTheButtonDoesNothing) {
    t_player* ship = active_ship();
    ship->hypers = 0;
    input_button = 2;
    update_ship();
    EXPECT_EQ(ship->hyper_timer, 0);
    EXPECT_TRUE(drawn(img_hyperfield).empty());
    EXPECT_TRUE(sounds().empty());
}

}  // namespace
