// A one-shot animation.
#include "player/effect.h"

#include "core/entities.h"
#include "player/helpers.h"
#include "player/motion.h"

void t_effect::create(TImage* image, float x, float y, float angle, float speed, uint8_t first_frame,
                      uint8_t last_frame, uint8_t delay, uint8_t tag) {
    auto* effect = new t_effect;
    effect->image = image;
    effect->x = x;
    effect->y = y;
    effect->angle = angle;
    effect->speed = speed;
    effect->frame = first_frame;
    effect->last_frame = last_frame;
    effect->delay = delay;
    effect->tag = tag;
    effect->delay_count = delay;
    effect_list->append(effect);
}

void t_effect::update() {
    // Move
    step_along(x, y, angle, speed);
    // Animate, and Remove after the last frame has been held
    if (delay_count > 0) {
        --delay_count;
    } else if (frame < last_frame) {
        ++frame;
        delay_count = delay;
    } else {
        effect_list->remove(this);
    }
    // Draw: also on the update that removed it, so the last frame shows delay + 2 times.
    draw_scaled(image, x, y, frame);
}
