// The small container.
#include "core/container1.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/levelobject.h"
#include "engine/engine.h"
#include "player/particle.h"

void t_container1::create(int32_t x, int32_t y) { enlist_container(new t_container1, x, y, 7.0f, 20); }

void t_container1::update() {
    // Hits
    container_take_shots(*this, 2);
    // Destroyed
    if (hp < 1) {
        container_explosion(x, y, 4);
        t_particle::create(x, y);
        levelobject_list->remove(this);
        score += 200;
        play_sound(snd_explosion1, channel4);
    }
    // Move, Draw, Remove
    container_ride_and_draw(*this, img_container1, kSmallContainerLimit);
}
