// The replay library's page (Right on REPLAY), the high-score rows' runs, and watching a kept
// replay until its end or Escape brings the player back to the page it was chosen on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/replay_library.h"

inline constexpr uint8_t kLibraryScreen = 5;  // menu_screen of the library page
inline constexpr int kLibraryRowsShown = 11;

extern std::vector<ReplayInfo> library_rows;  // in the order shown
extern int32_t library_cursor;                // 0 the BACK line, 1.. the rows
extern int32_t library_top;                   // index of the first row shown
extern uint8_t library_by_score;              // 0 newest first, 1 best score first
extern uint8_t library_confirm;               // 1 delete asked, 2 another version: A again plays
extern uint8_t watch_origin;                  // page a watched replay returns to; 0 none
extern int32_t hiscore_row;                   // row chosen on the high-score page, 0 none
extern int32_t hiscore_note_timer;            // frames the "no replay" note still shows

// Reads the folder and shows the page, newest first.
void open_library_page();
// One frame of the page (drawn over the title backdrop), after the input step.
void library_page_step();
// The high-score page's row choice: Up/Down choose a row, A watches its run. false when the
// button is left to the page (no row chosen).
bool hiscore_row_step(int difficulty);
void draw_hiscore_row_bar();  // under the table
// Plays a kept replay as REPLAY does, returning to `origin` at its end.
void watch_library_replay(const ReplayInfo& info, uint8_t origin);
// A watched replay's game ended: back to the page it came from (nothing for REPLAY's own).
void watch_ended();
// Escape while watching a kept replay: true when it took the player back to the page.
bool leave_watch();

void reset_library_page_state();
