// The power-up: lies on the ground, scrolls with it, and raises the ship's power when collected.
#pragma once

#include "core/objects.h"

struct t_powerup : TObject {
    float x = 0, y = 0;
    float hit_size = 8.0f;

    static void create(float x, float y);  // appended to pickup_list
    void update() override;

  protected:
    t_powerup() : TObject(kind_t_powerup) {}
};
