// The container's item: each one collected in a game is worth the next entry of item_values.
#pragma once

#include <cstdint>

#include "core/objects.h"

// Index into item_values of the next item's worth, 0..10 (10 is worth nothing).
extern int32_t item_index;

struct t_bonus2 : TObject {
    float x = 0, y = 0;
    float hit_size = 12.0f;
    uint8_t collected = 0;  // 1 once the ship has taken it
    int32_t value = 0;      // points it gave, set by the ship
    int32_t timer = 100;    // frames its value stays on screen

    static void create(float x, float y);  // appended to pickup_list
    void update() override;

  protected:
    t_bonus2() : TObject(kind_t_bonus2) {}
};
