// The headless runner's key scripts: what is held when, and which lines are refused.
#include "tools/sim/key_script.h"

#include <gtest/gtest.h>

namespace {

KeyScript parse_ok(const std::string& text) {
    KeyScript s;
    int line = 0;
    std::string why;
    EXPECT_TRUE(parse_key_script(text, s, line, why)) << "line " << line << ": " << why;
    return s;
}

int parse_bad(const std::string& text) {
    KeyScript s;
    int line = 0;
    std::string why;
    EXPECT_FALSE(parse_key_script(text, s, line, why));
    EXPECT_FALSE(why.empty());
    return line;
}

TEST(KeyScript, KeysAreHeldFromTheirFrameUntilTheNextLine) {
    KeyScript s = parse_ok("# start\n2 down a\n\n10 -\n12 39  # right by number\n");
    EXPECT_FALSE(s.held_at(0)[40]);
    EXPECT_FALSE(s.held_at(1)[65]);
    EXPECT_TRUE(s.held_at(2)[40]);
    EXPECT_TRUE(s.held_at(9)[65]);
    EXPECT_FALSE(s.held_at(10)[40]);
    EXPECT_FALSE(s.held_at(11)[65]);
    EXPECT_TRUE(s.held_at(12)[39]);
    EXPECT_TRUE(s.held_at(100000)[39]);
}

TEST(KeyScript, NamesAndNumbersMapToVirtualKeys) {
    EXPECT_EQ(key_code("left"), 37);
    EXPECT_EQ(key_code("UP"), 38);
    EXPECT_EQ(key_code("right"), 39);
    EXPECT_EQ(key_code("down"), 40);
    EXPECT_EQ(key_code("esc"), 27);
    EXPECT_EQ(key_code("a"), 65);
    EXPECT_EQ(key_code("S"), 83);
    EXPECT_EQ(key_code("d"), 68);
    EXPECT_EQ(key_code("7"), 7);  // a number is the code itself, not the digit key
    EXPECT_EQ(key_code("keypad2"), 98);
    EXPECT_EQ(key_code("255"), 255);
    EXPECT_EQ(key_code("256"), -1);
    EXPECT_EQ(key_code("jump"), -1);
}

TEST(KeyScript, MalformedLinesAreRefusedWithTheirNumber) {
    EXPECT_EQ(parse_bad("0 a\nx a\n"), 2);    // no frame number
    EXPECT_EQ(parse_bad("0 a\n1 fly\n"), 2);  // unknown key
    EXPECT_EQ(parse_bad("5 a\n3 s\n"), 2);    // frames must increase
    EXPECT_EQ(parse_bad("5 a\n5 s\n"), 2);
    EXPECT_EQ(parse_bad("# c\n\n7\n"), 3);  // a frame with nothing held must say '-'
    EXPECT_EQ(parse_bad("1 - a\n"), 1);     // '-' and keys together
    EXPECT_EQ(parse_bad("-3 a\n"), 1);
    EXPECT_EQ(parse_bad("99999999999 a\n"), 1);  // out of range, not a wrap-around
}

}  // namespace
