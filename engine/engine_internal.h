// What the engine's modules share among themselves (never included outside engine/).
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine.h"

struct SDL_Window;
struct SDL_Renderer;

namespace engine_detail {

// Start-up state (engine.cpp).
bool initialised();
bool is_headless();
void set_last_error(const std::string& text);

// True once for each new SIGHUP, SIGINT or SIGTERM received (app_terminate reports it).
bool take_termination_signal();

// The clock: the virtual one of the headless backend, or whole milliseconds of the steady clock
// since engine_init in the window.
int now_ms();
void advance_virtual_ms(int ms);
// The steady-clock instant at which now_ms() of the window becomes `ms`.
std::chrono::steady_clock::time_point ms_instant(int ms);

// Files (files.cpp): the first `max_bytes` bytes of a regular file into `out`. Returns "" or why it
// could not ("not found", "is a folder, not a file", "cannot be read: ..."). Never blocks on a
// special file, and never allocates more than the file holds.
std::string read_regular_file(const std::string& path, size_t max_bytes, std::vector<uint8_t>& out);

// The screen (screen.cpp).
int current_frame();  // number of the frame begun last (-1 before the first cls)
void graphics_close();
SDL_Window* screen_window();  // nullptr headless or before graphics
SDL_Renderer* screen_renderer();
int screen_width();  // the game's picture, not the window
int screen_height();
// Records the window or full-screen mode (0 or 32), which decides flip's vertical sync.
void note_screen_depth(int depth);
int screen_depth();
// Pictures (pictures.cpp): makes (or refills) a one-frame, mid-handled image of w x h ARGB pixels.
void fill_picture_image(TImage*& img, const std::vector<uint32_t>& argb, int w, int h);

// The window (window.cpp): once the renderer exists, the minimum size, the scaling and full
// screen; at the start of every frame, the scaling fitted to the renderer's real output size.
void window_ready(int width, int height, int depth);
void fit_picture();

// Input (input.cpp): the window backend's event pump, and opening/closing the pad subsystem.
void pump_events();
// The window's key presses (repeats not counted) taken in by the current frame's first pump, the
// one its input step reads; cls opens the frame's input.
int key_presses_seen_by_frame();
void open_frame_input();
void input_open();
void input_close();

// Sound (sound.cpp): opens the mixer (window backend) or stays silent.
void sound_open(bool with_device);
void sound_close();
// Once a frame (inside flip): hands the music over when a fade-out has run its time.
void music_tick();

// The built-in debug font: 8 rows of 5 cells ('#' set, '.' clear) for codes 32..127, spaces
// between rows ignored.
const char* debug_glyph(int code);

}  // namespace engine_detail
