// A burst of sparks.
#include "player/particle.h"

#include "core/assets.h"
#include "core/entities.h"
#include "engine/engine.h"
#include "frontend/settings_file.h"
#include "player/helpers.h"
#include "player/motion.h"

namespace {

constexpr uint8_t kFirstFrameTime = 10;  // frame 0 shows for 10 updates, the others for 8
constexpr uint8_t kFrameTime = 8;
constexpr int32_t kLastFrame = 9;

}  // namespace

// The spark count is the particle setting at this moment; it stays fixed for the burst's life.
t_particle::t_particle()
    : TObject(kind_t_particle),
      spark_x(setting_particles),
      spark_y(setting_particles),
      spark_angle(setting_particles),
      spark_speed(setting_particles) {}

void t_particle::create(float x, float y) {
    auto* burst = new t_particle;
    burst->x = x;
    burst->y = y;
    burst->timer = kFirstFrameTime;
    burst->frame = 0;
    effect_list->append(burst);
}

void t_particle::update() {
    const size_t sparks = spark_x.size();
    for (size_t i = 0; i < sparks; ++i) {
        // Place (first update only): four random numbers per spark, in this order, spark after
        // spark, from the generator the bosses share.
        if (timer == kFirstFrameTime) {
            spark_x[i] = float(double(x - 2.0f) + rnd(0.0, 4.0));
            spark_y[i] = float(double(y - 2.0f) + rnd(0.0, 4.0));
            spark_angle[i] = float(rnd(0.0, 360.0));
            spark_speed[i] = float(0.3 + rnd(0.0, 0.3));
        }
        // Move: straight on at a constant speed.
        step_along(spark_x[i], spark_y[i], spark_angle[i], spark_speed[i]);
        // Draw
        draw_scaled(img_particle1, spark_x[i], spark_y[i], uint8_t(frame));
    }
    // Animate, and Remove after frame 9 has shown
    if (timer > 0) --timer;
    if (timer == 0) {
        if (frame >= kLastFrame)
            effect_list->remove(this);
        else
            ++frame;
        timer = kFrameTime;
    }
}
