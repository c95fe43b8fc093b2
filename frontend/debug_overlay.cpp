// Debug overlay (its lines arrive with the debug-overlay work; until then the D key only toggles
// the flag).
#include "frontend/debug_overlay.h"

void draw_object_counts() {}
void play_debug_lines() {}
