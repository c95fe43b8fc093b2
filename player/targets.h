// What every target of the ship's shots shares, enemies, bosses and containers alike: the shot
// test, and the explosions that drift with the ground they lie on.
#pragma once

#include <cstdint>

struct TImage;

// The drift of anything lying on the map: scroll_speed while it scrolls, else 0 (fixed when the
// effect is made, so a spark made while the map is held stays put).
float ground_drift();
// An explosion of `image` at (x, y) that drifts with the ground.
void ground_effect(TImage* image, float x, float y, uint8_t delay);

// Every shot of shot_list overlapping the square of half-size `hit_size` at (x, y), in list
// order: a spark of `spark_delay` at the shot, `hp` lowered by its damage, the shot removed. All
// overlapping shots count, also those past the one that used up the hit points.
void take_shot_hits(float x, float y, float hit_size, int32_t& hp, uint8_t spark_delay);
