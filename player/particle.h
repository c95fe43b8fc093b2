// A burst of sparks flying apart from one point; as many sparks as the particle setting holds
// when the burst is made.
#pragma once

#include <cstdint>
#include <vector>

#include "core/objects.h"

struct t_particle : TObject {
    std::vector<float> spark_x;
    std::vector<float> spark_y;
    std::vector<float> spark_angle;
    std::vector<float> spark_speed;
    int32_t frame = 0;   // of gfx/particle1.bmp, shown by every spark
    uint8_t timer = 10;  // 10 only before the first update, which places the sparks
    float x = 0, y = 0;  // centre of the burst

    static void create(float x, float y);  // appended to effect_list
    void update() override;

  protected:
    t_particle();
};
