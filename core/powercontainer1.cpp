// The small power container.
#include "core/powercontainer1.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/levelobject.h"
#include "engine/engine.h"
#include "player/particle.h"
#include "player/powerup.h"

void t_powercontainer1::create(int32_t x, int32_t y) {
    enlist_container(new t_powercontainer1, x, y, 7.0f, 20);
}

void t_powercontainer1::update() {
    // Hits
    container_take_shots(*this, 2);
    // Destroyed
    if (hp < 1) {
        t_particle::create(x, y);
        container_explosion(x, y, 4);
        levelobject_list->remove(this);
        t_powerup::create(x, y);
        score += 200;
        play_sound(snd_explosion1, channel4);
    }
    // Move, Draw, Remove
    container_ride_and_draw(*this, img_powercontainer1, kSmallContainerLimit);
}
