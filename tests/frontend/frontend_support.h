// Helpers of the front-end and game-flow tests: held keys, whole frames, the texts and sounds a
// frame produced, and a scratch working folder with an empty stage.
#pragma once

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/asset_table.h"
#include "core/startup.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "tests/support/game_fixture.h"

namespace frontend_test {

enum Key { kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kA = 65, kS = 83, kD = 68 };

inline void hold(std::initializer_list<int> keys) {
    std::array<bool, 256> held{};
    for (int k : keys) held[size_t(k)] = true;
    headless::set_keys_held(held);
}

inline void frames(int n) {
    for (int i = 0; i < n; ++i) run_frame();
}

// Presses the keys for one frame, then releases them for one frame.
inline void tap(std::initializer_list<int> keys) {
    hold(keys);
    run_frame();
    hold({});
    run_frame();
}

// The characters of `font` drawn this frame on game row y, left to right.
inline std::string text_at(const TImage* font, float y) {
    std::vector<std::pair<float, char>> glyphs;
    for (const headless::DrawRecord& d : headless::draw_log())
        if (d.img == font && d.y == y * 2) glyphs.push_back({d.x, char(d.frame + 48)});
    std::sort(glyphs.begin(), glyphs.end());
    std::string text;
    for (auto& g : glyphs) text += g.second;
    return text;
}

// How often `sound` was played since the log was cleared; fails the test if any went on a channel.
inline int plays_of(const TSound* sound) {
    int n = 0;
    for (const headless::SoundEvent& e : headless::sound_log()) {
        if (e.sound != sound) continue;
        EXPECT_EQ(e.channel, 0) << sound->path << " must play on no channel";
        ++n;
    }
    return n;
}

// A fresh working folder holding an empty stage file, so a stage can start there.
inline std::string scratch_dir(const std::string& tag) {
    std::string dir = testsupport::make_temp_dir(tag);
    testsupport::write_bytes(dir + "/" + kStageFile, std::vector<uint8_t>(kStageFileBytes, 0));
    std::filesystem::current_path(dir);
    return dir;
}

}  // namespace frontend_test
