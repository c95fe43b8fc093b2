// The flow of a game: the stage start, new ships and the game over on their frames, extra ships,
// the wobble cycle, the D key, and the strict ordering of a new high-score entry.
#include "core/game_flow.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/assets.h"
#include "core/entities.h"
#include "core/hud.h"
#include "core/scroll.h"
#include "core/tables.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/settings_file.h"
#include "player/bonus2.h"
#include "player/ship.h"
#include "tests/frontend/frontend_support.h"

namespace {

using namespace frontend_test;

class GameFlow : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        hold({});
        create_hiscore_tables();
        headless::clear_sound_log();
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) world_step();
    }
};

TEST_F(GameFlow, StageStartSetsTheDifficultyValuesAndEntersPlay) {
    const float expected_point_blank[] = {80.0f, 64.0f, 48.0f};
    for (uint8_t d = 0; d < 3; ++d) {
        setting_difficulty = d;
        start_stage();
        EXPECT_EQ(difficulty_level, float(d));
        EXPECT_EQ(point_blank, expected_point_blank[d]);
        EXPECT_EQ(stage_banner_timer, 150);
        EXPECT_EQ(respawn_timer, 75);
        EXPECT_EQ(game_mode, 1);
    }
}

TEST_F(GameFlow, ANewShipTakesAReserveShipOnThe74thStep) {
    new_game_reset();
    start_stage();
    steps(73);
    EXPECT_EQ(lives, 3);
    steps(1);
    EXPECT_EQ(lives, 2);
    steps(200);
    EXPECT_EQ(lives, 2);
    EXPECT_EQ(game_over_timer, 0);
}

TEST_F(GameFlow, WithoutReserveShipsTheGameEndsAfterTheGameOverDisplay) {
    new_game_reset();
    start_stage();
    lives = 0;
    steps(74);
    EXPECT_EQ(game_over_timer, 374);
    steps(372);
    EXPECT_EQ(game_mode, 1);
    steps(1);
    EXPECT_EQ(game_mode, 0);
    EXPECT_EQ(menu_screen, 3);
    EXPECT_EQ(menu_cursor, setting_difficulty + 1);
}

TEST_F(GameFlow, ANewGameStartsTheItemValuesAndThePowerBadgeAfresh) {
    // Left over from the previous game, they would let its container items go on up the table.
    item_index = 7;
    powerinfo_timer = 90;
    new_game_reset();
    EXPECT_EQ(item_index, 0);
    EXPECT_EQ(powerinfo_timer, 0);
}

TEST_F(GameFlow, ExtraShipsComeAtMostOneAFrameAndOnlyTwice) {
    new_game_reset();
    score = 249999;
    steps(1);
    EXPECT_EQ(lives, 3);
    score = 2000000;
    steps(1);
    EXPECT_EQ(lives, 4);
    steps(1);
    EXPECT_EQ(lives, 5);
    steps(10);
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(extra_lives_awarded, 2);
    EXPECT_EQ(plays_of(snd_gorge), 2);
}

TEST_F(GameFlow, TheWobbleWalksTheTableInACycleOf80) {
    for (int i = 0; i < 160; ++i) {
        world_step();
        ASSERT_EQ(wobble, float(wobble_table[size_t(i % 80)])) << i;
    }
    EXPECT_EQ(wobble_index, 0);
}

// The boss's forms are created by the world step of stage 1 at (290, 90), the first when
// scroll_pos is 3000 and the second at 120, each in that one frame only.
TEST_F(GameFlow, TheBossFormsComeAtTheirScrollPositions) {
    const std::tuple<uint8_t, float, uint32_t> cases[] = {
        {1, 3000.5f, 0}, {1, 3000.0f, kind_t_boss1a}, {1, 2999.5f, 0},
        {1, 120.5f, 0},  {1, 120.0f, kind_t_boss1b},  {1, 119.5f, 0},
        {2, 3000.0f, 0},
    };
    for (const auto& [stage_number, position, kind] : cases) {
        SCOPED_TRACE(position);
        enemy_list->clear();
        stage = stage_number;
        scroll_pos = position;
        world_step();
        std::vector<t_boss*> bosses;
        enemy_list->walk_kind(kind_t_boss, [&](TObject* o) { bosses.push_back(static_cast<t_boss*>(o)); });
        ASSERT_EQ(bosses.size(), kind ? 1u : 0u);
        if (!kind) continue;
        EXPECT_TRUE(bosses[0]->is_a(kind));
        EXPECT_EQ(std::pair(bosses[0]->x, bosses[0]->y), std::pair(290.0f, 90.0f));
    }
}

