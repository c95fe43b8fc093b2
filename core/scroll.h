// The scrolling map and its background layers.
#pragma once

#include <cstdint>

extern float scroll_pos;  // map y at the top edge of the play field
extern uint8_t scrolling;
extern float scroll_speed;
extern int32_t first_row, end_row;
extern float bg_far_y, bg_near_y, bg_far_speed, bg_near_speed, bg_drift_y;

void draw_backgrounds();
void update_visible_rows();
void scroll_and_draw_map();

void reset_scroll_state();
