// The sound effects: the WAV files the game loads, their levels and lengths, the synthesiser's
// rules and the source parser's rejections.
#include "sounds.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen.h"
#include "core/asset_table.h"
#include "synth.h"

namespace {

namespace fs = std::filesystem;
using gen::synth::kRate;
using gen::synth::Part;
using gen::synth::Sound;
using gen::synth::Wave;

const std::string kAssets = std::string(CINDER_SOURCE_DIR) + "/assets";

std::vector<uint8_t> read_all(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t u16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
std::string tag(const std::vector<uint8_t>& b, size_t at) {
    return std::string(b.begin() + long(at), b.begin() + long(at) + 4);
}

// Reads a WAV the way the game's loader does: RIFF/WAVE, chunks skipped by their lengths up to
// "data", "fmt " checked on the way. Fails the test on anything the game would not load.
std::vector<int16_t> decode(const std::vector<uint8_t>& b, const std::string& name) {
    EXPECT_GE(b.size(), 44u) << name;
    if (b.size() < 44) return {};
    EXPECT_EQ(tag(b, 0), "RIFF") << name;
    EXPECT_EQ(tag(b, 8), "WAVE") << name;
    EXPECT_EQ(u32(b, 4), b.size() - 8) << name;
    bool fmt = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string id = tag(b, at);
        uint32_t len = u32(b, at + 4);
        if (id == "fmt ") {
            fmt = true;
            EXPECT_EQ(u16(b, at + 8), 1) << name << ": PCM";
            EXPECT_EQ(u16(b, at + 10), 1) << name << ": mono";
            EXPECT_EQ(u32(b, at + 12), 44100u) << name;
            EXPECT_EQ(u32(b, at + 16), 88200u) << name << ": bytes per second";
            EXPECT_EQ(u16(b, at + 20), 2) << name << ": bytes per frame";
            EXPECT_EQ(u16(b, at + 22), 16) << name;
        } else if (id == "data") {
            EXPECT_TRUE(fmt) << name << ": fmt comes first";
            EXPECT_EQ(at + 8 + len, b.size()) << name << ": data runs to the end of the file";
            std::vector<int16_t> s(len / 2);
            for (size_t i = 0; i < s.size(); ++i) s[i] = int16_t(u16(b, at + 8 + 2 * i));
            return s;
        }
        at += 8 + len + (len & 1);
    }
    ADD_FAILURE() << name << ": no data chunk";
    return {};
}

int peak(const std::vector<int16_t>& s) {
    int p = 0;
    for (int16_t v : s) p = std::max(p, std::abs(int(v)));
    return p;
}

const int kMinus1dB = int(32767 * std::pow(10.0, -1.0 / 20.0));

class SoundFiles : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        fs::path dir = fs::temp_directory_path() / ("cinder_sfx_" + std::to_string(getpid()));
        fs::remove_all(dir);
        gen::write_sounds(kAssets, (dir / "a").string());
        gen::write_sounds(kAssets, (dir / "b").string());
        files_ = new std::map<std::string, std::vector<uint8_t>>;
        again_ = new std::map<std::string, std::vector<uint8_t>>;
        for (const char* f : kSoundTable) {
            (*files_)[f] = read_all(dir / "a" / f);
            (*again_)[f] = read_all(dir / "b" / f);
        }
        fs::remove_all(dir);
    }
    static void TearDownTestSuite() {
        delete files_;
        delete again_;
    }
    static std::vector<int16_t> samples(const std::string& f) { return decode(files_->at(f), f); }
    static double seconds(const std::string& f) { return double(samples(f).size()) / kRate; }
    static std::map<std::string, std::vector<uint8_t>>* files_;
    static std::map<std::string, std::vector<uint8_t>>* again_;
};
std::map<std::string, std::vector<uint8_t>>* SoundFiles::files_ = nullptr;
std::map<std::string, std::vector<uint8_t>>* SoundFiles::again_ = nullptr;

TEST_F(SoundFiles, EveryTableEntryIsAPcmMonoWaveTheGameLoads) {
    for (const char* f : kSoundTable) EXPECT_FALSE(samples(f).empty()) << f;
}

TEST_F(SoundFiles, PeaksStayAtOrBelowMinusOneDecibel) {
    for (const char* f : kSoundTable) {
        int p = peak(samples(f));
        EXPECT_LE(p, kMinus1dB) << f;
        EXPECT_GT(p, 3000) << f << " is nearly silent";
    }
}

