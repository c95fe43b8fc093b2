// The scrolling map and its background layers: the scroll position that is the clock of a stage,
// the window of map rows drawn each frame, and the repeating background layers behind the tiles.
#pragma once

#include <cstdint>

extern float scroll_pos;            // map y at the top edge of the play field: 5760 (bottom) down to 0 (top)
extern uint8_t scrolling;           // 1 while the map moves; cleared when scroll_pos reaches 0
extern float scroll_speed;          // map pixels per frame
extern int32_t first_row, end_row;  // rows first_row .. end_row - 1 are drawn this frame
extern float bg_far_y, bg_near_y;   // centres of the two repeating layers, kept in 120 .. 360
extern float bg_far_speed, bg_near_speed;
extern float bg_drift_y;  // the non-repeating overlay of stage 2; never reset by a new game

// Steps the background layers (half speed while the map is held) and draws the current stage's.
void draw_backgrounds();
// The rows to draw, from the scroll position the previous frame left.
void update_visible_rows();
// Moves the map by scroll_speed while scrolling, then draws every visible cell.
void scroll_and_draw_map();

void reset_scroll_state();  // start-up values
