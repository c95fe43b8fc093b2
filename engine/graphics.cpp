// The screen, pictures and drawing on SDL_Renderer (a window, or a software renderer on an
// off-screen surface), the 75-per-second pacing of flip, and the headless frame controls.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "engine/atlas.h"
#include "engine/bmp.h"
#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/headless.h"

// One texture per picture, its frames laid out with gutters (atlas.h), uploaded once. The pixels
// stay in memory so the texture can be made again for a later screen.
// A software renderer (headless, or the window's fallback) also gets the atlas doubled, made
// once: a frame drawn at scale 2 without rotation is then an unscaled copy of the doubled frame,
// which SDL blits many times faster than a scaled copy, to the same pixels (nearest sampling at
// exactly 2x shows each pixel as a 2 x 2 block either way, and SDL clips a scaled copy by
// scaling it whole first).
struct TImage::Impl {
    SDL_Surface* atlas = nullptr;  // ARGB8888, alpha 0 or 255 only
    std::vector<SDL_Rect> cells;   // each frame's place in the atlas, gutter excluded
    SDL_Texture* texture = nullptr;
    bool filtered = false;
    SDL_Surface* atlas2x = nullptr;  // the atlas doubled, made at the first software upload
    SDL_Texture* texture2x = nullptr;
};

