// The runner's expectations files: the picture hash, what a file may say, and which difference
// a check names first.
#include "tools/sim/expectations.h"

#include <gtest/gtest.h>

namespace {

const Fields kKnown = {{"frames", "351"}, {"ended", "replay"},         {"score", "1200"},
                       {"lives", "2"},    {"setting_particles", "20"}, {"counts.enemy", "0"}};

TEST(Expectations, PictureHashIsFnv1aOverRedGreenBlue) {
    EXPECT_EQ(picture_hash({}), "cbf29ce484222325");          // FNV-1a's offset basis
    EXPECT_EQ(picture_hash({0x616263}), "e71fa2190541574b");  // FNV-1a of "abc"
    EXPECT_NE(picture_hash({0x000001, 0}), picture_hash({0, 0x000001}));
}

TEST(Expectations, WhatIsWrittenReadsBackAndBadLinesAreNamed) {
    const std::string text =
        format_expectations(kKnown, {{300, "0123456789abcdef"}, {70, "fedcba9876543210"}},
                            "cinder-arc-sim --replay a.rep --record-expect a.expect");
    Expectations e;
    int line = -1;
    std::string why;
    ASSERT_TRUE(parse_expectations(text, kKnown, e, line, why)) << line << ": " << why;
    EXPECT_EQ(e.fields, kKnown);
    EXPECT_EQ(e.pictures.size(), 2u);
    EXPECT_EQ(e.pictures.at(70), "fedcba9876543210");
    EXPECT_EQ(first_difference(e, kKnown, {{70, "fedcba9876543210"}, {300, "0123456789abcdef"}}, 351), "");

    struct Bad {
        std::string text;
        int line;
        const char* why;
    } bad[] = {
        {"score 1\nscor 2\n", 2, "unknown field"},
        {"score\n", 1, "NAME VALUE"},
        {"score 1 2\n", 1, "NAME VALUE"},
        {"# only a comment\nlives 1\nlives 2\n", 3, "twice"},
        {"picture 10 0123\n", 1, "16 hex digits"},
        {"picture -1 0123456789abcdef\n", 1, "16 hex digits"},
        {"picture 10 0123456789abcdeg\n", 1, "16 hex digits"},
        {"picture 10 0123456789ABCDEF\npicture 10 0123456789abcdef\n", 2, "twice"},
        {"\n# nothing\n", 0, "expects nothing"},
        {std::string(64, '\xff'), 1, "unknown field"},
    };
    for (const Bad& b : bad) {
        EXPECT_FALSE(parse_expectations(b.text, kKnown, e, line, why)) << b.text;
        EXPECT_EQ(line, b.line) << b.text;
        EXPECT_NE(why.find(b.why), std::string::npos) << b.text << " -> " << why;
    }
}

TEST(Expectations, TheFirstDifferenceIsTheParticleSettingThenTheEarliestPictureThenTheFields) {
    Expectations want;
    want.fields = {{"lives", "3"}, {"score", "1000"}, {"setting_particles", "30"}};
    want.pictures = {{100, "1111111111111111"}, {50, "2222222222222222"}, {400, "3333333333333333"}};
    std::map<int, std::string> got_pictures = {{50, "2222222222222222"}, {100, "9999999999999999"}};
    Fields got = kKnown;
    EXPECT_EQ(first_difference(want, got, got_pictures, 351),
              "setting_particles at the end of the run (after frame 350): expected 30, got 20");
    want.fields[2].second = "20";
    EXPECT_EQ(first_difference(want, got, got_pictures, 351),
              "the picture at frame 100: expected 1111111111111111, got 9999999999999999");
    got_pictures[100] = "1111111111111111";
    EXPECT_EQ(
        first_difference(want, got, got_pictures, 351),
        "the picture at frame 400: expected 3333333333333333, but the run ended after frame 350 (replay)");
    want.pictures.erase(400);
    EXPECT_EQ(first_difference(want, got, got_pictures, 351),
              "lives at the end of the run (after frame 350): expected 3, got 2");
    want.fields[0].second = "2";
    EXPECT_EQ(first_difference(want, got, got_pictures, 351),
              "score at the end of the run (after frame 350): expected 1000, got 1200");
    want.fields[1].second = "1200";
    EXPECT_EQ(first_difference(want, got, got_pictures, 351), "");
}

}  // namespace
