// The settings (data/settings.dat) and the high-score tables (data/highscore.dat).
#pragma once

#include <cstdint>

extern uint8_t setting_difficulty;  // 0 EASY, 1 NORMAL, 2 HARD
extern uint8_t setting_control;     // 0 keyboard, 1 game pad
extern uint8_t setting_fullscreen;  // 0 window, 1 full screen
extern uint8_t setting_particles;   // 10..40

void load_settings_and_scores();
void save_settings_and_scores();

void reset_settings_state();
