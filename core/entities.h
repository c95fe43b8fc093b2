// The seven object lists, the per-frame entity pass that updates (and so draws) every object, and
// the clearing of the world at the end of a game. Which class lives in which list: core/objects.h.
#pragma once

#include "engine/list.h"

extern TList *player_list, *shot_list, *pickup_list, *levelobject_list, *enemy_list, *bullet_list,
    *effect_list;

// Creates the seven empty lists, in this order, once at start-up.
void create_lists();
// One frame of play for every object: 16 walks in a fixed order (the drawing order).
void entity_pass();
// Empties every list without updating anything (end of a game).
void clear_world();
