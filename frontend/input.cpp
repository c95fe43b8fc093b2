// Input step (the keyboard, pad and replay rules arrive with the front-end work).
#include "frontend/input.h"

uint8_t input_move = 5;
uint8_t input_button = 0;
int32_t replay_pos = 1;
uint8_t replay_mode = 0;
uint8_t replay_running = 0;

void reset_input_state() {
    input_move = 5;
    input_button = 0;
    replay_pos = 1;
    replay_mode = 0;
    replay_running = 0;
}

void input_step() {}
