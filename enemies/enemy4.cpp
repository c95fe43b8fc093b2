// The ground gun.
#include "enemies/enemy4.h"

#include "core/assets.h"
#include "core/entities.h"
#include "enemies/enemy.h"
#include "engine/engine.h"
#include "player/helpers.h"

namespace {

// The stream: one row every 5 frames of the 150-frame cycle (timer 50 to 199). The harder rows
// close the cycle with a different sound. The rows at 85 and 90 both turn +35: the stream does
// not mirror there.
struct StreamRow {
    int32_t timer;
    int32_t offset;  // degrees from the aim
    Harder when;
    TSound** sound;
};
const StreamRow kStream[] = {
    {50, -3, Harder::any, &snd_bullet2},
    {55, +3, Harder::any, &snd_bullet2},
    {60, -15, Harder::any, &snd_bullet2},
    {65, +15, Harder::any, &snd_bullet2},
    {70, -22, Harder::any, &snd_bullet2},
    {75, +22, Harder::any, &snd_bullet2},
    {80, 0, Harder::any, &snd_bullet2},
    {85, +35, Harder::any, &snd_bullet2},
    {90, +35, Harder::any, &snd_bullet2},
    {95, -20, Harder::any, &snd_bullet2},
    {100, +20, Harder::any, &snd_bullet2},
    {105, -12, Harder::any, &snd_bullet2},
    {110, +12, Harder::any, &snd_bullet2},
    {115, -3, Harder::any, &snd_bullet2},
    {120, +3, Harder::any, &snd_bullet2},
    {125, -40, Harder::any, &snd_bullet2},
    {130, +40, Harder::any, &snd_bullet2},
    {135, -35, Harder::any, &snd_bullet2},
    {140, +35, Harder::any, &snd_bullet2},
    {145, -25, Harder::from_normal, &snd_bullet3},
    {150, +25, Harder::from_normal, &snd_bullet3},
    {155, -20, Harder::from_normal, &snd_bullet3},
    {160, +20, Harder::hard_only, &snd_bullet3},
    {165, -10, Harder::hard_only, &snd_bullet3},
    {170, +10, Harder::hard_only, &snd_bullet3},
};

constexpr int32_t kCycleEnd = 200, kCycleStart = 50;  // the timer runs 1..199, then 50..199 again
constexpr int32_t kAimTime = 59;
constexpr uint8_t kFlashFrames = 3;

}  // namespace

void t_enemy4::create(float x, float y) { enlist_enemy(new t_enemy4, x, y, 10.0f, 120, 1); }

void t_enemy4::update() {
    ++timer;
    if (timer == kCycleEnd) timer = kCycleStart;
    // Aim, once a cycle, then brought into 30..150 degrees (downwards) one step per update.
    if (timer == kAimTime) aim_at_ship(x, y, aim);
    if (aim < 30) aim += 50;
    if (aim > 150) aim -= 50;
    // Fire: the start point follows the aim, the direction adds the row's offset.
    for (const StreamRow& row : kStream) {
        if (row.timer != timer || !difficulty_allows(row.when)) continue;
        fire_bullet(x + float(cos_offset(float(aim), 2)), y + float(sin_offset(float(aim), 2)),
                    float(aim + row.offset), 1.2f, img_bullet3);
        play_sound(*row.sound, channel3);
        flash = kFlashFrames;
    }
    // Hits
    check_shot_hits(*this);
    if (hp <= 0) die_large(*this);
    // Move
    ride_scroll(*this);
    // Draw: the firing frame for the 2 frames after a shot.
    if (flash > 0) --flash;
    draw_scaled(img_enemy4, x, y, flash == 0 ? 0 : 1);
    // Remove
    leave_below(*this, 256.0f);
}
