// The library page as a player drives it (order, sorting, scrolling, deleting only after a yes),
// and the watching speeds' steps per shown frame.
#include "frontend/library_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/game_flow.h"
#include "core/watch.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "tests/frontend/frontend_support.h"

namespace {

using namespace frontend_test;

class LibraryPage : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        hold({});
        dir_ = scratch_dir("library");
        std::filesystem::create_directory("replay");
    }
    std::string dir_;

    // A kept game started at `time` with `score`.
    static void keep(const std::string& file, int64_t time, int32_t score) {
        ReplayInfo info;
        info.play_version = kPlayVersion;
        info.stage_hash = "0123456789abcdef";
        info.ship = 1;
        info.time = time;
        info.date = "2026-12-08 17:00";
        info.score = score;
        info.ended = "lost";
        testsupport::write_bytes("replay/" + file, encode_replay(info, {1, 50, 50}));
    }
    static std::vector<int64_t> times() {
        std::vector<int64_t> t;
        for (const ReplayInfo& r : library_rows) t.push_back(r.problem.empty() ? r.time : -1);
        return t;
    }
};

TEST_F(LibraryPage, NewestFirstSortsByScoreScrollsAndDeletesOnlyAfterYes) {
    // Fourteen games, their names out of date order, scores in no order; and a damaged file.
    for (int i = 0; i < 14; ++i)
        keep("g" + std::to_string((i * 5) % 14 + 10) + ".rep", 100 + i, (i * 37) % 50);
    testsupport::write_bytes("replay/zz.rep", {'C', 'I', 'N'});
    testsupport::write_bytes("replay/notes.txt", {1, 2, 3});  // not a .rep: not listed

    menu_cursor = 4;  // REPLAY
    tap({kRight});
    ASSERT_EQ(menu_screen, kLibraryScreen);
    ASSERT_EQ(library_rows.size(), 15u);
    std::vector<int64_t> expected;
    for (int i = 13; i >= 0; --i) expected.push_back(100 + i);
    expected.push_back(-1);  // unreadable last
    EXPECT_EQ(times(), expected);
    EXPECT_EQ(library_cursor, 1);

    // Down held runs through the list; the page follows the cursor and stops at the last row.
    hold({kDown});
    frames(200);
    hold({});
    frames(2);
    EXPECT_EQ(library_cursor, 15);
    EXPECT_EQ(library_top, 15 - kLibraryRowsShown);

    // Right sorts by score, best first, newest first among equal ones.
    frames(20);
    tap({kRight});
    ASSERT_EQ(library_by_score, 1);
    for (size_t i = 1; i + 1 < library_rows.size(); ++i) {
        const ReplayInfo &a = library_rows[i - 1], &b = library_rows[i];
        EXPECT_TRUE(a.score > b.score || (a.score == b.score && a.time > b.time)) << i;
    }

    // S asks; a direction says no and the file stays; S then A deletes it.
    library_cursor = 1;
    library_top = 0;
    const std::string first = "replay/" + library_rows[0].file;
    tap({kS});
    EXPECT_EQ(library_confirm, 1);
    tap({kUp});
    EXPECT_EQ(library_confirm, 0);
    EXPECT_TRUE(std::filesystem::exists(first));
    frames(20);
    tap({kS});
    tap({kA});
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_EQ(library_rows.size(), 14u);
    EXPECT_EQ(menu_screen, kLibraryScreen);

    // A on an unreadable row plays nothing; BACK returns to REPLAY in the main menu.
    library_cursor = int32_t(library_rows.size());
    tap({kA});
    EXPECT_EQ(replay_mode, 0);
    EXPECT_EQ(menu_screen, kLibraryScreen);
    library_cursor = 0;
    tap({kA});
    EXPECT_EQ(menu_screen, 1);
    EXPECT_EQ(menu_cursor, 4);
}

TEST_F(LibraryPage, EachSpeedRunsItsStepsPerShownFrameAndOnlyWhileAReplayPlays) {
    game_mode = 1;
    replay_mode = 1;
    replay_running = 1;
    replay_size = 1000;
    replay_pos = 10;
    auto press = [](int key) {
        std::array<bool, 256> held{};
        held[size_t(key)] = true;
        headless::set_keys_held(held);
        headless::set_keys_held({});
    };
    const struct {
        const char* speed;
        std::vector<int> steps;  // of successive frames after one press of F
    } cycle[] = {{"2x", {2, 2}}, {"4x", {4, 4}}, {"8x", {8, 8}}, {"1/2x", {1, 0, 1, 0}}, {"1x", {1, 1}}};
    for (const auto& c : cycle) {
        press(kWatchSpeedKey);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            EXPECT_EQ(watch_steps_for_frame(), c.steps[i]) << c.speed << " frame " << i;
            if (c.steps[i] > 0) watch_frame_drawn();
        }
    }
    // Not watching: one step a frame whatever was pressed, and the press is not kept for later.
    replay_mode = 0;
    press(kWatchSpeedKey);
    EXPECT_EQ(watch_steps_for_frame(), 1);
    replay_mode = 1;
    EXPECT_EQ(watch_steps_for_frame(), 1);
    // A frame of several steps stops after the replay's last one.
    EXPECT_TRUE(watch_continues());
    replay_at_end = 1;
    EXPECT_FALSE(watch_continues());
}

}  // namespace
