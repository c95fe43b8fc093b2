// Front-end frames (the title backdrop, logo and main menu), rasterised, and with only the draw
// log kept; the replay library page.
#include "bench.h"
#include "core/startup.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "frontend/library_page.h"
#include "frontend/replay_library.h"
#include "frontend/settings_file.h"

BENCH_CASE(front_end_frame) {
    bench_start_up();
    headless::set_render(true);
    bench_frames("front-end frame", 3000, run_frame);
    headless::set_render(false);
    bench_frames("front-end frame, draw log only", 3000, run_frame);
    headless::set_render(true);
}

// The replay library page opened on a folder of 1,000 kept replays: reading every header,
// sorting, and the first drawn page.
BENCH_CASE(library_page_1000) {
    bench_start_up();
    headless::set_render(true);
    make_folder(kLibraryFolder);
    ReplayInfo info;
    info.play_version = kPlayVersion;
    info.stage_hash = "0123456789abcdef";
    info.ship = 1;
    info.date = "2026-12-08 17:00";
    info.ended = "lost";
    const std::vector<uint8_t> input(4000, 50);
    for (int i = 0; i < 1000; ++i) {
        info.time = 1796750000 + i;
        info.score = (i * 7919) % 100000;
        write_file_safely(std::string(kLibraryFolder) + "/bench-" + std::to_string(1000 + i) + ".rep",
                          encode_replay(info, input));
    }
    bench_measure(
        "library page, 1000 files, to the first drawn page", 30,
        [] {
            cls();
            open_library_page();
            library_page_step();
            flip(-1);
        },
        3);
    for (int i = 0; i < 1000; ++i)
        remove_file(std::string(kLibraryFolder) + "/bench-" + std::to_string(1000 + i) + ".rep");
}
