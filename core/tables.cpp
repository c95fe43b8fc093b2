// Contents of the fixed tables.
#include "core/tables.h"

NameTable hiscore_names_easy, hiscore_names_normal, hiscore_names_hard;
IntTable hiscore_ships_easy, hiscore_ships_normal, hiscore_ships_hard;
IntTable hiscore_scores_easy, hiscore_scores_normal, hiscore_scores_hard;
IntTable hiscore_stages_easy, hiscore_stages_normal, hiscore_stages_hard;

std::array<std::string, 5> main_menu_items;
std::array<std::string, 5> settings_menu_items;
std::array<std::string, 5> stage_names;
std::array<int32_t, 80> wobble_table;
std::array<int32_t, 20> chain_values;
std::array<int32_t, 11> item_values;
std::vector<int32_t> replay_data;

bool hiscore_table(int difficulty, HiscoreTable& out) {
    switch (difficulty) {
        case 0:
            out = {&hiscore_names_easy, &hiscore_ships_easy, &hiscore_scores_easy, &hiscore_stages_easy};
            return true;
        case 1:
            out = {&hiscore_names_normal, &hiscore_ships_normal, &hiscore_scores_normal,
                   &hiscore_stages_normal};
            return true;
        case 2:
            out = {&hiscore_names_hard, &hiscore_ships_hard, &hiscore_scores_hard, &hiscore_stages_hard};
            return true;
        default:
            return false;
    }
}

void create_hiscore_tables() {
    hiscore_names_easy = {"EAS", "YEA", "SYE", "ASY", "EAS", "YEA", "SYE", "ASY", "EAS", "YEA"};
    hiscore_ships_easy = {2, 2, 1, 1, 2, 2, 1, 1, 2, 2};
    hiscore_scores_easy = {800000, 700000, 600000, 500000, 400000, 300000, 200000, 100000, 90000, 80000};
    hiscore_stages_easy = {3, 3, 2, 2, 1, 1, 1, 1, 1, 1};

    hiscore_names_normal = {"NOR", "MAL", "NOR", "MAL", "NOR", "MAL", "NOR", "MAL", "NOR", "MAL"};
    hiscore_ships_normal = {2, 1, 2, 1, 2, 1, 2, 1, 2, 1};
    hiscore_scores_normal = {900000, 800000, 700000, 600000, 500000, 400000, 300000, 200000, 100000, 90000};
    hiscore_stages_normal = {4, 4, 3, 3, 2, 2, 1, 1, 1, 1};

    hiscore_names_hard = {"HAR", "DHA", "RDH", "ARD", "HAR", "DHA", "RDH", "ARD", "HAR", "DHA"};
    hiscore_ships_hard = {1, 2, 1, 2, 1, 2, 1, 2, 1, 2};
    hiscore_scores_hard = {1000000, 900000, 800000, 700000, 600000, 500000, 400000, 300000, 200000, 100000};
    hiscore_stages_hard = {5, 5, 4, 4, 3, 3, 2, 2, 1, 1};
}

void create_menu_tables() {
    main_menu_items = {"START", "SETTINGS", "HIGHSCORES", "REPLAY", "QUIT"};
    settings_menu_items = {"DIFFICULTY", "CONTROL", "RESOLUTION", "PARTICLES", "EXIT"};
}

void create_game_tables() {
    stage_names = {"PLANET=ATMOSPHERE", "ORBITAL=PLATFORMS", "SPACE=ROCKS", "MOON=BASE", "ALIEN=CORE"};
    // -20..-1 then 1..20, each followed by a 0: the sway enemies add to their aim.
    size_t at = 0;
    for (int v = -20; v <= 20; ++v) {
        if (v == 0) continue;
        wobble_table[at++] = v;
        wobble_table[at++] = 0;
    }
    chain_values = {50,  100, 150,  200,  250,  300,  400,  500,  600,  700,
                    800, 900, 1000, 1200, 1500, 2000, 2500, 3000, 5000, 10000};
    item_values = {100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000, 0};
    replay_data.assign(replay_capacity, 0);
}