TEST_F(GameFlow, DTogglesTheOverlayInPlayOnly) {
    // A press on a menu page does nothing, now or in the first frame of the next game.
    tap({kD});
    new_game_reset();
    start_stage();
    run_frame();
    EXPECT_EQ(debug_overlay, 0);
    tap({kD});
    EXPECT_EQ(debug_overlay, 1);
    tap({kD});
    EXPECT_EQ(debug_overlay, 0);
}

class HiscoreEntry : public GameFlow {
  protected:
    void finish_with(int32_t points) {
        new_game_reset();
        ship_choice = 2;
        score = points;
        end_game();
    }
};

TEST_F(HiscoreEntry, AScoreEqualToTheTenthEntersNothing) {
    finish_with(90000);
    EXPECT_EQ(new_hiscore, 0);
    EXPECT_EQ(hiscore_rank, 11);
    EXPECT_EQ(hiscore_scores_normal[9], 90000);
    EXPECT_EQ(hiscore_names_normal[9], "MAL");
}

TEST_F(HiscoreEntry, OnePointMoreEntersAtPlaceTen) {
    finish_with(90001);
    EXPECT_EQ(new_hiscore, 1);
    EXPECT_EQ(hiscore_entry_timer, 3000.0f);
    EXPECT_EQ(hiscore_rank, 10);
    EXPECT_EQ(hiscore_scores_normal[9], 90001);
    EXPECT_EQ(hiscore_names_normal[9], "@@@");
    EXPECT_EQ(hiscore_ships_normal[9], 2);
    EXPECT_EQ(hiscore_stages_normal[9], 1);
    EXPECT_EQ(hiscore_scores_normal[8], 100000);
}

TEST_F(HiscoreEntry, EqualScoresStayAheadAndTheRowsBelowMoveDown) {
    finish_with(700000);
    EXPECT_EQ(hiscore_rank, 4);
    EXPECT_EQ(hiscore_scores_normal[2], 700000);
    EXPECT_EQ(hiscore_names_normal[2], "NOR");
    EXPECT_EQ(hiscore_scores_normal[3], 700000);
    EXPECT_EQ(hiscore_names_normal[3], "@@@");
    EXPECT_EQ(hiscore_scores_normal[4], 600000);
    EXPECT_EQ(hiscore_names_normal[4], "MAL");
    EXPECT_EQ(hiscore_scores_normal[9], 100000);  // 90000 is gone
}

TEST_F(HiscoreEntry, TheBestScoreEntersAtPlaceOneOfTheTablePlayed) {
    setting_difficulty = 0;
    finish_with(5000000);
    EXPECT_EQ(hiscore_rank, 1);
    EXPECT_EQ(hiscore_scores_easy[0], 5000000);
    EXPECT_EQ(hiscore_scores_easy[1], 800000);
    EXPECT_EQ(hiscore_names_easy[9], "EAS");
    EXPECT_EQ(hiscore_scores_normal[0], 900000);
    EXPECT_EQ(menu_cursor, 1);
}

TEST_F(HiscoreEntry, AReplayedGameEntersNothingAndEndsThePlayback) {
    replay_mode = 1;
    replay_running = 1;
    finish_with(5000000);
    EXPECT_EQ(new_hiscore, 0);
    EXPECT_EQ(hiscore_scores_normal[0], 900000);
    EXPECT_EQ(replay_mode, 0);
    EXPECT_EQ(replay_running, 0);
    EXPECT_EQ(menu_screen, 3);
}

TEST_F(HiscoreEntry, ADifficultyWithoutATableEntersNothing) {
    setting_difficulty = 5;
    finish_with(5000000);
    EXPECT_EQ(new_hiscore, 0);
    EXPECT_EQ(hiscore_rank, 11);
    run_frame();  // the high-score page with no table to show
    EXPECT_EQ(menu_screen, 3);
}

}  // namespace
