// The soundtrack: which piece plays in which state of the game, and the hand-overs between them.
// It only reads the game's state: nothing of play, replays or pictures depends on it.
#pragma once

#include <cstdint>

enum class Piece : uint8_t { none, title, stage, boss, victory, gameover };

extern Piece music_piece;        // the piece asked for last
extern Piece music_ending;       // the jingle of the game-over display under way (none before it)
extern uint8_t music_boss_seen;  // 1 when the second boss form was in the enemy list last frame

inline constexpr int kMusicFadeMs = 500;

// The files of the pieces, music/<name>.ogg; a missing or broken one says so in one line and the
// game plays on without it.
void load_music_pieces();
// The piece for the state the frame leaves behind: the title theme in the front end (its pages,
// the high-score table and name entry included); in play the stage theme, the boss theme while a
// boss form is on the field, and during the game-over display the jingle of how the game ended:
// the victory when the second form fell in that frame, otherwise the game-over one.
Piece choose_piece();
// Once a frame, after its steps: asks the mixer for the piece (a change fades over kMusicFadeMs).
void music_step();

void reset_music_state();
