// WAV decoding (the four PCM layouts, chunk walking, rejections) and the voice rules: a channel
// cuts off its sound, channel-less sounds overlap, voices end after their sound's length.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/engine.h"
#include "engine/headless.h"
#include "tests/engine/headless_fixture.h"

namespace {

using namespace enginetest;

class Sounds : public HeadlessScreen {
  protected:
    TSound* load_bytes(const std::vector<uint8_t>& bytes) {
        const std::string path = at("s" + std::to_string(n_++) + ".wav");
        save(path, bytes);
        return load_sound(path, 0);
    }
    int n_ = 0;
};

TEST_F(Sounds, TheFourPcmLayoutsLoadWithTheirFrameCounts) {
    struct Layout {
        int channels, bits;
    };
    for (Layout l : {Layout{1, 8}, Layout{2, 8}, Layout{1, 16}, Layout{2, 16}}) {
        TSound* s = load_bytes(simple_wav(l.channels, 22050, l.bits, 441));
        ASSERT_NE(s, nullptr) << l.channels << " channels, " << l.bits << " bits";
        EXPECT_EQ(s->rate, 22050);
        EXPECT_EQ(s->channels, l.channels);
        EXPECT_EQ(s->bits, l.bits);
        EXPECT_EQ(s->frames, 441);
    }
}

TEST_F(Sounds, ExtraFormatBytesAndOtherChunksAreSkippedByTheirLengths) {
    std::vector<uint8_t> data(2 * 2 * 100, 1);
    std::vector<uint8_t> list = {'I', 'N', 'F', 'O', 'x'};  // odd length: padded to even
    TSound* s = load_bytes(riff({chunk("fmt ", fmt_body(1, 2, 8000, 16, 2)), chunk("LIST", list),
                                 chunk("fact", {4, 0, 0, 0}), chunk("data", data)}));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->rate, 8000);
    EXPECT_EQ(s->frames, 100);
}

TEST_F(Sounds, APartialLastFrameIsNotCounted) {
    std::vector<uint8_t> data(4 * 10 + 3, 0);
    TSound* s = load_bytes(riff({chunk("fmt ", fmt_body(1, 2, 11025, 16)), chunk("data", data)}));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->frames, 10);
}

TEST_F(Sounds, FilesOutsideTheFourLayoutsLoadAsNone) {
    const std::vector<uint8_t> data(64, 0);
    std::vector<uint8_t> not_riff = simple_wav(1, 8000, 8, 64);
    not_riff[3] = 'X';
    EXPECT_EQ(load_bytes(not_riff), nullptr) << "not RIFF";
    std::vector<uint8_t> not_wave = simple_wav(1, 8000, 8, 64);
    not_wave[8] = 'A';
    EXPECT_EQ(load_bytes(not_wave), nullptr) << "not WAVE";
    EXPECT_EQ(load_bytes(riff({chunk("fmt ", fmt_body(3, 1, 8000, 32)), chunk("data", data)})), nullptr)
        << "format tag 3";
    EXPECT_EQ(load_bytes(riff({chunk("fmt ", fmt_body(1, 1, 8000, 24)), chunk("data", data)})), nullptr)
        << "24-bit";
    EXPECT_EQ(load_bytes(riff({chunk("fmt ", fmt_body(1, 3, 8000, 16)), chunk("data", data)})), nullptr)
        << "three channels";
    EXPECT_EQ(load_bytes(riff({chunk("data", data), chunk("fmt ", fmt_body(1, 1, 8000, 8))})), nullptr)
        << "data before fmt";
    EXPECT_EQ(load_bytes(riff({chunk("fmt ", fmt_body(1, 1, 8000, 8))})), nullptr) << "no data";
    std::vector<uint8_t> truncated = simple_wav(2, 8000, 16, 100);
    truncated.resize(truncated.size() - 10);
    EXPECT_EQ(load_bytes(truncated), nullptr) << "truncated";
    std::vector<uint8_t> short_fmt = {1, 0, 1, 0, 0x40, 0x1f, 0, 0};
    EXPECT_EQ(load_bytes(riff({chunk("fmt ", short_fmt), chunk("data", data)})), nullptr) << "short fmt";
    EXPECT_EQ(load_sound(at("missing.wav"), 0), nullptr);
}

class Voices : public Sounds {
  protected:
    void SetUp() override {
        Sounds::SetUp();
        // 1000 frames at 10000 Hz: 100 ms.
        sound_ = load_bytes(simple_wav(1, 10000, 16, 1000));
        ASSERT_NE(sound_, nullptr);
        headless::advance_ms(1000);  // whatever earlier tests left sounding has ended
    }
    static int count_on(const std::vector<headless::Voice>& v, int channel) {
        return int(std::count_if(v.begin(), v.end(),
                                 [&](const headless::Voice& x) { return x.channel == channel; }));
    }
    TSound* sound_ = nullptr;
};

TEST_F(Voices, AChannelCutsOffItsSoundWhileFreeSoundsOverlap) {
    TChannel* ch = alloc_channel();
    ASSERT_NE(ch, nullptr);
    const int t = headless::virtual_ms();
    EXPECT_EQ(play_sound(sound_, ch), ch);
    play_sound(sound_, nullptr);
    headless::advance_ms(10);
    play_sound(sound_, ch);
    play_sound(sound_, nullptr);
    const auto v = headless::voices_playing();
    EXPECT_EQ(count_on(v, ch->id), 1);
    EXPECT_EQ(count_on(v, 0), 2);
    for (const headless::Voice& x : v) {
        if (x.channel == ch->id) {
            EXPECT_EQ(x.start_ms, t + 10);  // the restarted one
        }
    }
}

TEST_F(Voices, VoicesEndAfterTheirSoundsLength) {
    TChannel* ch = alloc_channel();
    play_sound(sound_, nullptr);
    headless::advance_ms(50);
    play_sound(sound_, ch);
    headless::advance_ms(49);
    EXPECT_EQ(headless::voices_playing().size(), 2u);
    headless::advance_ms(1);  // the first one's 100 ms are over
    auto v = headless::voices_playing();
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].channel, ch->id);
    headless::advance_ms(50);
    EXPECT_TRUE(headless::voices_playing().empty());
}

TEST_F(Voices, ChannelsAreDistinctAndEachPlaysItsOwnSound) {
    TChannel* a = alloc_channel();
    TChannel* b = alloc_channel();
    EXPECT_NE(a->id, b->id);
    play_sound(sound_, a);
    play_sound(sound_, b);
    const auto v = headless::voices_playing();
    EXPECT_EQ(count_on(v, a->id), 1);
    EXPECT_EQ(count_on(v, b->id), 1);
}

TEST_F(Voices, TheSoundLogRecordsEveryPlayWithChannelAndFrame) {
    TChannel* ch = alloc_channel();
    cls();
    const int f = headless::frames_begun() - 1;
    play_sound(sound_, ch);
    play_sound(sound_, nullptr);
    flip(0);
    const auto& log = headless::sound_log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].sound, sound_);
    EXPECT_EQ(log[0].channel, ch->id);
    EXPECT_EQ(log[0].frame, f);
    EXPECT_EQ(log[1].channel, 0);
    headless::clear_sound_log();
    EXPECT_TRUE(headless::sound_log().empty());
}

}  // namespace
