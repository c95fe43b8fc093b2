// Test support for the enemies: a difficulty set as the stage start sets it, and a log of the
// bullets an object fires, update by update.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "core/entities.h"
#include "core/game_flow.h"
#include "frontend/settings_file.h"
#include "player/bullet.h"
#include "tests/player/player_fixture.h"

namespace enemytest {

class EnemyTest : public playertest::PlayerTest {
  protected:
    static void set_difficulty(int d) {
        setting_difficulty = uint8_t(d);
        difficulty_level = float(d);
        point_blank = 80.0f - 16.0f * float(d);
    }

    // Runs `updates` updates of every `kind` object of enemy_list and returns, for each update
    // that fired, its number (1 = the first of this call) and the bullets it made.
    static std::vector<std::pair<int, int>> fire_log(int updates,
                                                     uint32_t kind = kind_t_enemy | kind_t_boss) {
        std::vector<std::pair<int, int>> log;
        for (int i = 1; i <= updates; ++i) {
            const size_t before = bullet_list->count();
            update(enemy_list, kind);
            if (bullet_list->count() > before) log.emplace_back(i, int(bullet_list->count() - before));
        }
        return log;
    }
    static std::vector<int> fire_updates(int updates, uint32_t kind = kind_t_enemy | kind_t_boss) {
        std::vector<int> out;
        for (const auto& [update_number, bullets] : fire_log(updates, kind)) out.push_back(update_number);
        return out;
    }
    static std::vector<t_bullet*> bullets() { return all<t_bullet>(bullet_list, kind_t_bullet); }
    // Clears the bullets, so that the next update's are the only ones.
    static void clear_bullets() { bullet_list->clear(); }
};

}  // namespace enemytest
