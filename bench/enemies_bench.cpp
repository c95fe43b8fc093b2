// The enemies' costs on the real stage, played from its start by a protected ship: the busiest
// ground section (rings and streams of emplacements and guns on screen) and the busiest frames of
// the game (the second boss form on HARD in its hexagon phase), with and without rasterising.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/hud.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "core/startup.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "frontend/input.h"
#include "frontend/settings_file.h"
#include "player/ship.h"

namespace {

bool g_fire = true;

size_t count_of(TList* list, uint32_t kind) {
    size_t n = 0;
    list->walk_kind(kind, [&n](TObject*) { ++n; });
    return n;
}

// The play step of the frame loop with fixed input: the ship stays where it came in and fires
// straight up (or holds its fire), protected as after its fly-in so that the stage goes on.
void game_frame() {
    cls();
    player_list->walk_kind(kind_t_player, [](TObject* o) {
        auto* ship = static_cast<t_player*>(o);
        if (ship->start_timer < 2) ship->start_timer = 2;
    });
    input_move = 5;
    input_button = g_fire ? 1 : 0;
    play_step();
    flip(-1);
}

// A new game on the real stage with ship 1; the same seed every time, so every run is the same.
void new_game(int difficulty, bool fire) {
    bench_start_up();
    reset_all_state();
    for (TList* l :
         {player_list, shot_list, pickup_list, levelobject_list, enemy_list, bullet_list, effect_list})
        l->clear();
    setting_difficulty = uint8_t(difficulty);
    new_game_reset();
    ship_choice = 1;
    start_stage();
    seed_rnd(1);
    g_fire = fire;
}

// The first frame (from the start of a game) after which the next `window` frames hold the most
// enemy bullets in all, among the frames that `eligible` accepts.
int busiest_window(int difficulty, bool fire, int frames, int window, const std::function<bool()>& eligible) {
    headless::set_render(false);
    new_game(difficulty, fire);
    std::vector<size_t> bullets(size_t(frames), 0);
    for (int f = 0; f < frames; ++f) {
        game_frame();
        bullets[size_t(f)] = eligible() ? bullet_list->count() : 0;
    }
    size_t best = 0, sum = 0;
    int start = 0;
    for (int f = 0; f < frames; ++f) {
        sum += bullets[size_t(f)];
        if (f >= window) sum -= bullets[size_t(f - window)];
        if (f >= window - 1 && sum > best) best = sum, start = f - window + 1;
    }
    return start;
}

void measure_window(const std::string& name, int difficulty, bool fire, int start, int window) {
    for (const bool render : {false, true}) {
        headless::set_render(false);
        new_game(difficulty, fire);
        for (int f = 0; f < start; ++f) game_frame();
        size_t most = 0;
        headless::set_render(render);
        bench_frames(name + (render ? "" : ", draw log only"), window, [&] {
            game_frame();
            most = std::max(most, bullet_list->count());
        });
        if (!render)
            std::printf("%-52s %zu enemy bullets at most, %zu enemies\n", name.c_str(), most,
                        enemy_list->count());
    }
}

constexpr int kWindow = 300;

}  // namespace

BENCH_CASE(enemies_busiest_ground_section) {
    // Before the second form comes and with no boss on screen.
    const int start =
        busiest_window(2, true, 11000, kWindow, [] { return count_of(enemy_list, kind_t_boss) == 0; });
    measure_window("stage on HARD, busiest ground 300 frames", 2, true, start, kWindow);
}

BENCH_CASE(enemies_second_form_hexagons) {
    // The ship holds its fire, so the second form lives on into its hexagon phase.
    const int start =
        busiest_window(2, false, 13000, kWindow, [] { return count_of(enemy_list, kind_t_boss1b) == 1; });
    measure_window("second form on HARD, busiest 300 frames", 2, false, start, kWindow);
}
