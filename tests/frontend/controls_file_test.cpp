// data/controls.txt: the rules of its lines, problems reported by line number, the six actions
// always on six different keys, and the mute line rewritten without touching the rest.
#include "frontend/controls_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "tests/frontend/frontend_support.h"

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
        // Enter confirms in the menus: no direction on it; Alt and Enter on two actions would
        // be the full-screen switch, whichever way round.
        {"down = Enter\nfire = Enter\n",
         "Enter S Left Right Up Down",
         0,
         {"1: Enter confirms in the menus and cannot be down"}},
        {"fire = Enter\nleft = Alt\n",
         "Enter S Left Right Up Down",
         0,
         {"2: Alt with Enter would switch full screen; left stays on Left"}},
        {"hyper = Alt\nfire = enter\n",
         "A Alt Left Right Up Down",
         0,
         {"2: Enter with Alt would switch full screen; fire stays on A"}},
        // Given twice: the last line counts and the earlier one is reported.
        {"mute = yes\nfire = Z\nmute = no\nfire = X\nmute = maybe\n",
         "X S Left Right Up Down",
         0,
         {"1: mute is given again on line 3, which counts", "2: fire is given again on line 4, which counts",
          "5: mute is yes or no, not \"maybe\""}},
        // The player's text is shown without control bytes and cut to a line's worth.
        {"fire = \x1b[2J\x07\n" + std::string(5000, 'q') + " = Z\n",
         "A S Left Right Up Down",
         0,
         {"1: unknown key \"?[2J?\"", "2: unknown action \"" + std::string(40, 'q') + "...\""}},
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
    // Two mute lines: the last is the one read, so it is the one that takes the choice.
    EXPECT_EQ(with_mute_line("mute = no\nfire = Z\nmute = no\n", true), "fire = Z\nmute = yes\n");
    uint8_t muted = 0;
    std::vector<std::string> problems;
    parse_controls(with_mute_line(default_controls_text(), true), muted, problems);
    EXPECT_EQ(muted, 1);
    EXPECT_TRUE(problems.empty());
}

namespace fs = std::filesystem;
using testsupport::read_bytes;
using testsupport::write_bytes;

class ControlsOnDisk : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        frontend_test::scratch_dir("controls");
        fs::create_directory("data");
    }
};

std::vector<uint8_t> bytes_of(const std::string& text) { return {text.begin(), text.end()}; }

// The start and M with whatever is at data/controls.txt: one line at the start for a file that
// cannot be read whole, the defaults then, and M never writing over it.
TEST_F(ControlsOnDisk, AFileNotReadWholeIsReportedOnceAndNeverWritten) {
    const std::string big = "# " + std::string(1 << 20, 'x') + "\nfire = Z\n";
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* line;
    } cases[] = {
        {"larger than 1 MiB", [&] { write_bytes(kControlsPath, bytes_of(big)); },
         "cinder-arc: data/controls.txt is larger than 1 MiB; the default keys are used and it is left as "
         "it is\n"},
        {"a named pipe", [] { ASSERT_EQ(mkfifo(kControlsPath, 0600), 0); },
         "cinder-arc: data/controls.txt is a named pipe, not a file; the default keys are used and it is "
         "left as it is\n"},
        {"a folder", [] { fs::create_directory(kControlsPath); },
         "cinder-arc: data/controls.txt is a folder, not a file; the default keys are used and it is left "
         "as it is\n"},
    };
    for (const Case& c : cases) {
        fs::remove_all(kControlsPath);
        c.make();
        const fs::file_type type = fs::status(kControlsPath).type();
        testing::internal::CaptureStderr();
        load_controls();
        sound_muted = 1;
        EXPECT_FALSE(save_mute_choice());
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.line) << c.what;
        EXPECT_EQ(key_bindings.fire, vk::kA) << c.what;
        EXPECT_EQ(fs::status(kControlsPath).type(), type) << c.what;
        EXPECT_FALSE(fs::exists(std::string(kControlsPath) + ".tmp")) << c.what;
    }
    fs::remove_all(kControlsPath);
    write_bytes(kControlsPath, bytes_of(big));
    load_controls();
    save_mute_choice();
    EXPECT_EQ(read_bytes(kControlsPath), bytes_of(big));
}

// The temporary file of M's save: one left by a kill goes at the next start (a folder of that
// name stays), and a link put there is never written through nor put in the file's place.
TEST_F(ControlsOnDisk, TheTemporaryFileIsTheGamesOwn) {
    const std::string temp = std::string(kControlsPath) + ".tmp";
    write_bytes(kControlsPath, bytes_of("fire = Z\n"));
    write_bytes(temp, bytes_of("fire = Y\n"));
    load_controls();
    EXPECT_FALSE(fs::exists(fs::symlink_status(temp)));
    EXPECT_EQ(key_bindings.fire, vk::kZ);

    write_bytes(fs::absolute("target.txt").string(), bytes_of("theirs\n"));
    fs::create_symlink(fs::absolute("target.txt"), temp);
    sound_muted = 1;
    ASSERT_TRUE(save_mute_choice());
    EXPECT_EQ(read_bytes("target.txt"), bytes_of("theirs\n"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(kControlsPath)));
    EXPECT_EQ(read_bytes(kControlsPath), bytes_of("fire = Z\nmute = yes\n"));

    fs::create_directory(temp);
    load_controls();
    EXPECT_TRUE(fs::is_directory(temp));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(save_mute_choice());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "cinder-arc: could not save the mute choice in data/controls.txt\n");
    EXPECT_EQ(read_bytes(kControlsPath), bytes_of("fire = Z\nmute = yes\n"));
}

}  // namespace
