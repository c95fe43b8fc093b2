// The flow of a game: its game-wide variables, a new game, the stage start, the per-frame world
// step (new ships, extra ships, game over, debug key, wobble, bosses) and the end of a game.
#pragma once

#include <cstdint>

extern uint8_t game_mode;  // 0 front end, 1 play
extern uint8_t stage;
extern int32_t score;
extern uint8_t lives;
extern uint8_t extra_lives_awarded;
extern uint8_t respawn_timer;
extern int32_t game_over_timer;
extern float difficulty_level;
extern float point_blank;
extern uint8_t wobble_index;
extern float wobble;
extern uint8_t ship_choice;
extern float ship1_speed, ship2_speed;
extern float bullet_hit_size;
extern uint8_t debug_overlay;
extern uint8_t new_hiscore;
extern int32_t hiscore_rank;

void new_game_reset();
void start_stage();
void world_step();
void end_game();

void reset_game_flow_state();  // start-up values, for tests
