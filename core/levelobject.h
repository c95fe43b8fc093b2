// The steps the four containers share: taking the ship's shots, the fixed explosions, and riding
// the map until they pass below the play field. Each kind's destruction has its own order.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct TImage;

// Sets a new container's place (whole numbers, stored as floats) and its kind's constants, and
// appends it to levelobject_list.
void enlist_container(t_levelobject* o, int32_t x, int32_t y, float hit_size, int32_t hp);
// Every overlapping shot lowers hp and flashes for `flash_delay` at the shot; all are consumed.
void container_take_shots(t_levelobject& o, uint8_t flash_delay);
// An explosion of img_explosion2 at (x, y) with `delay`, drifting with the ground.
void container_explosion(float x, float y, uint8_t delay);
// Moves with the map, draws `image`, and leaves levelobject_list once y passes `limit`; also in
// the frame of destruction, so a destroyed container is drawn once more under its explosion.
void container_ride_and_draw(t_levelobject& o, TImage* image, float limit);

// Removal limits: the small kinds are wholly below the play field past 256, the large past 272.
inline constexpr float kSmallContainerLimit = 256.0f, kLargeContainerLimit = 272.0f;
