// Fuzz target: a stage file (zero-padded to its 11250 bytes) loaded and scrolled from the bottom
// of the map to the top, the spawner creating each row's objects. Properties: the tables hold the
// file's bytes; every object of a row that comes into view is created exactly once, at its code's
// spot, in the order the rows come; nothing is created for other codes or for the rows on screen
// at the start; and the map draws only tiles the tile set has, at every height.
#include <algorithm>

#include "core/assets.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "tests/fuzz/game_support.h"

namespace {

struct Spawned {
    int32_t code, column, row;
    SpawnSpot spot;
};
std::vector<Spawned> g_spawned;

void record(int32_t code, SpawnSpot spot) {
    // The row is the one just above the play field.
    const int32_t row = int32_t(scroll_pos - 16.0f) / tile_size;
    const int32_t column = code == 2 || code == 4 || code == 5 || code == 7 || code == 11
                               ? (spot.x - 16) / tile_size
                               : (spot.x - 8) / tile_size;
    g_spawned.push_back({code, column, row, spot});
    create_coded_object(code, spot);
}

// The map drawn where it stands, without moving: every tile drawn is one the tile set has.
void check_drawn_map() {
    cls();
    const uint8_t was = scrolling;
    scrolling = 0;
    scroll_and_draw_map();
    scrolling = was;
    size_t want = 0;
    for (int32_t row = std::max(first_row, 0); row < std::min(end_row, map_rows); ++row)
        for (int32_t column = 0; column < map_columns; ++column)
            if ((tile_map[column][row] & 255) < img_tileset1->frame_count) ++want;
    size_t drawn = 0;
    for (const headless::DrawRecord& d : headless::draw_log()) {
        FUZZ_CHECK(d.img == img_tileset1 && d.frame >= 0 && d.frame < img_tileset1->frame_count);
        ++drawn;
    }
    FUZZ_CHECK(drawn == want);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::start_game("stage", true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> file(data, data + size);
    if (file.size() < size_t(stage_file_bytes)) file.resize(size_t(stage_file_bytes), 0);
    fuzz::write_bytes("level/level1.txt", file.data(), file.size());
    reset_all_state();
    fuzz::empty_lists();
    load_stage_file(1);
    for (int32_t row = 0; row < map_rows; ++row)
        for (int32_t column = 0; column < map_columns; ++column) {
            FUZZ_CHECK(tile_map[column][row] == file[size_t(row * map_columns + column) * 2]);
            FUZZ_CHECK(object_map[column][row] == file[size_t(row * map_columns + column) * 2 + 1]);
        }

    g_spawned.clear();
    spawn_hook = record;
    scrolling = 1;
    const float start = scroll_pos;
    int step = 0;
    // The frame loop's order: the rows to draw, the scroll, the spawner.
    while (scrolling == 1) {
        update_visible_rows();
        if (step++ % 480 == 0) check_drawn_map();
        scroll_pos = scroll_pos <= scroll_speed ? 0.0f : scroll_pos - scroll_speed;
        if (scroll_pos == 0.0f) scrolling = 0;
        spawn_from_map();
    }
    check_drawn_map();

    // Rows below the first one to come into view were on screen from the start.
    const int32_t first_new_row = int32_t(start) / tile_size - 2;
    size_t k = 0;
    for (int32_t row = first_new_row; row >= 0; --row)
        for (int32_t column = 0; column < map_columns; ++column) {
            const int32_t code = object_map[column][row];
            if (code < 1 || code > 12) continue;
            FUZZ_CHECK(k < g_spawned.size());
            const Spawned& s = g_spawned[k++];
            const SpawnSpot want = coded_object_spot(code, column);
            FUZZ_CHECK(s.code == code && s.row == row && s.column == column);
            FUZZ_CHECK(s.spot.x == want.x && s.spot.y == want.y);
        }
    FUZZ_CHECK(k == g_spawned.size());
    fuzz::empty_lists();
    return 0;
}
