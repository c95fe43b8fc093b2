// What both boss forms share: the figure-of-eight flight, the great explosion that turns every
// enemy bullet into a bonus, and the drawing with the energy bar at the top of the screen.
#pragma once

#include <cstdint>

#include "core/objects.h"

struct TImage;

// Gun positions from the boss's centre.
struct GunOffset {
    float dx, dy;
};
inline constexpr GunOffset kLeftGun{-27.0f, -19.0f}, kRightGun{27.0f, -19.0f}, kNose{0.0f, -20.0f};

// Sets a new form at (x, y) flying left at 1 unit a frame with `full_hp`, and appends it to
// enemy_list.
void enlist_boss(t_boss* b, float x, float y, float full_hp);
// A new boss flies left at 1 unit a frame and stops at its 170th update; from its 200th it flies
// four quarter-circle arcs at 0.5 a frame (a figure of eight above its resting point), then rests
// for 200 frames, every 560 frames.
void boss_move(t_boss& b);
// The shot test of the enemies, with the boss's square.
void boss_check_shot_hits(t_boss& b);
// 64 explosions, 16 bursts and 25 chain bonuses over the hull, every enemy bullet turned into a
// 1000-point bonus, the score, the sound; the second form then starts the end of the game. The
// boss leaves enemy_list; its update goes on and draws it once more.
void boss_die(t_boss& b, int32_t points, bool ends_game);
// The boss, then its energy bar: full width 100 units at `full_hp`, shrinking from the right.
void boss_draw(const t_boss& b, float full_hp);
// Width of the energy bar's fill in screen pixels; nothing is drawn when it is not above 0.
float boss_bar_width(int32_t hp, float full_hp);

// A bullet leaving from one of the guns.
void boss_fire(const t_boss& b, GunOffset gun, float angle, float speed, TImage* image);
