// The stage file and the spawner: the file's cell order, the fatal end on a missing or short file,
// and the frame in which each coded object is created, in column order, at its cell's spot.
#include "core/stage_map.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/scroll.h"
#include "engine/headless.h"
#include "tests/support/game_fixture.h"

namespace {

namespace fs = std::filesystem;
using testsupport::GameTest;

struct Spawned {
    int32_t code, x, y;
    float at_scroll;
};
std::vector<Spawned> g_spawned;

void record_spawn(int32_t code, SpawnSpot spot) { g_spawned.push_back({code, spot.x, spot.y, scroll_pos}); }

// A stage file of 11250 bytes, all cells empty until set.
struct StageBytes {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(stage_file_bytes, 0);
    void set(int column, int row, uint8_t tile, uint8_t code) {
        bytes[size_t(row * 15 + column) * 2] = tile;
        bytes[size_t(row * 15 + column) * 2 + 1] = code;
    }
};

// Each test works in a folder of its own, so the shared game folder's stage file stays as it is.
class StageTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        fs::current_path(testsupport::make_temp_dir("stage"));
        g_spawned.clear();
    }
    void write_stage(int number, const std::vector<uint8_t>& bytes) {
        testsupport::write_bytes("level/level" + std::to_string(number) + ".txt", bytes);
    }
    void load(const StageBytes& stage) {
        write_stage(1, stage.bytes);
        load_stage_file(1);
        spawn_hook = record_spawn;
    }
    // The play step's map work, in frame-loop order.
    void play_frame() {
        update_visible_rows();
        scroll_and_draw_map();
        spawn_from_map();
    }
};

class StageFile : public StageTest {};

TEST_F(StageFile, CellsAreReadRowByRowTileThenCode) {
    StageBytes stage;
    for (int row = 0; row < 375; ++row)
        for (int column = 0; column < 15; ++column)
            stage.set(column, row, uint8_t(row * 7 + column), uint8_t(255 - (row + column) % 256));
    load(stage);
    for (int row = 0; row < 375; ++row)
        for (int column = 0; column < 15; ++column) {
            ASSERT_EQ(tile_map[column][row], (row * 7 + column) % 256) << column << "," << row;
            ASSERT_EQ(object_map[column][row], 255 - (row + column) % 256) << column << "," << row;
        }
}

TEST_F(StageFile, ThePathFollowsTheStageNumberAndExtraBytesAreIgnored) {
    EXPECT_EQ(stage_file_path(1), "level/level1.txt");
    EXPECT_EQ(stage_file_path(5), "level/level5.txt");
    StageBytes three;
    three.set(14, 374, 42, 9);
    std::vector<uint8_t> longer = three.bytes;
    longer.resize(longer.size() + 30, 77);
    write_stage(1, StageBytes().bytes);
    write_stage(3, longer);
    load_stage_file(3);
    EXPECT_EQ(tile_map[14][374], 42);
    EXPECT_EQ(object_map[14][374], 9);
}

TEST_F(StageFile, LoadingReplacesEveryCell) {
    StageBytes full;
    for (int row = 0; row < 375; ++row)
        for (int column = 0; column < 15; ++column) full.set(column, row, 1, 1);
    load(full);
    load(StageBytes());
    for (int row = 0; row < 375; ++row)
        for (int column = 0; column < 15; ++column) {
            ASSERT_EQ(tile_map[column][row], 0);
            ASSERT_EQ(object_map[column][row], 0);
        }
}

using StageFileDeathTest = StageFile;

TEST_F(StageFileDeathTest, MissingFileEndsTheProgramNamingIt) {
    EXPECT_EXIT(load_stage_file(1), ::testing::ExitedWithCode(1), "level/level1.txt.*missing");
}

TEST_F(StageFileDeathTest, ShortFileEndsTheProgramNamingItAndItsSize) {
    write_stage(1, std::vector<uint8_t>(stage_file_bytes - 1, 0));
    EXPECT_EXIT(load_stage_file(1), ::testing::ExitedWithCode(1), "level/level1.txt.*11249 bytes");
    write_stage(2, {});
    EXPECT_EXIT(load_stage_file(2), ::testing::ExitedWithCode(1), "level/level2.txt.* 0 bytes");
}

TEST_F(StageFileDeathTest, AFolderOrPipeInPlaceOfTheStageIsNamedAsSuch) {
    std::filesystem::create_directories("level/level3.txt");
    EXPECT_EXIT(load_stage_file(3), ::testing::ExitedWithCode(1),
                "^cinder-arc: stage file level/level3.txt is a folder, not a file\n$");
    ASSERT_EQ(::mkfifo("level/level4.txt", 0600), 0);
    EXPECT_EXIT((::alarm(10), load_stage_file(4)), ::testing::ExitedWithCode(1),
                "^cinder-arc: stage file level/level4.txt is a named pipe, not a file\n$");
}

class Spawner : public StageTest {};

TEST_F(Spawner, RowZeroSpawnsOnceWhenScrollPosBecomesSixteen) {
    StageBytes stage;
    stage.set(0, 0, 0, 6);
    load(stage);
    scroll_pos = 24.0f;
    scrolling = 1;
    for (int frame = 0; frame < 60; ++frame) play_frame();
    EXPECT_EQ(scroll_pos, 0.0f);
    ASSERT_EQ(g_spawned.size(), 1u);
    EXPECT_EQ(g_spawned[0].code, 6);
    EXPECT_EQ(g_spawned[0].at_scroll, 16.0f);
    EXPECT_EQ(g_spawned[0].x, 8);
    EXPECT_EQ(g_spawned[0].y, -8);
}

