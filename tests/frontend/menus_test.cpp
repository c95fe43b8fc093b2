// The front end driven by held keys, frame by frame: cursor and value delays, the armed button,
// the ship selection's countdown, the name entry, and whole games recorded and replayed.
#include "frontend/menus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/assets.h"
#include "core/game_flow.h"
#include "core/tables.h"
#include "frontend/input.h"
#include "frontend/settings_file.h"
#include "tests/frontend/frontend_support.h"

namespace {

using namespace frontend_test;
using testsupport::read_bytes;

class FrontEnd : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        hold({});
        create_hiscore_tables();
        dir_ = scratch_dir("menus");
        headless::clear_sound_log();
    }
    // Holds `keys` for `n` frames and records the cursor after each.
    std::vector<int> cursor_while_holding(std::initializer_list<int> keys, int n) {
        hold(keys);
        std::vector<int> rows;
        for (int i = 0; i < n; ++i) {
            run_frame();
            rows.push_back(menu_cursor);
        }
        return rows;
    }
    // From the main menu's first row down to `row`, ending with a frame of no keys.
    void go_to(int row) {
        for (int i = 1; i < row; ++i) {
            hold({kDown});
            frames(15);
        }
        hold({});
        run_frame();
    }
    void choose(int row) {
        go_to(row);
        tap({kA});
    }
    std::string dir_;
};

TEST_F(FrontEnd, HoldingDownMovesTheCursorEvery15FramesAndStopsAtQuit) {
    std::vector<int> rows = cursor_while_holding({kDown}, 80);
    for (int f = 0; f < 80; ++f) EXPECT_EQ(rows[size_t(f)], f < 15 ? 2 : f < 30 ? 3 : f < 45 ? 4 : 5) << f;
    EXPECT_EQ(plays_of(snd_explosion3), 4);
}

TEST_F(FrontEnd, AHeldButtonEntersTheSettingsOnceAndExitNeedsANewPress) {
    go_to(2);
    hold({kA});
    run_frame();
    EXPECT_EQ(menu_screen, 2);
    run_frame();
    EXPECT_EQ(menu_screen, 2);
    hold({kDown, kA});
    frames(61);  // to EXIT with the button still held from the main menu
    EXPECT_EQ(menu_cursor, 5);
    EXPECT_EQ(menu_screen, 2);
    hold({});
    run_frame();
    tap({kA});
    EXPECT_EQ(menu_screen, 1);
    EXPECT_EQ(menu_cursor, 1);
}

TEST_F(FrontEnd, SettingValuesStopAtTheirLimits) {
    choose(2);
    hold({kLeft});
    frames(40);
    EXPECT_EQ(setting_difficulty, 0);
    hold({kRight});
    frames(40);
    EXPECT_EQ(setting_difficulty, 2);
    hold({kDown});
    frames(45);
    hold({});
    run_frame();
    ASSERT_EQ(menu_cursor, 4);
    headless::clear_sound_log();
    hold({kRight});
    frames(400);
    EXPECT_EQ(setting_particles, 40);
    EXPECT_EQ(plays_of(snd_shot1), 20);  // one change every 10 frames, none at the limit
    hold({kLeft});
    frames(400);
    EXPECT_EQ(setting_particles, 10);
}

TEST_F(FrontEnd, ReplayWithoutAFileDoesNothingUntilTheButtonIsReleased) {
    choose(4);
    EXPECT_EQ(menu_screen, 1);
    EXPECT_EQ(plays_of(snd_explosion2), 0);
    hold({kA});
    run_frame();
    hold({kA, kUp});
    frames(10);  // to HIGHSCORES with the button still held
    EXPECT_EQ(menu_screen, 1);
    hold({});
    run_frame();
    tap({kA});
    EXPECT_EQ(menu_screen, 3);
    EXPECT_EQ(menu_cursor, 2);
}

