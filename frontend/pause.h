// The keys a desktop player expects in every page: P (or the pad's Start) pauses play, as does
// losing the window's focus or, with CONTROL on GAMEPAD, the pad being pulled out; F11 or Alt+Enter switches
// full screen; F12 saves a screenshot; M mutes.
#pragma once

#include <cstdint>
#include <string>

extern uint8_t game_paused;  // 1 while play is paused

inline constexpr const char* kScreenshotFolder = "screenshots";

// Run right after cls. While paused it draws the picture held when the pause began, darkened,
// with "PAUSE" over the play field, and returns true: the frame then runs nothing of the game
// (no input step, so nothing is recorded or played back, and nothing moves).
bool paused_frame();

// Run at the end of every frame, before flip: takes the presses of P, Start, F11, Alt+Enter, F12
// and M, the loss of focus and of the pad, and acts on them.
void desktop_keys_step();

// The file name of a screenshot taken at `unix_seconds` (local time), and a free one in `folder`
// (a number is added when that second already has one).
std::string screenshot_name(int64_t unix_seconds);
std::string free_screenshot_path(const std::string& folder, int64_t unix_seconds);

// Removes the temporary files of screenshots whose save was cut off (a kill, a power loss):
// run at start-up. Never a folder.
void remove_screenshot_temporaries();

void reset_pause_state();
