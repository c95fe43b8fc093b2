// The player side's costs: a busy play frame with the ship, 600 enemy bullets, 40 shots and 200
// effects over a full map, rasterised and with only the draw log kept, and the entity pass alone.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench.h"
#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "core/startup.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "frontend/input.h"
#include "player/bullet.h"
#include "player/effect.h"
#include "player/ship.h"
#include "player/shot1.h"

namespace {

constexpr size_t kBullets = 600, kShots = 40, kEffects = 200;

// Bullets cross the upper field sideways, clear of the ship at the bottom, so that it lives on
// and tests them all every frame.
void add_bullet() {
    const bool rightwards = rnd_unit() < 0.5;
    t_bullet::create(float(rnd(-15.0, 255.0)), float(rnd(10.0, 150.0)), rightwards ? 0.0f : 180.0f, 1.0f,
                     bullet_hit_size, img_bullet1);
}
void add_shot() { t_shot1::create(float(rnd(10.0, 230.0)), float(rnd(0.0, 230.0)), 270.0f, 3.5f); }
void add_effect() {
    t_effect::create(img_explosion1, float(rnd(0.0, 240.0)), float(rnd(0.0, 240.0)), 90.0f, 0.5f, 0, 5, 4, 0);
}

size_t count_of(TList* list, uint32_t kind) {
    size_t n = 0;
    list->walk_kind(kind, [&n](TObject*) { ++n; });
    return n;
}

// Replaces what left or ended in the last frame, outside the measured work.
void top_up() {
    while (count_of(bullet_list, kind_t_bullet) < kBullets) add_bullet();
    while (count_of(shot_list, kind_t_shot1) < kShots) add_shot();
    while (count_of(effect_list, kind_t_effect) < kEffects) add_effect();
}

void set_up_busy_frame() {
    bench_start_up();
    reset_all_state();
    reset_player_state();
    for (TList* l :
         {player_list, shot_list, pickup_list, levelobject_list, enemy_list, bullet_list, effect_list})
        l->clear();
    for (int row = 0; row < map_rows; ++row)
        for (int column = 0; column < map_columns; ++column) tile_map[column][row] = (row * 7 + column) % 120;
    stage = 1;
    scroll_pos = 3000.0f;
    scrolling = 0;
    seed_rnd(1);
    // A ship past its fly-in, steering and holding the fire button (the gun is over its cap, so
    // it counts the shots every frame; the second weapon fires every 30 frames).
    t_player::create(1, img_player1, ship1_speed);
    player_list->walk_kind(kind_t_player, [](TObject* o) {
        auto* ship = static_cast<t_player*>(o);
        ship->start_timer = 0;
        ship->y = 210.0f;
        ship->hypers = 0;
    });
    input_move = 5;
    input_button = 1;
    top_up();
}

void play_frame() {
    top_up();
    cls();
    play_scene();
    flip(-1);
}

void play_frames(const std::string& name, int frames) { bench_frames(name, frames, play_frame); }

// The objects' own work: the entity pass alone, drawing into the draw log only.
void entity_pass_alone(const std::string& name, int frames) {
    std::vector<double> us;
    us.reserve(size_t(frames));
    for (int i = 0; i < frames; ++i) {
        top_up();
        cls();
        const auto t0 = std::chrono::steady_clock::now();
        entity_pass();
        const auto t1 = std::chrono::steady_clock::now();
        us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    bench_report(name, std::move(us));
}

}  // namespace

BENCH_CASE(player_busy_play_frame) {
    set_up_busy_frame();
    headless::set_render(true);
    play_frames("busy frame (600 bullets, 40 shots, 200 fx)", 2000);
    // The same frame drawn the other ways, side by side: SDL's blended copy of the doubled
    // textures, SDL's unblended and colour-keyed blits (the floor) and the general scaled copy.
    headless::set_direct_draws(headless::DirectDraws::off);
    play_frames("busy frame, SDL's blended copy", 2000);
    headless::set_direct_draws(headless::DirectDraws::sdl_floor);
    play_frames("busy frame, floor: SDL's plain and keyed blits", 2000);
    headless::set_direct_draws(headless::DirectDraws::own);
    play_frames("busy frame again, own copies", 2000);
    headless::set_doubled_draws(false);
    play_frames("busy frame, general scaled copy", 500);
    headless::set_doubled_draws(true);
    headless::set_render(false);
    play_frames("busy frame, draw log only", 2000);
    entity_pass_alone("busy frame: entity pass alone, draw log only", 2000);
    headless::set_render(true);
    if (player_list->empty()) std::printf("warning: the ship was destroyed during the benchmark\n");
}
