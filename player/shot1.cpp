// The main gun's shot.
#include "player/shot1.h"

#include "core/assets.h"
#include "core/entities.h"
#include "player/helpers.h"
#include "player/motion.h"

void t_shot1::create(float x, float y, float angle, float speed) {
    auto* shot = new t_shot1;
    shot->x = x;
    shot->y = y;
    shot->angle = angle;
    shot->speed = speed;
    shot->hit_size = 3.0f;
    shot->damage = 10;
    shot_list->append(shot);
}

void t_shot1::update() {
    // Move
    step_along(x, y, angle, speed);
    // Draw
    draw_scaled(img_shot1, x, y, 0);
    // Remove: drawn once more at the position past the edge, then gone.
    if (shot_off_field(x, y)) shot_list->remove(this);
}
