// Stage file loading and the spawner.
#include "core/stage_map.h"

#include <algorithm>

#include "core/container1.h"
#include "core/container2.h"
#include "core/module_state.h"
#include "core/object_codes.h"
#include "core/powercontainer1.h"
#include "core/powercontainer2.h"
#include "core/scroll.h"
#include "enemies/enemy1.h"
#include "enemies/enemy2.h"
#include "enemies/enemy4.h"
#include "enemies/enemy5.h"
#include "engine/engine.h"
#include "player/trigger.h"

// Empty tables until a stage is loaded, and the real spawner.
#define STAGE_MAP_STATE(X)        \
    X(StageTable, tile_map, {})   \
    X(StageTable, object_map, {}) \
    X(SpawnHook, spawn_hook, create_coded_object)

STAGE_MAP_STATE(CINDER_DEFINE_STATE)

void reset_stage_map_state() { STAGE_MAP_STATE(CINDER_RESET_STATE); }

std::string stage_file_path(uint8_t stage_number) {
    return "level/level" + int_to_text(stage_number) + ".txt";
}

void load_stage_file(uint8_t stage_number) {
    // A stage cannot be played without its whole map: stop before play rather than show half of
    // it or read past the end.
    const std::string path = stage_file_path(stage_number);
    const std::string needed = " (a stage file has " + int_to_text(stage_file_bytes) + " bytes)";
    if (file_type(path) == 0) fatal_error("stage file " + path + " is missing" + needed);
    if (std::string why = file_problem(path); !why.empty()) fatal_error("stage file " + path + " " + why);
    const int64_t size = file_size(path);
    if (size < stage_file_bytes)
        fatal_error("stage file " + path + " is too short: " + int_to_text(size) + " bytes" + needed);
    TStream* in = read_file(path);
    if (!in) fatal_error("stage file " + path + " cannot be opened for reading");
    for (int32_t row = 0; row < map_rows; ++row) {
        for (int32_t column = 0; column < map_columns; ++column) {
            tile_map[column][row] = read_byte(in);
            object_map[column][row] = read_byte(in);
        }
    }
    if (!close_stream(in)) fatal_error("stage file " + path + " could not be read");
}

SpawnSpot coded_object_spot(int32_t code, int32_t column) {
    if (is_large_object(code)) return {column * tile_size + 16, -16};
    return {column * tile_size + 8, -8};
}

// Wave markers release 4, 6 or 8 fliers, 13 frames apart.
constexpr uint8_t kWaveInterval = 12, kWaveOfFliers = 3;

// The spawner's one door into the game classes. Containers take whole-number positions, enemies
// and triggers float ones.
void create_coded_object(int32_t code, SpawnSpot spot) {
    const float x = float(spot.x), y = float(spot.y);
    switch (ObjectCode(code)) {
        case ObjectCode::power_container:
            t_powercontainer1::create(spot.x, spot.y);
            break;
        case ObjectCode::large_power_container:
            t_powercontainer2::create(spot.x, spot.y);
            break;
        case ObjectCode::container:
            t_container1::create(spot.x, spot.y);
            break;
        case ObjectCode::large_container:  // the two differ only in the item the container may hold
            t_container2::create(spot.x, spot.y, 0);
            break;
        case ObjectCode::large_container_item:
            t_container2::create(spot.x, spot.y, 1);
            break;
        case ObjectCode::turret:
            t_enemy1::create(x, y);
            break;
        case ObjectCode::emplacement:
            t_enemy2::create(x, y);
            break;
        case ObjectCode::wave_of_4:
            t_trigger::create(x, y, 4, kWaveInterval, kWaveOfFliers);
            break;
        case ObjectCode::wave_of_6:
            t_trigger::create(x, y, 6, kWaveInterval, kWaveOfFliers);
            break;
        case ObjectCode::wave_of_8:
            t_trigger::create(x, y, 8, kWaveInterval, kWaveOfFliers);
            break;
        case ObjectCode::gun:
            t_enemy4::create(x, y);
            break;
        case ObjectCode::twin_turret:
            t_enemy5::create(x, y);
            break;
        default:  // nothing, and the codes past the last
            break;
    }
}

void spawn_from_map() {
    if (first_row == 0) return;  // the top of the map is in view: nothing is left to come
    // Only the row one above the play field spawns; with scroll_pos moving by exactly 0.5 from a
    // multiple of 16 the equality holds in one frame per row (every frame while the map is held).
    const int32_t from = std::max(first_row - 1, 0), to = std::min(first_row + 1, map_rows - 1);
    for (int32_t row = from; row <= to; ++row) {
        if (float(row * tile_size) != scroll_pos - 16.0f) continue;
        for (int32_t column = 0; column < map_columns; ++column) {
            const int32_t code = object_map[column][row];
            if (code >= 1 && code <= kLastObjectCode) spawn_hook(code, coded_object_spot(code, column));
        }
    }
}