namespace {

using Clock = std::chrono::steady_clock;

// --- Screen -------------------------------------------------------------------------------

struct Screen {
    bool open = false;
    int width = 0, height = 0, depth = 0, hertz = 0;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Surface* target = nullptr;  // headless: the surface the software renderer draws on
    int vsync = -1;                 // what the renderer was last told (-1 unknown)
    bool software = false;          // SDL's software renderer: draws at 2x use the doubled atlases
    void (*gl_finish)() = nullptr;  // the OpenGL renderer's glFinish, to draw before the pacing wait
};

struct Pacing {
    bool on = false;
    bool hardware = false;
    int hertz = 0, step = 0, fraction = 0, accumulator = 0, next = 0;
};

Screen g_screen;
Pacing g_pacing;
std::string g_title;
bool g_render = true;
bool g_presented = false;     // headless: the target holds the picture presented last
bool g_doubled_draws = true;  // off: every frame through the general scaled copy (a reference)

// Drawing state.
float g_rotation = 0, g_scale_x = 1, g_scale_y = 1;
int g_r = 255, g_g = 255, g_b = 255;

// Load settings.
int g_mask_r = 0, g_mask_g = 0, g_mask_b = 0;
bool g_auto_mid_handle = false;
int g_auto_flags = 0;

// Every picture ever loaded, for re-uploading to a new screen. Pictures live until the program
// ends: the registry is never destroyed, so they stay reachable to the very end.
std::vector<TImage*>& g_images = *new std::vector<TImage*>();
TImage* g_font = nullptr;

// Headless frame controls.
int g_frames_begun = 0;
int g_frame_limit = 0;
std::function<void(int)> g_frame_hook, g_present_hook;
std::vector<headless::DrawRecord> g_draw_log;
std::vector<double> g_frame_work_us, g_frame_raster_us, g_frame_present_us;
double g_raster_us = 0;  // the current frame's time inside the drawing calls (headless)
Clock::time_point g_frame_start;
bool g_frame_open = false;

// CINDER_PRESENT_LOG=FILE (window only): one line per present of the frame loop, the microseconds
// of the steady clock when the present returned, for measuring the pacing in the real window
// without anything else running around the game. The first line, "clock STEADY_US EPOCH_US",
// ties that clock to the wall clock, so a script can time the start-up from the exec.
FILE* g_present_log = nullptr;
bool g_present_log_checked = false;

long long micros(std::chrono::time_point<std::chrono::steady_clock> t) {
    return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

void log_present() {
    if (!g_present_log_checked) {
        g_present_log_checked = true;
        const char* path = SDL_getenv("CINDER_PRESENT_LOG");
        if (path && *path && !engine_detail::is_headless()) {
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

// --- Pictures -----------------------------------------------------------------------------

// Each pixel of the atlas as a 2 x 2 block.
SDL_Surface* doubled(const SDL_Surface* a) {
    SDL_Surface* d = SDL_CreateRGBSurfaceWithFormat(0, a->w * 2, a->h * 2, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!d) return nullptr;
    for (int y = 0; y < a->h; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(a->pixels) +
                                                           size_t(y) * size_t(a->pitch));
        auto* out =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(d->pixels) + size_t(2 * y) * size_t(d->pitch));
        for (int x = 0; x < a->w; ++x) out[2 * x] = out[2 * x + 1] = in[x];
        std::memcpy(static_cast<uint8_t*>(d->pixels) + size_t(2 * y + 1) * size_t(d->pitch), out,
                    size_t(d->w) * 4);
    }
    return d;
}

SDL_Texture* make_texture(const TImage* img, SDL_Surface* pixels) {
    SDL_Texture* t = SDL_CreateTextureFromSurface(g_screen.renderer, pixels);
    if (!t) {
        std::fprintf(stderr, "cinder-arc: %s: cannot make a texture: %s\n", img->path.c_str(),
                     SDL_GetError());
        return nullptr;
    }
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t, img->impl->filtered ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return t;
}

void drop_texture(TImage* img) {
    if (img->impl->texture) SDL_DestroyTexture(img->impl->texture);
    if (img->impl->texture2x) SDL_DestroyTexture(img->impl->texture2x);
    img->impl->texture = img->impl->texture2x = nullptr;
}

void upload(TImage* img) {
    TImage::Impl& im = *img->impl;
    drop_texture(img);
    if (!g_screen.renderer || !im.atlas) return;
    im.texture = make_texture(img, im.atlas);
    if (!im.texture || !g_screen.software || im.filtered) return;
    if (!im.atlas2x) im.atlas2x = doubled(im.atlas);
    if (im.atlas2x) im.texture2x = make_texture(img, im.atlas2x);
}

// Frames given as ARGB8888 pixel arrays of w x h, laid out in one texture with gutters.
TImage* make_image(const std::string& path, int w, int h, const std::vector<std::vector<uint32_t>>& frames,
                   int flags) {
    int max_w = 4096;
    SDL_RendererInfo info;
    if (g_screen.renderer && SDL_GetRendererInfo(g_screen.renderer, &info) == 0 && info.max_texture_width > 0)
        max_w = info.max_texture_width;
    engine_detail::Atlas layout = engine_detail::build_atlas(w, h, frames, max_w);
    SDL_Surface* atlas =
        SDL_CreateRGBSurfaceWithFormat(0, layout.width, layout.height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!atlas) return nullptr;
    for (int y = 0; y < layout.height; ++y)
        std::memcpy(static_cast<uint8_t*>(atlas->pixels) + size_t(y) * size_t(atlas->pitch),
                    &layout.pixels[size_t(y) * size_t(layout.width)], size_t(layout.width) * 4);

    TImage* img = new TImage();
    img->path = path;
    img->width = w;
    img->height = h;
    img->frame_count = int(frames.size());
    img->flags = flags;
    img->impl = new TImage::Impl();
    img->impl->atlas = atlas;
    img->impl->filtered = (flags & 2) != 0;
    for (const engine_detail::AtlasCell& c : layout.cells)
        img->impl->cells.push_back(SDL_Rect{c.x, c.y, w, h});
    if (g_auto_mid_handle) {
        img->handle_x = float(w) * 0.5f;
        img->handle_y = float(h) * 0.5f;
    }
    g_images.push_back(img);
    upload(img);
    return img;
}

// Reads and decodes the picture, cuts its cells and finishes their alpha. On failure the reason
// is kept for the one line the game prints (engine_last_error).
TImage* load_cells(const std::string& path, int cell_w, int cell_h, int first, int count, bool whole,
                   int flags) {
    if (flags == -1) flags = g_auto_flags;
    std::vector<uint8_t> bytes;
    std::string why = engine_detail::read_regular_file(path, engine_detail::kMaxPictureFileBytes, bytes);
    engine_detail::Picture pic;
    if (why.empty()) why = engine_detail::decode_bmp(bytes.data(), bytes.size(), pic);
    bytes = std::vector<uint8_t>();
    if (whole) {
        cell_w = pic.width;
        cell_h = pic.height;
        first = 0;
        count = 1;
    }
    const uint32_t key = uint32_t(g_mask_r) << 16 | uint32_t(g_mask_g) << 8 | uint32_t(g_mask_b);
    std::vector<std::vector<uint32_t>> frames;
    if (why.empty()) why = engine_detail::cut_cells(pic, cell_w, cell_h, first, count, flags, key, frames);
    if (!why.empty()) {
        engine_detail::set_last_error(why);
        return nullptr;
    }
    TImage* img = make_image(path, cell_w, cell_h, frames, flags);
    if (!img) engine_detail::set_last_error(std::string("cannot make the picture: ") + SDL_GetError());
    return img;
}

// The debug font as an image of 96 frames of 8 x 16, handle at the top left.
TImage* make_font() {
    std::vector<std::vector<uint32_t>> frames(96, std::vector<uint32_t>(8 * 16, 0x00FFFFFFu));
    for (int code = 32; code < 128; ++code) {
        const char* g = engine_detail::debug_glyph(code);
        int cell = 0;
        for (const char* p = g; *p; ++p) {
            if (*p == ' ') continue;
            const int row = cell / 5, col = cell % 5;
            if (*p == '#')
                for (int dy = 0; dy < 2; ++dy)
                    frames[size_t(code - 32)][size_t(row * 2 + dy) * 8 + size_t(col + 1)] = 0xFFFFFFFFu;
            ++cell;
        }
    }
    const bool mid = g_auto_mid_handle;
    g_auto_mid_handle = false;
    TImage* font = make_image("<debug font>", 8, 16, frames, 1);
    g_auto_mid_handle = mid;
    return font;
}

// --- Drawing ------------------------------------------------------------------------------

void log_draw(headless::DrawRecord r) {
    r.scale_x = g_scale_x;
    r.scale_y = g_scale_y;
    r.rotation = g_rotation;
    r.r = g_r;
    r.g = g_g;
    r.b = g_b;
    g_draw_log.push_back(std::move(r));
}

bool drawing() { return g_screen.renderer && (g_render || !engine_detail::is_headless()); }

// Adds the time of one drawing call to the frame's rasterising (headless only: the software
// renderer draws each call as it is made, while the window's renderer only queues it).
class RasterTime {
  public:
    RasterTime() : on_(engine_detail::is_headless()), t0_(on_ ? Clock::now() : Clock::time_point{}) {}
    ~RasterTime() {
        if (on_) g_raster_us += std::chrono::duration<double, std::micro>(Clock::now() - t0_).count();
    }
    RasterTime(const RasterTime&) = delete;
    RasterTime& operator=(const RasterTime&) = delete;

  private:
    bool on_;
    Clock::time_point t0_;
};

// Whether the renderer draws in screen pixels as given (in a full screen scaled up it does not,
// and a doubled frame scaled again might round differently from the original).
bool unscaled_output() {
    float sx = 1, sy = 1;
    SDL_RenderGetScale(g_screen.renderer, &sx, &sy);
    return sx == 1 && sy == 1;
}

// Places frame `frame` so that its handle lands on (x, y), scaled and then turned clockwise
// about the handle: the corners follow x + u*ix + v*iy, y + u*jx + v*jy.
void render_frame(TImage* img, int frame, float x, float y, float handle_x, float handle_y) {
    TImage::Impl& im = *img->impl;
    if (!im.texture || frame < 0 || frame >= int(im.cells.size())) return;
    const float w = float(img->width), h = float(img->height);
    const float ax = std::fabs(g_scale_x), ay = std::fabs(g_scale_y);
    int flip = SDL_FLIP_NONE;
    float left, top;
    if (g_scale_x >= 0) {
        left = x - handle_x * ax;
    } else {
        left = x - (w - handle_x) * ax;
        flip |= SDL_FLIP_HORIZONTAL;
    }
    if (g_scale_y >= 0) {
        top = y - handle_y * ay;
    } else {
        top = y - (h - handle_y) * ay;
        flip |= SDL_FLIP_VERTICAL;
    }
    const SDL_FRect dst{left, top, w * ax, h * ay};
    const SDL_Rect& src = im.cells[size_t(frame)];
    if (im.texture2x && g_scale_x == 2 && g_scale_y == 2 && g_rotation == 0 && g_doubled_draws &&
        unscaled_output()) {
        // The same destination, so SDL places it exactly as the scaled copy below.
        const SDL_Rect src2{src.x * 2, src.y * 2, src.w * 2, src.h * 2};
        SDL_SetTextureColorMod(im.texture2x, Uint8(g_r), Uint8(g_g), Uint8(g_b));
        SDL_RenderCopyF(g_screen.renderer, im.texture2x, &src2, &dst);
        return;
    }
    SDL_SetTextureColorMod(im.texture, Uint8(g_r), Uint8(g_g), Uint8(g_b));
    if (g_rotation == 0 && flip == SDL_FLIP_NONE) {
        SDL_RenderCopyF(g_screen.renderer, im.texture, &src, &dst);
    } else {
        const SDL_FPoint centre{x - left, y - top};
        SDL_RenderCopyExF(g_screen.renderer, im.texture, &src, &dst, double(g_rotation), &centre,
                          SDL_RendererFlip(flip));
    }
}

void set_vsync(int on) {
    if (!g_screen.renderer || engine_detail::is_headless() || g_screen.vsync == on) return;
    if (SDL_RenderSetVSync(g_screen.renderer, on) == 0) g_screen.vsync = on;
}

void clear_back_buffer() {
    if (!drawing()) return;
    g_presented = false;
    SDL_SetRenderDrawColor(g_screen.renderer, 0, 0, 0, 255);
    SDL_RenderClear(g_screen.renderer);
}

// Shows the back buffer: the window's present, or (headless) a copy of the surface.
void present() {
    if (!g_screen.renderer) return;
    if (engine_detail::is_headless()) {
        // The off-screen surface itself is the presented picture until the next frame clears
        // it: read only when a test or a screenshot asks (presented_pixel, save_presented_bmp).
        if (!g_render) return;
        SDL_RenderFlush(g_screen.renderer);
        g_presented = true;
    } else {
        SDL_RenderPresent(g_screen.renderer);
    }
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
        clear_back_buffer();
        SDL_RenderPresent(g_screen.renderer);
        const int took = engine_detail::now_ms() - t0;
        hits = std::abs(took - period) <= 1 ? hits + 1 : 0;
        if (hits == 3) return true;
        engine_detail::pump_events();
    }
    set_vsync(0);
    return false;
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

bool open_offscreen(int width, int height) {
    g_screen.target = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!g_screen.target) return false;
    g_screen.renderer = SDL_CreateSoftwareRenderer(g_screen.target);
    g_screen.software = true;
    return g_screen.renderer != nullptr;
}

void close_screen() {
    for (TImage* img : g_images) drop_texture(img);
    if (g_screen.renderer) SDL_DestroyRenderer(g_screen.renderer);
    if (g_screen.window) SDL_DestroyWindow(g_screen.window);
    if (g_screen.target) SDL_FreeSurface(g_screen.target);
    g_screen = Screen{};
    g_pacing = Pacing{};
}

}  // namespace

namespace engine_detail {

int current_frame() { return g_frames_begun - 1; }

SDL_Window* screen_window() { return g_screen.window; }
SDL_Renderer* screen_renderer() { return g_screen.renderer; }
int screen_width() { return g_screen.width; }
int screen_height() { return g_screen.height; }

int screen_depth() { return g_screen.depth; }

void note_screen_depth(int depth) {
    g_screen.depth = depth;
    // The display's pacing was measured for full screen only: a window paces itself.
    if (g_pacing.on && g_pacing.hardware) {
        g_pacing.hardware = false;
        start_software_pacing(g_pacing.hertz);
    }
}

void fill_picture_image(TImage*& img, const std::vector<uint32_t>& argb, int w, int h) {
    if (img && (img->width != w || img->height != h)) img = nullptr;  // the old one stays listed
    if (!img) {
        const bool mid = g_auto_mid_handle;
        g_auto_mid_handle = true;
        img = make_image("<picture>", w, h, {argb}, 0);
        g_auto_mid_handle = mid;
        return;
    }
    SDL_Surface* atlas = img->impl->atlas;
    const SDL_Rect& cell = img->impl->cells[0];
    for (int y = 0; y < h; ++y)
        std::memcpy(static_cast<uint8_t*>(atlas->pixels) + size_t(cell.y + y) * size_t(atlas->pitch) +
                        size_t(cell.x) * 4,
                    &argb[size_t(y) * size_t(w)], size_t(w) * 4);
    upload(img);
}

void graphics_close() {
    close_screen();
    g_presented = false;
    if (g_present_log) std::fclose(g_present_log);
    g_present_log = nullptr;
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
    for (TImage* img : g_images) upload(img);
    if (!g_font) g_font = make_font();  // made (and uploaded) once, after the pictures above
    for (int i = 0; i < 2; ++i) {
        clear_back_buffer();
        present();
    }
    if (hertz > 0) {
        g_pacing.on = true;
        if (depth != 0 && !engine_detail::is_headless()) g_pacing.hardware = probe_hardware_sync(hertz);
        start_software_pacing(hertz);
    }
    return true;
}

void hide_mouse() {
    if (!engine_detail::is_headless() && engine_detail::initialised()) SDL_ShowCursor(SDL_DISABLE);
}

void cls() {
    const int frame = g_frames_begun++;
    g_draw_log.clear();
    if (g_frame_hook) g_frame_hook(frame);
    g_frame_start = Clock::now();
    g_frame_open = true;
    if (!engine_detail::is_headless()) engine_detail::fit_picture();
    g_raster_us = 0;
    RasterTime t;
    clear_back_buffer();
}

void flip(int sync) {
    const bool timed = engine_detail::is_headless() && g_frame_open;
    if (timed) {
        g_frame_work_us.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - g_frame_start).count());
        g_frame_raster_us.push_back(g_raster_us);
    }
    g_frame_open = false;
    const int frame = g_frames_begun - 1;
    engine_detail::pump_events();
    // Software pacing waits for the frame's slot first and presents then, so that frames appear
    // at their slots however long each frame's work took.
    const bool paced = sync == -1 && g_pacing.on && !g_pacing.hardware;
    if (paced) {
        finish_drawing();
        software_pace();
    }
    const Clock::time_point present_start = Clock::now();
    if (sync != -1) {
        set_vsync(sync != 0 ? 1 : 0);
    } else if (!paced) {
        set_vsync(g_screen.depth != 0 ? 1 : 0);
    }
    present();
    if (timed)
        g_frame_present_us.push_back(
            std::chrono::duration<double, std::micro>(Clock::now() - present_start).count());
    log_present();
    if (g_present_hook) g_present_hook(frame);
    if (engine_detail::is_headless() && g_frame_limit > 0 && g_frames_begun >= g_frame_limit)
        throw ProgramExit{0, "frames"};
}

