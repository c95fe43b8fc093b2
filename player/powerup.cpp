// The power-up item.
#include "player/powerup.h"

#include "core/assets.h"
#include "core/entities.h"
#include "player/helpers.h"

void t_powerup::create(float x, float y) {
    auto* item = new t_powerup;
    item->x = x;
    item->y = y;
    pickup_list->append(item);
}

void t_powerup::update() {
    // Move: it lies on the ground, which moves only while the map scrolls.
    ride_map(y);
    // Draw
    draw_scaled(img_power, x, y, 0);
    // Remove: past the bottom edge (the ship collects it, and removes it, in its own update).
    if (y > 248.0f) pickup_list->remove(this);
}
