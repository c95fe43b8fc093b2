// Test support: small files made by the tests (BMP pictures, WAV sounds, a complete minimal asset
// set), and a fixture that runs the game's start-up once per test program on the headless backend.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// A fresh empty folder under the system's temporary folder.
std::string make_temp_dir(const std::string& tag);

struct Pixel {
    uint8_t r, g, b;
};
// Writes a 24-bit BMP of w x h pixels given row-major, top row first.
void write_bmp24(const std::string& path, int w, int h, const std::vector<Pixel>& pixels);
// Writes a 16-bit mono 44100 Hz PCM WAV of `frames` samples of a quiet square wave.
void write_wav16(const std::string& path, int frames);
// Writes every image and sound of the asset tables (plain cells, each cell a different colour)
// and an empty stage file of the right size under `dir`.
void write_minimal_game_files(const std::string& dir);
void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_bytes(const std::string& path);

// The headless engine and the game's start-up, done once per test program in a folder holding
// the minimal asset set; every test starts from the start-up values with empty lists.
class GameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    static const std::string& game_dir();
};

}  // namespace testsupport
