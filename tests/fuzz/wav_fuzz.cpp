// Fuzz target: WAV parsing and the window backend's conversion to the mixer's format (44100 Hz,
// 16-bit stereo). Properties: a parsed sound has a rate and length within the limits and samples
// inside the file; its conversion succeeds and gives its length at the mixer's rate, so memory
// follows the sound's length and never the rate's extremes.
#include <cmath>

#include "engine/wav.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace engine_detail;
    WavInfo w;
    if (!parse_wav(data, size, w).empty()) return 0;
    FUZZ_CHECK(w.rate >= kMinSampleRate && w.rate <= kMaxSampleRate);
    FUZZ_CHECK(w.channels == 1 || w.channels == 2);
    FUZZ_CHECK(w.bits == 8 || w.bits == 16);
    FUZZ_CHECK(w.frames <= size_t(w.rate) * kMaxSoundSeconds);
    FUZZ_CHECK(w.data_bytes == w.frames * size_t(w.channels) * size_t(w.bits / 8));
    FUZZ_CHECK(w.data_offset + w.data_bytes <= size);
    const std::vector<uint8_t> pcm(data + w.data_offset, data + w.data_offset + w.data_bytes);
    std::vector<uint8_t> out;
    FUZZ_CHECK(convert_for_mixer(pcm, w.bits, w.channels, w.rate, kMixerFormatS16, 2, 44100, out));
    const double want = double(w.frames) * 44100.0 / double(w.rate) * 4.0;
    FUZZ_CHECK(std::fabs(double(out.size()) - want) <= 64.0 + want * 0.01);
    return 0;
}
