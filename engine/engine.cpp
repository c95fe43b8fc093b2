// Engine start-up and shutdown, the program's two ways out, and the millisecond clock.
#include "engine/engine.h"

#include <SDL.h>

#include <chrono>
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

bool engine_init(Backend backend) {
    if (g_initialised) {
        if (backend == g_backend) return true;
        engine_shutdown();
    }
    g_backend = backend;
    g_last_error.clear();
    // Drawing calls are queued and sent in batches; both backends draw through SDL_Renderer.
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
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
        if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
            g_last_error = SDL_GetError();
            std::fprintf(stderr, "cinder-arc: cannot start SDL: %s\n", g_last_error.c_str());
            return false;
        }
        // With no display to reach, SDL quietly falls back to its offscreen driver and the game
        // would run in a window nobody can see. Take that driver only when it was asked for.
        const char* driver = SDL_GetCurrentVideoDriver();
        const char* asked = SDL_getenv("SDL_VIDEODRIVER");
        bool invisible = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
        if (invisible && !(asked && SDL_strcasecmp(asked, driver) == 0)) {
            g_last_error = "no display to open a window on (is DISPLAY or WAYLAND_DISPLAY set?)";
            std::fprintf(stderr, "cinder-arc: %s\n", g_last_error.c_str());
            SDL_Quit();
            return false;
        }
    }
    g_initialised = true;
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
    g_initialised = false;
}

Backend engine_backend() { return g_backend; }

void end_program() { throw ProgramExit{0, "quit"}; }

void fatal_error(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "cinder-arc: %s\n", message.c_str());
    std::fflush(stderr);
    std::exit(1);
}

int millisecs() { return engine_detail::now_ms(); }

namespace headless {

int virtual_ms() { return g_virtual_ms; }
void advance_ms(int ms) { engine_detail::advance_virtual_ms(ms); }

}  // namespace headless
