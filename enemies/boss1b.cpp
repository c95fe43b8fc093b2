// The boss's second form.
#include "enemies/boss1b.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "enemies/boss.h"
#include "enemies/enemy.h"
#include "engine/engine.h"
#include "frontend/settings_file.h"
#include "player/helpers.h"
#include "player/ship.h"

namespace {

constexpr float kFullHp = 6900.0f;
constexpr int32_t kScore = 100000;

// The 1100-frame cycle:
//   200..225 ring A (6 rings of 24, turned 0, 2, ..., 10 degrees), 240..265 ring B (turned 0, -2,
//   ..., -10), 280..305 ring A, 320..345 ring B; 420..820 arrows, 81 volleys of two arrowheads,
//   the left gun turning from 180 by -25 degrees a volley, the right from 0 by +25; 900, 950,
//   1000, 1050 hexagons A (not on EASY); 925, 975, 1025, 1075 hexagons B. On HARD each hexagon
//   volley adds an aimed hexagon, from the left gun with A and the right gun with B.
constexpr int32_t kRingA[] = {200, 280}, kRingB[] = {240, 320};
constexpr int32_t kRingFrames = 5, kLastRing = 5;
constexpr float kRingTurn = 2.0f;
constexpr int32_t kArrowStart = 420, kArrowFrames = 5, kLastArrow = 80;
constexpr float kArrowTurn = 25.0f;
constexpr int32_t kHexagonAStart = 900, kHexagonBStart = 925, kHexagonFrames = 50, kLastHexagonPair = 3;
constexpr int32_t kCycle = 1100;

bool ring_time(const int32_t (&starts)[2], int32_t attack_timer, int32_t burst) {
    for (int32_t start : starts)
        if (attack_timer == start + kRingFrames * burst) return true;
    return false;
}

}  // namespace

void t_boss1b::create(float x, float y) { enlist_boss(new t_boss1b, x, y, kFullHp); }

void t_boss1b::ring(float turn) {
    for (int32_t i = 0; i < 24; ++i)
        boss_fire(*this, {0.0f, 0.0f}, float(15 * i) + turn * float(burst), 1.6f + 0.2f * difficulty_level,
                  img_bullet3);
    play_sound(snd_bullet2, channel3);
    burst = burst < kLastRing ? burst + 1 : 0;
}

// Two arrowheads of three, the rear bullets 20 units behind the front one, 30 degrees to either
// side of its heading.
void t_boss1b::arrows() {
    const float speed = 1.1f + 0.1f * difficulty_level;
    const struct {
        GunOffset gun;
        float heading;
    } heads[] = {{kLeftGun, 180.0f - kArrowTurn * float(sweep)}, {kRightGun, kArrowTurn * float(sweep)}};
    for (const auto& head : heads) {
        const float gx = x + head.gun.dx, gy = y + head.gun.dy;
        const float d = head.heading;
        fire_bullet(gx, gy, d, speed, img_bullet1);
        for (const float side : {-30.0f, 30.0f})
            fire_bullet(gx + float(cos_offset(d + side, -20.0f)), gy + float(sin_offset(d + side, -20.0f)), d,
                        speed, img_bullet1);
    }
    play_sound(snd_bullet3, channel3);
    sweep = sweep < kLastArrow ? sweep + 1 : 0;
}

// 24 small hexagons of 6 around the nose, one per direction; on HARD one more hexagon from
// `aimed_gun`, flying at the ship (or along the last aim when there is none).
void t_boss1b::hexagons(float half_step, GunOffset aimed_gun) {
    for (int32_t i = 0; i < 24; ++i)
        for (int32_t j = 0; j < 6; ++j)
            fire_bullet(x + float(cos_offset(float(60 * j), 8.0f)),
                        y + kNose.dy + float(sin_offset(float(60 * j), 8.0f)), float(15 * i) + half_step,
                        1.2f + 0.2f * difficulty_level, img_bullet1);
    if (setting_difficulty == 2) {
        const float gx = x + aimed_gun.dx, gy = y + aimed_gun.dy;
        player_list->walk_kind(kind_t_player, [&](TObject* object) {
            const auto* ship = static_cast<const t_player*>(object);
            aim = float(atan2_deg(ship->y - gy, ship->x - gx));
        });
        for (int32_t j = 0; j < 6; ++j)
            fire_bullet(gx + float(cos_offset(float(60 * j), 8.0f)),
                        gy + float(sin_offset(float(60 * j), 8.0f)), aim, 2.0f, img_bullet3);
    }
    play_sound(snd_bullet1, channel3);
}

void t_boss1b::attack() {
    ++attack_timer;
    if (ring_time(kRingA, attack_timer, burst)) ring(kRingTurn);
    if (ring_time(kRingB, attack_timer, burst)) ring(-kRingTurn);
    if (attack_timer == kArrowStart + kArrowFrames * sweep) arrows();
    if (attack_timer == kHexagonAStart + kHexagonFrames * burst && setting_difficulty > 0)
        hexagons(7.5f, kLeftGun);
    if (attack_timer == kHexagonBStart + kHexagonFrames * burst) {
        hexagons(0.0f, kRightGun);
        burst = burst < kLastHexagonPair ? burst + 1 : 0;
    }
    if (attack_timer == kCycle) attack_timer = 0;
}

void t_boss1b::update() {
    // Fire
    attack();
    // Move
    boss_move(*this);
    // Hits
    boss_check_shot_hits(*this);
    if (hp <= 0) boss_die(*this, kScore, true);
    // Draw
    boss_draw(*this, kFullHp);
}
