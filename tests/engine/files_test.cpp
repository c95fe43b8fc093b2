// Files and streams: byte order, reads past the end, update mode, failures kept on the stream,
// and the folder and rename helpers.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/engine.h"
#include "tests/engine/engine_test_files.h"

namespace {

using enginetest::load;
using enginetest::save;

class Streams : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = enginetest::scratch_dir("files"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string at(const std::string& name) const { return dir_ + "/" + name; }
    std::string dir_;
};

TEST_F(Streams, IntegersAreLittleEndianAndBytesKeepTheLowEightBits) {
    TStream* s = write_file(at("out.bin"));
    ASSERT_NE(s, nullptr);
    write_int(s, 1500);
    write_byte(s, 300);
    write_int(s, -2);
    write_string(s, "Az\xE9");
    EXPECT_TRUE(close_stream(s));
    EXPECT_EQ(load(at("out.bin")),
              (std::vector<uint8_t>{220, 5, 0, 0, 44, 254, 255, 255, 255, 'A', 'z', 0xE9}));
}

TEST_F(Streams, ReadsGiveSignedIntsAndBytesAsStored) {
    save(at("in.bin"), {255, 255, 255, 255, 0x78, 0x56, 0x34, 0x12, 200, 'N', 'O', 'R'});
    TStream* s = read_file(at("in.bin"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(read_int(s), -1);
    EXPECT_EQ(read_int(s), 0x12345678);
    EXPECT_EQ(read_byte(s), 200);
    EXPECT_EQ(read_string(s, 3), "NOR");
    EXPECT_TRUE(close_stream(s));
}

TEST_F(Streams, ReadingPastTheEndGivesZerosWithoutFailing) {
    save(at("short.bin"), {7, 1, 2});
    TStream* s = read_file(at("short.bin"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(read_byte(s), 7);
    EXPECT_EQ(read_int(s), 0x0201);  // two bytes left, the rest read as zero
    EXPECT_EQ(read_byte(s), 0);
    EXPECT_EQ(read_string(s, 3), std::string(3, '\0'));
    EXPECT_FALSE(stream_failed(s));
    EXPECT_TRUE(close_stream(s));
}

TEST_F(Streams, UpdateModeSeekAndWriteExtendsAFileOfFiveBytes) {
    save(at("five.bin"), {1, 2, 3, 4, 5});
    TStream* s = open_stream(at("five.bin"), 1, 1);
    ASSERT_NE(s, nullptr);
    seek_stream(s, 5);
    write_byte(s, 9);
    EXPECT_TRUE(close_stream(s));
    EXPECT_EQ(load(at("five.bin")), (std::vector<uint8_t>{1, 2, 3, 4, 5, 9}));
}

TEST_F(Streams, UpdateModeSeekAndWriteReplacesTheSixthByteOfALongerFile) {
    save(at("eight.bin"), {1, 2, 3, 4, 5, 6, 7, 8});
    TStream* s = open_stream(at("eight.bin"), 1, 1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(read_byte(s), 1);  // opened at position 0, not emptied
    seek_stream(s, 5);
    write_byte(s, 60);
    EXPECT_TRUE(close_stream(s));
    EXPECT_EQ(load(at("eight.bin")), (std::vector<uint8_t>{1, 2, 3, 4, 5, 60, 7, 8}));
}

TEST_F(Streams, UpdateModeSwitchesBetweenReadingAndWritingInPlace) {
    save(at("mix.bin"), {10, 20, 30, 40});
    TStream* s = open_stream(at("mix.bin"), 1, 1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(read_byte(s), 10);
    EXPECT_EQ(read_byte(s), 20);
    write_byte(s, 99);            // lands at position 2
    EXPECT_EQ(read_byte(s), 40);  // and reading goes on after it
    EXPECT_TRUE(close_stream(s));
    EXPECT_EQ(load(at("mix.bin")), (std::vector<uint8_t>{10, 20, 99, 40}));
}

TEST_F(Streams, OpeningForUpdateOrReadingNeedsAnExistingFile) {
    EXPECT_EQ(open_stream(at("missing.bin"), 1, 1), nullptr);
    EXPECT_EQ(read_file(at("missing.bin")), nullptr);
    EXPECT_EQ(read_file(dir_), nullptr);  // a folder is no file
    EXPECT_EQ(write_file(at("no/such/folder/x.bin")), nullptr);
}

TEST_F(Streams, AWriteTheSystemRefusesIsReportedByClose) {
    if (file_type("/dev/full") == 0) GTEST_SKIP() << "no /dev/full here";
    TStream* s = write_file("/dev/full");
    ASSERT_NE(s, nullptr);
    write_string(s, "the device is always full");
    EXPECT_FALSE(close_stream(s));
}

TEST_F(Streams, AReadTheSystemRefusesMarksTheStream) {
    TStream* s = write_file(at("write-only.bin"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(read_byte(s), 0);
    EXPECT_TRUE(stream_failed(s));
    EXPECT_FALSE(close_stream(s));
}

TEST_F(Streams, ANullStreamIsIgnored) {
    EXPECT_EQ(read_byte(nullptr), 0);
    EXPECT_EQ(read_int(nullptr), 0);
    EXPECT_EQ(read_string(nullptr, 3), "");
    write_byte(nullptr, 1);
    write_int(nullptr, 1);
    write_string(nullptr, "x");
    seek_stream(nullptr, 4);
    EXPECT_FALSE(stream_failed(nullptr));
    EXPECT_FALSE(close_stream(nullptr));
}

TEST_F(Streams, BackslashesInPathsAreFolderSeparators) {
    ASSERT_TRUE(make_folder(at("data")));
    TStream* s = write_file(dir_ + "\\data\\settings.dat");
    ASSERT_NE(s, nullptr);
    write_byte(s, 3);
    EXPECT_TRUE(close_stream(s));
    EXPECT_EQ(load(at("data/settings.dat")), (std::vector<uint8_t>{3}));
    EXPECT_EQ(file_type(dir_ + "\\data"), 2);
}

TEST_F(Streams, FileTypeAndSize) {
    save(at("four.bin"), {1, 2, 3, 4});
    EXPECT_EQ(file_type(at("four.bin")), 1);
    EXPECT_EQ(file_type(dir_), 2);
    EXPECT_EQ(file_type(at("nothing")), 0);
    EXPECT_EQ(file_size(at("four.bin")), 4);
    EXPECT_EQ(file_size(at("nothing")), -1);
    save(at("empty.bin"), {});
    EXPECT_EQ(file_size(at("empty.bin")), 0);
}

TEST_F(Streams, MakeFolderCreatesEveryLevelAndAcceptsAnExistingOne) {
    EXPECT_TRUE(make_folder(at("a/b/c")));
    EXPECT_EQ(file_type(at("a/b/c")), 2);
    EXPECT_TRUE(make_folder(at("a/b/c")));
    save(at("plain"), {1});
    EXPECT_FALSE(make_folder(at("plain")));
}

TEST_F(Streams, RenameReplacesTheTarget) {
    save(at("new.tmp"), {1, 2});
    save(at("table.dat"), {9, 9, 9});
    EXPECT_TRUE(rename_file(at("new.tmp"), at("table.dat")));
    EXPECT_EQ(load(at("table.dat")), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(file_type(at("new.tmp")), 0);
    EXPECT_FALSE(rename_file(at("new.tmp"), at("other.dat")));
}

// A link in place of a file the game writes: the link is replaced (write_file) or refused (update,
// which the replay uses after creating the file), and its target never changes.
TEST_F(Streams, NoWriteGoesThroughALink) {
    save(at("theirs"), {1, 2, 3});
    std::filesystem::create_symlink(at("theirs"), at("mine"));
    EXPECT_EQ(open_stream(at("mine"), 1, 1), nullptr);
    TStream* s = write_file(at("mine"));
    ASSERT_NE(s, nullptr);
    write_byte(s, 9);
    EXPECT_TRUE(close_stream(s));
    EXPECT_EQ(load(at("theirs")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(at("mine"))));
    EXPECT_EQ(load(at("mine")), (std::vector<uint8_t>{9}));
    // The safe save's temporary: a link or a leftover there is removed, a folder is not.
    std::filesystem::create_symlink(at("theirs"), at("safe.tmp"));
    EXPECT_TRUE(write_file_safely(at("safe"), {4}));
    EXPECT_EQ(load(at("theirs")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(load(at("safe")), (std::vector<uint8_t>{4}));
    std::filesystem::create_directory(at("safe.tmp"));
    EXPECT_FALSE(write_file_safely(at("safe"), {5}));
    EXPECT_TRUE(std::filesystem::is_directory(at("safe.tmp")));
    EXPECT_EQ(load(at("safe")), (std::vector<uint8_t>{4}));
}

}  // namespace
