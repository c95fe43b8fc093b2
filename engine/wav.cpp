// WAV header and chunk walking, with the rate and length limits of a sound.
#include "engine/wav.h"

#include <cstring>

namespace engine_detail {

namespace {

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

}  // namespace

std::string parse_wav(const uint8_t* b, size_t size, WavInfo& out) {
    out = WavInfo{};
    if (size < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0)
        return "not a WAV sound (no RIFF/WAVE header)";
    bool have_fmt = false;
    size_t at = 12;
    while (at + 8 <= size) {
        const uint8_t* id = b + at;
        const size_t len = le32(b + at + 4);
        const size_t body = at + 8;
        if (len > size - body) return "cut short: a chunk runs past the end of the file";
        if (std::memcmp(id, "fmt ", 4) == 0) {
            if (len < 16) return "a format chunk of " + std::to_string(len) + " bytes (16 at least)";
            const uint8_t* f = b + body;
            if (le16(f) != 1) return "not PCM (format " + std::to_string(le16(f)) + ")";
            const uint32_t channels = le16(f + 2), rate = le32(f + 4), bits = le16(f + 14);
            if (channels != 1 && channels != 2)
                return std::to_string(channels) + " channels (only mono and stereo are played)";
            if (bits != 8 && bits != 16)
                return std::to_string(bits) + "-bit samples (only 8 and 16 are played)";
            if (rate < uint32_t(kMinSampleRate) || rate > uint32_t(kMaxSampleRate))
                return "a sample rate of " + std::to_string(rate) + " Hz (a sound has " +
                       std::to_string(kMinSampleRate) + " to " + std::to_string(kMaxSampleRate) + " Hz)";
            out.channels = int(channels);
            out.rate = int(rate);
            out.bits = int(bits);
            have_fmt = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (!have_fmt) return "no format chunk before the samples";
            const size_t frame_bytes = size_t(out.channels) * size_t(out.bits / 8);
            out.frames = len / frame_bytes;
            if (out.frames > size_t(out.rate) * kMaxSoundSeconds)
                return "a sound of " + std::to_string(out.frames / size_t(out.rate)) + " s (at most " +
                       std::to_string(kMaxSoundSeconds) + " s)";
            out.data_offset = body;
            out.data_bytes = out.frames * frame_bytes;
            return "";
        }
        at = body + len + (len & 1);
    }
    return have_fmt ? "no samples (no data chunk)" : "no format chunk";
}

}  // namespace engine_detail
