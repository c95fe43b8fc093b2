// What the screen, pacing, pictures and drawing modules share (never included outside engine/).
#pragma once

#include <SDL.h>

#include <chrono>
#include <vector>

#include "engine/cell_blit.h"
#include "engine/engine.h"
#include "engine/engine_internal.h"

// One texture per picture, its frames laid out with gutters (atlas.h), uploaded once. The pixels
// stay in memory so the texture can be made again for a later screen.
// A software renderer (headless, or the window's fallback) also gets the atlas doubled, made
// once: a frame drawn at scale 2 without rotation is then an unscaled copy of the doubled frame,
// which SDL blits many times faster than a scaled copy, to the same pixels (nearest sampling at
// exactly 2x shows each pixel as a 2 x 2 block either way, and SDL clips a scaled copy by
// scaling it whole first). Headless, such a copy of an untinted cell goes straight into the
// target surface, by the cell's alpha as sorted at load: SDL's per-pixel blending is then the
// larger part of the cost and changes nothing, since every alpha is 0 or 255.
struct TImage::Impl {
    SDL_Surface* atlas = nullptr;  // ARGB8888, alpha 0 or 255 only
    std::vector<SDL_Rect> cells;   // each frame's place in the atlas, gutter excluded
    SDL_Texture* texture = nullptr;
    bool filtered = false;
    SDL_Surface* atlas2x = nullptr;  // the atlas doubled, made at the first software upload
    SDL_Texture* texture2x = nullptr;
    std::vector<engine_detail::CellAlpha> cell_alpha;  // per frame, from the atlas
    SDL_Surface* floor2x[2] = {};  // the benchmark's floor: atlas2x for SDL's plain and keyed blits
};

namespace engine_detail {

// The screen (screen.cpp).
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
extern Screen g_screen;

void clear_back_buffer();

// Pacing (pacing.cpp). Starting probes the display's own pacing in full screen; stopping forgets
// the schedule with the screen.
void start_pacing(int hertz, int depth);
void stop_pacing();
// The display's pacing was measured for full screen only: back in a window, we pace ourselves.
void leave_hardware_pacing();
// Whether flip(sync) waits for its slot itself, rather than leaving that to the display.
bool paced_in_software(int sync);
void wait_for_slot();
// The late start: cls waits here until its frame's work should begin (at once when it is off);
// flip notes where the work ended and when the present returned, to measure the frame's cost.
void wait_for_frame_start();
void note_work_end();
void note_present(std::chrono::steady_clock::time_point present_start);
// Tells the renderer whether the present about to be made waits for the display.
void set_present_sync(int sync, bool paced);
void log_present();
void close_present_log();

// Pictures (pictures.cpp): every picture's textures for the screen just opened or about to close,
// and the debug font, made once with the first screen.
void upload_pictures();
void drop_textures();
void make_debug_font();
TImage* debug_font();

// Drawing (drawing.cpp).
bool drawing();  // whether drawing calls reach a renderer
void clear_draw_log();
void reset_raster_time();
double raster_time_us();
void add_raster_time_us(double us);

// Adds the time of one drawing call to the frame's rasterising (headless only: the software
// renderer draws each call as it is made, while the window's renderer only queues it).
class RasterTime {
  public:
    RasterTime() : on_(is_headless()), t0_(on_ ? Clock::now() : Clock::time_point{}) {}
    ~RasterTime() {
        if (on_) add_raster_time_us(std::chrono::duration<double, std::micro>(Clock::now() - t0_).count());
    }
    RasterTime(const RasterTime&) = delete;
    RasterTime& operator=(const RasterTime&) = delete;

  private:
    using Clock = std::chrono::steady_clock;
    bool on_;
    Clock::time_point t0_;
};

}  // namespace engine_detail
