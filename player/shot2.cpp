// The second weapon's shot: 40 frames of flight, 20 standing still while it swells.
#include "player/shot2.h"

#include "core/assets.h"
#include "core/entities.h"
#include "player/helpers.h"
#include "player/motion.h"
#include "player/shot1.h"

void t_shot2::create(float x, float y, float angle, float speed) {
    auto* shot = new t_shot2;
    shot->x = x;
    shot->y = y;
    shot->angle = angle;
    shot->speed = speed;
    shot->hit_size = 4.0f;
    shot->damage = 30;
    shot_list->append(shot);
}

void t_shot2::update() {
    // Move: the shot stops for good once 20 frames of its life are left.
    if (life == 20) speed = 0.0f;
    step_along(x, y, angle, speed);
    // Draw: one swelling frame every 5 frames of the last 20.
    if (life == 5 || life == 10 || life == 15 || life == 20) ++frame;
    draw_scaled(img_shot2, x, y, frame);
    // Remove: at the end of its life or past an edge, after this last drawing.
    if (life > 0) {
        --life;
        if (life == 0) shot_list->remove(this);
    }
    if (shot_off_field(x, y)) shot_list->remove(this);
}
