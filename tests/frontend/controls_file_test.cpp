// data/controls.txt: the rules of its lines, problems reported by line number, the six actions
// always on six different keys, and the mute line rewritten without touching the rest.
#include "frontend/controls_file.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    KeyBindings keys;
    uint8_t muted = 0;
    std::vector<std::string> problems;
};

Parsed parse(const std::string& text) {
    Parsed p;
    p.keys = parse_controls(text, p.muted, p.problems);
    return p;
}

std::string keys_of(const KeyBindings& k) {
    return key_name(k.fire) + " " + key_name(k.hyper) + " " + key_name(k.left) + " " + key_name(k.right) +
           " " + key_name(k.up) + " " + key_name(k.down);
}

TEST(ControlsFile, LinesBindKeysAndBadOnesAreReportedByNumber) {
    struct Case {
        std::string text;
        const char* keys;
        int muted;
        std::vector<std::string> problems;
    } cases[] = {
        {"", "A S Left Right Up Down", 0, {}},
        {"fire = Space\n  # a comment\n\nHYPER=x # shift\ndown = keypad2\nmute = YES\n",
         "Space X Left Right Up Keypad2",
         1,
         {}},
        {"fire Space\nshoot = Z\nfire = Nothing\nmute = maybe\n",
         "A S Left Right Up Down",
         0,
         {"1: expected \"action = key\"", "2: unknown action \"shoot\"", "3: unknown key \"Nothing\"",
          "4: mute is yes or no, not \"maybe\""}},
        {"fire = Escape\nhyper = p\nleft = F11\nright = F9\n",
         "A S Left F9 Up Down",
         0,
         {"1: Escape is kept for the game itself", "2: p is kept for the game itself",
          "3: F11 is kept for the game itself"}},
        // Swapped on two lines: no key is shared in the end, so both hold.
        {"up = Down\ndown = Up\n", "A S Left Right Down Up", 0, {}},
        // A key another action keeps by default: the line gives way.
        {"fire = Left\n", "A S Left Right Up Down", 0, {"1: Left is another action's key; fire stays on A"}},
        // Two lines on one key: the later gives way.
        {"fire = Z\nhyper = Z\n",
         "Z S Left Right Up Down",
         0,
         {"2: Z is another action's key; hyper stays on S"}},
        {default_controls_text(), "A S Left Right Up Down", 0, {}},
    };
    for (const Case& c : cases) {
        const Parsed p = parse(c.text);
        EXPECT_EQ(keys_of(p.keys), c.keys) << c.text;
        EXPECT_EQ(p.muted, c.muted) << c.text;
        EXPECT_EQ(p.problems, c.problems) << c.text;
    }
}

TEST(ControlsFile, TheMuteLineChangesAloneAndIsAddedWhenMissing) {
    EXPECT_EQ(with_mute_line("# mine\nfire = Z\nmute = no # quiet?\nbad line\n", true),
              "# mine\nfire = Z\nmute = yes\nbad line\n");
    EXPECT_EQ(with_mute_line("fire = Z", false), "fire = Z\nmute = no\n");
    uint8_t muted = 0;
    std::vector<std::string> problems;
    parse_controls(with_mute_line(default_controls_text(), true), muted, problems);
    EXPECT_EQ(muted, 1);
    EXPECT_TRUE(problems.empty());
}

}  // namespace
