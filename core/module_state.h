// One list per module of its game-wide variables and their start values, from which both the
// definitions and the module's reset are made, so that a reset cannot drift from the start.
//
// A module writes its list as a macro of X(type, name, start value) entries:
//     #define SCROLL_STATE(X) X(float, scroll_pos, 5760.0f) X(uint8_t, scrolling, 0)
//     SCROLL_STATE(CINDER_DEFINE_STATE)
//     void reset_scroll_state() { SCROLL_STATE(CINDER_RESET_STATE); }
// The variables stay plain variables under their own names; the headers declare them as before.
#pragma once

#define CINDER_DEFINE_STATE(type, name, start) type name = start;
#define CINDER_RESET_STATE(type, name, start) name = start;
