// The front end: title backdrop, main menu, settings, high scores with name entry, ship selection.
#pragma once

#include <cstdint>
#include <string>

extern uint8_t menu_screen;       // 1 main menu, 2 settings, 3 high scores, 4 ship selection, 8 volumes
extern int32_t menu_cursor;       // row (pages 1, 2), table shown (page 3: 1 EASY..3 HARD), ship (page 4)
extern uint8_t menu_move_delay;   // frames before the cursor may move again
extern uint8_t menu_value_delay;  // frames before a setting or the table shown may change again
extern uint8_t button_armed;      // 1 once the button was seen released; every action needs it
extern uint8_t letter_armed;      // the same for the letter changes, armed by no direction
extern float title_bg_y;
extern float logo_x, logo_y, logo_angle;

// The name entry: the letter being chosen (a code 48..90), its place 0..2, and the three letters.
extern int32_t hiscore_letter;
extern uint8_t hiscore_letter_index;
extern std::string hiscore_letter1, hiscore_letter2, hiscore_letter3;

// One frame of the front end while game_mode is 0, after the input step. Reads input_move and
// input_button (so replays reproduce it), plus the Left arrow key on the settings page.
void front_end_step();

// START (mode 0) and REPLAY (mode 1): a new game on the ship selection, recorded or played back
// from the next frame on.
void begin_new_game(uint8_t mode);

void reset_menu_state();
