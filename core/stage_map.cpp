// Stage file loading and spawning (arrive with the world work).
#include "core/stage_map.h"

#include <cstring>

int32_t tile_map[map_columns][map_rows];
int32_t object_map[map_columns][map_rows];

void reset_stage_map_state() {
    std::memset(tile_map, 0, sizeof tile_map);
    std::memset(object_map, 0, sizeof object_map);
}

void load_stage_file(uint8_t) {}
void spawn_from_map() {}
