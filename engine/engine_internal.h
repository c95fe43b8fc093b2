// What the engine's modules share among themselves (never included outside engine/).
#pragma once

#include <string>

#include "engine/engine.h"

namespace engine_detail {

// Start-up state (engine.cpp).
bool initialised();
bool is_headless();
void set_last_error(const std::string& text);

// The clock: the virtual one of the headless backend, or SDL's ticks.
int now_ms();
void advance_virtual_ms(int ms);

// Graphics (graphics.cpp).
int current_frame();  // number of the frame begun last (-1 before the first cls)
void graphics_close();

// Input (input.cpp): the window backend's event pump, and opening/closing the pad subsystem.
void pump_events();
void input_open();
void input_close();

// Sound (sound.cpp): opens the mixer (window backend) or stays silent.
void sound_open(bool with_device);
void sound_close();

// The built-in debug font: 8 rows of 5 cells ('#' set, '.' clear) for codes 32..127, spaces
// between rows ignored.
const char* debug_glyph(int code);

}  // namespace engine_detail