void set_mask_color(int r, int g, int b) {
    g_mask_r = r & 255;
    g_mask_g = g & 255;
    g_mask_b = b & 255;
}

void auto_mid_handle(int on) { g_auto_mid_handle = on != 0; }

void auto_image_flags(int flags) {
    if (flags != -1) g_auto_flags = flags;
}

TImage* load_image(const std::string& path, int flags) { return load_cells(path, 0, 0, 0, 1, true, flags); }

TImage* load_anim_image(const std::string& path, int cell_w, int cell_h, int first, int count, int flags) {
    return load_cells(path, cell_w, cell_h, first, count, false, flags);
}

void draw_image(TImage* image, float x, float y, int frame) {
    if (!image || !image->impl) return;
    if (engine_detail::is_headless()) {
        headless::DrawRecord r;
        r.kind = headless::DrawRecord::image;
        r.img = image;
        r.frame = frame;
        r.x = x;
        r.y = y;
        log_draw(std::move(r));
    }
    if (!drawing()) return;
    RasterTime t;
    render_frame(image, frame, x, y, image->handle_x, image->handle_y);
}

void set_rotation(float degrees) { g_rotation = degrees; }

void set_scale(float sx, float sy) {
    g_scale_x = sx;
    g_scale_y = sy;
}

void set_color(int r, int g, int b) {
    g_r = std::clamp(r, 0, 255);
    g_g = std::clamp(g, 0, 255);
    g_b = std::clamp(b, 0, 255);
}

