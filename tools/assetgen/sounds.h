// The sound writer: reads the synthesis parameters of assets/sfx/*.txt and writes the 14 WAV files
// of the sound table (PCM, 16-bit mono, 44100 Hz).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

namespace gen {

inline constexpr double kMaxSoundSeconds = 2.0;

// A sound source: "key = value" lines; the keys before the first "[part]" line belong to the
// sound (peak_db, fade), the others to the part they follow. '#' starts a comment. Throws
// std::runtime_error naming the line on an unknown key, a bad value or a sound without parts.
synth::Sound parse_sound(const std::string& text, const std::string& name_for_errors);

// One "key = value" of a [part] (wave, freq, attack, lowpass, ...), as parse_sound reads it; the
// music's instruments are written with the same keys. Throws std::runtime_error naming name:line.
void set_sound_part_key(synth::Part& p, const std::string& key, const std::string& value,
                        const std::string& name, int line);

// A complete RIFF/WAVE file: "fmt " (PCM, mono, 16-bit, 44100 Hz) and "data" chunks.
std::vector<uint8_t> wav_bytes(const std::vector<int16_t>& samples);

}  // namespace gen
