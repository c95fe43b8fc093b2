// The twin-barrel ground turret.
#include "enemies/enemy5.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "enemies/enemy.h"
#include "engine/engine.h"
#include "player/helpers.h"

namespace {

constexpr int32_t kCycleEnd = 100;  // the timer cycles through 1..99
constexpr int32_t kAimTime = 75;
// The four double shots of a burst all follow the aim taken at 75.
constexpr FireTime kBurst[] = {{75, Harder::any}, {82, Harder::any}, {89, Harder::any}, {96, Harder::any}};
constexpr float kFiresAbove = 100.0f;  // only in the upper part of the screen
constexpr int32_t kBarrelSpread = 20;  // degrees either side of the aim
constexpr float kBarrelLength = 10.0f;

}  // namespace

void t_enemy5::create(float x, float y) { enlist_enemy(new t_enemy5, x, y, 6.0f, 30, 1); }

void t_enemy5::update() {
    ++timer;
    if (timer == kCycleEnd) timer = 1;
    // Aim: the turret follows the ship; the firing aim is taken once a cycle.
    if (timer == kAimTime) aim_at_ship(x, y, aim);
    aim_at_ship(x, y, facing);
    // Fire
    if (y < kFiresAbove && fires_at(kBurst, timer) && beyond_point_blank(x, y)) {
        play_sound(snd_bullet3, channel3);
        const float speed = 1.5f + 0.5f * difficulty_level;
        for (const int32_t side : {-kBarrelSpread, kBarrelSpread}) {
            const float barrel = float(aim + side);
            fire_bullet(x + float(cos_offset(barrel, kBarrelLength)),
                        y + float(sin_offset(barrel, kBarrelLength)), float(aim), speed, img_bullet2);
        }
    }
    // Hits
    check_shot_hits(*this);
    if (hp <= 0) die_small(*this, 600, 1, snd_explosion1);
    // Move
    ride_scroll(*this);
    // Draw
    draw_turret(img_enemy5, x, y, facing);
    // Remove
    leave_below(*this, 248.0f);
}