TEST_F(SoundFiles, LengthsSuitTheirEvents) {
    for (const char* f : kSoundTable) {
        double limit = std::string(f) == "sfx/explosion5.wav" ? 2.0 : 1.5;
        EXPECT_LE(seconds(f), limit) << f;
    }
    // The gun fires every 9 frames and its sound must not smear into a drone.
    EXPECT_LE(seconds("sfx/shot1.wav"), 9.0 / 75);
    // A stream gun plays bullet2 every 5 frames, a twin turret bullet3 every 7.
    EXPECT_LE(seconds("sfx/bullet2.wav"), 0.1);
    EXPECT_LE(seconds("sfx/bullet3.wav"), 0.1);
    // The ship's explosion is the biggest of the five.
    for (const char* f :
         {"sfx/explosion1.wav", "sfx/explosion2.wav", "sfx/explosion3.wav", "sfx/explosion4.wav"})
        EXPECT_GT(seconds("sfx/explosion5.wav"), seconds(f)) << f;
    EXPECT_LT(seconds("sfx/explosion1.wav"), seconds("sfx/explosion2.wav"));
}

TEST_F(SoundFiles, TheMainGunIsQuieterThanWhatItHits) {
    EXPECT_LT(peak(samples("sfx/shot1.wav")) * 2, peak(samples("sfx/explosion1.wav")));
}

TEST_F(SoundFiles, StartAndEndInSilence) {
    for (const char* f : kSoundTable) {
        std::vector<int16_t> s = samples(f);
        ASSERT_GT(s.size(), 10u);
        EXPECT_EQ(s.front(), 0) << f;
        EXPECT_EQ(s.back(), 0) << f;
        EXPECT_LT(std::abs(int(s[s.size() - 2])), 1000) << f;
    }
}

TEST_F(SoundFiles, TwoRunsWriteTheSameBytes) {
    for (const char* f : kSoundTable) EXPECT_EQ(files_->at(f), again_->at(f)) << f;
}

// ---- the synthesiser

Part tone(Wave w, double freq, double seconds) {
    Part p;
    p.wave = w;
    p.freq = freq;
    p.attack = 0.01;
    p.sustain = seconds - 0.02;
    p.decay = 0.01;
    return p;
}

int crossings(const std::vector<double>& v, size_t from, size_t to) {
    int n = 0;
    for (size_t i = from + 1; i < to; ++i) n += (v[i - 1] < 0) != (v[i] < 0);
    return n;
}

TEST(Synth, AStepsEnvelopeSetsTheLengthAndShape) {
    Part p = tone(Wave::Square, 440, 0.5);
    p.attack = 0.1;
    p.sustain = 0.2;
    p.decay = 0.3;
    EXPECT_EQ(gen::synth::render_part(p).size(), size_t(std::lround(0.6 * kRate)));
    EXPECT_DOUBLE_EQ(gen::synth::envelope(p, 0), 0);
    EXPECT_DOUBLE_EQ(gen::synth::envelope(p, 0.05), 0.5);
    EXPECT_DOUBLE_EQ(gen::synth::envelope(p, 0.2), 1);
    EXPECT_NEAR(gen::synth::envelope(p, 0.45), 0.5, 1e-9);
    EXPECT_DOUBLE_EQ(gen::synth::envelope(p, 0.6), 0);
    p.decay_curve = 2;
    EXPECT_NEAR(gen::synth::envelope(p, 0.45), 0.25, 1e-9);
    p.punch = 1;
    EXPECT_NEAR(gen::synth::envelope(p, 0.1), 2, 1e-9);
    EXPECT_NEAR(gen::synth::envelope(p, 0.2), 1.5, 1e-9);
}

TEST(Synth, SlidesMoveThePitchTheirWay) {
    Part down = tone(Wave::Sine, 2000, 1.0);
    down.slide = -24;  // two octaves in the second
    EXPECT_NEAR(gen::synth::pitch(down, 1.0), 500, 1e-6);
    std::vector<double> v = gen::synth::render_part(down);
    const size_t tenth = kRate / 10;
    EXPECT_GT(crossings(v, 0, tenth), 2 * crossings(v, v.size() - tenth, v.size()));
    Part up = down;
    up.slide = 24;
    std::vector<double> u = gen::synth::render_part(up);
    EXPECT_LT(2 * crossings(u, 0, tenth), crossings(u, u.size() - tenth, u.size()));
    // Acceleration bends a rising slide back down.
    Part bend = up;
    bend.slide_accel = -48;
    EXPECT_NEAR(gen::synth::pitch(bend, 0.5), 2000 * std::pow(2.0, 6.0 / 12), 1e-6);
    EXPECT_NEAR(gen::synth::pitch(bend, 1.0), 2000, 1e-6);
}

TEST(Synth, ArpeggiosStepAndHoldOrLoop) {
    Part p = tone(Wave::Square, 440, 1.0);
    p.arp = {0, 12, 7};
    p.arp_step = 0.1;
    EXPECT_NEAR(gen::synth::pitch(p, 0.05), 440, 1e-9);
    EXPECT_NEAR(gen::synth::pitch(p, 0.15), 880, 1e-9);
    EXPECT_NEAR(gen::synth::pitch(p, 0.95), 440 * std::pow(2.0, 7.0 / 12), 1e-9);
    p.arp_loop = true;
    EXPECT_NEAR(gen::synth::pitch(p, 0.35), 440, 1e-9);
}

