// The shot test and the ground's explosions.
#include "player/targets.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "engine/engine.h"
#include "player/effect.h"
#include "player/helpers.h"

float ground_drift() { return float(scrolling) * scroll_speed; }

void ground_effect(TImage* image, float x, float y, uint8_t delay) {
    t_effect::create(image, x, y, 90.0f, ground_drift(), 0, 5, delay, 0);
}

void take_shot_hits(float x, float y, float hit_size, int32_t& hp, uint8_t spark_delay) {
    shot_list->walk_kind(kind_t_shot, [&](TObject* object) {
        auto* shot = static_cast<t_shot*>(object);
        if (boxes_overlap(to_int(x), to_int(y), to_int(hit_size), to_int(shot->x), to_int(shot->y),
                          to_int(shot->hit_size)) != 1)
            return;
        ground_effect(img_explosion1, shot->x, shot->y, spark_delay);
        hp -= shot->damage;
        shot_list->remove(shot);
    });
}
