// The second weapon's slow shot: flies 40 frames, stops, swells through four frames and vanishes.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_shot2 : t_shot {
    uint8_t life = 60;  // frames left
    uint8_t frame = 0;  // 0 while flying, 1..4 while it hangs still

    void update() override;
    // hit_size 4, damage 30; appended to shot_list.
    static void create(float x, float y, float angle, float speed);

  protected:
    t_shot2() : t_shot(kind_t_shot2) {}
};
