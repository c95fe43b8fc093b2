// The object codes of the stage file: one list for the spawner that creates the objects, the stage
// generator that places them and its preview that marks them.
#pragma once

#include <cstdint>

enum class ObjectCode : int32_t {
    nothing = 0,
    power_container = 1,        // t_powercontainer1
    large_power_container = 2,  // t_powercontainer2
    container = 3,              // t_container1
    large_container = 4,        // t_container2 holding nothing
    large_container_item = 5,   // t_container2 holding the next item of the game
    turret = 6,                 // t_enemy1
    emplacement = 7,            // t_enemy2
    wave_of_4 = 8,              // t_trigger releasing 4 fliers
    wave_of_6 = 9,              // ... 6 fliers
    wave_of_8 = 10,             // ... 8 fliers
    gun = 11,                   // t_enemy4
    twin_turret = 12,           // t_enemy5
};
// Codes above this (and 0) create nothing.
inline constexpr int32_t kLastObjectCode = int32_t(ObjectCode::twin_turret);

// 32-pixel objects: created on the top-right corner of their cell, so they cover their own cell,
// the one to its right and the two above those.
constexpr bool is_large_object(int32_t code) {
    switch (ObjectCode(code)) {
        case ObjectCode::large_power_container:
        case ObjectCode::large_container:
        case ObjectCode::large_container_item:
        case ObjectCode::emplacement:
        case ObjectCode::gun:
            return true;
        default:
            return false;
    }
}
// The wave markers.
constexpr bool is_trigger(int32_t code) {
    return code >= int32_t(ObjectCode::wave_of_4) && code <= int32_t(ObjectCode::wave_of_8);
}
// Objects lying on the map: the containers and the ground enemies.
constexpr bool is_ground_object(int32_t code) {
    return code >= int32_t(ObjectCode::power_container) && code <= kLastObjectCode && !is_trigger(code);
}
// Everything that fires: the ground enemies and the wave markers' fliers.
constexpr bool is_enemy(int32_t code) {
    return code >= int32_t(ObjectCode::turret) && code <= kLastObjectCode;
}
