// The small power container: two main-gun shots open it and it leaves one power-up.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_powercontainer1 : t_levelobject {
    static void create(int32_t x, int32_t y);  // appended to levelobject_list
    void update() override;

  protected:
    t_powercontainer1() : t_levelobject(kind_t_powercontainer1) {}
};
