// Practice: a game from any of six points of the stage, with the gun level and ships chosen; kept
// in the library marked as practice, never entered in a high-score table, never in replay.txt.
#pragma once

#include <cstdint>
#include <string>

inline constexpr uint8_t kPracticeScreen = 6;  // menu_screen of the practice page

struct PracticeStart {
    const char* name;       // as the replay header writes it
    const char* lettering;  // as the page shows it
    float scroll_pos;       // a multiple of 16: the map is whole rows in from there
    uint8_t gun, lives;     // what a good run has there
};
// The stage start, each quarter, and 160 frames before each boss form.
inline constexpr PracticeStart kPracticeStarts[] = {
    {"stage", "STAGE", 5760.0f, 0, 3},         {"quarter-1", "QUARTER=1", 4320.0f, 1, 3},
    {"quarter-2", "QUARTER=2", 2880.0f, 2, 3}, {"quarter-3", "QUARTER=3", 1440.0f, 2, 3},
    {"boss-1", "BOSS=1", 3088.0f, 2, 3},       {"boss-2", "BOSS=2", 208.0f, 2, 3}};
inline constexpr int kPracticeStartCount = 6;
inline constexpr uint8_t kGunPower[] = {0, 50, 100};  // the three gun levels' power
inline constexpr int kMaxGun = 2, kMinLives = 1, kMaxLives = 5;

extern uint8_t practice_active;   // 1 while a practice run is played or played back
extern uint8_t practice_start;    // index into kPracticeStarts
extern uint8_t practice_gun;      // 0..2
extern uint8_t practice_lives;    // ships in reserve at the start, 1..5
extern uint8_t practice_gun_due;  // 1 until the first ship has its gun level
extern int32_t practice_row;      // the page's cursor, 1..6
// The difficulty practice plays at, its own: choosing it leaves the main game's setting alone.
inline constexpr uint8_t kNoPracticeDifficulty = 255;  // none chosen yet: the setting's is taken
extern uint8_t practice_difficulty;

// The index of a start by its header name; -1 for none.
int practice_start_index(const std::string& name);

void open_practice_page();
void practice_page_step();
// start_stage's part: the map from the chosen point, the chosen ships, a short banner.
void apply_practice_start();
// A practice run's game is over: the player's own difficulty is back.
void practice_run_ended();

void reset_practice_state();
