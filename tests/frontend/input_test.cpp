// The input step: keyboard and game-pad rules, replay recording on disk after every step, and
// playback that never reads outside its buffer whatever the file holds.
#include "frontend/input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/game_flow.h"
#include "core/tables.h"
#include "frontend/controls_file.h"
#include "frontend/settings_file.h"
#include "tests/frontend/frontend_support.h"

namespace {

using namespace frontend_test;
using testsupport::read_bytes;
using testsupport::write_bytes;

class InputStep : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        hold({});
        headless::set_pad(0, 0, 0);
        dir_ = scratch_dir("input");
    }
    void TearDown() override {
        headless::set_pad(0, 0, 0);
        GameTest::TearDown();
    }
    int code() { return input_move * 10 + input_button; }
    std::string dir_;
    void start(uint8_t mode) {
        replay_mode = mode;
        replay_running = 1;
        replay_pos = 1;
    }
};

TEST_F(InputStep, KeyboardRulesTakeDiagonalsFirstThenLeftAndUp) {
    struct Case {
        std::initializer_list<int> keys;
        int expected;
    } cases[] = {
        {{}, 50},
        {{kLeft, kUp}, 70},
        {{kLeft, kDown}, 10},
        {{kRight, kUp}, 90},
        {{kRight, kDown}, 30},
        {{kLeft, kRight}, 40},
        {{kLeft, kRight, kUp}, 70},
        {{kUp, kDown}, 80},
        {{kDown}, 20},
        {{kA}, 51},
        {{kS}, 52},
        {{kA, kS, kRight}, 63},
        {{kLeft, kUp, kRight, kDown}, 70},
    };
    for (const Case& c : cases) {
        hold(c.keys);
        input_step();
        EXPECT_EQ(code(), c.expected);
    }
}

TEST_F(InputStep, GamePadRulesUseStrictHalfWayThresholds) {
    setting_control = 1;
    hold({kLeft, kA});  // the keyboard is not read in the game-pad setting
    struct Case {
        float x, y;
        uint32_t buttons;
        int expected;
    } cases[] = {
        {0, 0, 0, 50},       {-0.6f, -0.6f, 0, 70}, {-0.6f, 0.6f, 0, 10}, {0.6f, -0.6f, 0, 90},
        {0.6f, 0.6f, 0, 30}, {-0.5f, 0.5f, 0, 50},  {-1, 0, 1, 41},       {1, 0, 2, 62},
        {0, -1, 3, 83},      {0, 1, 0, 20},
    };
    for (const Case& c : cases) {
        headless::set_pad(c.x, c.y, c.buttons);
        headless::advance_ms(2);  // the pad is sampled at most once per millisecond
        input_step();
        EXPECT_EQ(code(), c.expected) << c.x << "," << c.y;
    }
}

// A GAMEPAD setting with no pad plugged in must not lock the keyboard out; the keys are the
// bound ones, and Enter confirms in the menus only (not with Alt, which switches full screen).
TEST_F(InputStep, TheKeyboardDrivesWhileNoPadIsPluggedIn) {
    struct Case {
        uint8_t control;
        bool pad;
        uint8_t mode;
        std::initializer_list<int> keys;
        int expected;
    } cases[] = {
        {1, false, 0, {kLeft, kA}, 41}, {1, true, 0, {kLeft, kA}, 50},  {0, true, 0, {kLeft, kA}, 41},
        {0, false, 0, {13}, 51},        {0, false, 1, {13}, 50},        {0, false, 0, {13, 18}, 50},
        {0, false, 0, {'J', 'K'}, 22},  {0, false, 0, {kDown, kA}, 50},
    };
    for (const Case& c : cases) {
        setting_control = c.control;
        game_mode = c.mode;
        key_bindings = KeyBindings{};
        if (c.keys.size() == 2 && *c.keys.begin() == 'J') key_bindings.down = 'J', key_bindings.hyper = 'K';
        if (c.keys.size() == 2 && *c.keys.begin() == kDown) key_bindings.down = 'J', key_bindings.fire = 'K';
        if (c.pad)
            headless::set_pad(0, 0, 0);
        else
            headless::unplug_pad();
        hold(c.keys);
        input_step();
        EXPECT_EQ(code(), c.expected) << int(c.control) << c.pad << int(c.mode) << " " << *c.keys.begin();
    }
    key_bindings = KeyBindings{};
    game_mode = 0;
}

