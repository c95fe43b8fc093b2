// Front-end frames (the title backdrop, logo and main menu), rasterised, and with only the draw
// log kept.
#include "bench.h"
#include "core/startup.h"
#include "engine/headless.h"

BENCH_CASE(front_end_frame) {
    bench_start_up();
    headless::set_render(true);
    bench_frames("front-end frame", 3000, run_frame);
    headless::set_render(false);
    bench_frames("front-end frame, draw log only", 3000, run_frame);
    headless::set_render(true);
}