void draw_rect(float x, float y, float w, float h) {
    if (engine_detail::is_headless()) {
        headless::DrawRecord r;
        r.kind = headless::DrawRecord::rect;
        r.x = x;
        r.y = y;
        r.w = w;
        r.h = h;
        log_draw(std::move(r));
    }
    // An empty rectangle covers nothing (SDL would still paint a one-pixel line for it).
    if (!drawing() || w == 0.0f || h == 0.0f) return;
    RasterTime t;
    SDL_Renderer* ren = g_screen.renderer;
    SDL_SetRenderDrawColor(ren, Uint8(g_r), Uint8(g_g), Uint8(g_b), 255);
    if (g_rotation == 0) {
        const float x1 = x + w * g_scale_x, y1 = y + h * g_scale_y;
        const SDL_FRect rect{std::min(x, x1), std::min(y, y1), std::fabs(x1 - x), std::fabs(y1 - y)};
        SDL_RenderFillRectF(ren, &rect);
        return;
    }
    // A turned rectangle: two triangles through the matrix.
    const double rad = double(g_rotation) * 0.017453292519943295;
    const float c = float(std::cos(rad)), s = float(std::sin(rad));
    const float ix = c * g_scale_x, iy = -s * g_scale_y, jx = s * g_scale_x, jy = c * g_scale_y;
    const SDL_Color col{Uint8(g_r), Uint8(g_g), Uint8(g_b), 255};
    const float us[4] = {0, w, w, 0}, vs[4] = {0, 0, h, h};
    SDL_Vertex v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = SDL_Vertex{SDL_FPoint{x + us[i] * ix + vs[i] * iy, y + us[i] * jx + vs[i] * jy}, col,
                          SDL_FPoint{0, 0}};
    const int idx[6] = {0, 1, 2, 0, 2, 3};
    SDL_RenderGeometry(ren, nullptr, v, 4, idx, 6);
}

