// The ground gun: a scripted stream of single bullets around a downward aim taken once a cycle.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_enemy4 : t_enemy {
    int32_t aim = 0;    // base direction of the stream, whole degrees
    uint8_t flash = 0;  // frames left of the firing frame; 0 = idle

    static void create(float x, float y);  // appended to enemy_list
    void update() override;

  protected:
    t_enemy4() : t_enemy(kind_t_enemy4) {}
};
