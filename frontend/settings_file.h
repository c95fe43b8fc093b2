// The settings (data/settings.dat, 4 bytes) and the three high-score tables (data/highscore.dat,
// 450 bytes): loaded once at start-up, saved whenever the program ends.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

extern uint8_t setting_difficulty;  // 0 EASY, 1 NORMAL, 2 HARD
extern uint8_t setting_control;     // 0 keyboard, 1 game pad
extern uint8_t setting_fullscreen;  // 0 window, 1 full screen
extern uint8_t setting_particles;   // 10..40

inline constexpr const char* kSettingsPath = "data/settings.dat";
inline constexpr const char* kHiscorePath = "data/highscore.dat";
inline constexpr int kSettingsBytes = 4;
inline constexpr int kHiscoreBytes = 450;  // 10 records of 3 tables of 15 bytes

// Built-in values, also what an out-of-range byte of a settings file is replaced by.
inline constexpr uint8_t kDefaultDifficulty = 1, kDefaultControl = 0, kDefaultFullscreen = 0,
                         kDefaultParticles = 20;

// A practice run and a watched library replay play at a difficulty of their own. While one does,
// setting_difficulty holds it, as every rule of play reads it there, and the player's own waits
// here: settings.dat keeps the player's own whatever way the program ends meanwhile. Lending again
// while lent keeps the first owner's value.
void lend_difficulty(uint8_t played);
// Back to the player's own difficulty (nothing when none is lent).
void return_difficulty();
extern uint8_t difficulty_lent;  // 1 while setting_difficulty holds a lent difficulty

// Leaves the built-in values of a part in place when its file is missing or unreadable (a file
// that is there but cannot be read, or a folder or named pipe in its place, says so in one line
// and is then never saved over). A short file reads zeros past its end; settings outside their
// ranges fall back to the built-in values. Removes a temporary file a cut-off save left behind.
void load_settings_and_scores();
// Writes both files, each through a temporary file in data/ that is renamed over the old one, so
// an interrupted save leaves the old file whole, and a failed one leaves no temporary file.
// Creates data/ when missing. A failure prints one line to stderr and returns false; the game
// goes on.
bool save_settings_and_scores();

// The file images, for the loader, the saver and the tests.
std::array<uint8_t, kSettingsBytes> encode_settings();
void decode_settings(const std::array<uint8_t, kSettingsBytes>& bytes);
std::vector<uint8_t> encode_hiscores();                   // kHiscoreBytes bytes
void decode_hiscores(const std::vector<uint8_t>& bytes);  // missing bytes read as 0

void reset_settings_state();
