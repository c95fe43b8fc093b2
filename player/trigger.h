// The wave marker: an invisible timer that releases a wave of fliers one at a time from the side
// of the map its marker lies on, and disappears with the last one.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct t_trigger : TObject {
    float x = 0;           // the marker's x: 120 and more releases from the right edge
    float y = 0;           // kept as given; nothing reads it
    uint8_t count = 0;     // enemies still to release
    uint8_t interval = 0;  // frames of rest after each release
    uint8_t kind = 0;      // what to release: 3 = t_enemy3; any other kind releases nothing
    uint8_t wait = 0;      // frames left until the next release

    static void create(float x, float y, uint8_t count, uint8_t interval, uint8_t kind);
    void update() override;

  protected:
    t_trigger() : TObject(kind_t_trigger) {}
};
