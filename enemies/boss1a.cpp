// The boss's first form.
#include "enemies/boss1a.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/scroll.h"
#include "enemies/boss.h"
#include "engine/engine.h"

namespace {

constexpr float kFullHp = 4600.0f;
constexpr int32_t kScore = 50000;
constexpr float kLeavesAt = 1900.0f;  // scroll_pos at and below which it gives up
constexpr float kGoneRightOf = 290.0f;

// The 650-frame cycle: from frame 200, 19 fan bursts (sweep 0..18) 17 frames apart, each of 5
// double shots 4 frames apart (burst 0..4), the two streams turning away from straight up in
// opposite directions; then 6 rings of 24 at 600, 605, ..., 625, each turned 3 degrees further.
constexpr int32_t kFanStart = 200, kShotFrames = 4, kBurstFrames = 17, kLastShot = 4, kLastSweep = 18;
constexpr float kSweepTurn = 15.0f, kShotTurn = 1.5f;
constexpr int32_t kRingStart = 600, kRingFrames = 5, kLastRing = 5, kRingTurn = 3;
constexpr int32_t kCycle = 650;

}  // namespace

void t_boss1a::create(float x, float y) { enlist_boss(new t_boss1a, x, y, kFullHp); }

void t_boss1a::attack() {
    ++attack_timer;
    // Fan
    if (attack_timer == kFanStart + kShotFrames * burst + kBurstFrames * sweep) {
        play_sound(snd_bullet2, channel3);
        const float speed = 1.8f + 0.5f * difficulty_level;
        boss_fire(*this, kLeftGun, (270.0f - kSweepTurn * float(sweep)) - kShotTurn * float(burst), speed,
                  img_bullet1);
        boss_fire(*this, kRightGun, (270.0f + kSweepTurn * float(sweep)) + kShotTurn * float(burst), speed,
                  img_bullet1);
        if (burst < kLastShot) {
            ++burst;
        } else {
            burst = 0;
            sweep = sweep < kLastSweep ? sweep + 1 : 0;
        }
    }
    // Ring
    if (attack_timer == kRingStart + kRingFrames * burst) {
        for (int32_t i = 0; i < 24; ++i)
            boss_fire(*this, {0.0f, 0.0f}, float(15 * i + kRingTurn * burst), 1.6f + 0.2f * difficulty_level,
                      img_bullet3);
        play_sound(snd_bullet2, channel3);
        burst = burst < kLastRing ? burst + 1 : 0;
    }
    if (attack_timer == kCycle) attack_timer = 0;
}

void t_boss1a::update() {
    // Fight, or leave to the right once the stage has scrolled on: no more attacks or pattern.
    if (scroll_pos > kLeavesAt) {
        attack();
        boss_move(*this);
    } else {
        x += 1.0f;
        if (x > kGoneRightOf) enemy_list->remove(this);
    }
    // Hits: it can still be shot while it leaves.
    boss_check_shot_hits(*this);
    if (hp <= 0) boss_die(*this, kScore, false);
    // Draw
    boss_draw(*this, kFullHp);
}
