// WAV decoding rules shared by both backends (pure byte work, so the runner and the tests refuse
// exactly the files the window's mixer could not take), and the window's conversion of a sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace engine_detail {

// The sample rates a sound can have; outside them the mixer's converter either refuses the sound
// or needs memory out of all proportion to the file.
constexpr int kMinSampleRate = 4000, kMaxSampleRate = 192000;
// Every sound of the game is a short effect; a longer one is a damaged file, and the converted
// samples of a minute take about 10 MB.
constexpr int kMaxSoundSeconds = 60;
// The most bytes read of a sound file: a minute at the highest rate, 16-bit stereo, and headers.
constexpr size_t kMaxSoundFileBytes = size_t(kMaxSampleRate) * 4 * kMaxSoundSeconds + 65536;

struct WavInfo {
    int rate = 0, channels = 0, bits = 0;
    size_t data_offset = 0, data_bytes = 0;  // data_bytes: whole sample frames only
    size_t frames = 0;
};

// RIFF/WAVE with a PCM "fmt " chunk of 8 or 16 bits, 1 or 2 channels, a rate within the limits,
// before a "data" chunk of at most kMaxSoundSeconds. Chunks are walked by their lengths (odd
// lengths padded to even); a chunk that runs past `size` is a truncated file. Returns "" or one
// line saying what is wrong with the file.
std::string parse_wav(const uint8_t* data, size_t size, WavInfo& out);

// (Implemented with the mixer, in sound.cpp.) The samples of a sound (unsigned 8-bit or signed 16-bit
// little-endian) in the mixer's format, channel count and rate, as the window backend plays them. false when
// SDL cannot convert them (or the conversion would need more than 256 MB, which no sound within parse_wav's
// limits does).
constexpr uint16_t kMixerFormatS16 = 0x8010;  // signed 16-bit little-endian, the mixer's usual format
bool convert_for_mixer(const std::vector<uint8_t>& pcm, int bits, int channels, int rate, uint16_t to_format,
                       int to_channels, int to_rate, std::vector<uint8_t>& out);

}  // namespace engine_detail
