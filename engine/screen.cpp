// The screen: opening and closing it, graphics, cls, flip and present, and the headless frame controls.
#include <SDL.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/graphics_internal.h"
#include "engine/headless.h"

namespace engine_detail {

Screen g_screen;

}  // namespace engine_detail

namespace {

using Clock = std::chrono::steady_clock;
using engine_detail::g_screen;

std::string g_title;
bool g_presented = false;  // headless: the target holds the picture presented last

// Headless frame controls.
int g_frames_begun = 0;
int g_frame_limit = 0;
std::function<void(int)> g_frame_hook, g_present_hook;
std::vector<double> g_frame_work_us, g_frame_raster_us, g_frame_present_us;
Clock::time_point g_frame_start;
bool g_frame_open = false;

// Shows the back buffer: the window's present, or (headless) a copy of the surface.
void present() {
    if (!g_screen.renderer) return;
    if (engine_detail::is_headless()) {
        // The off-screen surface itself is the presented picture until the next frame clears
        // it: read only when a test or a screenshot asks (presented_pixel, save_presented_bmp).
        if (!headless::render_enabled()) return;
        SDL_RenderFlush(g_screen.renderer);
        g_presented = true;
    } else {
        SDL_RenderPresent(g_screen.renderer);
    }
}

// The window opens as a window; full screen, the minimum size and the scaling are set once the
// renderer exists (window.cpp), because an OpenGL renderer re-creates the window and drops them.
bool open_window(int width, int height, int depth) {
    const Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    // Made for OpenGL from the start: SDL's OpenGL renderer would otherwise destroy the window and
    // make it again, which costs a good part of the start-up. Without OpenGL, a plain window.
    g_screen.window = SDL_CreateWindow(g_title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                                       height, flags | SDL_WINDOW_OPENGL);
    if (!g_screen.window)
        g_screen.window = SDL_CreateWindow(g_title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                           width, height, flags);
    if (!g_screen.window) return false;
    g_screen.renderer = SDL_CreateRenderer(g_screen.window, -1, SDL_RENDERER_ACCELERATED);
    if (!g_screen.renderer)
        g_screen.renderer = SDL_CreateRenderer(g_screen.window, -1, SDL_RENDERER_SOFTWARE);
    if (!g_screen.renderer) return false;
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(g_screen.renderer, &info) == 0) {
        g_screen.software = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
        if (SDL_strncmp(info.name, "opengl", 6) == 0)
            g_screen.gl_finish = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"));
    }
    SDL_RenderSetVSync(g_screen.renderer, 0);
    g_screen.vsync = 0;
    g_screen.width = width;
    g_screen.height = height;
    engine_detail::window_ready(width, height, depth);
    return true;
}

// Headless: SDL's software renderer, drawing on a surface of the screen's size.
bool open_offscreen(int width, int height) {
    g_screen.target = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!g_screen.target) return false;
    g_screen.renderer = SDL_CreateSoftwareRenderer(g_screen.target);
    g_screen.software = true;
    return g_screen.renderer != nullptr;
}

void close_screen() {
    engine_detail::drop_textures();
    if (g_screen.renderer) SDL_DestroyRenderer(g_screen.renderer);
    if (g_screen.window) SDL_DestroyWindow(g_screen.window);
    if (g_screen.target) SDL_FreeSurface(g_screen.target);
    g_screen = engine_detail::Screen{};
    engine_detail::stop_pacing();
}

}  // namespace

namespace engine_detail {

void clear_back_buffer() {
    if (!drawing()) return;
    g_presented = false;
    SDL_SetRenderDrawColor(g_screen.renderer, 0, 0, 0, 255);
    SDL_RenderClear(g_screen.renderer);
}

int current_frame() { return g_frames_begun - 1; }

SDL_Window* screen_window() { return g_screen.window; }
SDL_Renderer* screen_renderer() { return g_screen.renderer; }
int screen_width() { return g_screen.width; }
int screen_height() { return g_screen.height; }

int screen_depth() { return g_screen.depth; }

void note_screen_depth(int depth) {
    g_screen.depth = depth;
    leave_hardware_pacing();
}

void graphics_close() {
    close_screen();
    g_presented = false;
    close_present_log();
}

}  // namespace engine_detail

void app_title(const std::string& title) {
    g_title = title;
    if (g_screen.window) SDL_SetWindowTitle(g_screen.window, title.c_str());
}

