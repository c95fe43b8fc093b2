// Start-up and the frame loop: the program's spine.
#pragma once

#include <cstdint>

extern int32_t screen_depth;
extern int32_t frame_start_ms, frame_ms;

// How the frame loop ended (the headless runner reports it).
// signal: a SIGHUP, SIGINT or SIGTERM asked the program to end.
enum class LoopEnd { escape, close, signal };

// Runs the whole program: start-up, then one front-end or play step per frame until Escape, a
// close request or an ending signal, then saves the settings and high scores. "QUIT" leaves
// through end_program (ProgramExit), and a failed start-up through fatal_error (which saves too
// once start-up is done).
LoopEnd main_program();
// main_program for main(): any exception but ProgramExit (out of memory, ...) ends the program
// through fatal_error, with one line and the settings and high scores saved.
LoopEnd run_main_program();

// The start-up steps before the loop, and one iteration of the loop (for tests and the benchmark).
void start_up();
void run_frame();
// One frame of play after the input step: world_step's bookkeeping, then play_scene (the enemy
// benchmark and the autopilot's trials run it with input codes of their own).
void play_step();
// What a frame of play moves and draws after the bookkeeping: world_scene, then the head-up
// display and, when the debug overlay is on, its counts. The busy-frame benchmark runs it alone,
// so that no ship or boss comes into its held scene.
void play_scene();
// The background layers, the visible rows and the map scroll, the spawner and the entity pass (the
// map-only benchmark runs it alone).
void world_scene();

// Start-up values of every module's variables (not the assets or lists), for tests.
void reset_all_state();
