// What every enemy does alike: aiming at the ship, the point-blank gate, the harder settings' extra
// fire times, taking the ship's shots, the death shapes, riding the scroll and leaving the screen.
// Each type's update calls these in its own order; the shot test itself is shared with the bosses
// and containers (player/targets.h).
#pragma once

#include <cstdint>
#include <span>

#include "core/objects.h"
#include "player/targets.h"

struct TImage;
struct TSound;
struct TChannel;

// Sets a new enemy's place and its type's constants, and appends it to enemy_list.
void enlist_enemy(t_enemy* e, float x, float y, float hit_size, int32_t hp, uint8_t layer);

// Fire times and rows that exist only on harder settings.
enum class Harder : uint8_t {
    any,          // every difficulty
    from_normal,  // difficulty_level above 0
    hard_only,    // difficulty_level exactly 2
};
bool difficulty_allows(Harder when);

// A frame of a type's life at which it fires, on the settings `when` allows.
struct FireTime {
    int32_t timer;
    Harder when;
};
// True when `timer` is one of `times` allowed on this difficulty.
bool fires_at(std::span<const FireTime> times, int32_t timer);

// The whole-degree direction from (x, y) to the ship, into `aim`; with no ship `aim` keeps its
// value, with several the last one in the list wins.
void aim_at_ship(float x, float y, int32_t& aim);
// Small turrets and fliers hold their fire while the ship is this close (and while there is none).
bool beyond_point_blank(float x, float y);

// The shot test of player/targets.h, with the enemy's square.
inline void check_shot_hits(t_enemy& e) { take_shot_hits(e.x, e.y, e.hit_size, e.hp, 2); }

// One enemy bullet with the bullet hit size.
void fire_bullet(float x, float y, float angle, float speed, TImage* image);
// The single aimed shot of the ground turret and the flier: from 4 units out along `aim`, turned
// by this frame's wobble, at 1.2 plus 0.2 per difficulty step.
void fire_aimed_shot(float x, float y, int32_t aim);

// The death of a small enemy: a burst, one explosion, the score, one bonus of `bonus_mode`, the
// sound, and the enemy leaves enemy_list (its update goes on and draws it once more).
void die_small(t_enemy& e, int32_t points, uint8_t bonus_mode, TSound* sound);
// The death of a 32-pixel ground enemy: a burst, four explosions and four chain bonuses on the
// four corner points, 3000 points, the large explosion sound.
void die_large(t_enemy& e);

// A small turret: frame 0 (the base), then frame 1 turned to `facing` (frame 1 points down the
// screen at rotation 0).
void draw_turret(TImage* image, float x, float y, int32_t facing);

// Ground enemies move with the map while it scrolls.
void ride_scroll(t_enemy& e);
// A ground enemy past `limit` (below the play field) leaves without score or sound.
void leave_below(t_enemy& e, float limit);
