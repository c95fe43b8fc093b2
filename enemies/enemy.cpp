// The common steps of the enemies.
#include "enemies/enemy.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "engine/engine.h"
#include "player/bonus.h"
#include "player/bullet.h"
#include "player/helpers.h"
#include "player/particle.h"
#include "player/ship.h"

namespace {

constexpr int32_t kLargeEnemyScore = 3000;

}  // namespace

void enlist_enemy(t_enemy* e, float x, float y, float hit_size, int32_t hp, uint8_t layer) {
    e->x = x;
    e->y = y;
    e->hit_size = hit_size;
    e->hp = hp;
    e->layer = layer;
    enemy_list->append(e);
}

bool difficulty_allows(Harder when) {
    switch (when) {
        case Harder::from_normal:
            return difficulty_level > 0.0f;
        case Harder::hard_only:
            return difficulty_level == 2.0f;
        default:
            return true;
    }
}

bool fires_at(std::span<const FireTime> times, int32_t timer) {
    for (const FireTime& f : times)
        if (f.timer == timer && difficulty_allows(f.when)) return true;
    return false;
}

void aim_at_ship(float x, float y, int32_t& aim) {
    player_list->walk_kind(kind_t_player, [&](TObject* object) {
        const auto* ship = static_cast<const t_player*>(object);
        aim = to_int(atan2_deg(ship->y - y, ship->x - x));
    });
}

bool beyond_point_blank(float x, float y) { return float(player_distance(x, y)) > point_blank; }

void fire_bullet(float x, float y, float angle, float speed, TImage* image) {
    t_bullet::create(x, y, angle, speed, bullet_hit_size, image);
}

void fire_aimed_shot(float x, float y, int32_t aim) {
    fire_bullet(x + float(cos_offset(float(aim), 4)), y + float(sin_offset(float(aim), 4)),
                float(aim) + wobble, 1.2f + 0.2f * difficulty_level, img_bullet2);
}

void die_small(t_enemy& e, int32_t points, uint8_t bonus_mode, TSound* sound) {
    t_particle::create(e.x, e.y);
    ground_effect(img_explosion2, e.x, e.y, 4);
    score += points;
    t_bonus::create(e.x, e.y, bonus_mode, 1);
    play_sound(sound, channel4);
    enemy_list->remove(&e);
}

void die_large(t_enemy& e) {
    t_particle::create(e.x, e.y);
    for (const BurstCorner& c : kBurstCorners) ground_effect(img_explosion2, e.x + c.dx, e.y + c.dy, 4);
    score += kLargeEnemyScore;
    for (const BurstCorner& c : kBurstCorners) t_bonus::create(e.x + c.dx, e.y + c.dy, 1, 1);
    play_sound(snd_explosion2, channel5);
    enemy_list->remove(&e);
}

void draw_turret(TImage* image, float x, float y, int32_t facing) {
    draw_scaled(image, x, y, 0);
    set_rotation(float(facing - 90));
    draw_scaled(image, x, y, 1);
    set_rotation(0.0f);
}

void ride_scroll(t_enemy& e) { ride_map(e.y); }

void leave_below(t_enemy& e, float limit) {
    if (e.y > limit) enemy_list->remove(&e);
}
