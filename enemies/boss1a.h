// The boss's first form: fights in mid-stage with sweeping twin fans and rings, and flies off to
// the right, unharmed and unscored, once the stage has scrolled on far enough.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_boss1a : t_boss {
    int32_t aim = 0;  // never used by this form
    // burst: shot within a fan burst, or ring within the ring volley; sweep: fan burst within the
    // cycle.

    static void create(float x, float y);  // appended to enemy_list
    void update() override;

  protected:
    t_boss1a() : t_boss(kind_t_boss1a) {}

  private:
    void attack();
};
