// The twin-barrel ground turret: follows the ship every frame and fires bursts of double shots
// while it is in the upper part of the screen.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_enemy5 : t_enemy {
    int32_t aim = 0;     // firing direction, taken once a cycle
    int32_t facing = 0;  // direction the turret is drawn at, taken every frame

    static void create(float x, float y);  // appended to enemy_list
    void update() override;

  protected:
    t_enemy5() : t_enemy(kind_t_enemy5) {}
};
