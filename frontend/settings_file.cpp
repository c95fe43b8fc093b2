// Settings and high-score files (reading and writing arrive with the front-end work).
#include "frontend/settings_file.h"

uint8_t setting_difficulty = 1;
uint8_t setting_control = 0;
uint8_t setting_fullscreen = 0;
uint8_t setting_particles = 20;

void reset_settings_state() {
    setting_difficulty = 1;
    setting_control = 0;
    setting_fullscreen = 0;
    setting_particles = 20;
}

void load_settings_and_scores() {}
void save_settings_and_scores() {}
