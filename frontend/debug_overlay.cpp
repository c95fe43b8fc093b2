// Debug overlay (arrives with the debug-overlay work).
#include "frontend/debug_overlay.h"

void draw_object_counts() {}
