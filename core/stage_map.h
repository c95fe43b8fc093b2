// The stage file and the spawner that creates the objects of each map row as it comes into view.
#pragma once

#include <cstdint>

#include "core/tables.h"

extern int32_t tile_map[map_columns][map_rows];    // (column, row)
extern int32_t object_map[map_columns][map_rows];  // (column, row)

void load_stage_file(uint8_t stage_number);
void spawn_from_map();

void reset_stage_map_state();
