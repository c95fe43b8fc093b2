// The debug overlay (D key during play): frame time, rate, replay and input values, object counts.
#pragma once

#include <cstdint>

extern int32_t fps_shown;  // frames counted in the last completed second
extern int32_t fps_count;  // frames counted since fps_since
extern int32_t fps_since;  // millisecs() when the count restarted

// The four replay lines at the end of the front-end step.
void front_end_debug_lines();
// The overlay's lines at the end of the HUD.
void play_debug_lines();
// The object count of each list, drawn after the HUD while the overlay is on.
void draw_object_counts();

void reset_debug_overlay_state();
