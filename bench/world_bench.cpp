// The world's costs: one play frame over a full screen of map (240 tiles, two background layers),
// with and without rasterising, and a list walk under removals.
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

// The world's share of a play frame, then the present (where the software renderer finishes its
// batched drawing).
void play_frame() {
    cls();
    draw_backgrounds();
    update_visible_rows();
    scroll_and_draw_map();
    spawn_from_map();
    entity_pass();
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

}  // namespace

BENCH_CASE(world_play_frame_full_map) {
    set_up_full_map();
    headless::set_render(true);
    play_frames("play frame, 240 tiles + 2 layers, rasterised", 2000);
    headless::set_render(false);
    play_frames("play frame, 240 tiles + 2 layers, draw log only", 2000);
    headless::set_render(true);
    stage = 4;  // no background layers: the tiles' share
    play_frames("play frame, 240 tiles alone, rasterised", 2000);
}

BENCH_CASE(world_list_walk_2000) {
    TList list;
    SelfRemover::walk_list = &list;
    bench_measure("list: fill 2000 and clear (baseline)", 2000, [&] {
        fill(list);
        list.clear();
    });
    bench_measure("list: fill 2000, walk removing every third, clear", 2000, [&] {
        fill(list);
        list.walk([](TObject* o) { o->update(); });
        list.clear();
    });
}
