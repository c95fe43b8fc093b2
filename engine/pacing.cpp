// Frame pacing: the slot schedule, the wait and its margin, vsync, the hardware-sync probe, the present log.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "engine/engine_internal.h"
#include "engine/graphics_internal.h"

namespace {

using Clock = std::chrono::steady_clock;
using engine_detail::g_screen;

struct Pacing {
    bool on = false;
    bool hardware = false;
    int hertz = 0, step = 0, fraction = 0, accumulator = 0, next = 0;
};

Pacing g_pacing;

// CINDER_PRESENT_LOG=FILE (window only): one line per present of the frame loop, the microseconds
// of the steady clock when the present returned, for measuring the pacing in the real window
// without anything else running around the game. The first line, "clock STEADY_US EPOCH_US",
// ties that clock to the wall clock, so a script can time the start-up from the exec.
FILE* g_present_log = nullptr;
bool g_present_log_checked = false;

long long micros(std::chrono::time_point<std::chrono::steady_clock> t) {
    return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

// Headless there is no display to wait for: the choice is only noted, for the tests to read.
void set_vsync(int on) {
    if (!g_screen.renderer || g_screen.vsync == on) return;
    if (engine_detail::is_headless() || SDL_RenderSetVSync(g_screen.renderer, on) == 0) g_screen.vsync = on;
}

// The window's renderer queues the frame's drawing until the present. Drawing it out before the
// pacing wait leaves the present at the slot only the hand-over of a finished picture: with an
// OpenGL driver that draws on the CPU that is most of the present's time, and it varies.
void finish_drawing() {
    if (!g_screen.renderer || engine_detail::is_headless()) return;
    SDL_RenderFlush(g_screen.renderer);
    if (g_screen.gl_finish) g_screen.gl_finish();
}

// How long before a deadline the wait stops sleeping and starts yielding: the system's sleeps end
// late by a varying amount (a tenth of a millisecond on an idle machine, more under load). It
// follows what the sleeps actually did, rising quickly and falling slowly, within 0.2 to 2 ms,
// so that an idle menu sleeps nearly all of its frame and still meets the boundary.
using Micros = std::chrono::duration<double, std::micro>;
double g_wake_margin_us = 500;

// Waits until millisecs() reads `ms`: on the window's steady clock, asleep to just short of the
// millisecond boundary, then yielding until it has passed, so the wait ends on the boundary itself.
// The headless clock simply moves on.
void wait_until_ms(int ms) {
    if (engine_detail::is_headless()) {
        engine_detail::advance_virtual_ms(ms - engine_detail::now_ms());
        return;
    }
#ifdef __EMSCRIPTEN__
    return;  // a page must never block: its animation callback runs the frames on this schedule
#endif
    const Clock::time_point deadline = engine_detail::ms_instant(ms);
    const Clock::time_point wake =
        deadline - std::chrono::duration_cast<Clock::duration>(Micros(g_wake_margin_us));
    if (Clock::now() < wake) {
        std::this_thread::sleep_until(wake);
        const double late_us = Micros(Clock::now() - wake).count();
        const double want = std::clamp(late_us + 100.0, 200.0, 2000.0);
        g_wake_margin_us += (want - g_wake_margin_us) / (want > g_wake_margin_us ? 4.0 : 16.0);
    }
    while (Clock::now() < deadline) std::this_thread::yield();
}

void start_software_pacing(int hertz) {
    g_pacing.hertz = hertz;
    g_pacing.step = 1000 / hertz;
    g_pacing.fraction = 1000 - g_pacing.step * hertz;
    g_pacing.accumulator = 0;
    g_pacing.next = engine_detail::now_ms();
}

// Waits for the frame's slot: 13, 13, 14 ms ... at 75 Hz, so 75 frames take exactly 1000 ms. A
// late frame moves the schedule to now instead of running short frames to catch up.
void software_pace() {
    g_pacing.next += g_pacing.step;
    g_pacing.accumulator += g_pacing.fraction;
    if (g_pacing.accumulator >= g_pacing.hertz) {
        g_pacing.accumulator -= g_pacing.hertz;
        g_pacing.next += 1;
    }
    const int wait = g_pacing.next - engine_detail::now_ms();
    if (wait > 0) {
        wait_until_ms(g_pacing.next);
    } else {
        g_pacing.next -= wait;
    }
}

// Full screen only: three presents in a row that take one refresh period (within 1 ms) mean the
// display paces us; gives up after a second.
bool probe_hardware_sync(int hertz) {
    set_vsync(1);
    if (g_screen.vsync != 1) return false;
    const int period = 1000 / hertz;
    const int start = engine_detail::now_ms();
    int hits = 0;
    while (engine_detail::now_ms() - start < 1000) {
        const int t0 = engine_detail::now_ms();
        engine_detail::clear_back_buffer();
        SDL_RenderPresent(g_screen.renderer);
        const int took = engine_detail::now_ms() - t0;
        hits = std::abs(took - period) <= 1 ? hits + 1 : 0;
        if (hits == 3) return true;
        engine_detail::pump_events();
    }
    set_vsync(0);
    return false;
}

}  // namespace

namespace engine_detail {

void start_pacing(int hertz, int depth) {
    if (hertz <= 0) return;
    g_pacing.on = true;
    if (depth != 0 && !is_headless()) g_pacing.hardware = probe_hardware_sync(hertz);
    start_software_pacing(hertz);
}

void stop_pacing() { g_pacing = Pacing{}; }

// Vsync goes off with the display's pacing: left on, every present after our own wait would wait
// for the display too, holding the game to its rate or making it jitter.
void leave_hardware_pacing() {
    if (g_pacing.on && g_pacing.hardware) {
        g_pacing.hardware = false;
        set_vsync(0);
        start_software_pacing(g_pacing.hertz);
    }
}

bool paced_in_software(int sync) { return sync == -1 && g_pacing.on && !g_pacing.hardware; }

void wait_for_slot() {
    finish_drawing();
    software_pace();
}

void set_present_sync(int sync, bool paced) {
    if (sync != -1) {
        set_vsync(sync != 0 ? 1 : 0);
    } else if (!paced) {
        set_vsync(g_screen.depth != 0 ? 1 : 0);
    }
}

void log_present() {
    if (!g_present_log_checked) {
        g_present_log_checked = true;
        const char* path = SDL_getenv("CINDER_PRESENT_LOG");
        if (path && *path && !is_headless()) {
            g_present_log = std::fopen(path, "w");
            if (!g_present_log) {
                std::fprintf(stderr, "cinder-arc: %s: cannot write the present log\n", path);
            } else {
                const long long epoch = std::chrono::duration_cast<std::chrono::microseconds>(
                                            std::chrono::system_clock::now().time_since_epoch())
                                            .count();
                std::fprintf(g_present_log, "clock %lld %lld\n", micros(Clock::now()), epoch);
            }
        }
    }
    if (!g_present_log) return;
    std::fprintf(g_present_log, "%lld\n", micros(Clock::now()));
    std::fflush(g_present_log);  // complete after every frame: the script reads it while we run
}

void close_present_log() {
    if (g_present_log) std::fclose(g_present_log);
    g_present_log = nullptr;
}

}  // namespace engine_detail

namespace headless {

void pretend_display_pacing() {
    if (g_pacing.on) g_pacing.hardware = true;
}

int renderer_vsync() { return g_screen.vsync; }

}  // namespace headless
