// Library replay headers: a written file reads back field for field, and every way a file can be
// damaged is named without reading past the bytes given.
#include "frontend/replay_library.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ReplayInfo sample() {
    ReplayInfo info;
    info.play_version = 7;
    info.stage_hash = "0123456789abcdef";
    info.difficulty = 2;
    info.ship = 2;
    info.kind = "practice";
    info.start = "boss-1";
    info.gun = 1;
    info.lives = 5;
    info.time = 1796750253;
    info.date = "2026-12-08 17:17";
    info.score = 123450;
    info.frames = 4321;
    info.ended = "won";
    info.name = "A@9";
    return info;
}

const std::vector<uint8_t> kInput = {1, 50, 51, 93, 10};

std::string text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
std::vector<uint8_t> bytes(const std::string& t) { return std::vector<uint8_t>(t.begin(), t.end()); }

// The file image with the first occurrence of `from` replaced by `to`.
std::vector<uint8_t> edited(const std::string& from, const std::string& to) {
    std::string t = text(encode_replay(sample(), kInput));
    const size_t at = t.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) t.replace(at, from.size(), to);
    return bytes(t);
}

ReplayInfo decode(const std::vector<uint8_t>& file) {
    return decode_replay_header(file, int64_t(file.size()));
}

TEST(ReplayLibraryHeader, ReadsBackWhatWasWrittenAndPointsAtTheInputBytes) {
    const std::vector<uint8_t> file = encode_replay(sample(), kInput);
    const ReplayInfo r = decode(file);
    ASSERT_EQ(r.problem, "");
    const ReplayInfo s = sample();
    EXPECT_EQ(r.play_version, s.play_version);
    EXPECT_EQ(r.stage_hash, s.stage_hash);
    EXPECT_EQ(r.difficulty, s.difficulty);
    EXPECT_EQ(r.ship, s.ship);
    EXPECT_EQ(r.kind, s.kind);
    EXPECT_EQ(r.start, s.start);
    EXPECT_EQ(r.gun, s.gun);
    EXPECT_EQ(r.lives, s.lives);
    EXPECT_EQ(r.time, s.time);
    EXPECT_EQ(r.date, s.date);
    EXPECT_EQ(r.score, s.score);
    EXPECT_EQ(r.frames, s.frames);
    EXPECT_EQ(r.ended, s.ended);
    EXPECT_EQ(r.name, s.name);
    EXPECT_EQ(replay_fingerprint(r), "7-0123456789abcdef");
    ASSERT_EQ(r.input_size, int64_t(kInput.size()));
    ASSERT_EQ(r.input_offset + r.input_size, int64_t(file.size()));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + r.input_offset, file.end()), kInput);
    // No name is written as "-" and read back as none.
    ReplayInfo nameless = sample();
    nameless.name = "";
    EXPECT_EQ(decode(encode_replay(nameless, kInput)).name, "");
}

TEST(ReplayLibraryHeader, EachDamageIsNamed) {
    const std::vector<uint8_t> good = encode_replay(sample(), kInput);
    std::vector<uint8_t> short_input(good.begin(), good.end() - 1), long_input = good;
    long_input.push_back(50);
    std::vector<uint8_t> head_only(good.begin(), good.begin() + 40);
    const std::vector<uint8_t> endless(2000, 'x');
    std::vector<uint8_t> runs_on = bytes("CINDER-ARC REPLAY 1\nplay-version 1\n");
    runs_on.resize(2000, 'x');
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        const char* problem;
    } cases[] = {
        {"empty", {}, "empty"},
        {"one input byte short", short_input, "cut short"},
        {"a byte after the input", long_input, "longer than its input"},
        {"cut inside the header", head_only, "cut short"},
        {"no line ends", endless, "not a replay"},
        {"a header that runs on", runs_on, "a damaged header"},
        {"a plain replay.txt", {1, 50, 50, 51}, "not a replay"},
        {"a newer format", edited("REPLAY 1\n", "REPLAY 2\n"), "format 2, not 1"},
        {"a field missing", edited("ship 2\n", ""), "no ship"},
        {"fields swapped", edited("difficulty 2\nship 2", "ship 2\ndifficulty 2"), "no difficulty"},
        {"difficulty 3", edited("difficulty 2", "difficulty 3"), "a damaged header"},
        {"ship 9", edited("ship 2", "ship 9"), "a damaged header"},
        {"an unknown kind", edited("kind practice", "kind demo"), "a damaged header"},
        {"an unknown start", edited("start boss-1", "start boss-3"), "a damaged header"},
        {"gun 3", edited("gun 1", "gun 3"), "a damaged header"},
        {"no ships", edited("lives 5", "lives 0"), "a damaged header"},
        {"a negative score", edited("score 123450", "score -5"), "a damaged header"},
        {"a score past 32 bits", edited("score 123450", "score 4294967296"), "a damaged header"},
        {"a short stage hash", edited("stage-hash 0123456789abcdef", "stage-hash 0123"), "a damaged header"},
        {"a name in small letters", edited("name A@9", "name abc"), "a damaged header"},
        {"a four-letter name", edited("name A@9", "name ABCD"), "a damaged header"},
        {"a count that is not a number", edited("input 5", "input 5x"), "a damaged header"},
        {"no input", edited("input 5\n", "input 0\n"), "too long"},
        {"more input than playback holds", edited("input 5\n", "input 200000\n"), "too long"},
    };
    for (const auto& c : cases) {
        const ReplayInfo r = decode(c.file);
        EXPECT_EQ(r.problem, c.problem) << c.what;
    }
}

TEST(ReplayLibraryHeader, LooksNoFurtherThanTheBytesItIsGiven) {
    // A header whose lines run past what was read is cut short, not read beyond: the decoder is
    // given only part of a longer file.
    const std::vector<uint8_t> good = encode_replay(sample(), kInput);
    for (size_t n = 0; n < good.size(); ++n) {
        const std::vector<uint8_t> part(good.begin(), good.begin() + std::ptrdiff_t(n));
        const ReplayInfo r = decode_replay_header(part, int64_t(good.size()));
        const ReplayInfo whole = decode_replay_header(good, int64_t(good.size()));
        if (r.problem.empty()) {
            EXPECT_EQ(r.input_offset, whole.input_offset) << n;
        }
        EXPECT_LE(r.input_offset, int64_t(n)) << n;
    }
}

}  // namespace
