// The player's ship.
#include "player/ship.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/hud.h"
#include "core/module_state.h"
#include "core/scroll.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "frontend/input.h"
#include "player/bonus.h"
#include "player/bonus2.h"
#include "player/bullet.h"
#include "player/effect.h"
#include "player/helpers.h"
#include "player/particle.h"
#include "player/powerup.h"
#include "player/targets.h"
#include "player/weapons.h"

// The ship's own game-wide values; item_index (player/bonus2.h) is counted on by the ship's pick-ups.
#define SHIP_STATE(X)              \
    X(uint8_t, powerinfo_timer, 0) \
    X(int32_t, item_index, 0)

SHIP_STATE(CINDER_DEFINE_STATE)

namespace {

// Fly-in: the ship rises while start_timer is above this, and may steer from then on.
constexpr uint8_t kSteerFrom = 150;

// Where the ship may go: each axis is tested before it moves, so a step may end just past a limit.
constexpr float kMinX = 10.0f, kMaxX = 230.0f, kMinY = 10.0f, kMaxY = 230.0f;

constexpr uint8_t kPowerInfoFrames = 150;
constexpr float kChainFrames = 75.0f;
constexpr int32_t kLastChainLevel = 19;
constexpr int32_t kLastItemIndex = 10;
constexpr int32_t kCaughtBonusValue = 1000;

bool overlaps(const t_player& ship, float x, float y, float half_size) {
    return boxes_overlap(to_int(ship.x), to_int(ship.y), to_int(ship.hit_size), to_int(x), to_int(y),
                         to_int(half_size)) == 1;
}

}  // namespace

void reset_player_state() { SHIP_STATE(CINDER_RESET_STATE); }

void t_player::create(uint8_t kind, TImage* ship_image, float ship_speed) {
    auto* ship = new t_player;
    ship->ship = kind;
    ship->image = ship_image;
    ship->speed = ship_speed;
    player_list->append(ship);
}

void t_player::update() {
    // Fly-in
    fly_in();
    // Move
    steer();
    // Fire
    fire_main_gun(*this);
    fire_second_weapon(*this);
    // Hyper field: before the hit test, so a bullet reaching the ship is always caught first.
    start_hyper_field(*this);
    run_hyper_field(*this);
    // Hits
    if (start_timer == 0) test_hits();
    // Pick-ups: also while flying in, and also in the update in which the ship died.
    collect_pickups();
    // Draw
    if (powerinfo_timer > 0) {
        --powerinfo_timer;
        draw_scaled(img_powerinfo, x, y - 30.0f, 0);
    }
    draw_ship();
}

// Rises 1 unit on each of the first 74 updates (270 to 196) with its "PLAYER=1" marker and a bar
// that shrinks as the protection runs out.
void t_player::fly_in() {
    if (start_timer == 0) return;
    --start_timer;
    if (start_timer > kSteerFrom) y -= 1.0f;
    if (start_timer == 0) return;
    draw_scaled(img_playerstart, x + 15.0f, y - 15.0f, 0);
    draw_glyph_text(img_font2, "PLAYER=1", x + 20.0f, y - 30.0f, 8.0f);
    // The bar is a rectangle in screen pixels.
    const int h = start_timer / 8;
    const float m = float(hires + 1);
    set_color(88, 216, 84);
    draw_rect((x - 25.0f) * m, (y - float(h)) * m, 5.0f * m, float(h) * m);
    set_color(255, 255, 255);
}

// Steering within the field, from the 75th update on: the speed along each axis the direction
// points, 0.7 of it on both axes for the diagonals.
void t_player::steer() {
    if (start_timer > kSteerFrom || input_move > 9) return;
    const KeypadStep& s = kKeypadSteps[input_move];
    const bool diagonal = s.dx != 0 && s.dy != 0;
    const float step = diagonal ? 0.7f * speed : speed;
    if (s.dx < 0 && x > kMinX) x -= step;
    if (s.dx > 0 && x < kMaxX) x += step;
    if (s.dy < 0 && y > kMinY) y -= step;
    if (s.dy > 0 && y < kMaxY) y += step;
}

