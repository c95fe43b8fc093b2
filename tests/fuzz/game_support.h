// For the fuzz targets that run the game itself: a scratch folder holding the generated game
// files, the headless engine without rasterising, and start-up done once per run.
#pragma once

#include <array>
#include <filesystem>
#include <initializer_list>

#include "core/entities.h"
#include "core/startup.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "engine/list.h"
#include "tests/fuzz/fuzz_support.h"

namespace fuzz {

// `own_level`: a level folder of the target's own to write stage files into; otherwise the
// generated one is used.
inline void start_game(const std::string& tag, bool own_level) {
    namespace fs = std::filesystem;
    enter_scratch_dir(tag);
    const fs::path game = CINDER_GAME_DIR;
    for (const char* folder : {"gfx", "sfx", "level"}) {
        if (own_level && std::string(folder) == "level") {
            fs::create_directories(folder);
            fs::copy(game / folder, folder, fs::copy_options::recursive);
        } else {
            fs::create_directory_symlink(game / folder, folder);
        }
    }
    FUZZ_CHECK(engine_init(Backend::headless));
    headless::set_render(false);
    start_up();
}

inline void hold(std::initializer_list<int> keys) {
    std::array<bool, 256> held{};
    for (int k : keys) held[size_t(k)] = true;
    headless::set_keys_held(held);
}

inline void empty_lists() {
    for (TList* l :
         {player_list, shot_list, pickup_list, levelobject_list, enemy_list, bullet_list, effect_list})
        l->clear();
}

}  // namespace fuzz
