// The input step: keyboard or game pad into the two input codes of a frame, recorded into the
// replay file, or read back from it while a replay plays.
#pragma once

#include <cstdint>
#include <string>

extern uint8_t input_move;      // keypad layout: 8 up, 2 down, 4 left, 6 right, 5 none
extern uint8_t input_button;    // 0 none, 1 fire, 2 hyper, 3 both
extern int32_t replay_pos;      // step counter of the recording or playback, 1 before the first
extern uint8_t replay_mode;     // 1 while a replay plays back
extern uint8_t replay_running;  // 1 while a game is recorded or played back
extern int32_t replay_size;     // bytes of the replay being played (at most the buffer's reach)
extern uint8_t replay_at_end;   // 1 once playback has used the replay's last step (later ones repeat it)

// The way each input_move code points on each axis: -1, 0 or +1, y down the screen (index 0 is no
// code). The ship steers by it and the autopilot plans by it.
struct KeypadStep {
    int dx, dy;
};
inline constexpr KeypadStep kKeypadSteps[10] = {{0, 0}, {-1, 1}, {0, 1},   {1, 1},  {-1, 0},
                                                {0, 0}, {1, 0},  {-1, -1}, {0, -1}, {1, -1}};

inline constexpr const char* kReplayPath = "replay/replay.txt";
// The file "REPLAY" plays: the last recorded game, unless the headless runner was given another to
// check. Recording always writes kReplayPath.
extern std::string replay_source;

// Runs at the start of every frame in both game modes (twice in the frame in which play starts;
// recording and playback both count that). A recording that cannot be written stops with one
// line on stderr; the game goes on.
void input_step();

// Whether REPLAY has something to play: a regular file replay_source holding at least its difficulty
// byte. A missing file says nothing; an empty one, or a folder or pipe in its place, says so in
// one line (and, like a missing one, is not played: it would set a difficulty it does not hold).
bool replay_available();

// The input codes of one replay byte: its two decimal digits for 10..93, else no move and no
// button. Never reads more than the byte's two digits.
void decode_replay_byte(int32_t code, uint8_t& move, uint8_t& button);

void reset_input_state();
