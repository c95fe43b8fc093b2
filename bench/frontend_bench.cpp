// Front-end frames (the title backdrop, logo and main menu), with rasterising and without.
#include <string>
#include <vector>

#include "bench.h"
#include "core/startup.h"
#include "engine/headless.h"

namespace {

// Runs `frames` frames; reports the game's own work of each (cls up to the present) and the whole
// frame with the present (where the software renderer finishes its batched drawing).
void frames_of_work(const std::string& name, int frames) {
    size_t before = headless::frame_work_us().size();
    bench_measure(
        name + ": whole frame", frames, [] { run_frame(); }, 0);
    const std::vector<double>& all = headless::frame_work_us();
    bench_report(name + ": work before present", std::vector<double>(all.begin() + long(before), all.end()));
}

}  // namespace

BENCH_CASE(front_end_frame) {
    bench_start_up();
    headless::set_render(true);
    frames_of_work("front-end frame, rasterised", 3000);
    headless::set_render(false);
    frames_of_work("front-end frame, draw log only", 3000);
    headless::set_render(true);
}
