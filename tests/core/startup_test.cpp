// Start-up: every asset loaded into its global in table order, the tables and lists created with
// their start values, and a clear end when an asset is missing or broken.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/asset_table.h"
#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/scroll.h"
#include "core/tables.h"
#include "frontend/input.h"
#include "tests/support/game_fixture.h"

namespace {

using testsupport::GameTest;

class StartUp : public GameTest {};

TEST_F(StartUp, EveryImageIsLoadedIntoItsGlobalInTableOrder) {
    const TImage* in_order[] = {img_tileset1,
                                img_logo1,
                                img_arrow,
                                img_arrow2,
                                img_stats1,
                                img_stats2,
                                img_playerstart,
                                img_font1,
                                img_font2,
                                img_font3,
                                img_bg1,
                                img_bg2,
                                img_bg3,
                                img_bg4,
                                img_bg5,
                                img_player1,
                                img_player2,
                                img_shot1,
                                img_shot2,
                                img_bonus,
                                img_bonus2,
                                img_gorge,
                                img_power,
                                img_plasma,
                                img_powerinfo,
                                img_hyperfield,
                                img_hypericon,
                                img_pbar,
                                img_bbar,
                                img_hpbar,
                                img_ringblue,
                                img_ringgreen,
                                img_explosion1,
                                img_explosion2,
                                img_particle1,
                                img_bullet1,
                                img_bullet2,
                                img_bullet3,
                                img_powercontainer1,
                                img_powercontainer2,
                                img_container1,
                                img_container2,
                                img_enemy1,
                                img_enemy2,
                                img_enemy3,
                                img_enemy4,
                                img_enemy5,
                                img_boss1a};
    ASSERT_EQ(std::size(in_order), kImageTable.size());
    for (size_t i = 0; i < kImageTable.size(); ++i) {
        ASSERT_NE(in_order[i], nullptr) << kImageTable[i].file;
        EXPECT_EQ(in_order[i]->path, kImageTable[i].file);
        EXPECT_EQ(in_order[i]->frame_count, kImageTable[i].count ? kImageTable[i].count : 1);
        if (kImageTable[i].count) {
            EXPECT_EQ(in_order[i]->width, kImageTable[i].cell_w);
            EXPECT_EQ(in_order[i]->height, kImageTable[i].cell_h);
        }
        // Drawn centred on their position.
        EXPECT_EQ(in_order[i]->handle_x, in_order[i]->width * 0.5f);
        EXPECT_EQ(in_order[i]->handle_y, in_order[i]->height * 0.5f);
    }
}

TEST_F(StartUp, EverySoundIsLoadedAndSixChannelsAllocated) {
    const TSound* in_order[] = {snd_shot1,      snd_item2,      snd_item1,      snd_gorge,
                                snd_powerup,    snd_hyperfield, snd_explosion1, snd_explosion2,
                                snd_explosion3, snd_explosion4, snd_explosion5, snd_bullet1,
                                snd_bullet2,    snd_bullet3};
    for (size_t i = 0; i < kSoundTable.size(); ++i) {
        ASSERT_NE(in_order[i], nullptr);
        EXPECT_EQ(in_order[i]->path, kSoundTable[i]);
    }
    const TChannel* channels[] = {channel1, channel2, channel3, channel4, channel5, channel6};
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(channels[i], nullptr);
        for (int j = 0; j < i; ++j) EXPECT_NE(channels[i]->id, channels[j]->id);
    }
}

TEST_F(StartUp, TablesHoldTheirValues) {
    EXPECT_EQ(wobble_table[0], -20);
    EXPECT_EQ(wobble_table[1], 0);
    EXPECT_EQ(wobble_table[38], -1);
    EXPECT_EQ(wobble_table[40], 1);
    EXPECT_EQ(wobble_table[78], 20);
    EXPECT_EQ(wobble_table[79], 0);
    for (size_t i = 0; i < wobble_table.size(); i += 2) EXPECT_NE(wobble_table[i], 0) << i;
    EXPECT_EQ(chain_values[19], 10000);
    EXPECT_EQ(item_values[10], 0);
    EXPECT_EQ(replay_data.size(), size_t(replay_capacity));
    EXPECT_EQ(hiscore_names_normal[1], "MAL");
    EXPECT_EQ(hiscore_ships_hard[0], 1);
    EXPECT_EQ(hiscore_scores_easy[9], 80000);
    EXPECT_EQ(stage_names[0], "PLANET=ATMOSPHERE");
    HiscoreTable t;
    EXPECT_FALSE(hiscore_table(3, t));
    EXPECT_FALSE(hiscore_table(-1, t));
    ASSERT_TRUE(hiscore_table(2, t));
    EXPECT_EQ((*t.scores)[0], 1000000);
}

TEST_F(StartUp, GameWideVariablesStartWithTheirValues) {
    EXPECT_EQ(game_mode, 0);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(ship_choice, 1);
    EXPECT_EQ(scroll_pos, 5760.0f);
    EXPECT_EQ(scrolling, 0);
    EXPECT_EQ(bg_far_y, 120.0f);
    EXPECT_EQ(bullet_hit_size, 2.0f);
    EXPECT_EQ(ship1_speed, 1.8f);
    EXPECT_EQ(ship2_speed, 1.7f);
    EXPECT_EQ(input_move, 5);
    EXPECT_EQ(replay_pos, 1);
    for (TList* l :
         {player_list, shot_list, pickup_list, levelobject_list, enemy_list, bullet_list, effect_list}) {
        ASSERT_NE(l, nullptr);
        EXPECT_TRUE(l->empty());
    }
}

using StartUpDeathTest = StartUp;

TEST_F(StartUpDeathTest, AMissingAssetEndsTheProgramNamingTheFile) {
    std::string dir = testsupport::make_temp_dir("missing");
    testsupport::write_minimal_game_files(dir);
    std::filesystem::remove(dir + "/sfx/bullet2.wav");
    std::filesystem::current_path(dir);
    EXPECT_EXIT(check_asset_files(), ::testing::ExitedWithCode(1), "sfx/bullet2.wav");
}

TEST_F(StartUpDeathTest, AFolderInPlaceOfAnAssetIsNamedAsSuch) {
    std::string dir = testsupport::make_temp_dir("folder-asset");
    testsupport::write_minimal_game_files(dir);
    std::filesystem::remove(dir + "/gfx/logo1.bmp");
    std::filesystem::create_directories(dir + "/gfx/logo1.bmp");
    std::filesystem::current_path(dir);
    EXPECT_EXIT(check_asset_files(), ::testing::ExitedWithCode(1),
                "^cinder-arc: gfx/logo1.bmp: is a folder, not a file\n$");
}

TEST_F(StartUpDeathTest, AStripWithTooFewCellsEndsTheProgramNamingTheFile) {
    std::string dir = testsupport::make_temp_dir("short-strip");
    testsupport::write_minimal_game_files(dir);
    // 5 cells of 12 x 12 where the table asks for 5 x 12 x 12... take one away.
    testsupport::write_bmp24(dir + "/gfx/shot2.bmp", 48, 12,
                             std::vector<testsupport::Pixel>(48 * 12, {1, 2, 3}));
    std::filesystem::current_path(dir);
    EXPECT_EXIT(load_images(), ::testing::ExitedWithCode(1),
                "gfx/shot2.bmp: a picture of 48 x 12 holds 4 cells of 12 x 12, not 5");
}

}  // namespace
