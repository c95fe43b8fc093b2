// The ground turret.
#include "enemies/enemy1.h"

#include "core/assets.h"
#include "core/entities.h"
#include "enemies/enemy.h"
#include "engine/engine.h"

namespace {

constexpr FireTime kFireTimes[] = {
    {25, Harder::hard_only},
    {75, Harder::any},
    {175, Harder::from_normal},
    {300, Harder::any},
};

}  // namespace

void t_enemy1::create(float x, float y) { enlist_enemy(new t_enemy1, x, y, 6.0f, 20, 1); }

void t_enemy1::update() {
    ++timer;
    // Aim
    aim_at_ship(x, y, aim);
    // Fire
    if (fires_at(kFireTimes, timer) && beyond_point_blank(x, y)) fire_aimed_shot(x, y, aim);
    // Hits
    check_shot_hits(*this);
    if (hp <= 0) die_small(*this, 300, 1, snd_explosion1);
    // Move
    ride_scroll(*this);
    // Draw
    draw_turret(img_enemy1, x, y, aim);
    // Remove
    leave_below(*this, 248.0f);
}
