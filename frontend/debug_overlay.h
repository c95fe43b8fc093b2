// The debug overlay (D key during play): frame time, rate, replay and input values, object counts.
#pragma once

// The object count of each list, drawn after the HUD while the overlay is on.
void draw_object_counts();
// The overlay's lines at the end of the HUD.
void play_debug_lines();
