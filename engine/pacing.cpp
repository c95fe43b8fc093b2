// Frame pacing: the slot schedule, the late start of each frame, the wait and its margin, vsync,
// the hardware-sync probe, the present log.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <utility>

#include "engine/engine_internal.h"
#include "engine/graphics_internal.h"
#include "engine/late_start.h"

namespace {

using engine_detail::g_screen;

struct Pacing {
    bool on = false;
    bool hardware = false;
    int hertz = 0, step = 0, fraction = 0, accumulator = 0, next = 0;
};

Pacing g_pacing;

// The late start: a frame waits first, then reads its input, runs and presents at its slot, so
// that a key pressed during the wait is in the very next picture. It begins its work the margin
// before the slot that its recent frames needed. The headless runner keeps it off unless a test
// asks: there frames cost no time, and the clock readings of its frames stay as they were.
bool g_late_start = false;
bool g_late_start_headless = false;
engine_detail::LateStartMargin g_margin;
using Clock = std::chrono::steady_clock;
Clock::time_point g_work_begin, g_work_end, g_last_present;
// Where the frame's cost is counted from: when its work was due to begin, or when it began if
// that was earlier. A wait that ends late (a loaded machine lets the wait's thread run only
// after its deadline) is then part of the cost, so the margin grows to cover it too.
Clock::time_point g_cost_from;
int g_late_wake_ms = 0;     // headless: the next wait ends this late, standing for such a machine
bool g_work_timed = false;  // the frame's work began after a late-start wait, so its cost counts
double g_present_us = 0;
int g_presses_seen = 0;       // key presses taken in by the frame's input step
double g_margin_used_us = 0;  // the margin the frame's late start began by

// CINDER_PRESENT_LOG=FILE (window only): one line per present of the frame loop, the microseconds
// of the steady clock when the present returned, the number of key presses the frame's input
// step had taken in (the count at its first pump), the microseconds of its work (late start on: from the end
// of its wait to the present's start) and of its present, and the late start's margin it began by (0 when
// off), for measuring the pacing and the key-to-picture time in the
// real window without anything else running around the game. The first line, "clock STEADY_US EPOCH_US", ties
// that clock to the wall clock, so a script can time the start-up from the exec.
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
void wait_until(Clock::time_point deadline) {
#ifdef __EMSCRIPTEN__
    (void)deadline;
    return;  // a page must never block: its animation callback runs the frames on this schedule
#endif
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

void wait_until_ms(int ms) {
    if (engine_detail::is_headless()) {
        engine_detail::advance_virtual_ms(ms - engine_detail::now_ms());
        return;
    }
    wait_until(engine_detail::ms_instant(ms));
}

// The clock the schedule runs on: the virtual one headless (whole milliseconds), the steady one
// in the window.
Clock::time_point pacing_now() {
    return engine_detail::is_headless()
               ? Clock::time_point(std::chrono::milliseconds(engine_detail::now_ms()))
               : Clock::now();
}

// The slot software_pace will wait for next, without moving the schedule.
int next_slot_ms() {
    int next = g_pacing.next + g_pacing.step;
    if (g_pacing.accumulator + g_pacing.fraction >= g_pacing.hertz) next += 1;
    return next;
}

double micros_between(Clock::time_point a, Clock::time_point b) { return Micros(b - a).count(); }

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

// In a page the browser's animation callback paces the frames, and a present there never waits
// for the display: the probe below could only spin out its second before the first picture.
#ifdef __EMSCRIPTEN__
constexpr bool kPagePaced = true;
#else
constexpr bool kPagePaced = false;
#endif

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
    if (depth != 0 && !is_headless() && !kPagePaced) g_pacing.hardware = probe_hardware_sync(hertz);
    start_software_pacing(hertz);
}

void stop_pacing() {
    g_pacing = Pacing{};
    g_margin.clear();
    g_last_present = Clock::time_point{};
}

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
    g_work_end = pacing_now();
    software_pace();
}

void wait_for_frame_start() {
    g_work_timed = false;
    g_margin_used_us = 0;
    const Clock::time_point entered = pacing_now();
    g_work_begin = entered;
    const bool on = g_late_start && g_pacing.on && (!is_headless() || g_late_start_headless);
    if (!on) return;
    Clock::time_point slot;
    double slot_us = 0;
    if (g_pacing.hardware) {
        // The display paces the presents: the next one comes a refresh period after the last.
        if (g_last_present == Clock::time_point{}) return;
        slot_us = 1e6 / g_pacing.hertz;
        slot = g_last_present + std::chrono::duration_cast<Clock::duration>(Micros(slot_us));
    } else {
        const int ms = next_slot_ms();
        slot =
            is_headless() ? Clock::time_point(std::chrono::milliseconds(ms)) : engine_detail::ms_instant(ms);
        slot_us = g_pacing.step * 1000.0;
    }
    g_margin_used_us = g_margin.margin_us(slot_us);
    const Clock::time_point begin =
        slot - std::chrono::duration_cast<Clock::duration>(Micros(g_margin_used_us));
    if (is_headless()) {
        // Whole virtual milliseconds: rather a little early than late.
        const int at =
            int(std::chrono::duration_cast<std::chrono::milliseconds>(begin.time_since_epoch()).count());
        if (at > now_ms()) advance_virtual_ms(at - now_ms());
        advance_virtual_ms(std::exchange(g_late_wake_ms, 0));
    } else if (Clock::now() < begin) {
        wait_until(begin);
    }
    g_work_begin = pacing_now();
    g_work_end = g_work_begin;
    g_cost_from = std::min(g_work_begin, std::max(begin, entered));
    g_work_timed = true;
}

void note_work_end() {
    g_work_end = pacing_now();
    g_presses_seen = key_presses_seen_by_frame();
}

void note_present(Clock::time_point present_start) {
    const Clock::time_point end = pacing_now();
    // For the present log only: headless a present costs no virtual time; under the display's
    // pacing it holds the wait for the refresh, which is no cost of ours.
    g_present_us = is_headless() || g_pacing.hardware ? 0.0 : micros_between(present_start, end);
    g_last_present = end;
    if (g_work_timed) g_margin.record(micros_between(g_cost_from, g_work_end));
    g_work_timed = false;
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
    std::fprintf(g_present_log, "%lld %d %.0f %.0f %.0f\n", micros(Clock::now()), g_presses_seen,
                 micros_between(g_work_begin, g_work_end), g_present_us, g_margin_used_us);
    std::fflush(g_present_log);  // complete after every frame: the script reads it while we run
}

void close_present_log() {
    if (g_present_log) std::fclose(g_present_log);
    g_present_log = nullptr;
}

}  // namespace engine_detail

void set_late_start(bool on) { g_late_start = on; }

namespace headless {

void allow_late_start(bool on) { g_late_start_headless = on; }
double late_start_margin_us() { return g_margin.margin_us(g_pacing.step * 1000.0); }
void late_wake_ms(int ms) { g_late_wake_ms = ms; }

void pretend_display_pacing() {
    if (g_pacing.on) g_pacing.hardware = true;
}

int renderer_vsync() { return g_screen.vsync; }

}  // namespace headless
