// Damaged and unexpected files meet the engine's readers: named pipes and folders in place of
// files never block or count as files, BMP headers are checked against the file before anything
// is allocated, 32-bit pictures keep their alpha, and WAV rates and lengths stay within what a
// sound can have, with the reason kept for the one line the game prints.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "engine/bmp.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "engine/wav.h"
#include "tests/engine/headless_fixture.h"

namespace {

using namespace enginetest;

class Damaged : public HeadlessScreen {
  protected:
    std::string pipe(const std::string& name) {
        const std::string path = at(name);
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        return path;
    }
    std::string file(const std::string& name, const std::vector<uint8_t>& bytes) {
        save(at(name), bytes);
        return at(name);
    }
};

// A pipe with no writer would block open() for good; every reader must refuse it at once. The
// child process is stopped by an alarm if anything blocks.
using DamagedDeathTest = Damaged;

TEST_F(DamagedDeathTest, NamedPipesAreNoFilesAndNeverBlock) {
    const std::string p = pipe("p");
    auto all_refused = [&] {
        ::alarm(10);
        const bool ok = file_type(p) == 3 && file_kind(p) == "a named pipe" &&
                        file_problem(p) == "is a named pipe, not a file" && file_size(p) == -1 &&
                        read_file(p) == nullptr && open_stream(p, 1, 1) == nullptr &&
                        write_file(p) == nullptr && load_image(p, -1) == nullptr &&
                        load_sound(p, 0) == nullptr &&
                        std::string(engine_last_error()) == "is a named pipe, not a file";
        std::_Exit(ok ? 0 : 3);
    };
    EXPECT_EXIT(all_refused(), ::testing::ExitedWithCode(0), "");
}

TEST_F(Damaged, FoldersAndFilesKeepTheirTypesAndEachKindIsNamed) {
    const std::string f = file("f.bin", {1});
    EXPECT_EQ(file_type(f), 1);
    EXPECT_EQ(file_problem(f), "");
    EXPECT_EQ(file_type(dir_), 2);
    EXPECT_EQ(file_problem(dir_), "is a folder, not a file");
    EXPECT_EQ(file_problem(at("none")), "not found");
    EXPECT_EQ(file_type("/dev/null"), 3);
    EXPECT_EQ(file_kind("/dev/null"), "a device");
    EXPECT_EQ(load_image(dir_, -1), nullptr);
    EXPECT_STREQ(engine_last_error(), "is a folder, not a file");
    EXPECT_TRUE(remove_file(f));
    EXPECT_EQ(file_type(f), 0);
    EXPECT_FALSE(remove_file(dir_));  // never a folder
}

// A BMP file header and a 40-byte information header.
std::vector<uint8_t> bmp_header(uint32_t header_size, int32_t w, int32_t h, int bits, uint32_t offset,
                                uint32_t colours = 0, uint32_t compression = 0) {
    std::vector<uint8_t> b = {'B', 'M'};
    put32(b, 0);
    put32(b, 0);
    put32(b, offset);
    put32(b, header_size);
    put32(b, uint32_t(w));
    put32(b, uint32_t(h));
    put16(b, 1);
    put16(b, uint32_t(bits));
    put32(b, compression);
    put32(b, 0);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, colours);
    put32(b, 0);
    return b;
}

