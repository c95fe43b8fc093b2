// Pads that exist only in software, through SDL's own joystick and game-controller layers, and
// key presses posted as the window system's: for driving the window build in tests.
#pragma once

#include <cstdint>

// Plugs in a virtual game controller; its id, or -1 (with engine_last_error) when SDL cannot.
int plug_virtual_pad();
// Stick position (-1..+1) and buttons in the engine's order (bit 0 A, 1 B, ..., 7 Start).
void set_virtual_pad(int id, float x, float y, uint32_t buttons);
void unplug_virtual_pad(int id);
// A key (a virtual-key code: a letter, a digit or an arrow) pressed or released, queued as the
// window system's event.
void post_key(int key, bool down);