// Every bullet, enemy and boss touching the ship in this frame runs the death sequence: the walks
// go on to the end of all three lists even after the ship has been removed.
void t_player::test_hits() {
    bullet_list->walk_kind(kind_t_bullet, [this](TObject* object) {
        auto* bullet = static_cast<t_bullet*>(object);
        if (!overlaps(*this, bullet->x, bullet->y, bullet->hit_size)) return;
        bullet_list->remove(bullet);
        die();
    });
    // Layer-1 enemies are on the ground: the ship flies over them.
    enemy_list->walk_kind(kind_t_enemy, [this](TObject* object) {
        auto* enemy = static_cast<t_enemy*>(object);
        if (enemy->layer != 2 && enemy->layer != 3) return;
        if (!overlaps(*this, enemy->x, enemy->y, enemy->hit_size)) return;
        enemy->hp -= 1000;
        die();
    });
    enemy_list->walk_kind(kind_t_boss, [this](TObject* object) {
        auto* boss = static_cast<t_boss*>(object);
        if (!overlaps(*this, boss->x, boss->y, boss->hit_size)) return;
        boss->hp -= 1000;
        die();
    });
}

// The ship leaves its list but finishes this update (it stays alive until the pass's walk ends).
void t_player::die() {
    respawn_timer = kRespawnFrames;
    play_sound(snd_explosion5, channel6);
    t_particle::create(x, y);
    t_effect::create(img_explosion2, x, y, 90.0f, 0.0f, 0, 5, 4, 0);
    player_list->remove(this);
}

// Collected bonuses stay in the list to show their value; the tests skip them.
void t_player::collect_pickups() {
    pickup_list->walk_kind(kind_t_powerup, [this](TObject* object) {
        auto* item = static_cast<t_powerup*>(object);
        if (!overlaps(*this, item->x, item->y, item->hit_size)) return;
        // Reaching 50 or 100 shows the power-info picture.
        if (power == 49 || power == 99) {
            powerinfo_timer = kPowerInfoFrames;
            play_sound(snd_powerup, nullptr);
        }
        pickup_list->remove(item);
        if (power < 100) ++power;
        t_effect::create(img_ringgreen, item->x, item->y, 90.0f, ground_drift(), 0, 5, 5, 1);
        play_sound(snd_item1, channel2);
    });
    pickup_list->walk_kind(kind_t_bonus, [this](TObject* object) {
        auto* bonus = static_cast<t_bonus*>(object);
        if (bonus->collected != 0 || !overlaps(*this, bonus->x, bonus->y, bonus->hit_size)) return;
        if (bonus->kind == 1) {
            // A chain bonus within 74 frames of the last bonus is worth the next chain value.
            if (chain_timer > 0.0f && chain_level < kLastChainLevel) ++chain_level;
            chain_timer = kChainFrames;
            bonus->collected = 1;
            bonus->value = chain_values[size_t(chain_level)];
            score += bonus->value;
            chain_value_shown = bonus->value;
        } else {
            // Keeps a running chain alive without advancing it.
            chain_timer = kChainFrames;
            bonus->collected = 1;
            bonus->value = kCaughtBonusValue;
            score += kCaughtBonusValue;
        }
        t_effect::create(img_ringblue, bonus->x, bonus->y, 90.0f, scroll_speed, 0, 5, 5, 1);
        play_sound(snd_item2, channel2);
    });
    pickup_list->walk_kind(kind_t_bonus2, [this](TObject* object) {
        auto* item = static_cast<t_bonus2*>(object);
        if (item->collected != 0 || !overlaps(*this, item->x, item->y, item->hit_size)) return;
        item->collected = 1;
        t_particle::create(item->x, item->y);
        item->value = item_values[size_t(item_index)];
        score += item->value;
        if (item_index < kLastItemIndex) ++item_index;
        play_sound(snd_gorge, nullptr);
    });
}

// Draw: the exhaust below the ship, then the ship banking with the stick.
void t_player::draw_ship() {
    if (exhaust_delay > 0) --exhaust_delay;
    if (exhaust_delay == 0) {
        exhaust_delay = 5;
        exhaust_frame = uint8_t((exhaust_frame + 1) % 4);
    }
    const float exhaust_y = y + float(16 - 3 * ship);  // 13 below the centre for ship 1, 10 for ship 2
    draw_scaled(img_plasma, x - 3.0f, exhaust_y, exhaust_frame);
    draw_scaled(img_plasma, x + 3.0f, exhaust_y, exhaust_frame);
    uint8_t frame = 1;
    if (input_move == 1 || input_move == 4 || input_move == 7) frame = 0;
    if (input_move == 3 || input_move == 6 || input_move == 9) frame = 2;
    draw_scaled(image, x, y, frame);
}