TEST_F(Spawner, RowAboveTheStartSpawnsEveryFrameWhileTheMapIsHeld) {
    StageBytes stage;
    stage.set(4, 359, 0, 3);
    stage.set(4, 360, 0, 6);  // on screen from the start: never spawns
    load(stage);
    for (int frame = 0; frame < 5; ++frame) play_frame();
    EXPECT_EQ(g_spawned.size(), 5u);
    scrolling = 1;
    for (int frame = 0; frame < 40; ++frame) play_frame();
    EXPECT_EQ(g_spawned.size(), 5u);
    for (const Spawned& s : g_spawned) {
        EXPECT_EQ(s.code, 3);
        EXPECT_EQ(s.at_scroll, 5760.0f);
    }
}

TEST_F(Spawner, CodesOfOneRowSpawnInColumnOrderInOneFrame) {
    StageBytes stage;
    stage.set(9, 200, 0, 12);
    stage.set(2, 200, 0, 6);
    stage.set(13, 200, 0, 8);
    load(stage);
    scroll_pos = 3220.0f;
    scrolling = 1;
    for (int frame = 0; frame < 20; ++frame) play_frame();
    ASSERT_EQ(g_spawned.size(), 3u);
    EXPECT_EQ(g_spawned[0].x, 2 * 16 + 8);
    EXPECT_EQ(g_spawned[1].x, 9 * 16 + 8);
    EXPECT_EQ(g_spawned[2].x, 13 * 16 + 8);
    for (const Spawned& s : g_spawned) EXPECT_EQ(s.at_scroll, 200.0f * 16.0f + 16.0f);
}

TEST_F(Spawner, LargeObjectsSitOnTheCellsTopRightCorner) {
    StageBytes stage;
    const uint8_t large[] = {2, 4, 5, 7, 11}, small[] = {1, 3, 6, 8, 9, 10, 12};
    for (int i = 0; i < 5; ++i) stage.set(i, 100, 0, large[i]);
    stage.set(14, 100, 0, 11);
    for (int i = 0; i < 7; ++i) stage.set(i + 7, 101, 0, small[i]);
    load(stage);
    scroll_pos = 1640.0f;
    scrolling = 1;
    for (int frame = 0; frame < 64; ++frame) play_frame();
    ASSERT_EQ(g_spawned.size(), 13u);
    for (int i = 0; i < 7; ++i) {  // row 101 comes first
        EXPECT_EQ(g_spawned[i].code, small[i]);
        EXPECT_EQ(g_spawned[i].x, (i + 7) * 16 + 8);
        EXPECT_EQ(g_spawned[i].y, -8);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g_spawned[7 + i].code, large[i]);
        EXPECT_EQ(g_spawned[7 + i].x, i * 16 + 16);
        EXPECT_EQ(g_spawned[7 + i].y, -16);
    }
    EXPECT_EQ(g_spawned[12].x, 240);  // the last column: half outside the play field
}

TEST_F(Spawner, CodesZeroAndAboveTwelveCreateNothing) {
    StageBytes stage;
    const uint8_t unused[] = {0, 13, 14, 100, 200, 255};
    for (int i = 0; i < 6; ++i) stage.set(i, 50, 0, unused[i]);
    load(stage);
    scroll_pos = 820.0f;
    scrolling = 1;
    for (int frame = 0; frame < 8; ++frame) play_frame();
    EXPECT_TRUE(g_spawned.empty());
    // The real door into the classes ignores them as well.
    for (uint8_t code : unused) create_coded_object(code, coded_object_spot(code, 0));
}

TEST_F(Spawner, AWholeStageSpawnsEachRowOnceAndOnlyTheHeldRowRepeats) {
    StageBytes stage;
    for (int row = 0; row < 375; ++row) stage.set(row % 15, row, 0, uint8_t(row % 12 + 1));
    load(stage);
    headless::set_render(false);
    const int held = 7;
    for (int frame = 0; frame < held; ++frame) play_frame();
    scrolling = 1;
    int frames = 0;
    while (scrolling == 1 && frames < 20000) {
        play_frame();
        ++frames;
    }
    for (int frame = 0; frame < 10; ++frame) play_frame();  // stopped at the top: nothing more
    headless::set_render(true);
    EXPECT_EQ(frames, 11520);
    std::vector<int> per_row(375, 0);
    for (const Spawned& s : g_spawned) {
        const int row = int(s.at_scroll) / 16 - 1;
        ASSERT_GE(row, 0);
        ASSERT_EQ(s.at_scroll, float(row * 16 + 16));
        const bool large = s.code == 2 || s.code == 4 || s.code == 5 || s.code == 7 || s.code == 11;
        EXPECT_EQ(s.x, (row % 15) * 16 + (large ? 16 : 8)) << row;
        EXPECT_EQ(s.code, row % 12 + 1);
        ++per_row[size_t(row)];
    }
    for (int row = 0; row < 375; ++row) {
        const int expect = row < 359 ? 1 : row == 359 ? held : 0;
        EXPECT_EQ(per_row[size_t(row)], expect) << row;
    }
}

}  // namespace
