// Front-end pages (arrive with the front-end work).
#include "frontend/menus.h"

uint8_t menu_screen = 1;
int32_t menu_cursor = 1;

void reset_menu_state() {
    menu_screen = 1;
    menu_cursor = 1;
}

void front_end_step() {}
