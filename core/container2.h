// The large container: worth 800 points, and may hold the next item of the game.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_container2 : t_levelobject {
    uint8_t drop = 0;  // 1: destroying it may leave a t_bonus2

    static void create(int32_t x, int32_t y, int32_t drop);  // appended to levelobject_list
    void update() override;

  protected:
    t_container2() : t_levelobject(kind_t_container2) {}
};