TEST(Synth, NoiseIsFixedBySeedAndFiltersTameIt) {
    Part n = tone(Wave::Noise, 20000, 0.3);
    std::vector<double> a = gen::synth::render_part(n), b = gen::synth::render_part(n);
    EXPECT_EQ(a, b);
    Part other = n;
    other.seed = 99;
    EXPECT_NE(gen::synth::render_part(other), a);
    Part dull = n;
    dull.lowpass = 300;
    EXPECT_LT(crossings(gen::synth::render_part(dull), 0, a.size()) * 4, crossings(a, 0, a.size()));
    Part thin = tone(Wave::Square, 100, 0.3);
    thin.highpass = 4000;
    double loud = 0, quiet = 0;
    std::vector<double> plain = gen::synth::render_part(tone(Wave::Square, 100, 0.3)),
                        cut = gen::synth::render_part(thin);
    for (size_t i = 0; i < plain.size(); ++i) {
        loud += plain[i] * plain[i];
        quiet += cut[i] * cut[i];
    }
    EXPECT_LT(quiet * 4, loud);
}

TEST(Synth, MixesPartsAtTheirStartAndNormalisesThePeak) {
    Sound s;
    s.parts = {tone(Wave::Sine, 300, 0.2), tone(Wave::Saw, 600, 0.2)};
    s.parts[1].start = 0.5;
    s.parts[1].volume = 3;
    s.peak_db = -6;
    std::vector<int16_t> out = gen::synth::render(s);
    EXPECT_EQ(out.size(), size_t(std::lround(0.7 * kRate)));
    EXPECT_EQ(peak(out), int(std::floor(32767 * std::pow(10.0, -6.0 / 20))));
    for (size_t i = size_t(0.21 * kRate); i < size_t(0.49 * kRate); ++i) ASSERT_EQ(out[i], 0) << i;
    EXPECT_EQ(gen::synth::render(s), out);
    EXPECT_THROW(gen::synth::render(Sound{}), std::invalid_argument);
}

// ---- the sound sources

TEST(SoundSource, ReadsSoundAndPartKeys) {
    Sound s = gen::parse_sound(
        "# a test\npeak_db = -6\n[part]\nwave = noise   # hiss\nfreq = 900\narp = 0 7 -12\narp_step = 0.1\n"
        "arp_loop = yes\n[part]\nstart = 0.2\ndecay = 0.3\n",
        "t.txt");
    EXPECT_EQ(s.peak_db, -6);
    ASSERT_EQ(s.parts.size(), 2u);
    EXPECT_EQ(s.parts[0].wave, Wave::Noise);
    EXPECT_EQ(s.parts[0].arp, (std::vector<double>{0, 7, -12}));
    EXPECT_TRUE(s.parts[0].arp_loop);
    EXPECT_EQ(s.parts[1].start, 0.2);
    EXPECT_NE(s.parts[0].seed, s.parts[1].seed);
}

void expect_rejected(const std::string& text, const std::string& what) {
    try {
        gen::parse_sound(text, "t.txt");
        ADD_FAILURE() << "accepted; expected " << what;
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(what), std::string::npos) << e.what();
    }
}

TEST(SoundSource, RejectsWhatItCannotPlay) {
    expect_rejected("[part]\nfrequency = 100\n", "t.txt:2: unknown part key 'frequency'");
    expect_rejected("freq = 100\n[part]\n", "t.txt:1: unknown sound key");
    expect_rejected("[part]\nfreq = loud\n", "t.txt:2: freq needs a number");
    expect_rejected("[part]\nduty = 1.5\n", "t.txt:2: duty must lie in");
    expect_rejected("[part]\nwave = organ\n", "t.txt:2: wave is");
    expect_rejected("peak_db = 0\n[part]\n", "t.txt:1: peak_db must lie in");
    expect_rejected("# nothing\n", "needs at least one [part]");
    expect_rejected("[part]\nsustain = 1.5\ndecay = 0.6\n", "longer than 2 seconds");
    expect_rejected("[part]\nattack = 0\nsustain = 0\ndecay = 0\n", "some attack, sustain or decay");
    expect_rejected("[part]\njust words\n", "t.txt:2: expected 'key = value'");
}

TEST(SoundSource, EveryShippedSourceParses) {
    for (const char* f : kSoundTable) {
        std::string stem = fs::path(f).stem().string();
        std::ifstream in(kAssets + "/sfx/" + stem + ".txt");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NO_THROW(gen::parse_sound(text, stem)) << stem;
    }
}

}  // namespace
