// The debug overlay: its texts and where they go, the frames-per-second count, the object counts
// by class, and that a recording past the replay buffer never reads outside it.
#include "frontend/debug_overlay.h"

#include <gtest/gtest.h>

#include <string>

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/hud.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "core/startup.h"
#include "core/tables.h"
#include "frontend/input.h"
#include "frontend/settings_file.h"
#include "player/bonus.h"
#include "player/bullet.h"
#include "tests/frontend/frontend_support.h"

namespace {

using namespace frontend_test;
using headless::DrawRecord;

struct Plain : TObject {
    explicit Plain(uint32_t bits) : TObject(bits) {}
};
struct Enemy : t_enemy {
    Enemy() : t_enemy(kind_t_enemy3) {}
};
struct Boss : t_boss {
    Boss() : t_boss(kind_t_boss1a) {}
};

class DebugOverlay : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        hold({});
        create_hiscore_tables();
    }
    // The built-in font's text drawn at (x, y) in screen pixels this frame ("" if none).
    static std::string text_at(float x, float y) {
        std::string out;
        for (const DrawRecord& r : headless::draw_log())
            if (r.kind == DrawRecord::debug_text && r.x == x && r.y == y) out = r.text;
        return out;
    }
    static std::vector<std::string> texts_in_order() {
        std::vector<std::string> out;
        for (const DrawRecord& r : headless::draw_log())
            if (r.kind == DrawRecord::debug_text) out.push_back(r.text);
        return out;
    }
};

TEST_F(DebugOverlay, PlayLinesSitAtX500WithTheirExactLabels) {
    new_game_reset();
    start_stage();
    setting_difficulty = 2;
    difficulty_level = 1;
    point_blank = 64;
    frame_ms = 3;
    input_move = 8;
    input_button = 3;
    scroll_pos = 5759.75f;
    replay_mode = replay_running = 1;
    replay_pos = 3;
    replay_size = 40;
    cls();
    play_debug_lines();
    EXPECT_EQ(text_at(500, 80), "replay 1");
    EXPECT_EQ(text_at(500, 100), "replayrun 1");
    EXPECT_EQ(text_at(500, 160), "difficulty 2");
    EXPECT_EQ(text_at(500, 200), "move 8");
    EXPECT_EQ(text_at(500, 220), "button 3");
    EXPECT_EQ(text_at(500, 240), "dif 1.00000000");
    EXPECT_EQ(text_at(500, 260), "pointblank  64.0000000");
    EXPECT_EQ(text_at(500, 360), "reppos 3");
    EXPECT_EQ(text_at(500, 380), "repsize 40");
    EXPECT_EQ(text_at(500, 400), "ms  3");
    EXPECT_EQ(text_at(500, 420), "fps 0");
    // The scroll line is drawn last although it is the topmost, and truncates.
    auto order = texts_in_order();
    ASSERT_EQ(order.size(), 13u);
    EXPECT_EQ(order.back(), "scrollpos 5759");
}

TEST_F(DebugOverlay, TheRateCountsFramesAndRestartsAfterMoreThanASecond) {
    fps_since = millisecs();
    for (int i = 0; i < 5; ++i) play_debug_lines();
    EXPECT_EQ(fps_count, 5);
    EXPECT_EQ(fps_shown, 0);
    // Exactly 1000 ms later the count goes on; only a later time restarts it, uncounted.
    fps_since = millisecs() - 1000;
    play_debug_lines();
    EXPECT_EQ(fps_count, 6);
    fps_since = millisecs() - 1001;
    play_debug_lines();
    EXPECT_EQ(fps_shown, 6);
    EXPECT_EQ(fps_count, 0);
    EXPECT_EQ(fps_since, millisecs());
}

TEST_F(DebugOverlay, AtSeventyFiveFramesASecondTheRateSettlesAt75) {
    new_game_reset();
    start_stage();
    debug_overlay = 1;
    frames(400);
    EXPECT_GE(fps_shown, 74);
    EXPECT_LE(fps_shown, 76);
}

TEST_F(DebugOverlay, RepdataShowsTheReplayByteAtThePositionAndZeroPastTheBuffer) {
    replay_data[7] = 62;
    replay_pos = 7;
    cls();
    play_debug_lines();
    EXPECT_EQ(text_at(500, 180), "repdata 62");
    for (int32_t pos : {replay_capacity, replay_capacity + 5000, -1}) {
        replay_pos = pos;
        cls();
        play_debug_lines();
        EXPECT_EQ(text_at(500, 180), "repdata 0") << pos;
    }
}

TEST_F(DebugOverlay, CountsEachListByClassWithBulletsEnemiesAndBonusesApart) {
    for (int i = 0; i < 3; ++i) enemy_list->append(new Enemy);
    enemy_list->append(new Boss);
    for (int i = 0; i < 12; ++i) t_bullet::create(100, 100, 90, 1, 4, img_bullet1);
    t_bonus::create(50, 50, 1, 0);
    t_bonus::create(60, 50, 1, 0);
    levelobject_list->append(new Plain(kind_t_trigger));
    // Something in a list that is not one of that list's classes is left out.
    enemy_list->append(new Plain(kind_t_bullet));
    effect_list->append(new Plain(kind_t_enemy | kind_t_enemy1));
    cls();
    draw_object_counts();
    EXPECT_EQ(text_at(500, 440), "objects 19");
    EXPECT_EQ(text_at(500, 455), "B:12 E:4 C:2");
}

TEST_F(DebugOverlay, ThePressOfDInPlayShowsTheLinesAndTheCountsOnTopOfTheFrame) {
    new_game_reset();
    start_stage();
    run_frame();
    EXPECT_TRUE(texts_in_order().empty());
    hold({kD});
    run_frame();
    ASSERT_EQ(debug_overlay, 1);
    auto order = texts_in_order();
    ASSERT_EQ(order.size(), 15u);
    EXPECT_EQ(order[13].rfind("objects ", 0), 0u);
    EXPECT_EQ(order[14], "B:0 E:0 C:0");
    // Drawn after every image of the frame.
    const auto& log = headless::draw_log();
    size_t first_text = 0;
    while (log[first_text].kind != DrawRecord::debug_text) ++first_text;
    for (size_t i = first_text; i < log.size(); ++i) EXPECT_EQ(log[i].kind, DrawRecord::debug_text);
}

TEST_F(DebugOverlay, LeftOnItShowsTheFourReplayLinesInTheFrontEnd) {
    debug_overlay = 1;
    run_frame();
    ASSERT_EQ(texts_in_order().size(), 4u);
    EXPECT_EQ(text_at(10, 10), "replay 0");
    EXPECT_EQ(text_at(10, 20), "replayrun 0");
    EXPECT_EQ(text_at(10, 30), "reppos 1");
    EXPECT_EQ(text_at(10, 40), "repsize 0");
}

}  // namespace
