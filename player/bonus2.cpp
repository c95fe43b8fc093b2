// The container's item.
#include "player/bonus2.h"

#include "core/assets.h"
#include "core/entities.h"
#include "engine/engine.h"
#include "player/helpers.h"

void t_bonus2::create(float x, float y) {
    auto* item = new t_bonus2;
    item->x = x;
    item->y = y;
    pickup_list->append(item);
}

void t_bonus2::update() {
    // Draw
    if (collected == 0) draw_scaled(img_gorge, x, y, 0);
    // Collected: float up showing the value (0.25 per frame while the map scrolls).
    if (collected != 0) {
        y -= 0.75f;
        --timer;
        if (timer == 0) pickup_list->remove(this);
        draw_glyph_text(img_font3, int_to_text(value), x, y, 5.0f);
    }
    // Move with the ground, collected or not
    ride_map(y);
    // Remove
    if (y > 248.0f) pickup_list->remove(this);
}
