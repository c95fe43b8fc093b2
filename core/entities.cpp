// The object lists, the per-frame entity pass and the clearing of the world.
#include "core/entities.h"

#include "core/objects.h"
#include "player/bonus.h"

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

namespace {

// Updates every object of `list` that is a `kind` (the class or one derived from it).
void update_each(TList* list, uint32_t kind) {
    list->walk_kind(kind, [](TObject* object) { object->update(); });
}

void update_enemies_of_layer(uint8_t layer) {
    enemy_list->walk_kind(kind_t_enemy, [layer](TObject* object) {
        auto* enemy = static_cast<t_enemy*>(object);
        if (enemy->layer == layer) enemy->update();
    });
}

void update_bonuses_of_mode(uint8_t mode) {
    pickup_list->walk_kind(kind_t_bonus, [mode](TObject* object) {
        auto* bonus = static_cast<t_bonus*>(object);
        if (bonus->mode == mode) bonus->update();
    });
}

void remove_each(TList* list, uint32_t kind) {
    list->walk_kind(kind, [list](TObject* object) { list->remove(object); });
}

}  // namespace

// The walk order is the drawing order, back to front; an object created during the pass is
// updated in this frame only when its step is still to come (a bullet fired by an enemy in steps
// 6 to 10 moves in step 16 of the same frame).
void entity_pass() {
    update_each(levelobject_list, kind_t_trigger);
    update_each(levelobject_list, kind_t_levelobject);
    update_each(pickup_list, kind_t_powerup);
    update_each(pickup_list, kind_t_bonus2);
    update_bonuses_of_mode(1);
    update_enemies_of_layer(1);
    update_each(enemy_list, kind_t_boss);
    update_each(effect_list, kind_t_effect);
    update_enemies_of_layer(2);
    update_enemies_of_layer(3);
    update_each(shot_list, kind_t_shot1);
    update_each(shot_list, kind_t_shot2);
    update_bonuses_of_mode(2);
    update_each(effect_list, kind_t_particle);
    update_each(player_list, kind_t_player);
    update_each(bullet_list, kind_t_bullet);
}

// Objects vanish without any update: no explosion, sound or score. Enemies of a layer the pass
// never visits and bonuses of such a mode are removed here like all others.
void clear_world() {
    remove_each(player_list, kind_t_player);
    remove_each(levelobject_list, kind_t_levelobject);
    remove_each(pickup_list, kind_t_powerup);
    remove_each(shot_list, kind_t_shot1);
    remove_each(shot_list, kind_t_shot2);
    remove_each(effect_list, kind_t_effect);
    remove_each(pickup_list, kind_t_bonus);
    remove_each(pickup_list, kind_t_bonus2);
    remove_each(effect_list, kind_t_particle);
    remove_each(bullet_list, kind_t_bullet);
    remove_each(enemy_list, kind_t_enemy);
    remove_each(enemy_list, kind_t_boss);
    remove_each(levelobject_list, kind_t_trigger);
}
