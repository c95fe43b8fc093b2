// The boss's second form: waits at the top of the map with rings, arrowheads and hexagon
// volleys, and destroying it ends the game.
#pragma once

#include <cstdint>

#include "core/objects.h"
#include "enemies/boss.h"

struct t_boss1b : t_boss {
    float aim = 0;  // direction of the aimed hexagons (hardest setting), kept with no ship
    // burst: ring within a ring volley, or hexagon pair within the hexagon phase; sweep: arrow
    // volley within the cycle.

    static void create(float x, float y);  // appended to enemy_list
    void update() override;

  protected:
    t_boss1b() : t_boss(kind_t_boss1b) {}

  private:
    void attack();
    void ring(float turn);
    void arrows();
    void hexagons(float half_step, GunOffset aimed_gun);
};
