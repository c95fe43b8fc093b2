// The flow of a game: its game-wide variables, a new game, the stage start, the per-frame world
// step (new ships, extra ships, game over, debug key, wobble, bosses) and the end of a game.
#pragma once

#include <cstdint>

extern uint8_t game_mode;  // 0 front end, 1 play
extern uint8_t stage;      // 1 for every game
extern int32_t score;
extern uint8_t lives;                // reserve ships
extern uint8_t extra_lives_awarded;  // 0, 1 or 2
extern uint8_t respawn_timer;        // a ship (or the game over) comes when it counts down to 1
extern int32_t game_over_timer;      // "GAME=OVER" shows while above 0; the game ends at 1
extern float difficulty_level;       // setting_difficulty as a float, from the stage start
extern float point_blank;            // 80, 64, 48 for EASY, NORMAL, HARD
extern uint8_t wobble_index;         // 0..79
extern float wobble;                 // this frame's entry of wobble_table
extern uint8_t ship_choice;          // 1 or 2
extern float ship1_speed, ship2_speed;
extern float bullet_hit_size;
extern uint8_t debug_overlay;
extern uint8_t new_hiscore;        // 1 while a new table row waits for its name
extern float hiscore_entry_timer;  // frames left of the name entry or the ship selection
extern int32_t hiscore_rank;       // 1..10: row of the new entry; 11: none

inline constexpr int kRespawnFrames = 75;
inline constexpr int kGameOverFrames = 375;
inline constexpr int kStageBannerFrames = 150;
inline constexpr int32_t kFirstExtraShipScore = 250000, kSecondExtraShipScore = 1000000;
inline constexpr float kFirstBossScrollPos = 3000.0f, kSecondBossScrollPos = 120.0f;

// Fresh variables for a new game ("START" or "REPLAY"); leaves the lists, the settings, the
// debug overlay and game_over_timer alone.
void new_game_reset();
// Loads the stage, sets the difficulty values and the banner and respawn timers, enters play.
void start_stage();
// The bookkeeping of one frame of play, before the frame's scroll step.
void world_step();
// Empties the world, enters the score (not for a replay) and shows the high-score page.
void end_game();

void reset_game_flow_state();  // start-up values, for tests
