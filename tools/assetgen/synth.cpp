// The synthesiser: phase-accumulating oscillators, a fixed-seed noise source, envelopes, filters
// and the final mix, all in double precision so every run gives the same samples.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gen::synth {

namespace {

constexpr double kPi = 3.14159265358979323846;

// xorshift32: a noise source of our own, the same numbers on every machine for one seed.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483648.0 - 1.0;  // -1 .. 1
    }
};

double slid(double hz, double semitones_per_s, double t) {
    return std::clamp(hz * std::pow(2.0, semitones_per_s * t / 12.0), 10.0, 20000.0);
}

// One-pole low-pass stage; the high-pass is the input less its low-pass.
struct OnePole {
    double y = 0;
    double step(double x, double cutoff) {
        double a = 1.0 - std::exp(-2.0 * kPi * cutoff / kRate);
        y += a * (x - y);
        return y;
    }
};

}  // namespace

double part_length(const Part& p) { return p.attack + p.sustain + p.decay; }

double sound_length(const Sound& s) {
    double end = 0;
    for (const Part& p : s.parts) end = std::max(end, p.start + part_length(p));
    return end;
}

int sample_count(double seconds) { return int(std::lround(seconds * kRate)); }

double envelope(const Part& p, double t) {
    if (t < 0) return 0;
    if (t < p.attack) return t / p.attack;
    t -= p.attack;
    if (t < p.sustain) return 1.0 + p.punch * (1.0 - t / p.sustain);
    t -= p.sustain;
    if (t < p.decay) return std::pow(1.0 - t / p.decay, p.decay_curve);
    return 0;
}

double pitch(const Part& p, double t) {
    double semis = p.slide * t + 0.5 * p.slide_accel * t * t;
    if (!p.arp.empty() && p.arp_step > 0) {
        size_t step = size_t(t / p.arp_step);
        semis += p.arp[p.arp_loop ? step % p.arp.size() : std::min(step, p.arp.size() - 1)];
    }
    if (p.vibrato_depth != 0) semis += p.vibrato_depth * std::sin(2.0 * kPi * p.vibrato_rate * t);
    return p.freq * std::pow(2.0, semis / 12.0);
}

std::vector<double> render_part(const Part& p) {
    const int n = sample_count(part_length(p));
    std::vector<double> out(size_t(std::max(n, 0)));
    Noise noise(p.seed);
    double phase = 0, held = noise.next();
    OnePole lp1, lp2, hp;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / kRate;
        const double f = std::clamp(pitch(p, t), 10.0, 20000.0);
        double v = 0;
        switch (p.wave) {
            case Wave::Square:
                v = phase < p.duty ? 1.0 : -1.0;
                break;
            case Wave::Saw:
                v = 2.0 * phase - 1.0;
                break;
            case Wave::Triangle:
                v = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
                break;
            case Wave::Sine:
                v = std::sin(2.0 * kPi * phase);
                break;
            case Wave::Noise:
                v = held;
                break;
        }
        const double before = phase;
        phase += f / kRate;
        if (p.wave == Wave::Noise && (phase >= 1.0 || (before < 0.5 && phase >= 0.5))) held = noise.next();
        phase -= std::floor(phase);
        if (p.lowpass > 0) {
            double cut = slid(p.lowpass, p.lowpass_slide, t);
            v = lp2.step(lp1.step(v, cut), cut);
        }
        if (p.highpass > 0) v -= hp.step(v, slid(p.highpass, p.highpass_slide, t));
        out[size_t(i)] = v * envelope(p, t) * p.volume;
    }
    return out;
}

std::vector<int16_t> render(const Sound& s) {
    const int n = sample_count(sound_length(s));
    if (s.parts.empty() || n <= 0) throw std::invalid_argument("a sound needs a part of some length");
    std::vector<double> mix(size_t(n), 0.0);
    for (const Part& p : s.parts) {
        std::vector<double> v = render_part(p);
        const int at = sample_count(p.start);
        for (size_t i = 0; i < v.size() && at + int(i) < n; ++i) mix[size_t(at) + i] += v[i];
    }
    double peak = 0;
    for (double v : mix) peak = std::max(peak, std::fabs(v));
    const double limit = std::floor(32767.0 * std::pow(10.0, s.peak_db / 20.0));
    const double gain = peak > 0 ? limit / peak : 0;
    const int fade = std::min(sample_count(s.fade), n / 2);
    std::vector<int16_t> out(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        double v = mix[size_t(i)] * gain;
        if (i < fade) v *= double(i) / fade;
        if (n - 1 - i < fade) v *= double(n - 1 - i) / fade;
        out[size_t(i)] = int16_t(std::clamp(std::round(v), -limit, limit));
    }
    return out;
}

}  // namespace gen::synth
