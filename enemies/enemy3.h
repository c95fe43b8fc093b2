// The flier: enters at a side edge near the top, dives in a quarter turn, turns back towards its
// own edge, fires on the way, and is gone 200 frames after it appeared. The ship can ram it.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_enemy3 : t_enemy {
    int32_t aim = 0;   // direction to the ship, whole degrees, every frame
    uint8_t side = 0;  // 0 entered at the left edge, 1 at the right

    static void create(float x, float y);  // appended to enemy_list
    void update() override;

  protected:
    t_enemy3() : t_enemy(kind_t_enemy3) {}

  private:
    void fly();
};
