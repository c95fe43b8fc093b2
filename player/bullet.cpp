// The enemies' bullet.
#include "player/bullet.h"

#include "core/entities.h"
#include "player/helpers.h"
#include "player/motion.h"

namespace {

constexpr uint8_t kFrameTime = 5;
constexpr uint8_t kLastFrame = 7;

// Strict edges: a bullet exactly on one stays.
bool off_field(float x, float y) { return x > 260.0f || x < -20.0f || y > 260.0f || y < -20.0f; }

}  // namespace

void t_bullet::create(float x, float y, float angle, float speed, float hit_size, TImage* image) {
    auto* bullet = new t_bullet;
    bullet->x = x;
    bullet->y = y;
    bullet->angle = angle;
    bullet->speed = speed;
    bullet->hit_size = hit_size;
    bullet->image = image;
    bullet_list->append(bullet);
}

void t_bullet::update() {
    // Move
    step_along(x, y, angle, speed);
    // Animate: the first update already shows frame 1, then one frame per 5 updates.
    if (frame_delay > 0) --frame_delay;
    if (frame_delay == 0) {
        frame = frame < kLastFrame ? uint8_t(frame + 1) : uint8_t(0);
        frame_delay = kFrameTime;
    }
    // Draw
    draw_scaled(image, x, y, frame);
    // Remove
    if (off_field(x, y)) bullet_list->remove(this);
}
