// The straight-line step every moving object of the player side takes each frame.
#pragma once

#include "engine/engine.h"

// x += cos(angle) * speed, y += sin(angle) * speed, angle in degrees. The products and sums are
// formed in double precision and stored back as floats, so that every platform steps alike.
inline void step_along(float& x, float& y, float angle, float speed) {
    x = float(double(x) + cos_deg(angle) * double(speed));
    y = float(double(y) + sin_deg(angle) * double(speed));
}
