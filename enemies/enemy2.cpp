// The ground emplacement.
#include "enemies/enemy2.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "enemies/enemy.h"
#include "engine/engine.h"
#include "player/helpers.h"

namespace {

// Ring A leaves at 0, 15, ..., 360 degrees, ring B turned 8 degrees further.
constexpr FireTime kRingA[] = {{50, Harder::any},  {60, Harder::any},  {70, Harder::hard_only},
                               {210, Harder::any}, {220, Harder::any}, {230, Harder::hard_only}};
constexpr FireTime kRingB[] = {{100, Harder::any}, {110, Harder::any}, {120, Harder::hard_only},
                               {260, Harder::any}, {270, Harder::any}, {280, Harder::hard_only}};
constexpr int32_t kRingATurn = 0, kRingBTurn = 8;

constexpr uint8_t kFlashFrames = 10;

}  // namespace

void t_enemy2::create(float x, float y) { enlist_enemy(new t_enemy2, x, y, 10.0f, 120, 1); }

// 25 bullets, not 24: the first and the last leave in the same direction, one on the other.
void t_enemy2::fire_ring(int32_t turn) {
    play_sound(snd_bullet2, channel3);
    for (int32_t i = 0; i <= 24; ++i) {
        shot_angle = 15 * i + turn;
        const float a = float(shot_angle);
        fire_bullet(x + float(cos_offset(a, 2)), y + float(sin_offset(a, 2)), a,
                    1.2f + 0.3f * difficulty_level, img_bullet1);
        flash = kFlashFrames;
    }
}

void t_enemy2::update() {
    ++timer;
    // Fire
    if (fires_at(kRingA, timer)) fire_ring(kRingATurn);
    if (fires_at(kRingB, timer)) fire_ring(kRingBTurn);
    // Hits
    check_shot_hits(*this);
    if (hp <= 0) die_large(*this);
    // Move
    ride_scroll(*this);
    // Draw: the firing frame for the 9 frames after a ring.
    if (flash > 0) --flash;
    draw_scaled(img_enemy2, x, y, flash == 0 ? 0 : 1);
    // Remove
    leave_below(*this, 256.0f);
}
