// Background layers and the tile map (drawing arrives with the world work).
#include "core/scroll.h"

float scroll_pos = 5760.0f;
uint8_t scrolling = 0;
float scroll_speed = 0.5f;
int32_t first_row = 0, end_row = 0;
float bg_far_y = 120.0f, bg_near_y = 120.0f, bg_far_speed = 0.2f, bg_near_speed = 0.3f, bg_drift_y = 120.0f;

void reset_scroll_state() {
    scroll_pos = 5760.0f;
    scrolling = 0;
    scroll_speed = 0.5f;
    first_row = end_row = 0;
    bg_far_y = bg_near_y = bg_drift_y = 120.0f;
    bg_far_speed = 0.2f;
    bg_near_speed = 0.3f;
}

void draw_backgrounds() {}
void update_visible_rows() {}
void scroll_and_draw_map() {}
