// The ground turret: turns after the ship and fires up to four single aimed shots in its life.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_enemy1 : t_enemy {
    int32_t aim = 0;  // the turret's direction, whole degrees

    static void create(float x, float y);  // appended to enemy_list
    void update() override;

  protected:
    t_enemy1() : t_enemy(kind_t_enemy1) {}
};
