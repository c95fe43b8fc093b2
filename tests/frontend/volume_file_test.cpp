// data/volume.txt: the defaults without it, bad lines and values falling back one by one with a
// single line said, a file that cannot be read left alone, saving only what changed, the volumes
// reaching the mixer, and the settings file untouched by any of it.
#include "frontend/volume_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "engine/engine.h"
#include "engine/headless.h"
#include "frontend/settings_file.h"
#include "tests/frontend/frontend_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::read_bytes;
using testsupport::write_bytes;

void write_text(const std::string& path, const std::string& text) {
    write_bytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}
std::string read_text(const std::string& path) {
    const std::vector<uint8_t> b = read_bytes(path);
    return std::string(b.begin(), b.end());
}

class VolumeFile : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        dir_ = frontend_test::scratch_dir("volume");
    }
    void TearDown() override {
        set_volumes(10, 10);
        set_late_start(false);
        GameTest::TearDown();
    }
    // What the load said on stderr.
    std::string load() {
        testing::internal::CaptureStderr();
        load_volume_file();
        return testing::internal::GetCapturedStderr();
    }
    std::string dir_;
};

TEST_F(VolumeFile, WithoutTheFileTheDefaultsReachTheMixerSilentlyAndNothingIsWritten) {
    EXPECT_EQ(load(), "");
    EXPECT_EQ(music_volume, 7);
    EXPECT_EQ(sound_volume, 10);
    EXPECT_EQ(late_start, 1);
    EXPECT_EQ(headless::music_volume(), 7);
    EXPECT_EQ(headless::sound_volume(), 10);
    ASSERT_TRUE(save_volume_file());
    EXPECT_FALSE(fs::exists("data/volume.txt"));  // the defaults need no file
    music_volume = 3;
    ASSERT_TRUE(save_volume_file());
    load();
    EXPECT_EQ(music_volume, 3);
    EXPECT_EQ(sound_volume, 10);
}

TEST_F(VolumeFile, ValuesAreReadInAnyOrderWithCommentsAndSpaces) {
    write_text("data/volume.txt", "# mine\n  sound=0  \nlate_start = no # off\nmusic = 10\n");
    EXPECT_EQ(load(), "");
    EXPECT_EQ(music_volume, 10);
    EXPECT_EQ(sound_volume, 0);
    EXPECT_EQ(late_start, 0);
    EXPECT_EQ(headless::sound_volume(), 0);
}

TEST_F(VolumeFile, BadValuesFallBackOneByOneWithOneLineNamingTheFile) {
    write_text("data/volume.txt",
               "music = 11\nsound = 4\nlate_start = maybe\nvolume = 3\nmusic = -1\nsound\n");
    const std::string said = load();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("data/volume.txt:1: music is 0 to 10, not '11'"), std::string::npos) << said;
    EXPECT_NE(said.find("and 4 more"), std::string::npos) << said;
    EXPECT_EQ(music_volume, 7);
    EXPECT_EQ(sound_volume, 4);  // the good line counts
    EXPECT_EQ(late_start, 1);
    for (const char* bad : {"music = 1.5", "music = 007", "music = 5x", "music = ", "sound = 100"}) {
        write_text("data/volume.txt", bad);
        EXPECT_NE(load(), "") << bad;
        EXPECT_EQ(music_volume, 7) << bad;
        EXPECT_EQ(sound_volume, 10) << bad;
    }
}

TEST_F(VolumeFile, BinaryGarbageAndAShortFileGiveTheDefaultsAndTheSaveWritesAWholeFile) {
    write_bytes("data/volume.txt", {0xff, 0x00, 0x3d, 0x0a, 0x80, 'm', 'u', 's', 'i', 'c'});
    EXPECT_NE(load(), "");
    EXPECT_EQ(music_volume, 7);
    EXPECT_EQ(sound_volume, 10);
    ASSERT_TRUE(save_volume_file());
    EXPECT_EQ(read_text("data/volume.txt"), volume_file_text());
    write_text("data/volume.txt", "music = 2\nsou");
    EXPECT_NE(load(), "");
    EXPECT_EQ(music_volume, 2);
    EXPECT_EQ(sound_volume, 10);
}

TEST_F(VolumeFile, AFolderInItsPlaceIsNeverSavedOverAndTheSettingsFileIsUntouched) {
    write_bytes("data/settings.dat", {2, 1, 1, 37});
    fs::create_directories("data/volume.txt");
    const std::string said = load();
    EXPECT_NE(said.find("data/volume.txt"), std::string::npos);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    music_volume = 1;
    EXPECT_FALSE(save_volume_file());
    EXPECT_TRUE(fs::is_directory("data/volume.txt"));
    EXPECT_EQ(read_bytes("data/settings.dat"), (std::vector<uint8_t>{2, 1, 1, 37}));
}

}  // namespace