TEST_F(Damaged, BmpHeadersAreCheckedAgainstTheFileBeforeDecoding) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* reason;  // a part of the one line
    };
    std::vector<uint8_t> huge_header = bmp_header(4278190120u, 4, 4, 24, 54);
    huge_header.resize(200, 0);
    // 100 bytes whose 256-colour palette would run to byte 1078.
    std::vector<uint8_t> palette_past_end = bmp_header(40, 2, 2, 8, 1078, 256);
    palette_past_end.resize(100, 0);
    // A 20000 x 20000 picture in 300 bytes, and a 4000 x 4000 one that holds one row.
    std::vector<uint8_t> too_large = bmp_header(40, 20000, 20000, 24, 54);
    too_large.resize(300, 0);
    std::vector<uint8_t> rows_missing = bmp_header(40, 4000, 4000, 24, 54);
    rows_missing.resize(54 + 12000, 0);
    std::vector<uint8_t> zero_width = bmp_header(40, 0, 4, 24, 54);
    zero_width.resize(200, 0);
    std::vector<uint8_t> overlapping = bmp_header(40, 1, 1, 24, 20);
    overlapping.resize(200, 0);
    // Two colours, but a pixel that names the third.
    std::vector<uint8_t> index_past_palette = bmp_header(40, 1, 1, 8, 54 + 8, 2);
    for (int i = 0; i < 8; ++i) index_past_palette.push_back(0);
    for (uint8_t v : {2, 0, 0, 0}) index_past_palette.push_back(v);
    std::vector<uint8_t> rle = bmp_header(40, 1, 1, 8, 54, 0, 1);
    rle.resize(2000, 0);
    const Case cases[] = {
        {"a header of 4278190120 bytes", huge_header, "4278190120"},
        {"a palette past the end", palette_past_end, "palette"},
        {"20000 x 20000", too_large, "20000 x 20000"},
        {"rows missing", rows_missing, "does not hold"},
        {"zero width", zero_width, "0 x 4"},
        {"pixels inside the header", overlapping, "overlap"},
        {"a colour index past the palette", index_past_palette, "past its palette"},
        {"run-length encoded", rle, "compressed"},
        {"no header at all", {'B', 'M', 0, 0}, "not a BMP"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(load_image(file("bad.bmp", c.bytes), -1), nullptr) << c.what;
        EXPECT_NE(std::string(engine_last_error()).find(c.reason), std::string::npos)
            << c.what << ": " << engine_last_error();
    }
}

TEST_F(Damaged, AThirtyTwoBitPictureWithAllAlphaZeroIsNeverDrawn) {
    write_bmp(at("clear.bmp"), 4, 4, std::vector<Rgba>(16, Rgba{200, 100, 50, 0}), 32);
    TImage* img = load_image(at("clear.bmp"), -1);
    ASSERT_NE(img, nullptr);
    frame([&] {
        set_color(0, 0, 90);
        draw_rect(0, 0, 640, 480);
        set_color(255, 255, 255);
        draw_image(img, 50, 50, 0);
    });
    EXPECT_EQ(px(50, 50), 0x00005Au);
}

// The decoder on its own: palettes of 1 and 4 bits, top-down rows, a core header, bit fields.
TEST_F(Damaged, TheDecoderReadsEveryAcceptedLayout) {
    using engine_detail::Picture;
    // 1 bit, 10 x 2: two colours, rows bottom-up, each row padded to 4 bytes.
    std::vector<uint8_t> one = bmp_header(40, 10, 2, 1, 54 + 8, 2);
    for (uint8_t v : {0, 0, 255, 0, 0, 255, 0, 0}) one.push_back(v);    // red, green
    for (uint8_t v : {0b10000000, 0b01000000, 0, 0}) one.push_back(v);  // bottom row
    for (uint8_t v : {0b01000000, 0b00000000, 0, 0}) one.push_back(v);  // top row
    Picture p;
    ASSERT_EQ(engine_detail::decode_bmp(one.data(), one.size(), p), "");
    EXPECT_EQ(p.width, 10);
    EXPECT_EQ(p.argb[0], 0xFFFF0000u);       // top row, x 0: colour 0
    EXPECT_EQ(p.argb[1], 0xFF00FF00u);       // top row, x 1: colour 1
    EXPECT_EQ(p.argb[10 + 0], 0xFF00FF00u);  // bottom row
    EXPECT_EQ(p.argb[10 + 9], 0xFF00FF00u);  // bit 9: second byte's second bit
    EXPECT_FALSE(p.own_alpha);

    // 4 bits, top-down, 3 x 1, palette of 3 given by the header.
    std::vector<uint8_t> four = bmp_header(40, 3, -1, 4, 54 + 12, 3);
    for (uint8_t v : {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0}) four.push_back(v);
    for (uint8_t v : {0x21, 0x00, 0, 0}) four.push_back(v);
    ASSERT_EQ(engine_detail::decode_bmp(four.data(), four.size(), p), "");
    EXPECT_EQ(p.argb, (std::vector<uint32_t>{0xFF090807u, 0xFF060504u, 0xFF030201u}));

    // The 12-byte core header: 16-bit sizes and three-byte palette entries (1 bit here).
    std::vector<uint8_t> core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26 + 6, 0, 0, 0};
    put32(core, 12);
    put16(core, 1);
    put16(core, 1);
    put16(core, 1);
    put16(core, 1);
    for (uint8_t v : {10, 20, 30, 40, 50, 60}) core.push_back(v);
    for (uint8_t v : {0x80, 0, 0, 0}) core.push_back(v);
    ASSERT_EQ(engine_detail::decode_bmp(core.data(), core.size(), p), "");
    EXPECT_EQ(p.argb[0], 0xFF3C3228u);

    // 32 bits with bit fields after a 40-byte header: 5-bit red, 8-bit green and blue, no alpha.
    std::vector<uint8_t> fields = bmp_header(40, 1, 1, 32, 54 + 12, 0, 3);
    put32(fields, 0x1F0000u);
    put32(fields, 0x00FF00u);
    put32(fields, 0x0000FFu);
    put32(fields, 0xAA1F4020u);
    ASSERT_EQ(engine_detail::decode_bmp(fields.data(), fields.size(), p), "");
    EXPECT_EQ(p.argb[0], 0xFFFF4020u);
    EXPECT_FALSE(p.own_alpha);
}

