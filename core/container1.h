// The small container: worth 200 points and nothing else.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_container1 : t_levelobject {
    static void create(int32_t x, int32_t y);  // appended to levelobject_list
    void update() override;

  protected:
    t_container1() : t_levelobject(kind_t_container1) {}
};
