// The containers' shared steps.
#include "core/levelobject.h"

#include "core/assets.h"
#include "core/entities.h"
#include "player/helpers.h"
#include "player/targets.h"

void enlist_container(t_levelobject* o, int32_t x, int32_t y, float hit_size, int32_t hp) {
    o->x = float(x);
    o->y = float(y);
    o->hit_size = hit_size;
    o->hp = hp;
    levelobject_list->append(o);
}

void container_take_shots(t_levelobject& o, uint8_t flash_delay) {
    take_shot_hits(o.x, o.y, o.hit_size, o.hp, flash_delay);
}

void container_explosion(float x, float y, uint8_t delay) { ground_effect(img_explosion2, x, y, delay); }

void container_ride_and_draw(t_levelobject& o, TImage* image, float limit) {
    ride_map(o.y);
    draw_scaled(image, o.x, o.y, 0);
    if (o.y > limit) levelobject_list->remove(&o);
}
