// The fixed tables of the game, created at start-up: high-score defaults, menu texts, stage
// names, the wobble, chain and item values, and the replay buffer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int hires = 1;  // 640 x 480 screen, every image drawn doubled
inline constexpr int tile_size = 16;
inline constexpr int map_columns = 15;
inline constexpr int map_rows = 375;
inline constexpr int map_width_px = 240;
inline constexpr int map_height_px = 6000;
inline constexpr int replay_capacity = 200000;

using NameTable = std::array<std::string, 10>;
using IntTable = std::array<int32_t, 10>;

extern NameTable hiscore_names_easy, hiscore_names_normal, hiscore_names_hard;
extern IntTable hiscore_ships_easy, hiscore_ships_normal, hiscore_ships_hard;
extern IntTable hiscore_scores_easy, hiscore_scores_normal, hiscore_scores_hard;
extern IntTable hiscore_stages_easy, hiscore_stages_normal, hiscore_stages_hard;

extern std::array<std::string, 5> main_menu_items;
extern std::array<std::string, 5> settings_menu_items;
extern std::array<std::string, 5> stage_names;
extern std::array<int32_t, 80> wobble_table;
extern std::array<int32_t, 20> chain_values;
extern std::array<int32_t, 11> item_values;
extern std::vector<int32_t> replay_data;  // replay_capacity entries

// One difficulty's high-score table, or none for a difficulty outside 0..2.
struct HiscoreTable {
    NameTable* names;
    IntTable* ships;
    IntTable* scores;
    IntTable* stages;
};
bool hiscore_table(int difficulty, HiscoreTable& out);

void create_hiscore_tables();  // the built-in defaults
void create_menu_tables();
void create_game_tables();  // stage names, wobble, chain and item values, replay buffer