// A replay with no difficulty byte, or a folder in its place, is no replay: REPLAY does nothing
// but say so, and the difficulty stays the player's.
TEST_F(FrontEnd, AnEmptyReplayIsNoReplay) {
    setting_difficulty = 2;
    testsupport::write_bytes(kReplayPath, {});
    testing::internal::CaptureStderr();
    choose(4);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(game_mode, 0);
    EXPECT_EQ(menu_screen, 1);
    EXPECT_EQ(replay_running, 0);
    EXPECT_EQ(setting_difficulty, 2);
    EXPECT_EQ(err, "cinder-arc: replay/replay.txt is empty; there is no replay to play\n");
    std::filesystem::remove(kReplayPath);
    std::filesystem::create_directories(kReplayPath);
    testing::internal::CaptureStderr();
    tap({kA});
    err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(menu_screen, 1);
    EXPECT_EQ(err, "cinder-arc: replay/replay.txt is a folder, not a file; there is no replay to play\n");
}

TEST_F(FrontEnd, TheHighScorePageFlipsBetweenTheThreeTables) {
    choose(3);
    EXPECT_EQ(text_at(img_font1, 205), "NORMAL");
    EXPECT_EQ(text_at(img_font2, 100), "NOR900000");
    hold({kRight});
    frames(40);
    EXPECT_EQ(menu_cursor, 3);
    EXPECT_EQ(text_at(img_font1, 205), "HARD");
    hold({kLeft});
    frames(40);
    EXPECT_EQ(menu_cursor, 1);
    tap({kA});
    EXPECT_EQ(menu_screen, 1);
}

TEST_F(FrontEnd, LeftAloneTheShipSelectionStartsShipOne1499FramesAfterStart) {
    hold({kA});
    run_frame();
    hold({});
    run_frame();
    hold({kA});
    run_frame();
    ASSERT_EQ(menu_screen, 4);  // already in the frame of the choice
    EXPECT_EQ(text_at(img_font2, 10), "TIME=19");
    hold({});
    frames(1498);
    EXPECT_EQ(game_mode, 0);
    EXPECT_EQ(text_at(img_font2, 10), "TIME=0");
    run_frame();
    EXPECT_EQ(game_mode, 1);
    EXPECT_EQ(ship_choice, 1);
    // The difficulty byte, 1499 steps of the selection page, and the play step of that frame.
    const std::vector<uint8_t> replay = read_bytes(kReplayPath);
    ASSERT_EQ(replay.size(), 1501u);
    EXPECT_EQ(replay[0], 1);
    EXPECT_EQ(std::count(replay.begin() + 1, replay.end(), 50), 1500);
}

// A finished game whose score made place 3 of NORMAL, on the high-score page.
class NameEntry : public FrontEnd {
  protected:
    void SetUp() override {
        FrontEnd::SetUp();
        new_game_reset();
        score = 750000;
        end_game();
        ASSERT_EQ(hiscore_rank, 3);
        hold({});
        run_frame();  // the first frame of the page arms the button
    }
    std::string name() { return hiscore_names_normal[2]; }
    void press(int key, int times) {
        for (int i = 0; i < times; ++i) tap({key});
    }
    // The name and score of the new row as data/highscore.dat holds them.
    static std::string saved_row() {
        const std::vector<uint8_t> hs = testsupport::read_bytes(kHiscorePath);
        if (hs.size() != 450) return "no file";
        const size_t at = 2 * 45 + 15;
        const uint32_t points = uint32_t(hs[at + 7]) | uint32_t(hs[at + 8]) << 8 |
                                uint32_t(hs[at + 9]) << 16 | uint32_t(hs[at + 10]) << 24;
        return std::string(hs.begin() + long(at), hs.begin() + long(at) + 3) + " " + std::to_string(points);
    }
};

TEST_F(NameEntry, LettersCycleFromZeroToZAndBack) {
    EXPECT_EQ(text_at(img_font2, 10), "TIME=39");
    EXPECT_EQ(name(), "@@@");
    press(kRight, 1);
    EXPECT_EQ(name(), "A@@");
    press(kRight, 25);
    EXPECT_EQ(name(), "Z@@");
    press(kRight, 1);
    EXPECT_EQ(name(), "0@@");
    press(kLeft, 1);
    EXPECT_EQ(name(), "Z@@");
    press(kLeft, 42);
    EXPECT_EQ(name(), "0@@");
    EXPECT_EQ(plays_of(snd_shot1), 70);
    // Holding a direction changes one letter only.
    hold({kLeft});
    frames(30);
    EXPECT_EQ(name(), "Z@@");
}

