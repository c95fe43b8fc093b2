// The power-up item.
#include "player/powerup.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/scroll.h"
#include "player/helpers.h"

void t_powerup::create(float x, float y) {
    auto* item = new t_powerup;
    item->x = x;
    item->y = y;
    pickup_list->append(item);
}

void t_powerup::update() {
    // Move: it lies on the ground, which moves only while the map scrolls.
    if (scrolling == 1) y += scroll_speed;
    // Draw
    draw_scaled(img_power, x, y, 0);
    // Remove: past the bottom edge (the ship collects it, and removes it, in its own update).
    if (y > 248.0f) pickup_list->remove(this);
}
