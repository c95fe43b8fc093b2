// The player's own keys and the mute choice: data/controls.txt, a plain text file beside the
// settings, written with the defaults when missing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/keys.h"

// The keys of the six actions.
struct KeyBindings {
    int fire = vk::kA, hyper = vk::kS, left = vk::kLeft, right = vk::kRight, up = vk::kUp, down = vk::kDown;
};

// The keys the game keeps for itself in every page: no action can be bound to them.
inline constexpr int kQuitKey = vk::kEscape, kPauseKey = vk::kP, kMuteKey = vk::kM, kDebugKey = vk::kD;
inline constexpr int kFullScreenKey = vk::kF11, kScreenshotKey = vk::kF12;
inline constexpr int kReservedKeys[] = {kQuitKey,  kPauseKey,      kMuteKey,
                                        kDebugKey, kFullScreenKey, kScreenshotKey};

extern KeyBindings key_bindings;
extern uint8_t sound_muted;  // 1: every sound silenced (M)

inline constexpr const char* kControlsPath = "data/controls.txt";

// Reads the file into key_bindings and sound_muted (writing it with the defaults first when it
// is missing) and applies the mute. Each line that cannot be used is reported with its line
// number and ignored; the action keeps its default key. A file that cannot be read whole (larger
// than 1 MiB, unreadable, a named pipe in its place) is reported in one line, the defaults are
// used and M never writes over it. A temporary file a cut-off save left is removed.
void load_controls();

// The rules of the file. Blank lines and "#" comments are skipped; "action = key" binds fire,
// hyper, left, right, up or down to a key by name (key_from_name); "mute = yes" or "no". A line
// naming an unknown action or key, binding a key the game keeps for itself (Escape, P, M, D, F11,
// F12), putting a direction on Enter (which confirms in the menus), giving a key that another
// action ends up with too, or Alt and Enter to two actions (the full-screen switch), is a problem
// "LINE: why"; its action keeps its default, so the six actions always have six different keys.
// An action or mute given on two lines takes the last, and the earlier line is reported. Messages
// show the player's text without control bytes and cut to a line's worth.
KeyBindings parse_controls(const std::string& text, uint8_t& muted, std::vector<std::string>& problems);
std::string default_controls_text();
// `text` with its last mute line set to `muted` (added at the end when it has none) and any
// earlier mute lines removed; nothing else of it changes.
std::string with_mute_line(const std::string& text, bool muted);
// Saves the mute choice into the file, keeping the rest of it. false (one line printed) when it
// cannot be written.
bool save_mute_choice();

void reset_controls_state();
