// The front end: title backdrop, main menu, settings, high scores with name entry, ship selection.
#pragma once

#include <cstdint>

extern uint8_t menu_screen;  // 1 main menu, 2 settings, 3 high scores, 4 ship selection
extern int32_t menu_cursor;

void front_end_step();

void reset_menu_state();