TEST_F(Damaged, SampleRatesOutsideWhatASoundCanHaveAreRefusedNamingTheRate) {
    struct Case {
        int rate;
        bool loads;
    };
    for (Case c : {Case{1, false}, Case{4, false}, Case{3999, false}, Case{4000, true}, Case{44100, true},
                   Case{192000, true}, Case{192001, false}, Case{60000000, false}}) {
        TSound* s = load_sound(file("r.wav", simple_wav(1, c.rate, 8, 64)), 0);
        EXPECT_EQ(s != nullptr, c.loads) << c.rate << " Hz";
        if (!c.loads) {
            EXPECT_NE(std::string(engine_last_error()).find(std::to_string(c.rate) + " Hz"),
                      std::string::npos)
                << engine_last_error();
        }
    }
    // Longer than a sound of the game can be: 61 s at 4000 Hz.
    EXPECT_EQ(load_sound(file("long.wav", simple_wav(1, 4000, 8, 4000 * 61)), 0), nullptr);
    EXPECT_NE(std::string(engine_last_error()).find("61 s"), std::string::npos) << engine_last_error();
    // A data chunk that claims more than the file holds.
    std::vector<uint8_t> claims = simple_wav(1, 8000, 8, 100);
    claims[40] = 0xFF;
    claims[41] = 0xFF;
    claims[42] = 0xFF;
    EXPECT_EQ(load_sound(file("claims.wav", claims), 0), nullptr);
    EXPECT_NE(std::string(engine_last_error()).find("cut short"), std::string::npos) << engine_last_error();
}

// The window's conversion to the mixer's format, at the lowest and the highest rate a sound can
// have, gives the sound's length at the mixer's rate.
TEST_F(Damaged, ConversionForTheMixerIsSizedByTheSoundsLength) {
    struct Case {
        int rate, channels, bits;
    };
    for (Case c : {Case{4000, 1, 8}, Case{192000, 2, 16}, Case{44100, 2, 16}}) {
        const int frames = c.rate / 2;  // half a second
        std::vector<uint8_t> pcm(size_t(frames) * size_t(c.channels * c.bits / 8), 0x40);
        std::vector<uint8_t> out;
        ASSERT_TRUE(engine_detail::convert_for_mixer(pcm, c.bits, c.channels, c.rate,
                                                     engine_detail::kMixerFormatS16, 2, 44100, out))
            << c.rate;
        // Half a second at 44100 Hz, 16-bit stereo: 88200 bytes, give or take the resampler's edge.
        EXPECT_NEAR(double(out.size()), 88200.0, 2048.0) << c.rate;
    }
}

}  // namespace
