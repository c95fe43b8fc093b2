// The bonus: a chain bonus (kind 1) or a 1000-point bonus (kind 2), lying on the ground (mode 1)
// or popping up and falling (mode 2); after collection it floats up showing its value.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_bonus : TObject {
    float x = 0, y = 0;
    float angle = 0;  // its own motion, mode 2 only
    float speed = 0;
    float hit_size = 9.0f;
    uint8_t collected = 0;  // 1 once the ship has taken it
    int32_t value = 0;      // points it gave, set by the ship
    int32_t timer = 100;    // frames its value stays on screen after collection
    uint8_t mode = 0;       // 1 lies on the ground (pass step 5), 2 pops up and falls (step 13)
    uint8_t kind = 0;       // 1 chain bonus, 2 1000-point bonus
    uint8_t sparkle_count = 0;
    uint8_t frame = 0;
    uint8_t step = 0;  // frames since creation, mode 2

    static void create(float x, float y, uint8_t mode, uint8_t kind);  // appended to pickup_list
    void update() override;

  protected:
    t_bonus() : TObject(kind_t_bonus) {}
};
