// The stage file and the spawner that creates the objects of each map row as it comes into view.
//
// Stage file "level/level<N>.txt": 375 rows of 15 cells, top row first, left to right, two bytes a
// cell (the tile frame, then the object code), 11250 bytes in all; bytes after those are not read.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/tables.h"

inline constexpr int32_t stage_file_bytes = map_columns * map_rows * 2;

// [column][row] of the whole map.
using StageTable = std::array<std::array<int32_t, map_rows>, map_columns>;
extern StageTable tile_map;    // (column, row): frame of img_tileset1
extern StageTable object_map;  // (column, row): object code, 0 = nothing

// "level/level" + the stage number in decimal + ".txt".
std::string stage_file_path(uint8_t stage_number);
// Fills both tables from the stage's file. A missing file, or one shorter than stage_file_bytes,
// ends the program with one line naming the file and its size.
void load_stage_file(uint8_t stage_number);

// Creates the objects of the row that lies just above the play field (its bottom edge at the top
// edge: row * 16 == scroll_pos - 16, compared exactly). Uses first_row from this frame's
// update_visible_rows and scroll_pos after this frame's scroll step.
void spawn_from_map();

// Where a coded object is created: 16-pixel objects at the centre of their cell (x c*16+8,
// y -8), 32-pixel ones on the cell's top-right corner (x c*16+16, y -16).
struct SpawnSpot {
    int32_t x, y;
};
// The spot of object code 1..12 in `column`.
SpawnSpot coded_object_spot(int32_t code, int32_t column);
// Calls the create of the class that object code 1..12 stands for, at `spot`. Codes 0 and 13 and
// above create nothing.
void create_coded_object(int32_t code, SpawnSpot spot);
// What the spawner calls for each object it creates, in creation order; create_coded_object
// unless a test watches the spawner.
using SpawnHook = void (*)(int32_t code, SpawnSpot spot);
extern SpawnHook spawn_hook;

void reset_stage_map_state();  // start-up values: empty tables, the real spawn hook
