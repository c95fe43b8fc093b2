// The boss's shared flight, death and drawing.
#include "enemies/boss.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/tables.h"
#include "enemies/enemy.h"
#include "engine/engine.h"
#include "player/bonus.h"
#include "player/bullet.h"
#include "player/effect.h"
#include "player/helpers.h"
#include "player/motion.h"
#include "player/particle.h"
#include "player/targets.h"

namespace {

constexpr int32_t kStop = 170, kSetOff = 200, kRestart = 560;
constexpr float kArcSpeed = 0.5f;
// The four arcs of the figure of eight: each starts at its heading and turns 1 degree an update
// for 90 updates.
struct Arc {
    int32_t start;
    float heading, turn;
};
constexpr Arc kArcs[] = {{200, 0.0f, -1.0f}, {290, 180.0f, -1.0f}, {380, 180.0f, 1.0f}, {470, 0.0f, 1.0f}};
constexpr int32_t kArcLength = 90;

constexpr uint8_t kBonusChain = 1, kBonusPoints = 2, kPopUp = 2;

}  // namespace

void enlist_boss(t_boss* b, float x, float y, float full_hp) {
    b->x = x;
    b->y = y;
    b->angle = 180.0f;
    b->speed = 1.0f;
    b->hit_size = 30.0f;
    b->hp = int32_t(full_hp);
    enemy_list->append(b);
}

void boss_move(t_boss& b) {
    ++b.timer;
    if (b.timer == kStop) b.speed = 0.0f;
    if (b.timer == kSetOff) b.speed = kArcSpeed;
    for (const Arc& arc : kArcs) {
        if (b.timer == arc.start) b.angle = arc.heading;
        if (b.timer >= arc.start && b.timer < arc.start + kArcLength) b.angle += arc.turn;
    }
    if (b.timer == kRestart) {
        b.timer = 0;
        b.speed = 0.0f;
    }
    step_along(b.x, b.y, b.angle, b.speed);
}

void boss_check_shot_hits(t_boss& b) { take_shot_hits(b.x, b.y, b.hit_size, b.hp, 2); }

// The random numbers are drawn in a fixed order (for each explosion its speed before its
// direction, for each burst its y before its x), so a replay explodes alike.
void boss_die(t_boss& b, int32_t points, bool ends_game) {
    for (int i = 0; i < 8; ++i) {
        for (int j = 0; j < 8; ++j) {
            const double speed = 0.3 + rnd(0.3, 0.0);
            const double direction = rnd(360.0, 0.0);
            t_effect::create(img_explosion2, b.x - 30.0f + float(10 * i), b.y - 30.0f + float(10 * j),
                             float(direction), float(speed), 0, 5, 4, 0);
        }
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            const double dy = rnd(10.0, 0.0);
            const double dx = rnd(10.0, 0.0);
            t_particle::create(float(double(b.x - 35.0f + float(20 * i)) + dx),
                               float(double(b.y - 35.0f + float(20 * j)) + dy));
        }
    }
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            t_bonus::create(b.x - 20.0f + float(10 * i), b.y - 20.0f + float(10 * j), kPopUp, kBonusChain);
    bullet_list->walk_kind(kind_t_bullet, [](TObject* object) {
        auto* bullet = static_cast<t_bullet*>(object);
        bullet_list->remove(bullet);
        t_bonus::create(bullet->x, bullet->y, kPopUp, kBonusPoints);
    });
    score += points;
    play_sound(snd_explosion2, channel5);
    if (ends_game) game_over_timer = kGameOverFrames;
    enemy_list->remove(&b);
}

float boss_bar_width(int32_t hp, float full_hp) {
    const float k = float(hires + 1);
    return float(hp) / full_hp * 100.0f * k;
}

void boss_draw(const t_boss& b, float full_hp) {
    draw_scaled(img_boss1a, b.x, b.y, 0);
    // The bar is a rectangle in screen pixels. A boss rammed down to 0 or below is drawn once
    // more in its dying update: a fill of no width, not one reaching left of the bar's edge.
    const float k = float(hires + 1);
    const float width = boss_bar_width(b.hp, full_hp);
    set_color(248, 56, 0);
    if (width > 0.0f) draw_rect(70.0f * k, 7.0f * k, width, 5.0f * k);
    set_color(255, 255, 255);
    draw_scaled(img_hpbar, 120.0f, 10.0f, 0);
}

void boss_fire(const t_boss& b, GunOffset gun, float angle, float speed, TImage* image) {
    fire_bullet(b.x + gun.dx, b.y + gun.dy, angle, speed, image);
}
