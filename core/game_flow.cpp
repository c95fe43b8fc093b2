// Game flow: new game, stage start, the per-frame world step and the end of a game with its
// high-score entry.
#include "core/game_flow.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/hud.h"
#include "core/module_state.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "core/tables.h"
#include "enemies/boss1a.h"
#include "enemies/boss1b.h"
#include "engine/engine.h"
#include "frontend/controls_file.h"
#include "frontend/input.h"
#include "frontend/library_page.h"
#include "frontend/menus.h"
#include "frontend/practice.h"
#include "frontend/replay_library.h"
#include "frontend/settings_file.h"
#include "player/bonus2.h"
#include "player/ship.h"

// The game-wide variables of a game, with their start values.
#define GAME_FLOW_STATE(X)              \
    X(uint8_t, game_mode, 0)            \
    X(uint8_t, stage, 1)                \
    X(int32_t, score, 0)                \
    X(uint8_t, lives, 3)                \
    X(uint8_t, extra_lives_awarded, 0)  \
    X(uint8_t, respawn_timer, 0)        \
    X(int32_t, game_over_timer, 0)      \
    X(float, difficulty_level, 0.0f)    \
    X(float, point_blank, 0.0f)         \
    X(uint8_t, wobble_index, 0)         \
    X(float, wobble, 0.0f)              \
    X(uint8_t, ship_choice, 1)          \
    X(float, ship1_speed, 1.8f)         \
    X(float, ship2_speed, 1.7f)         \
    X(float, bullet_hit_size, 2.0f)     \
    X(uint8_t, debug_overlay, 0)        \
    X(uint8_t, new_hiscore, 0)          \
    X(float, hiscore_entry_timer, 0.0f) \
    X(int32_t, hiscore_rank, 11)

GAME_FLOW_STATE(CINDER_DEFINE_STATE)

void reset_game_flow_state() { GAME_FLOW_STATE(CINDER_RESET_STATE); }

namespace {

// The one place a ship enters the game, of the kind chosen on the ship-selection page (the caller
// counts the lives).
// The first ship of a practice run starts at the gun level chosen for it.
void practice_ship_created() {
    if (practice_active != 1 || practice_gun_due != 1 || !player_list) return;
    practice_gun_due = 0;
    player_list->walk_kind(kind_t_player, [](TObject* object) {
        static_cast<t_player*>(object)->power = kGunPower[practice_gun % (kMaxGun + 1)];
    });
}

void create_ship_for_choice() {
    if (ship_choice == 1)
        t_player::create(1, img_player1, ship1_speed);
    else
        t_player::create(2, img_player2, ship2_speed);
}

// The boss's two forms, created at fixed scroll positions of stage 1 just right of the play
// field, whether or not the first form was destroyed.
void create_first_boss_form() { t_boss1a::create(290.0f, 90.0f); }
void create_second_boss_form() { t_boss1b::create(290.0f, 90.0f); }

// Enters `score` into the table of the difficulty played: below every row with an equal or higher
// score, above the first lower one; the old row 10 is lost. A difficulty without a table enters
// nothing.
void enter_score() {
    HiscoreTable t;
    if (!hiscore_table(setting_difficulty, t)) return;
    IntTable& scores = *t.scores;
    if (scores[9] < score) {
        new_hiscore = 1;
        hiscore_entry_timer = 3000.0f;
    }
    for (int i = 9; i >= 0; --i)
        if (scores[size_t(i)] < score) hiscore_rank = i + 1;
    if (hiscore_rank < 1 || hiscore_rank > 10) return;
    const size_t at = size_t(hiscore_rank - 1);
    for (size_t i = 9; i > at; --i) {
        scores[i] = scores[i - 1];
        (*t.ships)[i] = (*t.ships)[i - 1];
        (*t.names)[i] = (*t.names)[i - 1];
        (*t.stages)[i] = (*t.stages)[i - 1];
    }
    scores[at] = score;
    (*t.ships)[at] = ship_choice;
    (*t.names)[at] = "@@@";  // replaced letter by letter by the name entry
    (*t.stages)[at] = stage;
}

}  // namespace

void new_game_reset() {
    game_mode = 0;
    input_move = 5;
    input_button = 0;
    lives = 3;
    extra_lives_awarded = 0;
    score = 0;
    stage = 1;
    bg_far_y = 120.0f;
    bg_near_y = 120.0f;
    bg_far_speed = 0.2f;
    bg_near_speed = 0.3f;
    chain_timer = 0.0f;
    chain_level = 0;
    item_index = 0;
    chain_value_shown = 50;
    replay_pos = 1;
    scroll_speed = 0.5f;
    scroll_pos = 5760.0f;
    scrolling = 0;
    menu_screen = 1;
    menu_cursor = 1;
    powerinfo_timer = 0;
    wobble_index = 0;
    hiscore_rank = 11;
    hiscore_letter_index = 0;
    hiscore_letter = 64;  // "@"
    hiscore_letter1 = hiscore_letter2 = hiscore_letter3 = "@";
}

void start_stage() {
    load_stage_file(stage);
    difficulty_level = float(setting_difficulty);
    point_blank = 80.0f - float(setting_difficulty) * 16.0f;
    stage_banner_timer = kStageBannerFrames;
    respawn_timer = kRespawnFrames;
    apply_practice_start();
    game_mode = 1;
}

void world_step() {
    // 1. A new ship 74 frames after the respawn timer was set, or the game over without one.
    if (respawn_timer > 0) --respawn_timer;
    if (respawn_timer == 1) {
        if (lives == 0) {
            game_over_timer = kGameOverFrames;
        } else {
            create_ship_for_choice();
            practice_ship_created();
            --lives;
        }
    }
    // 2. Extra ships, at most one per frame.
    if ((score >= kFirstExtraShipScore && extra_lives_awarded == 0) ||
        (score >= kSecondExtraShipScore && extra_lives_awarded == 1)) {
        ++lives;
        ++extra_lives_awarded;
        play_sound(snd_gorge, nullptr);
    }
    // 3. The end of the game-over display.
    if (game_over_timer > 0) --game_over_timer;
    if (game_over_timer == 1) end_game();
    // 4. The debug overlay key.
    if (key_hit(kDebugKey)) debug_overlay = debug_overlay == 1 ? 0 : 1;
    // 5. The wobble, a cycle of 80 frames.
    wobble = float(wobble_table[wobble_index % wobble_table.size()]);
    wobble_index = wobble_index >= 79 ? 0 : uint8_t(wobble_index + 1);
    // 6. The bosses. This runs before the frame's scroll step, and the scroll moves by 0.5 from
    // 5760, so each equality holds in exactly one frame of a game.
    if (stage == 1) {
        if (scroll_pos == kFirstBossScrollPos) create_first_boss_form();
        if (scroll_pos == kSecondBossScrollPos) create_second_boss_form();
    }
}

void end_game() {
    game_over_timer = 0;
    library_note_ending();
    clear_world();
    if (replay_mode == 0 && practice_active == 1) {
        // Practice enters no table; its recording ends with its game.
        library_game_ended();
        replay_running = 0;
        practice_run_ended();
    } else if (replay_mode == 0) {
        enter_score();
        library_game_ended();
    } else {
        replay_mode = 0;
        replay_running = 0;
    }
    menu_screen = 3;
    menu_cursor = setting_difficulty + 1;
    game_mode = 0;
    watch_ended();
}
