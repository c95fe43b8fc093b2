// The ground emplacement: never aims, fires full rings of 25 bullets at fixed frames of its life.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_enemy2 : t_enemy {
    int32_t shot_angle = 0;  // direction of the bullet being made during a ring
    uint8_t flash = 0;       // frames left of the firing frame; 0 = idle

    static void create(float x, float y);  // appended to enemy_list
    void update() override;

  protected:
    t_enemy2() : t_enemy(kind_t_enemy2) {}

  private:
    void fire_ring(int32_t turn);
};
