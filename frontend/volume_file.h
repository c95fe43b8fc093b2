// data/volume.txt: the music and effects volumes and the late start of the frame, each a
// "key = value" line, read at start-up and written when the settings page is left.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

extern uint8_t music_volume;  // 0..10
extern uint8_t sound_volume;  // 0..10
extern uint8_t late_start;    // 1: a frame reads its input as late as its work allows

inline constexpr const char* kVolumePath = "data/volume.txt";
inline constexpr uint8_t kDefaultMusicVolume = 7, kDefaultSoundVolume = 10, kDefaultLateStart = 1;

// The three values from the file's text: "music = 0..10", "sound = 0..10", "late_start = yes|no";
// '#' starts a comment. A line that is not one of them, or a value out of range, keeps that value
// at its default and adds "LINE: what" to `problems`.
void parse_volume_file(const std::string& text, std::vector<std::string>& problems);
std::string volume_file_text();

// Reads the file (missing: the defaults, silently; unreadable or with bad lines: one line saying
// so, the defaults for what could not be read) and hands the values to the engine. A file that is
// there but cannot be read is never saved over.
void load_volume_file();
// Writes the file through a temporary one when a value differs from what it holds (a file with
// bad lines is written anew with the values read); false (with one line) when it cannot.
bool save_volume_file();
// The engine's volumes and late start from the values above.
void apply_volume_settings();

void reset_volume_state();