bool graphics(int width, int height, int depth, int hertz, int /*flags*/) {
    close_screen();
    if (!engine_detail::initialised() || width <= 0 || height <= 0) {
        engine_detail::set_last_error("the engine is not started or the screen size is not valid");
        return false;
    }
    const bool ok =
        engine_detail::is_headless() ? open_offscreen(width, height) : open_window(width, height, depth);
    if (!ok) {
        engine_detail::set_last_error(SDL_GetError());
        close_screen();
        return false;
    }
    SDL_SetRenderDrawBlendMode(g_screen.renderer, SDL_BLENDMODE_NONE);
    g_screen.open = true;
    g_screen.width = width;
    g_screen.height = height;
    g_screen.depth = depth;
    g_screen.hertz = hertz;
    engine_detail::upload_pictures();
    engine_detail::make_debug_font();  // made (and uploaded) once, after the pictures above
    for (int i = 0; i < 2; ++i) {
        engine_detail::clear_back_buffer();
        present();
    }
    engine_detail::start_pacing(hertz, depth);
    return true;
}

void hide_mouse() {
    if (!engine_detail::is_headless() && engine_detail::initialised()) SDL_ShowCursor(SDL_DISABLE);
}

void cls() {
    engine_detail::wait_for_frame_start();
    engine_detail::open_frame_input();
    const int frame = g_frames_begun++;
    engine_detail::clear_draw_log();
    if (g_frame_hook) g_frame_hook(frame);
    g_frame_start = Clock::now();
    g_frame_open = true;
    if (!engine_detail::is_headless()) engine_detail::fit_picture();
    engine_detail::reset_raster_time();
    engine_detail::RasterTime t;
    engine_detail::clear_back_buffer();
}

void clear_picture() {
    engine_detail::clear_draw_log();
    engine_detail::clear_back_buffer();
}

void flip(int sync) {
    engine_detail::note_work_end();
    const bool timed = engine_detail::is_headless() && g_frame_open;
    if (timed) {
        g_frame_work_us.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - g_frame_start).count());
        g_frame_raster_us.push_back(engine_detail::raster_time_us());
    }
    g_frame_open = false;
    const int frame = g_frames_begun - 1;
    engine_detail::pump_events();
    // Software pacing waits for the frame's slot first and presents then, so that frames appear
    // at their slots however long each frame's work took.
    const bool paced = engine_detail::paced_in_software(sync);
    if (paced) engine_detail::wait_for_slot();
    const Clock::time_point present_start = Clock::now();
    engine_detail::set_present_sync(sync, paced);
    present();
    engine_detail::note_present(present_start);
    if (timed)
        g_frame_present_us.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - present_start).count());
    engine_detail::log_present();
    engine_detail::music_tick();
    if (g_present_hook) g_present_hook(frame);
    if (engine_detail::is_headless() && g_frame_limit > 0 && g_frames_begun >= g_frame_limit)
        throw ProgramExit{0, "frames"};
}

namespace headless {

int frames_begun() { return g_frames_begun; }
void set_frame_limit(int n) { g_frame_limit = n > 0 ? n : 0; }
void set_frame_hook(std::function<void(int)> hook) { g_frame_hook = std::move(hook); }
void set_present_hook(std::function<void(int)> hook) { g_present_hook = std::move(hook); }
const std::vector<double>& frame_work_us() { return g_frame_work_us; }
const std::vector<double>& frame_raster_us() { return g_frame_raster_us; }
const std::vector<double>& frame_present_us() { return g_frame_present_us; }

uint32_t presented_pixel(int x, int y) {
    const SDL_Surface* s = g_screen.target;
    if (!g_presented || !s || x < 0 || y < 0 || x >= s->w || y >= s->h) return 0;
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                        size_t(y) * size_t(s->pitch));
    return row[x] & 0xFFFFFFu;
}

bool save_presented_bmp(const std::string& path) {
    if (!g_presented || !g_screen.target) return false;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(g_screen.target, SDL_PIXELFORMAT_RGB24, 0);
    if (!s) return false;
    const bool ok = SDL_SaveBMP(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    return ok;
}

std::vector<uint32_t> presented_picture() {
    const SDL_Surface* s = g_screen.target;
    if (!g_presented || !s) return {};
    std::vector<uint32_t> pixels(size_t(s->w) * size_t(s->h));
    for (int y = 0; y < s->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                            size_t(y) * size_t(s->pitch));
        for (int x = 0; x < s->w; ++x) pixels[size_t(y) * size_t(s->w) + size_t(x)] = row[x] & 0xFFFFFFu;
    }
    return pixels;
}

}  // namespace headless
