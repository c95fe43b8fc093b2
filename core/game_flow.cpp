// Game flow. The world step's rules arrive with the game-flow work; until then play runs with no
// ship and no end.
#include "core/game_flow.h"

uint8_t game_mode = 0;
uint8_t stage = 1;
int32_t score = 0;
uint8_t lives = 3;
uint8_t extra_lives_awarded = 0;
uint8_t respawn_timer = 0;
int32_t game_over_timer = 0;
float difficulty_level = 0.0f;
float point_blank = 0.0f;
uint8_t wobble_index = 0;
float wobble = 0.0f;
uint8_t ship_choice = 1;
float ship1_speed = 1.8f, ship2_speed = 1.7f;
float bullet_hit_size = 2.0f;
uint8_t debug_overlay = 0;
uint8_t new_hiscore = 0;
int32_t hiscore_rank = 11;

void reset_game_flow_state() {
    game_mode = 0;
    stage = 1;
    score = 0;
    lives = 3;
    extra_lives_awarded = 0;
    respawn_timer = 0;
    game_over_timer = 0;
    difficulty_level = 0.0f;
    point_blank = 0.0f;
    wobble_index = 0;
    wobble = 0.0f;
    ship_choice = 1;
    ship1_speed = 1.8f;
    ship2_speed = 1.7f;
    bullet_hit_size = 2.0f;
    debug_overlay = 0;
    new_hiscore = 0;
    hiscore_rank = 11;
}

void new_game_reset() {}
void start_stage() {}
void world_step() {}
void end_game() {}
