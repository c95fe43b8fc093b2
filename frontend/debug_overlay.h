// The debug overlay (D key during play): frame time, rate, replay and input values, object counts.
#pragma once

void draw_object_counts();
