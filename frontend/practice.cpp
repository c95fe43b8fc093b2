// The practice page (Right on START) and what a practice run changes of a game's start.
#include "frontend/practice.h"

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/hud.h"
#include "core/module_state.h"
#include "core/scroll.h"
#include "engine/engine.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/replay_library.h"
#include "frontend/settings_file.h"
#include "player/helpers.h"

#define PRACTICE_STATE(X)           \
    X(uint8_t, practice_active, 0)  \
    X(uint8_t, practice_start, 0)   \
    X(uint8_t, practice_gun, 0)     \
    X(uint8_t, practice_lives, 3)   \
    X(uint8_t, practice_gun_due, 0) \
    X(int32_t, practice_row, 1)     \
    X(uint8_t, practice_difficulty, kNoPracticeDifficulty)

PRACTICE_STATE(CINDER_DEFINE_STATE)

void reset_practice_state() { PRACTICE_STATE(CINDER_RESET_STATE); }

namespace {

constexpr int kRows = 6;  // DIFFICULTY, START, GUN, LIVES, GO, BACK
constexpr float kX = 40, kValueX = 150, kY = 110, kStep = 15;

void sound(TSound* s) { play_sound(s, nullptr); }

void change(uint8_t& value, int low, int high) {
    if (input_move == 4 && value > low) {
        --value;
    } else if (input_move == 6 && value < high) {
        ++value;
    } else {
        return;
    }
    menu_value_delay = 15;
    sound(snd_shot1);
}

}  // namespace

int practice_start_index(const std::string& name) {
    for (int i = 0; i < kPracticeStartCount; ++i)
        if (name == kPracticeStarts[i].name) return i;
    return -1;
}

void open_practice_page() {
    menu_screen = kPracticeScreen;
    practice_row = 1;
    // Until the player picks one, practice plays at the difficulty the main game is set to.
    if (practice_difficulty > 2) practice_difficulty = setting_difficulty;
    // The press that opened the page changes nothing in it.
    menu_value_delay = 15;
    menu_move_delay = 15;
}

void practice_page_step() {
    static const char* const kItems[kRows] = {"DIFFICULTY", "START", "GUN", "LIVES", "GO", "BACK"};
    static const char* const kDifficulty[] = {"EASY", "NORMAL", "HARD"};
    draw_glyph_text(img_font2, "PRACTICE", 80, kY - 20, 10);
    for (int i = 0; i < kRows; ++i) draw_glyph_text(img_font1, kItems[i], kX, kY + kStep * float(i), 10);
    if (practice_difficulty <= 2)
        draw_glyph_text(img_font2, kDifficulty[practice_difficulty], kValueX, kY, 10);
    const PracticeStart& start = kPracticeStarts[practice_start % kPracticeStartCount];
    draw_glyph_text(img_font2, start.lettering, kValueX, kY + kStep, 10);
    draw_glyph_text(img_font2, int_to_text(practice_gun), kValueX, kY + kStep * 2, 10);
    draw_glyph_text(img_font2, int_to_text(practice_lives), kValueX, kY + kStep * 3, 10);
    draw_scaled(img_arrow, 20, kY + kStep * float(practice_row - 1), 0);

    if (input_move == 2 && practice_row < kRows && menu_move_delay == 0) {
        ++practice_row;
        menu_move_delay = 15;
        sound(snd_explosion3);
    }
    if (input_move == 8 && practice_row > 1 && menu_move_delay == 0) {
        --practice_row;
        menu_move_delay = 15;
        sound(snd_explosion3);
    }
    if (menu_value_delay > 0) --menu_value_delay;
    if (menu_value_delay == 0) {
        if (practice_row == 1) change(practice_difficulty, 0, 2);
        if (practice_row == 2) {
            const uint8_t before = practice_start;
            change(practice_start, 0, kPracticeStartCount - 1);
            // A new point brings what a good run has there.
            if (practice_start != before) {
                practice_gun = kPracticeStarts[practice_start].gun;
                practice_lives = kPracticeStarts[practice_start].lives;
            }
        }
        if (practice_row == 3) change(practice_gun, 0, kMaxGun);
        if (practice_row == 4) change(practice_lives, kMinLives, kMaxLives);
    }
    if (input_button != 1 || button_armed != 1 || practice_row < 5) return;
    button_armed = 0;
    if (practice_row == 6) {
        menu_screen = 1;
        menu_cursor = 1;
        sound(snd_explosion2);
        return;
    }
    begin_new_game(0);
    practice_active = 1;
    // The run plays (and is recorded) at the practice page's difficulty; the player's own setting
    // is kept for the main game and settings.dat.
    lend_difficulty(practice_difficulty);
    library_game_started();
}

void practice_run_ended() { return_difficulty(); }

void apply_practice_start() {
    if (practice_active != 1) return;
    const PracticeStart& start = kPracticeStarts[practice_start % kPracticeStartCount];
    scroll_pos = start.scroll_pos;
    lives = practice_lives;
    practice_gun_due = 1;
    // The banner is cut to one frame: the held map spawns its next row once, as a moving one does.
    stage_banner_timer = 2;
}
