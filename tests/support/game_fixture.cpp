// Small test files and the once-per-program start-up.
#include "tests/support/game_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/asset_table.h"
#include "core/entities.h"
#include "core/startup.h"
#include "engine/engine.h"
#include "engine/headless.h"

namespace testsupport {

namespace fs = std::filesystem;

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

}  // namespace

std::string make_temp_dir(const std::string& tag) {
    static int counter = 0;
    fs::path p = fs::temp_directory_path() /
                 ("cinder-test-" + std::to_string(::getpid()) + "-" + tag + "-" + std::to_string(counter++));
    fs::remove_all(p);
    fs::create_directories(p);
    return p.string();
}

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void write_bmp24(const std::string& path, int w, int h, const std::vector<Pixel>& pixels) {
    const uint32_t row = uint32_t((w * 3 + 3) & ~3), data = row * uint32_t(h);
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + data);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, uint32_t(w));
    put32(b, uint32_t(h));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);
    put32(b, data);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Pixel& p = pixels[size_t(y) * w + x];
            b.push_back(p.b);
            b.push_back(p.g);
            b.push_back(p.r);
        }
        for (uint32_t i = uint32_t(w) * 3; i < row; ++i) b.push_back(0);
    }
    write_bytes(path, b);
}

void write_wav16(const std::string& path, int frames) {
    std::vector<uint8_t> b = {'R', 'I', 'F', 'F'};
    put32(b, 36 + uint32_t(frames) * 2);
    for (char c : std::string("WAVEfmt ")) b.push_back(uint8_t(c));
    put32(b, 16);
    put16(b, 1);
    put16(b, 1);
    put32(b, 44100);
    put32(b, 88200);
    put16(b, 2);
    put16(b, 16);
    for (char c : std::string("data")) b.push_back(uint8_t(c));
    put32(b, uint32_t(frames) * 2);
    for (int i = 0; i < frames; ++i) put16(b, uint16_t((i / 50) % 2 ? 2000 : -2000));
    write_bytes(path, b);
}

void write_minimal_game_files(const std::string& dir) {
    for (const ImageEntry& e : kImageTable) {
        int cw = e.count ? e.cell_w : 8, ch = e.count ? e.cell_h : 8, n = e.count ? e.count : 1;
        int columns = std::min(n, 10), rows = (n + columns - 1) / columns;
        int w = cw * columns, h = ch * rows;
        std::vector<Pixel> px(size_t(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int cell = (y / ch) * columns + x / cw;
                px[size_t(y) * w + x] = {uint8_t(40 + cell * 7), uint8_t(200 - cell), uint8_t(cell * 3)};
            }
        write_bmp24(dir + "/" + e.file, w, h, px);
    }
    for (const char* s : kSoundTable) write_wav16(dir + "/" + s, 441);
    write_bytes(dir + "/" + kStageFile, std::vector<uint8_t>(kStageFileBytes, 0));
}

const std::string& GameTest::game_dir() {
    static const std::string dir = [] {
        std::string d = make_temp_dir("game");
        write_minimal_game_files(d);
        fs::current_path(d);
        if (!engine_init(Backend::headless)) std::abort();
        start_up();
        return d;
    }();
    return dir;
}

void GameTest::SetUp() {
    fs::current_path(game_dir());
    reset_all_state();
}

void GameTest::TearDown() {
    for (TList* l :
         {player_list, shot_list, pickup_list, levelobject_list, enemy_list, bullet_list, effect_list})
        l->clear();
}

}  // namespace testsupport