void draw_text(const std::string& text, float x, float y) {
    if (engine_detail::is_headless()) {
        headless::DrawRecord r;
        r.kind = headless::DrawRecord::debug_text;
        r.x = x;
        r.y = y;
        r.text = text;
        log_draw(std::move(r));
    }
    if (!drawing() || !g_font) return;
    RasterTime t;
    const double rad = double(g_rotation) * 0.017453292519943295;
    const float ix = float(std::cos(rad)) * g_scale_x, jx = float(std::sin(rad)) * g_scale_x;
    int pen = 0;  // in glyph space; characters outside 32..127 neither draw nor advance
    for (unsigned char ch : text) {
        if (ch < 32 || ch > 127) continue;
        const float u = float(pen);
        render_frame(g_font, ch - 32, x + u * ix, y + u * jx, 0, 0);
        pen += 8;
    }
}

namespace headless {

void set_render(bool on) { g_render = on; }
bool render_enabled() { return g_render; }
int frames_begun() { return g_frames_begun; }
void set_frame_limit(int n) { g_frame_limit = n > 0 ? n : 0; }
void set_frame_hook(std::function<void(int)> hook) { g_frame_hook = std::move(hook); }
void set_present_hook(std::function<void(int)> hook) { g_present_hook = std::move(hook); }
const std::vector<DrawRecord>& draw_log() { return g_draw_log; }
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

uint64_t presented_hash() {
    const SDL_Surface* s = g_screen.target;
    uint64_t h = 14695981039346656037ull;  // FNV-1a over 0xRRGGBB, row by row
    if (!g_presented || !s) return h;
    for (int y = 0; y < s->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(s->pixels) +
                                                            size_t(y) * size_t(s->pitch));
        for (int x = 0; x < s->w; ++x) h = (h ^ (row[x] & 0xFFFFFFu)) * 1099511628211ull;
    }
    return h;
}

void set_doubled_draws(bool on) { g_doubled_draws = on; }

}  // namespace headless
