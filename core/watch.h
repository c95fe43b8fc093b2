// Watching a replay: single steps while paused, speeds from 1/2x to 8x, a skip to just before the
// next boss form, and the input and hitbox displays. None of it changes what the replay plays:
// the same steps run in the same order, only how many are shown per presented frame changes.
#pragma once

#include <cstdint>

// The watching keys (none is a key of the game's own; live input is not read while a replay plays).
// H also switches the hitbox in a practice run, unless the controls use it for play.
inline constexpr int kWatchStepKey = 'N', kWatchSpeedKey = 'F', kWatchSkipKey = 'B';
inline constexpr int kWatchInputKey = 'I', kWatchHitboxKey = 'H';

inline constexpr int kWatchSpeeds = 5;  // 1/2x, 1x, 2x, 4x, 8x
inline constexpr int kWatchNormalSpeed = 1;
inline constexpr int kSkipStepsPerFrame = 400;  // a skip runs this many undrawn steps per frame
inline constexpr float kSkipLead = 75.0f;       // a skip stops this much scroll before a boss form

extern uint8_t watch_speed;         // 0 1/2x, 1 1x, 2 2x, 3 4x, 4 8x
extern uint8_t watch_repeat_next;   // 1/2x: 1 when the next slot shows this picture again
extern uint8_t watch_skipping;      // 1 while running towards the next boss form
extern uint8_t watch_input_shown;   // the recorded input in the play field's corner
extern uint8_t watch_hitbox_shown;  // the ship's collision square

// True while a replay plays back (from its ship selection to its game's end).
bool watching();
// Takes the watching keys; the game steps this presented frame runs: 0 at 1/2x in a repeated
// slot, else 1, 2, 4 or 8, or up to kSkipStepsPerFrame during a skip.
int watch_steps_for_frame();
// After a step of a frame of several: whether another runs (not once the replay ended, or a
// skip reached its mark).
bool watch_continues();
// Whether step i of a frame of `steps` is drawn: the last one, or one that may end the frame early
// (the replay's or its game's end, a skip's mark). The others' pictures are never seen.
bool watch_step_shown(int i, int steps);
// While paused: whether the step key asks for one step.
bool watch_step_asked();
// After the frame's steps: the displays asked for, and the picture kept for a 1/2x repeat.
void watch_frame_drawn();
// 1/2x's repeated slot: the picture of the step before.
void draw_repeated_picture();

void reset_watch_state();
