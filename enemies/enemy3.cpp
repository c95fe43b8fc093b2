// The flier.
#include "enemies/enemy3.h"

#include "core/assets.h"
#include "core/entities.h"
#include "enemies/enemy.h"
#include "engine/engine.h"
#include "player/helpers.h"
#include "player/motion.h"

namespace {

// The two turns of its path: 2 degrees an update, 90 degrees each, towards the bottom and then
// back out (clockwise on screen from the left edge, anticlockwise from the right).
struct Turn {
    int32_t from, to;  // timer values from..to-1, read before the timer is increased
};
constexpr Turn kTurns[] = {{25, 70}, {80, 125}};
constexpr float kTurnStep = 2.0f;
constexpr int32_t kLastUpdate = 200;  // removed in its 201st update

constexpr FireTime kFireTimes[] = {{35, Harder::any}, {75, Harder::from_normal}};

}  // namespace

void t_enemy3::create(float x, float y) {
    auto* e = new t_enemy3;
    e->speed = 2.0f;
    enlist_enemy(e, x, y, 8.0f, 20, 3);
}

// The flight step reads the timer before this update increases it.
void t_enemy3::fly() {
    if (timer == 0) side = x >= 0.0f ? 1 : 0;
    if (timer == 1) angle = side == 0 ? 0.0f : 180.0f;
    for (const Turn& t : kTurns)
        if (timer >= t.from && timer < t.to) angle += side == 0 ? kTurnStep : -kTurnStep;
    if (timer == kLastUpdate) enemy_list->remove(this);
}

void t_enemy3::update() {
    // Pattern
    fly();
    ++timer;
    // Move
    step_along(x, y, angle, speed);
    // Aim
    aim_at_ship(x, y, aim);
    // Fire
    if (fires_at(kFireTimes, timer) && beyond_point_blank(x, y)) fire_aimed_shot(x, y, aim);
    // Hits
    check_shot_hits(*this);
    if (hp <= 0) die_small(*this, 300, 2, snd_explosion3);
    // Draw: the same picture whatever the heading.
    draw_scaled(img_enemy3, x, y, 0);
}
