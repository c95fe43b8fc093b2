// The head-up display: side panel, score, ships, power, hyper stock, chain bar, banner, game over.
#pragma once

#include <cstdint>

extern float chain_timer;
extern int32_t chain_level;
extern int32_t chain_value_shown;
extern int32_t hud_spin;
extern uint8_t stage_banner_timer;

void draw_hud();

void reset_hud_state();
