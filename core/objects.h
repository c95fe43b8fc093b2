// The common shape of the game classes: one kind bit per class and the four base classes (t_enemy
// and t_boss with the fields they share in t_foe). Each game class is declared in its own header
// (player/, enemies/, core/).
//
// Every game object derives from TObject (engine/list.h), whose `class_bits` hold the bit of its own
// class ORed with the bit of its base class, so `object->is_a(kind_t_enemy)` is true for every
// enemy type and `is_a(kind_t_enemy3)` only for that type. The entity pass and clear_world pick
// objects from their lists by these bits. Which list each class lives in:
//   player_list       t_player
//   shot_list         t_shot1, t_shot2                      (base t_shot)
//   pickup_list       t_powerup, t_bonus, t_bonus2
//   levelobject_list  t_trigger; t_powercontainer1/2, t_container1/2 (base t_levelobject)
//   enemy_list        t_enemy1 .. t_enemy5 (base t_enemy); t_boss1a, t_boss1b (base t_boss)
//   bullet_list       t_bullet
//   effect_list       t_effect, t_particle
// A class's static `create` builds the object with its defaults, sets the fields from its
// arguments and appends it to its list; the list owns it from then on.
#pragma once

#include <cstdint>

#include "engine/list.h"

struct TImage;

inline constexpr uint32_t kind_t_player = 1u << 0;
inline constexpr uint32_t kind_t_shot = 1u << 1;  // base of the two shot kinds
inline constexpr uint32_t kind_t_shot1 = 1u << 2;
inline constexpr uint32_t kind_t_shot2 = 1u << 3;
inline constexpr uint32_t kind_t_bullet = 1u << 4;
inline constexpr uint32_t kind_t_powerup = 1u << 5;
inline constexpr uint32_t kind_t_bonus = 1u << 6;
inline constexpr uint32_t kind_t_bonus2 = 1u << 7;
inline constexpr uint32_t kind_t_effect = 1u << 8;
inline constexpr uint32_t kind_t_particle = 1u << 9;
inline constexpr uint32_t kind_t_trigger = 1u << 10;
inline constexpr uint32_t kind_t_levelobject = 1u << 11;  // base of the four containers
inline constexpr uint32_t kind_t_powercontainer1 = 1u << 12;
inline constexpr uint32_t kind_t_powercontainer2 = 1u << 13;
inline constexpr uint32_t kind_t_container1 = 1u << 14;
inline constexpr uint32_t kind_t_container2 = 1u << 15;
inline constexpr uint32_t kind_t_enemy = 1u << 16;  // base of the five enemy types
inline constexpr uint32_t kind_t_enemy1 = 1u << 17;
inline constexpr uint32_t kind_t_enemy2 = 1u << 18;
inline constexpr uint32_t kind_t_enemy3 = 1u << 19;
inline constexpr uint32_t kind_t_enemy4 = 1u << 20;
inline constexpr uint32_t kind_t_enemy5 = 1u << 21;
inline constexpr uint32_t kind_t_boss = 1u << 22;  // base of the two boss forms
inline constexpr uint32_t kind_t_boss1a = 1u << 23;
inline constexpr uint32_t kind_t_boss1b = 1u << 24;

// ---------------------------------------------------------------------------------------------
// Base classes. Their own update is TObject's empty one; each derived class replaces it and adds
// its create. The constructors are protected: a base is never made on its own, and each derived
// class passes its own kind bit.
// ---------------------------------------------------------------------------------------------

// The ship's shots; targets find both kinds by is_a(kind_t_shot), take `damage` and remove them.
struct t_shot : TObject {
    float x = 0, y = 0;
    float angle = 0;  // degrees, 270 = up
    float speed = 0;
    float hit_size = 0;
    int32_t damage = 0;

  protected:
    explicit t_shot(uint32_t own_kind) : TObject(own_kind | kind_t_shot) {}
};

// Containers and power containers lying on the map.
struct t_levelobject : TObject {
    float x = 0, y = 0;
    float hit_size = 0;
    int32_t hp = 0;  // destroyed when below 1

  protected:
    explicit t_levelobject(uint32_t own_kind) : TObject(own_kind | kind_t_levelobject) {}
};

// What the enemy types and the boss forms all hold: their place and heading, their hit square,
// their hit points and the counter their pattern runs on.
struct t_foe : TObject {
    float x = 0, y = 0;
    float angle = 0;
    float speed = 0;
    float hit_size = 0;
    int32_t hp = 0;     // dies in the update in which hp is 0 or less
    int32_t timer = 0;  // the type's pattern counter (a boss's movement pattern)

  protected:
    explicit t_foe(uint32_t kinds) : TObject(kinds) {}
};

// The five enemy types. `layer` (1, 2 or 3) picks the step of the entity pass that updates and
// draws the enemy; an enemy of any other layer is never updated.
struct t_enemy : t_foe {
    uint8_t layer = 0;

  protected:
    explicit t_enemy(uint32_t own_kind) : t_foe(own_kind | kind_t_enemy) {}
};

// The two boss forms, and the counters of their attacks.
struct t_boss : t_foe {
    int32_t attack_timer = 0;
    int32_t burst = 0;  // the step within the volley under way (each form says what it counts)
    int32_t sweep = 0;  // the volley within the attack cycle

  protected:
    explicit t_boss(uint32_t own_kind) : t_foe(own_kind | kind_t_boss) {}
};
