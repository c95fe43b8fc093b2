// The bonus item: its pop-up flight, its sparkle, and its value floating up after collection.
#include "player/bonus.h"

#include <string>

#include "core/assets.h"
#include "core/entities.h"
#include "engine/engine.h"
#include "player/helpers.h"
#include "player/motion.h"

namespace {

// The frame shown at each sparkle count; every other count keeps the frame it has. The count
// runs down from 150, so each 150 frames show 1, 2, 3, 2, 1 for five frames each.
struct SparkleStep {
    uint8_t count, frame;
};
constexpr SparkleStep kSparkle[] = {{90, 1}, {85, 2}, {80, 3}, {75, 2}, {70, 1}, {65, 0}};
constexpr uint8_t kSparkleCycle = 150;

constexpr int32_t kTopOfChain = 10000;

}  // namespace

void t_bonus::create(float x, float y, uint8_t mode, uint8_t kind) {
    auto* bonus = new t_bonus;
    bonus->x = x;
    bonus->y = y;
    bonus->mode = mode;
    bonus->kind = kind;
    bonus->timer = 100;
    pickup_list->append(bonus);
}

void t_bonus::update() {
    // Move (mode 2): rises, speeding up over 20 frames, then slows down, turns and falls at a
    // steady 2.02 per frame (the last subtraction starts above -2). `step` is a byte.
    if (mode == 2) {
        ++step;
        if (step == 1) {
            angle = 270.0f;
            speed = 0.1f;
        } else if (step >= 2 && step <= 21) {
            speed += 0.02f;
        } else if (speed > -2.0f) {
            speed -= 0.03f;
        }
        step_along(x, y, angle, speed);
    }
    // Sparkle
    if (sparkle_count > 0) --sparkle_count;
    if (sparkle_count == 0) sparkle_count = kSparkleCycle;
    for (const SparkleStep& s : kSparkle)
        if (sparkle_count == s.count) frame = s.frame;
    // Move with the ground (mode 1)
    if (mode == 1) ride_map(y);
    // Draw
    if (collected == 0) draw_scaled(kind == 1 ? img_bonus : img_bonus2, x, y, frame);
    // Collected: float up showing the value; ":" marks the top of the chain.
    if (collected != 0) {
        y -= 1.0f;
        --timer;
        if (timer == 0) pickup_list->remove(this);
        const std::string digits = int_to_text(value);
        draw_glyph_text(img_font3, value == kTopOfChain ? ":" + digits : digits, x, y, 5.0f);
    }
    // Remove
    if (y > 248.0f) pickup_list->remove(this);
}
