// The sound writer: parses the key = value sources of assets/sfx/, renders them with the
// synthesiser and writes each as a 16-bit mono WAV file named by the sound table.
#include "sounds.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>

#include "assetgen.h"
#include "core/asset_table.h"

namespace gen {

namespace {

using synth::Part;
using synth::Sound;
using synth::Wave;

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

struct Reader {
    const std::string& name;
    int line;
    [[noreturn]] void fail(const std::string& what) const {
        throw std::runtime_error(name + ":" + std::to_string(line) + ": " + what);
    }
    double number(const std::string& key, const std::string& v, double lo, double hi) const {
        char* end = nullptr;
        double d = std::strtod(v.c_str(), &end);
        if (v.empty() || *end != '\0' || !std::isfinite(d)) fail(key + " needs a number, not '" + v + "'");
        if (d < lo || d > hi) {
            std::ostringstream msg;
            msg << key << " must lie in " << lo << " .. " << hi;
            fail(msg.str());
        }
        return d;
    }
};

void set_part_key(Part& p, const std::string& key, const std::string& v, const Reader& r) {
    using Setter = std::function<void()>;
    auto num = [&](double& field, double lo, double hi) {
        return Setter([&, lo, hi] { field = r.number(key, v, lo, hi); });
    };
    const std::map<std::string, Setter> keys = {
        {"start", num(p.start, 0, kMaxSoundSeconds)},
        {"freq", num(p.freq, 10, 20000)},
        {"duty", num(p.duty, 0.01, 0.99)},
        {"slide", num(p.slide, -1000, 1000)},
        {"slide_accel", num(p.slide_accel, -10000, 10000)},
        {"vibrato_depth", num(p.vibrato_depth, 0, 24)},
        {"vibrato_rate", num(p.vibrato_rate, 0, 100)},
        {"arp_step", num(p.arp_step, 0.001, kMaxSoundSeconds)},
        {"attack", num(p.attack, 0, kMaxSoundSeconds)},
        {"sustain", num(p.sustain, 0, kMaxSoundSeconds)},
        {"decay", num(p.decay, 0, kMaxSoundSeconds)},
        {"punch", num(p.punch, 0, 4)},
        {"decay_curve", num(p.decay_curve, 0.1, 8)},
        {"volume", num(p.volume, 0, 4)},
        {"lowpass", num(p.lowpass, 10, 20000)},
        {"lowpass_slide", num(p.lowpass_slide, -1000, 1000)},
        {"highpass", num(p.highpass, 10, 20000)},
        {"highpass_slide", num(p.highpass_slide, -1000, 1000)},
        {"seed", Setter([&] { p.seed = uint32_t(r.number(key, v, 1, 4294967295.0)); })},
        {"arp_loop", Setter([&] {
             if (v != "yes" && v != "no") r.fail("arp_loop is yes or no");
             p.arp_loop = v == "yes";
         })},
        {"wave", Setter([&] {
             static const std::map<std::string, Wave> waves = {{"square", Wave::Square},
                                                               {"saw", Wave::Saw},
                                                               {"triangle", Wave::Triangle},
                                                               {"sine", Wave::Sine},
                                                               {"noise", Wave::Noise}};
             auto it = waves.find(v);
             if (it == waves.end()) r.fail("wave is square, saw, triangle, sine or noise, not '" + v + "'");
             p.wave = it->second;
         })},
        {"arp", Setter([&] {
             std::istringstream in(v);
             std::string step;
             p.arp.clear();
             while (in >> step) p.arp.push_back(r.number(key, step, -48, 48));
             if (p.arp.empty()) r.fail("arp needs semitone steps");
         })},
    };
    auto it = keys.find(key);
    if (it == keys.end()) r.fail("unknown part key '" + key + "'");
    it->second();
}

}  // namespace

void set_sound_part_key(Part& p, const std::string& key, const std::string& value, const std::string& name,
                        int line) {
    set_part_key(p, key, value, Reader{name, line});
}

Sound parse_sound(const std::string& text, const std::string& name) {
    Sound s;
    std::istringstream in(text);
    std::string line;
    Reader r{name, 0};
    bool in_part = false;
    while (std::getline(in, line)) {
        ++r.line;
        std::string t = trim(line.substr(0, line.find('#')));
        if (t.empty()) continue;
        if (t == "[part]") {
            s.parts.emplace_back();
            s.parts.back().seed = uint32_t(s.parts.size());
            in_part = true;
            continue;
        }
        size_t eq = t.find('=');
        if (eq == std::string::npos) r.fail("expected 'key = value' or '[part]'");
        std::string key = trim(t.substr(0, eq)), value = trim(t.substr(eq + 1));
        if (in_part) {
            set_part_key(s.parts.back(), key, value, r);
        } else if (key == "peak_db") {
            s.peak_db = r.number(key, value, -40, -1);
        } else if (key == "fade") {
            s.fade = r.number(key, value, 0.001, 0.1);
        } else {
            r.fail("unknown sound key '" + key + "' (part keys follow a '[part]' line)");
        }
    }
    if (s.parts.empty()) r.fail("a sound needs at least one [part]");
    for (const Part& p : s.parts)
        if (synth::part_length(p) <= 0) r.fail("every part needs some attack, sustain or decay");
    if (synth::sound_length(s) > kMaxSoundSeconds) r.fail("the sound is longer than 2 seconds");
    return s;
}

std::vector<uint8_t> wav_bytes(const std::vector<int16_t>& samples) {
    const uint32_t data = uint32_t(samples.size() * 2);
    std::vector<uint8_t> b(44 + size_t(data));
    size_t at = 0;
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) b[at++] = uint8_t(t[i]);
    };
    auto u16 = [&](uint32_t v) {
        b[at++] = uint8_t(v);
        b[at++] = uint8_t(v >> 8);
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xffff);
        u16(v >> 16);
    };
    tag("RIFF");
    u32(36 + data);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(synth::kRate);
    u32(synth::kRate * 2);  // bytes per second
    u16(2);                 // bytes per frame
    u16(16);                // bits per sample
    tag("data");
    u32(data);
    for (int16_t v : samples) u16(uint16_t(v));
    return b;
}

void write_sounds(const std::string& src, const std::string& out) {
    std::filesystem::create_directories(out + "/sfx");
    for (const char* file : kSoundTable) {
        const std::string stem = std::filesystem::path(file).stem().string();
        const std::string path = src + "/sfx/" + stem + ".txt";
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error(path + ": cannot open");
        std::stringstream text;
        text << in.rdbuf();
        std::vector<uint8_t> wav = wav_bytes(synth::render(parse_sound(text.str(), path)));
        const std::string dest = out + "/" + file;
        std::ofstream f(dest, std::ios::binary);
        f.write(reinterpret_cast<const char*>(wav.data()), std::streamsize(wav.size()));
        if (!f.flush()) throw std::runtime_error(dest + ": cannot write");
    }
}

}  // namespace gen
