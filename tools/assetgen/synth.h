// A small sound-effect synthesiser: oscillators with pitch slides, vibrato and arpeggios, an
// attack/sustain/decay envelope and one-pole filters, layered into one normalised mono sample.
#pragma once

#include <cstdint>
#include <vector>

namespace gen::synth {

inline constexpr int kRate = 44100;

enum class Wave { Square, Saw, Triangle, Sine, Noise };

// One voice of a sound. Times are seconds from the start of the part, pitches in semitones.
struct Part {
    Wave wave = Wave::Square;
    double start = 0;        // when the part begins within the sound
    double freq = 440;       // starting pitch in Hz; for noise, how often the value changes (twice a period)
    double duty = 0.5;       // square: the high share of a period
    double slide = 0;        // pitch change, semitones per second (negative: falling)
    double slide_accel = 0;  // change of the slide, semitones per second per second
    double vibrato_depth = 0;  // semitones either way
    double vibrato_rate = 0;   // Hz
    std::vector<double> arp;   // semitone offsets, one per arp_step; the last is held unless arp_loop
    double arp_step = 0;
    bool arp_loop = false;
    double attack = 0.005, sustain = 0.1, decay = 0.1;
    double punch = 0;        // extra level at the start of the sustain, fading out across it
    double decay_curve = 1;  // 1: straight fall; larger: faster at first, with a longer tail
    double volume = 1;
    double lowpass = 0;        // cutoff in Hz, 0: off (two one-pole stages)
    double lowpass_slide = 0;  // semitones per second
    double highpass = 0;       // cutoff in Hz, 0: off
    double highpass_slide = 0;
    uint32_t seed = 1;  // noise generator seed
};

struct Sound {
    std::vector<Part> parts;
    double peak_db = -1.0;  // the loudest sample lands here (dB below full scale)
    double fade = 0.004;    // straight fades at both ends, seconds
};

double part_length(const Part& p);    // attack + sustain + decay
double sound_length(const Sound& s);  // the end of the last part
int sample_count(double seconds);     // rounded to whole samples at kRate

// The envelope's level at time t of a part: 0 before it and after attack + sustain + decay.
double envelope(const Part& p, double t);
// The pitch in Hz at time t with slide, arpeggio and vibrato (the oscillator keeps it in 10 Hz..20 kHz).
double pitch(const Part& p, double t);

// The part alone, sample_count(part_length) samples, at its own volume, not normalised.
std::vector<double> render_part(const Part& p);
// All parts mixed, scaled so the peak is at peak_db, faded at both ends, as 16-bit samples.
// Throws std::invalid_argument for a sound without parts or of zero length.
std::vector<int16_t> render(const Sound& s);

}  // namespace gen::synth
