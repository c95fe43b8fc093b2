// Head-up display (drawing arrives with the player-side work).
#include "core/hud.h"

float chain_timer = 0.0f;
int32_t chain_level = 0;
int32_t chain_value_shown = 50;
int32_t hud_spin = 0;
uint8_t stage_banner_timer = 0;

void reset_hud_state() {
    chain_timer = 0.0f;
    chain_level = 0;
    chain_value_shown = 50;
    hud_spin = 0;
    stage_banner_timer = 0;
}

void draw_hud() {}
