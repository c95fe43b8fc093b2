// The input step: keyboard or game pad into the two input codes of a frame, recorded into the
// replay file, or read back from it while a replay plays.
#pragma once

#include <cstdint>

extern uint8_t input_move;    // keypad layout: 8 up, 2 down, 4 left, 6 right, 5 none
extern uint8_t input_button;  // 0 none, 1 fire, 2 hyper, 3 both
extern int32_t replay_pos;
extern uint8_t replay_mode;     // 1 while a replay plays back
extern uint8_t replay_running;  // 1 while a game is recorded or played back

void input_step();

void reset_input_state();
