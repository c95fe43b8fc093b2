// The large power container.
#include "core/powercontainer2.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/levelobject.h"
#include "engine/engine.h"
#include "player/helpers.h"
#include "player/particle.h"
#include "player/powerup.h"

void t_powercontainer2::create(int32_t x, int32_t y) {
    enlist_container(new t_powercontainer2, x, y, 14.0f, 100);
}

void t_powercontainer2::update() {
    // Hits
    container_take_shots(*this, 4);
    // Destroyed
    if (hp < 1) {
        levelobject_list->remove(this);
        for (const BurstCorner& c : kBurstCorners) t_powerup::create(x + c.dx, y + c.dy);
        for (const BurstCorner& c : kBurstCorners) container_explosion(x + c.dx, y + c.dy, 5);
        t_particle::create(x, y);
        score += 800;
        play_sound(snd_explosion2, channel5);
    }
    // Move, Draw, Remove
    container_ride_and_draw(*this, img_powercontainer2, kLargeContainerLimit);
}
