// The music: note names, the score parser's rejections, the loop's seam, and every piece of
// assets/music/ against its limits: peak, no clipping, a seamless join, and a level 6 dB under
// the effects'.
#include "music.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/asset_table.h"
#include "sounds.h"
#include "synth.h"

namespace {

const std::string kAssets = std::string(CINDER_SOURCE_DIR) + "/assets";

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

double rms_db(const std::vector<int16_t>& v) {
    double sum = 0;
    for (int16_t s : v) sum += double(s) * s;
    return 20 * std::log10(std::sqrt(sum / double(v.size())) / 32768.0);
}

// The step between neighbouring samples that `share` of all steps stay at or under.
int step_at(const std::vector<int16_t>& v, double share) {
    std::vector<int> steps;
    for (size_t i = 1; i < v.size(); ++i) steps.push_back(std::abs(v[i] - v[i - 1]));
    std::sort(steps.begin(), steps.end());
    return steps[size_t(share * double(steps.size() - 1))];
}

const std::string kHead = "tempo = 120\nsteps_per_beat = 4\n";

TEST(MusicScore, NotesArePitchedFromA440WithSharpsAndFlats) {
    EXPECT_DOUBLE_EQ(gen::note_hz("A4"), 440.0);
    EXPECT_NEAR(gen::note_hz("C4"), 261.626, 0.001);
    EXPECT_DOUBLE_EQ(gen::note_hz("C#4"), gen::note_hz("Db4"));
    EXPECT_NEAR(gen::note_hz("A5") / gen::note_hz("A4"), 2.0, 1e-12);
    EXPECT_NEAR(gen::note_hz("B3") * std::pow(2.0, 1.0 / 12.0), gen::note_hz("C4"), 1e-9);
    for (const char* bad : {"H4", "A", "A#", "A9", "a4", "Ab#4", "A44", "x4"})
        EXPECT_EQ(gen::note_hz(bad), 0) << bad;
}

TEST(MusicScore, MistakesAreNamedByTheirLine) {
    auto error = [](const std::string& text) -> std::string {
        try {
            gen::parse_score(text, "s.txt");
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "";
    };
    const std::string inst = "[instrument bass]\nwave = saw\n";
    const std::string song = "[song]\norder = a\n";
    EXPECT_EQ(error(kHead + inst + "[pattern a]\nbass = C2 . H2\n" + song),
              "s.txt:6: 'H2' is not a note, '-', '.' or 'x'");
    EXPECT_EQ(error(kHead + inst + "[pattern a]\nlead = C4\n" + song),
              "s.txt:6: no instrument 'lead' for the track");
    EXPECT_EQ(error(kHead + inst + "[pattern a]\nbass = C2\n[song]\norder = a b\n"),
              "s.txt:8: the order names pattern 'b', never written");
    EXPECT_EQ(error(kHead + inst + "[pattern a]\nbass = C2\n"),
              "s.txt:6: the score needs a [song] with an order");
    EXPECT_EQ(error(std::string("tempo = 500\n")), "s.txt:1: tempo needs a number in 40 .. 300, not '500'");
    EXPECT_EQ(error(kHead + "[instrument bass]\nwobble = 3\n"), "s.txt:4: unknown part key 'wobble'");
    // A '#' that begins a word is a comment; inside one it is a sharp.
    EXPECT_EQ(error(kHead + inst + "[pattern a]\nbass = C#2 . # D2 H9\n" + song), "");
}

// One note held over the last step of a loop rings on into its start; a piece that ends keeps
// the ring in its tail instead.
TEST(MusicScore, ALoopsTailsRingIntoItsStartSoTheSeamJoins) {
    const std::string text = kHead +
                             "[instrument pad]\nwave = triangle\nattack = 0.01\ndecay = 0.3\n"
                             "[pattern a]\npad = . . . . . . . A3\n[song]\norder = a\n";
    const gen::Score loop = gen::parse_score(text, "loop");
    gen::Score once = gen::parse_score(text + "", "once");
    once.loop = false;
    const std::vector<int16_t> looped = gen::render_score(loop), ended = gen::render_score(once);
    const int bar = gen::piece_samples(loop);
    EXPECT_EQ(int(looped.size()), bar);
    EXPECT_EQ(int(ended.size()), bar + gen::synth::sample_count(once.tail));
    EXPECT_NE(looped.front(), 0);  // the ring, folded onto the start
    EXPECT_EQ(ended.front(), 0);
    EXPECT_LE(std::abs(looped.front() - looped.back()), step_at(looped, 0.95));
}

class MusicPieces : public ::testing::TestWithParam<const char*> {};

TEST_P(MusicPieces, PeakLevelAndSeamStayInTheirLimits) {
    const std::string name = GetParam();
    const gen::Score score = gen::parse_score(read_text(kAssets + "/music/" + name + ".txt"), name);
    const std::vector<int16_t> pcm = gen::render_score(score);
    // At most -1 dBFS, so nothing reaches full scale (no clipped sample either).
    int peak = 0;
    for (int16_t s : pcm) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LE(peak, int(32767 * std::pow(10.0, -1.0 / 20.0))) << name;
    EXPECT_GT(peak, 32767 / 20) << name;
    // The effects' typical level: the median of their 14 RMS levels.
    std::vector<double> effects;
    for (const char* file : kSoundTable) {
        const std::string stem = std::string(file).substr(4, std::string(file).size() - 8);
        const std::string path = kAssets + "/sfx/" + stem + ".txt";
        effects.push_back(rms_db(gen::synth::render(gen::parse_sound(read_text(path), path))));
    }
    std::sort(effects.begin(), effects.end());
    const double typical = (effects[6] + effects[7]) / 2;
    EXPECT_NEAR(rms_db(pcm) - typical, -6.0, 1.0) << name;
    if (score.loop) {
        // The last sample runs into the first as neighbours typically do (nine steps in ten are
        // no smaller); a tail cut at the end and missing from the start would step by thousands.
        EXPECT_LE(std::abs(pcm.front() - pcm.back()), step_at(pcm, 0.9)) << name;
    } else {
        EXPECT_EQ(pcm.back(), 0) << name;  // a jingle ends faded out
    }
}

INSTANTIATE_TEST_SUITE_P(Each, MusicPieces, ::testing::ValuesIn(gen::kMusicPieces));

TEST(MusicFiles, OggVorbisBytesAreTheSameOnEveryRun) {
    std::vector<int16_t> pcm(44100);
    for (size_t i = 0; i < pcm.size(); ++i) pcm[i] = int16_t(8000 * std::sin(double(i) * 0.05));
    const std::vector<uint8_t> a = gen::ogg_vorbis_bytes(pcm, 0.2f), b = gen::ogg_vorbis_bytes(pcm, 0.2f);
    ASSERT_GT(a.size(), 100u);
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::string(a.begin(), a.begin() + 4), "OggS");
    EXPECT_EQ(std::string(a.begin() + 29, a.begin() + 35), "vorbis");  // the identification header
    EXPECT_LT(a.size(), pcm.size());                                   // well under the 88 kB of the samples
}

}  // namespace
