// Start-up and the frame loop: the program's spine.
#pragma once

#include <cstdint>

extern int32_t screen_depth;
extern int32_t frame_start_ms, frame_ms;

// How the frame loop ended (the headless runner reports it).
enum class LoopEnd { escape, close };

// Runs the whole program: start-up, then one front-end or play step per frame until Escape or a
// close request. "QUIT" leaves through end_program (ProgramExit), and a failed start-up through
// fatal_error.
LoopEnd main_program();

// The start-up steps before the loop, and one iteration of the loop (for tests and the benchmark).
void start_up();
void run_frame();
// One frame of play after the input step: the world, the map, the spawner, every object and the
// display (the benchmark and the autopilot's trials run it with input codes of their own).
void play_step();

// Start-up values of every module's variables (not the assets or lists), for tests.
void reset_all_state();
