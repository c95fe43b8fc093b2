// The main gun, the second weapon and the hyper field.
#include "player/weapons.h"

#include <cmath>

#include "core/assets.h"
#include "core/entities.h"
#include "core/hud.h"
#include "engine/engine.h"
#include "frontend/input.h"
#include "player/bonus.h"
#include "player/bullet.h"
#include "player/effect.h"
#include "player/helpers.h"
#include "player/ship.h"
#include "player/shot1.h"
#include "player/shot2.h"

namespace {

// The main gun by ship kind and power level. A volley is fired while at most `cap` t_shot1 are
// on screen (the cap is inclusive). Ship 1 fires straight, ship 2 fans out; ship 2's full-power
// offsets are the points at radius 10 of the angles 180, 270, 0 and 270.
constexpr GunRow kShip1Gun[3] = {
    {15, 3, {{{-7, 0, 270}, {0, -5, 270}, {7, 0, 270}}}},
    {20, 4, {{{-10, 4, 270}, {10, 4, 270}, {-5, -4, 270}, {5, -4, 270}}}},
    {25, 5, {{{-12, 8, 270}, {12, 8, 270}, {-7, -4, 270}, {7, -4, 270}, {0, 4, 270}}}},
};
constexpr GunRow kShip2Gun[3] = {
    {10, 2, {{{-5, -2, 265}, {5, -2, 275}}}},
    {15, 3, {{{0, -2, 270}, {-5, -2, 258}, {5, -2, 282}}}},
    {20, 4, {{{-10, 0, 258}, {0, -10, 258}, {10, 0, 282}, {0, -10, 282}}}},
};

// The second weapon: ship 1 two straight shots every 30 frames, ship 2 four angled ones every 40,
// placed at the points at radius 12 of the angles 250, 180, 0 and 290.
constexpr SecondVolley kShip1Second = {30, 2, {{{-6, 0, 270}, {6, 0, 270}}}};
constexpr SecondVolley kShip2Second = {40, 4, {{{-4, -11, 250}, {-12, 0, 250}, {12, 0, 290}, {4, -11, 290}}}};

// The ring burst at the end of a field: 37 steps of 10 degrees (the first and the last on the same
// spot) on two circles.
constexpr int kRingSteps = 37;
constexpr float kRingRadii[2] = {25.0f, 50.0f};

bool fire_pressed() { return input_button == 1 || input_button == 3; }
bool hyper_pressed() { return input_button == 2 || input_button == 3; }

int count_main_shots() {
    int n = 0;
    shot_list->walk_kind(kind_t_shot1, [&n](TObject*) { ++n; });
    return n;
}

}  // namespace

const GunRow* gun_row(uint8_t ship, uint8_t power) {
    const int level = power == 100 ? 2 : power >= 50 ? 1 : 0;
    if (ship == 1) return &kShip1Gun[level];
    if (ship == 2) return &kShip2Gun[level];
    return nullptr;
}

const SecondVolley* second_volley(uint8_t ship) {
    if (ship == 1) return &kShip1Second;
    if (ship == 2) return &kShip2Second;
    return nullptr;
}

void fire_main_gun(t_player& ship) {
    // The delay counts down before the test, so a held button fires every 9 frames.
    if (ship.shot1_delay > 0) --ship.shot1_delay;
    if (!fire_pressed() || ship.shot1_delay != 0) return;
    const GunRow* row = gun_row(ship.ship, ship.power);
    // Too many shots on screen: the delay stays 0 and the gun tries again next frame.
    if (row == nullptr || count_main_shots() > row->cap) return;
    for (int i = 0; i < row->count; ++i) {
        const GunShot& s = row->shots[size_t(i)];
        t_shot1::create(ship.x + float(s.dx), ship.y + float(s.dy), s.angle, kShot1Speed);
    }
    ship.shot1_delay = kShot1Delay;
    play_sound(snd_shot1, channel1);
}

void fire_second_weapon(t_player& ship) {
    if (ship.shot2_delay > 0) --ship.shot2_delay;
    if (!fire_pressed() || ship.shot2_delay != 0) return;
    const SecondVolley* volley = second_volley(ship.ship);
    if (volley == nullptr) return;
    for (int i = 0; i < volley->count; ++i) {
        const GunShot& s = volley->shots[size_t(i)];
        t_shot2::create(ship.x + float(s.dx), ship.y + float(s.dy), s.angle, kShot2Speed);
    }
    ship.shot2_delay = volley->delay;
}

void start_hyper_field(t_player& ship) {
    // A held button starts the next field only once the running one has ended.
    if (!hyper_pressed() || ship.hypers == 0 || ship.hyper_timer != 0) return;
    --ship.hypers;
    ship.hyper_timer = kHyperFrames;
    play_sound(snd_hyperfield, channel6);
}

void run_hyper_field(t_player& ship) {
    if (ship.hyper_timer == 0) return;
    --ship.hyper_timer;
    // Draw: 20 strips stacked into a 100 x 100 square, each row swaying sideways by up to 3 units.
    for (int i = 0; i < 20; ++i) {
        const double sway = 3.0 * sin_deg(double(i * 50 + hud_spin));
        draw_scaled(img_hyperfield, float(double(ship.x) + sway), ship.y + float(5 * i) - 50.0f, uint8_t(i));
    }
    // Catch: every bullet touching the square becomes a 1000-point bonus where it was.
    const int sx = to_int(ship.x), sy = to_int(ship.y);
    bullet_list->walk_kind(kind_t_bullet, [&](TObject* object) {
        auto* bullet = static_cast<t_bullet*>(object);
        if (!boxes_overlap(sx, sy, kHyperCatchSize, to_int(bullet->x), to_int(bullet->y),
                           to_int(bullet->hit_size)))
            return;
        t_bonus::create(bullet->x, bullet->y, 2, 2);
        bullet_list->remove(bullet);
    });
    // Ring burst, on the next-to-last frame of the field.
    if (ship.hyper_timer == 1) {
        for (int i = 0; i < kRingSteps; ++i) {
            const float angle = float(10 * i);
            for (float radius : kRingRadii)
                t_effect::create(img_ringblue, ship.x + float(cos_offset(angle, radius)),
                                 ship.y + float(sin_offset(angle, radius)), 90.0f, 0.0f, 0, 5, 5, 1);
        }
    }
}
