// Object lists and the entity pass.
#include "core/entities.h"

TList *player_list, *shot_list, *pickup_list, *levelobject_list, *enemy_list, *bullet_list, *effect_list;

void create_lists() {
    player_list = create_list();
    shot_list = create_list();
    pickup_list = create_list();
    levelobject_list = create_list();
    enemy_list = create_list();
    bullet_list = create_list();
    effect_list = create_list();
}

void entity_pass() {}
void clear_world() {}
