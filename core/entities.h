// The seven object lists, the per-frame entity pass that updates (and so draws) every object, and
// the clearing of the world at the end of a game.
#pragma once

#include "engine/list.h"

extern TList *player_list, *shot_list, *pickup_list, *levelobject_list, *enemy_list, *bullet_list,
    *effect_list;

void create_lists();
void entity_pass();
void clear_world();
