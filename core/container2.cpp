// The large container.
#include "core/container2.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/levelobject.h"
#include "engine/engine.h"
#include "player/bonus2.h"
#include "player/helpers.h"
#include "player/particle.h"

namespace {

constexpr int32_t kItemsInAGame = 10;  // item_index 10 is worth nothing: no item is left then

}  // namespace

void t_container2::create(int32_t x, int32_t y, int32_t drop) {
    auto* o = new t_container2;
    o->drop = uint8_t(drop);
    enlist_container(o, x, y, 14.0f, 100);
}

void t_container2::update() {
    // Hits
    container_take_shots(*this, 4);
    // Destroyed
    if (hp < 1) {
        levelobject_list->remove(this);
        t_particle::create(x, y);
        for (const BurstCorner& c : kBurstCorners) container_explosion(x + c.dx, y + c.dy, 5);
        score += 800;
        play_sound(snd_explosion2, channel5);
        if (drop == 1 && item_index < kItemsInAGame) t_bonus2::create(x, y);
    }
    // Move, Draw, Remove
    container_ride_and_draw(*this, img_container2, kLargeContainerLimit);
}
