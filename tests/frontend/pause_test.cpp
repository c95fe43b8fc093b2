// Pause: P, the pad's Start and the loss of focus pause play only; a paused frame shows the held
// picture darkened with PAUSE and nothing else, and nothing of the game moves.
#include "frontend/pause.h"

#include <gtest/gtest.h>

#include "core/assets.h"
#include "core/game_flow.h"
#include "core/scroll.h"
#include "frontend/input.h"
#include "frontend/settings_file.h"
#include "tests/frontend/frontend_support.h"

namespace {

using namespace frontend_test;
constexpr int kP = 80;
constexpr uint32_t kStart = 1u << 7;

class Pause : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        hold({});
        headless::set_pad(0, 0, 0);
    }
    void TearDown() override {
        headless::set_focus(true);
        headless::unplug_pad();
        GameTest::TearDown();
    }
};

TEST_F(Pause, FocusPAndStartPausePlayAndAPausedFrameShowsOnlyTheHeldPicture) {
    headless::set_focus(false);
    run_frame();
    EXPECT_EQ(game_paused, 0) << "the menus do not pause";
    headless::set_focus(true);
    game_mode = 1;
    run_frame();
    headless::set_focus(false);
    run_frame();
    ASSERT_EQ(game_paused, 1) << "losing focus pauses play";
    headless::set_focus(true);
    const float scroll = scroll_pos;
    frames(5);
    EXPECT_EQ(game_paused, 1) << "regaining focus leaves the pause to the player";
    EXPECT_EQ(scroll_pos, scroll);
    const auto& log = headless::draw_log();
    ASSERT_EQ(log.size(), 6u);
    EXPECT_EQ(log[0].kind, headless::DrawRecord::image);
    EXPECT_EQ(log[0].img->width, 640);
    EXPECT_EQ(log[0].x, 320);
    EXPECT_EQ(log[0].r, 96);
    EXPECT_EQ(text_at(img_font1, 120), "PAUSE");

    // Start resumes; held on, it does not pause again; pressed anew it does.
    headless::set_pad(0, 0, kStart);
    run_frame();
    EXPECT_EQ(game_paused, 0);
    frames(3);
    EXPECT_EQ(game_paused, 0);
    headless::set_pad(0, 0, 0);
    run_frame();
    headless::set_pad(0, 0, kStart);
    run_frame();
    EXPECT_EQ(game_paused, 1);
    headless::set_pad(0, 0, 0);
    tap({kP});
    EXPECT_EQ(game_paused, 0);
    tap({kP});
    EXPECT_EQ(game_paused, 1);
    game_mode = 0;
}

TEST_F(Pause, ScreenshotsAreNamedByTimeAndNeverOverwritten) {
    const std::string dir = scratch_dir("shots");
    // 2026-01-02 03:04:05 UTC, in whatever the local zone makes of it: only the pattern is fixed.
    const std::string name = screenshot_name(1767323045);
    ASSERT_EQ(name.size(), std::string("cinder-arc-2026-01-02-030405").size()) << name;
    EXPECT_EQ(name.rfind("cinder-arc-20", 0), 0u) << name;
    const std::string first = free_screenshot_path(dir, 1767323045);
    EXPECT_EQ(first, dir + "/" + name + ".png");
    testsupport::write_bytes(first, {1});
    EXPECT_EQ(free_screenshot_path(dir, 1767323045), dir + "/" + name + "-2.png");
    std::filesystem::remove_all(dir);
}

// CONTROL on GAMEPAD: the pad pulled out in play pauses it and the keyboard drives; plugged back
// in, it drives again. With CONTROL on KEYBOARD the pad coming and going changes nothing.
TEST_F(Pause, ThePadPulledOutPausesPlayAndTheKeyboardTakesOver) {
    for (const uint8_t control : {uint8_t(1), uint8_t(0)}) {
        setting_control = control;
        game_mode = 1;
        game_paused = 0;
        headless::set_pad(1, 0, 0);
        run_frame();
        EXPECT_EQ(input_move, control == 1 ? 6 : 5);
        headless::unplug_pad();
        run_frame();
        EXPECT_EQ(game_paused, control) << int(control);
        if (control == 1) {
            hold({kP});
            run_frame();
            hold({kLeft});
            run_frame();
            EXPECT_EQ(game_paused, 0);
            EXPECT_EQ(input_move, 4) << "the keyboard drives without the pad";
            headless::set_pad(0, 1, 0);
            run_frame();
            EXPECT_EQ(input_move, 2) << "the pad plugged back in drives again";
            EXPECT_EQ(game_paused, 0);
        }
        hold({});
    }
}

}  // namespace