TEST_F(NameEntry, TheButtonsMoveBetweenLettersAndTheThirdEndsTheEntry) {
    press(kS, 1);  // back on the first letter: nothing
    EXPECT_EQ(hiscore_letter_index, 0);
    press(kRight, 2);  // "B"
    press(kA, 1);
    press(kRight, 1);  // the letter carries on from "B"
    EXPECT_EQ(name(), "BC@");
    press(kS, 1);
    press(kLeft, 2);  // the letter goes on from "C"
    EXPECT_EQ(name(), "AC@");
    press(kA, 2);
    EXPECT_EQ(new_hiscore, 1);
    EXPECT_FALSE(std::filesystem::exists(kHiscorePath));
    press(kA, 1);
    EXPECT_EQ(new_hiscore, 0);
    // Saved as the entry ends, not only when the program does: NORMAL's row 3 of the file.
    EXPECT_EQ(saved_row(), "AC@ 750000");
    EXPECT_EQ(replay_running, 0);
    EXPECT_EQ(menu_screen, 3);  // the same press does not leave the page
    EXPECT_EQ(plays_of(snd_explosion3), 4);
    tap({kA});
    EXPECT_EQ(menu_screen, 1);
}

TEST_F(NameEntry, TheNewRowIsHighlightedUntilTheTimeRunsOut) {
    bool highlighted = false;
    for (const headless::DrawRecord& d : headless::draw_log())
        highlighted |= !d.img && d.x == 0 && d.y == (2 * 10 + 95) * 2 && d.w == 480 && d.h == 20 &&
                       d.r == 136 && d.g == 20 && d.b == 0;
    EXPECT_TRUE(highlighted);
    frames(2998);  // 3000 frames of the page in all
    EXPECT_EQ(new_hiscore, 1);
    run_frame();
    EXPECT_EQ(new_hiscore, 0);
    EXPECT_EQ(name(), "@@@");
    EXPECT_EQ(saved_row(), "@@@ 750000");
}

// Records a game (ship 2, some moves), then replays it: the same ship, the same inputs each frame
// from the first frame of play, whose two input steps both count.
TEST_F(FrontEnd, AReplayRepeatsTheRecordedGameFrameByFrame) {
    auto play = [&](bool replay) {
        std::vector<int> inputs;
        if (replay) {
            choose(4);
        } else {
            choose(1);
            tap({kRight});
            frames(5);
        }
        for (int f = 0; f < 300; ++f) {
            if (!replay) {
                if (f == 0)
                    hold({kA});
                else if (f % 7 < 3)
                    hold({kUp, kA});
                else
                    hold({kLeft});
            }
            run_frame();
            if (game_mode == 1) inputs.push_back(input_move * 10 + input_button);
        }
        return inputs;
    };
    std::vector<int> recorded = play(false);
    ASSERT_EQ(ship_choice, 2);
    ASSERT_EQ(recorded.size(), 300u);
    std::vector<uint8_t> file = read_bytes(kReplayPath);
    reset_all_state();
    create_hiscore_tables();
    std::vector<int> replayed = play(true);
    EXPECT_EQ(replay_mode, 1);
    EXPECT_EQ(ship_choice, 2);
    ASSERT_EQ(replayed.size(), 293u);  // the recording spent 7 frames on the selection first
    recorded.resize(replayed.size());
    EXPECT_EQ(replayed, recorded);
    EXPECT_EQ(read_bytes(kReplayPath), file);  // playback writes nothing
}

// "START" pressed right after a cursor move: the selection's first Right still counts, as it does
// when the replay starts from "REPLAY" with no move before it.
TEST_F(FrontEnd, AReplayChoosesTheSameShipWhenStartFollowedACursorMove) {
    go_to(2);
    hold({kUp});
    run_frame();
    tap({kA});
    tap({kRight});
    tap({kA});
    ASSERT_EQ(game_mode, 1);
    EXPECT_EQ(ship_choice, 2);
    reset_all_state();
    choose(4);
    frames(5);
    ASSERT_EQ(game_mode, 1);
    EXPECT_EQ(ship_choice, 2);
}

}  // namespace
