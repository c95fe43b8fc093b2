// draw_scaled with the screen resolution as an argument, so both the 640 x 480 and the 320 x 240
// rule can be exercised whatever `hires` the game was built with.
#pragma once

#include <cstdint>

struct TImage;

// hires_flag non-zero: position and scale doubled, the scale put back to (1, 1) afterwards.
void draw_scaled_at_resolution(int hires_flag, TImage* image, float x, float y, uint8_t frame);