TEST_F(InputStep, RecordingIsCompleteOnDiskAfterEveryStep) {
    setting_difficulty = 2;
    start(0);
    hold({kRight, kA});
    input_step();
    EXPECT_EQ(read_bytes(kReplayPath), (std::vector<uint8_t>{2, 61}));
    hold({kLeft, kUp, kS});
    input_step();
    EXPECT_EQ(read_bytes(kReplayPath), (std::vector<uint8_t>{2, 61, 72}));
    EXPECT_EQ(replay_pos, 3);
    // A new recording replaces the file.
    start(0);
    hold({});
    input_step();
    EXPECT_EQ(read_bytes(kReplayPath), (std::vector<uint8_t>{2, 50}));
}

TEST_F(InputStep, ARecordingThatCannotBeWrittenStopsWithOneLine) {
    write_bytes(dir_ + "/replay", {0});  // a file where the folder should be
    start(0);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 5; ++i) input_step();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(replay_running, 0);
    hold({kDown});
    input_step();  // live input goes on
    EXPECT_EQ(input_move, 2);
}

TEST_F(InputStep, PlaybackReadsOneByteAStepAndRepeatsTheLast) {
    write_bytes(kReplayPath, {0, 62, 41, 83});
    start(1);
    hold({kDown});  // ignored while a replay plays
    int seen[5], at_end[5];
    for (int i = 0; i < 5; ++i) {
        input_step();
        seen[i] = code();
        at_end[i] = replay_at_end;
    }
    EXPECT_EQ(std::vector<int>(seen, seen + 5), (std::vector<int>{62, 41, 83, 83, 83}));
    // The end is reached with the last step, not when the position stops moving (one step earlier).
    EXPECT_EQ(std::vector<int>(at_end, at_end + 5), (std::vector<int>{0, 0, 1, 1, 1}));
    EXPECT_EQ(setting_difficulty, 0);
    EXPECT_EQ(replay_size, 4);
    EXPECT_EQ(replay_pos, 4);
}

TEST_F(InputStep, PlaybackReadsTheChosenSourceAndRecordingStillWritesTheReplayFile) {
    write_bytes(kReplayPath, {1, 62});
    write_bytes("checks/other.rep", {2, 41});
    replay_source = "checks/other.rep";
    start(1);
    input_step();
    EXPECT_EQ(code(), 41);
    EXPECT_EQ(setting_difficulty, 2);
    EXPECT_EQ(replay_at_end, 1);  // a single step is the last one
    start(0);
    hold({kUp});
    input_step();
    EXPECT_EQ(read_bytes(kReplayPath), (std::vector<uint8_t>{2, 80}));
    EXPECT_EQ(read_bytes("checks/other.rep"), (std::vector<uint8_t>{2, 41}));
    reset_input_state();
    EXPECT_EQ(replay_source, kReplayPath);
}

TEST_F(InputStep, AReplayDifficultyOutsideTheTablesPlaysAtNormal) {
    write_bytes(kReplayPath, {7, 50});
    setting_difficulty = 2;
    start(1);
    input_step();
    EXPECT_EQ(setting_difficulty, 1);
}

TEST_F(InputStep, AReplayEmptiedBeforePlaybackKeepsTheDifficulty) {
    write_bytes(kReplayPath, {});
    setting_difficulty = 2;
    start(1);
    input_step();
    EXPECT_EQ(setting_difficulty, 2);
    EXPECT_EQ(code(), 50);
}

TEST_F(InputStep, OnlyTheRecordableCodesDecodeIntoInput) {
    uint8_t move = 0, button = 0;
    for (int c : {10, 39, 50, 93, 14}) {
        decode_replay_byte(c, move, button);
        EXPECT_EQ(move * 10 + button, c);
    }
    for (int c : {-1, 0, 5, 9, 94, 99, 100, 255, 1000000}) {
        decode_replay_byte(c, move, button);
        EXPECT_EQ(move, 5) << c;
        EXPECT_EQ(button, 0) << c;
    }
}

TEST_F(InputStep, AReplayLongerThanTheBufferStopsAtItsEnd) {
    std::vector<uint8_t> file(250000, 61);
    file[0] = 1;
    file[199998] = 93;  // the last byte the buffer holds
    file[199999] = 11;
    write_bytes(kReplayPath, file);
    start(1);
    for (int i = 0; i < 200005; ++i) input_step();
    EXPECT_EQ(replay_pos, replay_capacity - 1);
    EXPECT_EQ(code(), 93);
    // A shorter replay afterwards does not see the longer one's data.
    write_bytes(kReplayPath, {1});
    start(1);
    input_step();
    input_step();
    EXPECT_EQ(code(), 50);
    EXPECT_EQ(replay_pos, 2);
}

}  // namespace
