// The autopilot: plays the real game on the headless backend and leaves an ordinary replay.
//
// It reads the game's state to choose, but acts only through the keys the input step reads, so
// the game records its own replay of what the pilot did. To choose, it tries each move in a
// forked copy of the whole process: the copy plays the move for a few dozen frames of the real
// game (the same code, the same state to the last bit) and reports whether the ship lived, how
// close bullets came and how it stood towards its targets. Forking copies every variable and
// object the game has, so nothing can be left out of a snapshot, and the game needs no code of
// its own for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PilotLoss {
    int frame;
    std::string cause;  // "bullet", "flier" or "boss"
};

struct PilotResult {
    int difficulty = 0, ship = 1;
    int frames = 0;
    int32_t score = 0;
    int hypers_used = 0;
    bool second_form_destroyed = false;
    std::vector<PilotLoss> losses;
};

struct PilotOptions {
    int difficulty = 1;  // 0 EASY, 1 NORMAL, 2 HARD
    int ship = 1;
    int frame_limit = 20000;
    bool verbose = false;
};

// Plays one game in the current folder (a game folder with gfx/, sfx/, level/), from the title
// page to the end of the game; the replay is left in replay/replay.txt.
PilotResult fly(const PilotOptions& options);
