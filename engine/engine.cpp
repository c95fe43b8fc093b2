// Engine start-up and shutdown, the program's ways out (with the save hook and the signals that
// ask the program to end), and the millisecond clock.
#include "engine/engine.h"

#include <SDL.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "engine/engine_internal.h"
#include "engine/headless.h"

namespace {

bool g_initialised = false;
Backend g_backend = Backend::window;
std::string g_last_error;
int g_virtual_ms = 0;
// The window's clock counts from here. The steady clock (not SDL's millisecond ticks) lets the
// pacing wait end on a millisecond boundary itself rather than up to a millisecond after it.
std::chrono::steady_clock::time_point g_origin = std::chrono::steady_clock::now();
void (*g_exit_hook)() = nullptr;

// The last of SIGHUP, SIGINT, SIGTERM received; the handler does nothing else, and the frame
// loop ends through app_terminate and saves as for a closed window.
volatile std::sig_atomic_t g_signal = 0;
std::sig_atomic_t g_signal_seen = 0;  // what app_terminate has already reported

extern "C" void note_signal(int signo) { g_signal = signo; }

constexpr int kEndSignals[] = {SIGHUP, SIGINT, SIGTERM};
bool g_handled[3] = {};

// A signal ignored when the program started (nohup, a background job of a script) stays ignored.
void install_signal_handlers() {
    struct sigaction sa {};
    sa.sa_handler = note_signal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;  // a read or write in progress goes on rather than failing
    for (int i = 0; i < 3; ++i) {
        struct sigaction old {};
        g_handled[i] = sigaction(kEndSignals[i], nullptr, &old) == 0 && old.sa_handler != SIG_IGN &&
                       sigaction(kEndSignals[i], &sa, nullptr) == 0;
    }
}

void restore_signal_handlers() {
    for (int i = 0; i < 3; ++i)
        if (g_handled[i]) std::signal(kEndSignals[i], SIG_DFL);
}

}  // namespace

namespace engine_detail {

bool initialised() { return g_initialised; }
bool is_headless() { return g_backend == Backend::headless; }
void set_last_error(const std::string& text) { g_last_error = text; }

int now_ms() {
    if (is_headless()) return g_virtual_ms;
    return int(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - g_origin)
            .count());
}

std::chrono::steady_clock::time_point ms_instant(int ms) { return g_origin + std::chrono::milliseconds(ms); }

void advance_virtual_ms(int ms) {
    if (ms > 0) g_virtual_ms += ms;
}

}  // namespace engine_detail

namespace {

void set_start_hints() {
    // SDL would turn SIGINT and SIGTERM (not SIGHUP) into a quit event; the engine takes all three
    // itself, in both backends, so that each ends the game through the same saving way out.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Drawing calls are queued and sent in batches; both backends draw through SDL_Renderer.
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
}

// With a display to reach, SDL's driver can still fail to open it for a moment: an X server that
// resets when its last client leaves (Xvfb does by default) refuses connections meanwhile, and a
// first start right after installation is slow enough to meet that. So a failed open is tried
// again for about two seconds before the game says there is no display.
bool start_video() {
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    const char* x_display = SDL_getenv("DISPLAY");
    const char* wayland_display = SDL_getenv("WAYLAND_DISPLAY");
    const bool display_named = x_display || wayland_display;
    for (int attempt = 0;; ++attempt) {
        set_start_hints();
        // A retry on X alone asks for X alone: probing the other drivers again only repeats their
        // complaints (a missing XDG_RUNTIME_DIR, for one).
        if (attempt > 0 && !asked && x_display && !wayland_display) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) == 0) {
            // With no display to reach, SDL quietly falls back to its offscreen driver and the game
            // would run in a window nobody can see. Take that driver only when it was asked for.
            const char* driver = SDL_GetCurrentVideoDriver();
            const bool invisible =
                driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
            if (!invisible || (asked && SDL_strcasecmp(asked, driver) == 0)) return true;
            g_last_error = display_named
                               ? "cannot open a window on the display (is DISPLAY or WAYLAND_DISPLAY right?)"
                               : "no display to open a window on (is DISPLAY or WAYLAND_DISPLAY set?)";
        } else {
            g_last_error = std::string("cannot start SDL: ") + SDL_GetError();
        }
        SDL_Quit();  // also forgets the hints, which the next attempt sets again
        if (!display_named || attempt == 10) break;
        SDL_Delay(200);
    }
    std::fprintf(stderr, "cinder-arc: %s\n", g_last_error.c_str());
    return false;
}

}  // namespace

bool engine_init(Backend backend) {
    if (g_initialised) {
        if (backend == g_backend) return true;
        engine_shutdown();
    }
    g_backend = backend;
    g_last_error.clear();
    set_start_hints();
    if (backend == Backend::headless) {
        // No window, no audio device, no event queue: only surfaces, the software renderer and
        // the format converters, none of which needs a subsystem.
        if (SDL_Init(0) != 0) {
            std::fprintf(stderr, "cinder-arc: cannot start SDL: %s\n", SDL_GetError());
            return false;
        }
        g_virtual_ms = 0;
    } else {
        g_origin = std::chrono::steady_clock::now();
        if (!start_video()) return false;
    }
    g_initialised = true;
    g_signal = 0;
    g_signal_seen = 0;
    install_signal_handlers();
    engine_detail::input_open();
    engine_detail::sound_open(backend == Backend::window);
    return true;
}

const char* engine_last_error() {
    if (!g_last_error.empty()) return g_last_error.c_str();
    return SDL_GetError();
}

void engine_shutdown() {
    if (!g_initialised) return;
    engine_detail::sound_close();
    engine_detail::graphics_close();
    engine_detail::input_close();
    SDL_Quit();
    restore_signal_handlers();
    g_initialised = false;
}

Backend engine_backend() { return g_backend; }

void end_program() { throw ProgramExit{0, "quit"}; }

void set_exit_hook(void (*hook)()) { g_exit_hook = hook; }

void run_exit_hook() {
    // Taken off first: a failure inside the hook must not run it again.
    void (*hook)() = g_exit_hook;
    g_exit_hook = nullptr;
    if (hook) hook();
}

void fatal_error(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "cinder-arc: %s\n", message.c_str());
    std::fflush(stderr);
    run_exit_hook();
    std::fflush(stderr);
    std::exit(1);
}

int termination_signal() { return int(g_signal); }

namespace engine_detail {

bool take_termination_signal() {
    const std::sig_atomic_t now = g_signal;
    if (now == 0 || now == g_signal_seen) return false;
    g_signal_seen = now;
    return true;
}

}  // namespace engine_detail

int millisecs() { return engine_detail::now_ms(); }

namespace headless {

int virtual_ms() { return g_virtual_ms; }
void advance_ms(int ms) { engine_detail::advance_virtual_ms(ms); }

}  // namespace headless
