// The world's costs: a play frame of map only (240 tiles and the two background layers, no
// objects), rasterised and with only the draw log kept; and walks of a list of 2000 objects.
#include <chrono>
#include <string>
#include <vector>

#include "bench.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "core/startup.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "engine/headless.h"

namespace {

// A held map in mid-stage: 16 rows of 15 tiles drawn every frame, the same frame after frame.
void set_up_full_map() {
    bench_start_up();
    reset_all_state();
    for (int row = 0; row < map_rows; ++row)
        for (int column = 0; column < map_columns; ++column) tile_map[column][row] = (row * 7 + column) % 120;
    stage = 1;
    scroll_pos = 3000.0f;
    scrolling = 0;
}

// The world's share of a play frame, then the present.
void play_frame() {
    cls();
    world_scene();
    flip(-1);
}

void play_frames(const std::string& name, int frames) { bench_frames(name, frames, play_frame); }

struct Walker : TObject {
    Walker() : TObject(1) {}
    void update() override { ++updates; }
    int updates = 0;
};

struct SelfRemover : Walker {
    void update() override { walk_list->remove(this); }
    static TList* walk_list;
};
TList* SelfRemover::walk_list = nullptr;

void fill(TList& list) {
    for (int i = 0; i < 2000; ++i)
        list.append(i % 3 == 0 ? static_cast<TObject*>(new SelfRemover) : new Walker);
}

BENCH_CASE(world_play_frame_full_map) {
    set_up_full_map();
    headless::set_render(true);
    play_frames("map-only frame (240 tiles, 2 layers)", 2000);
    headless::set_direct_draws(headless::DirectDraws::off);
    play_frames("map-only frame, SDL's blended copy", 2000);
    headless::set_direct_draws(headless::DirectDraws::sdl_floor);
    play_frames("map-only frame, floor: SDL's plain and keyed blits", 2000);
    headless::set_direct_draws(headless::DirectDraws::own);
    headless::set_render(false);
    play_frames("map-only frame, draw log only", 2000);
    headless::set_render(true);
    stage = 4;  // no background layers: the tiles' share
    play_frames("map-only frame, tiles without layers", 2000);
}

// Only the walk is timed: filling and clearing happen outside it, so the two cases differ by
// exactly the removals.
void time_walks(const std::string& name, bool removing) {
    TList list;
    SelfRemover::walk_list = &list;
    std::vector<double> us;
    for (int i = 0; i < 2020; ++i) {
        if (removing) {
            fill(list);
        } else {
            for (int k = 0; k < 2000; ++k) list.append(new Walker);
        }
        const auto t0 = std::chrono::steady_clock::now();
        list.walk([](TObject* o) { o->update(); });
        const auto t1 = std::chrono::steady_clock::now();
        list.clear();
        if (i >= 20) us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    bench_report(name, std::move(us));
}

}  // namespace

BENCH_CASE(world_list_walk_2000) {
    time_walks("list: walk 2000 objects", false);
    time_walks("list: walk 2000 objects, every third removing itself", true);
}
