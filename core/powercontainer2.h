// The large power container: ten main-gun shots open it and it leaves four power-ups.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_powercontainer2 : t_levelobject {
    static void create(int32_t x, int32_t y);  // appended to levelobject_list
    void update() override;

  protected:
    t_powercontainer2() : t_levelobject(kind_t_powercontainer2) {}
};
