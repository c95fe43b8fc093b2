// Front-end pages, tested in the order 1, 2, 3, 4 within a frame so that a page entered during the
// frame is already handled in it when its number is higher.
#include "frontend/menus.h"

#include "core/assets.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "engine/keys.h"
#include "frontend/controls_file.h"
#include "frontend/debug_overlay.h"
#include "frontend/input.h"
#include "frontend/library_page.h"
#include "frontend/practice.h"
#include "frontend/replay_library.h"
#include "frontend/settings_file.h"
#include "frontend/volume_file.h"
#include "player/helpers.h"

#define MENU_STATE(X)                    \
    X(uint8_t, menu_screen, 1)           \
    X(int32_t, menu_cursor, 1)           \
    X(uint8_t, menu_move_delay, 0)       \
    X(uint8_t, menu_value_delay, 0)      \
    X(uint8_t, button_armed, 0)          \
    X(uint8_t, letter_armed, 0)          \
    X(float, title_bg_y, 120.0f)         \
    X(float, logo_x, 115.0f)             \
    X(float, logo_y, 40.0f)              \
    X(float, logo_angle, 0.0f)           \
    X(int32_t, hiscore_letter, 64)       \
    X(uint8_t, hiscore_letter_index, 0)  \
    X(std::string, hiscore_letter1, "@") \
    X(std::string, hiscore_letter2, "@") \
    X(std::string, hiscore_letter3, "@")

MENU_STATE(CINDER_DEFINE_STATE)

void reset_menu_state() { MENU_STATE(CINDER_RESET_STATE); }

namespace {

constexpr int kMoveDelay = 15, kValueDelay = 15, kParticleDelay = 10;
constexpr uint8_t kAudioScreen = 8;  // the volumes' page, beside the settings
constexpr float kMenuX = 40, kArrowX = 20, kMenuY = 120, kRowStep = 15, kSpacing = 10;

void sound(TSound* s) { play_sound(s, nullptr); }

// Takes the button press for an action: only once per press.
bool button_pressed() {
    if (input_button != 1 || button_armed != 1) return false;
    button_armed = 0;
    return true;
}

void draw_time_left() {
    draw_glyph_text(img_font2, "TIME=" + int_to_text(to_int(hiscore_entry_timer / 75.0f)), 100, 10, kSpacing);
}

void draw_menu(const std::array<std::string, 5>& items) {
    for (int i = 0; i < 5; ++i)
        draw_glyph_text(img_font1, items[size_t(i)], kMenuX, kMenuY + kRowStep * i, kSpacing);
    draw_scaled(img_arrow, kArrowX, kMenuY + kRowStep * float(menu_cursor - 1), 0);
}

// Holding a direction moves the cursor once every 15 frames.
void move_menu_cursor(int rows = 5) {
    if (input_move == 2 && menu_cursor < rows && menu_move_delay == 0) {
        ++menu_cursor;
        menu_move_delay = kMoveDelay;
        sound(snd_explosion3);
    }
    if (input_move == 8 && menu_cursor > 1 && menu_move_delay == 0) {
        --menu_cursor;
        menu_move_delay = kMoveDelay;
        sound(snd_explosion3);
    }
}

// The START and REPLAY entries: a new game on the ship selection, recorded or played back from
// the next frame on. The cursor delay starts at 0 in both, so a replay's first steps on the ship
// selection meet the same delay as the recorded ones did.
}  // namespace

void begin_new_game(uint8_t mode) {
    new_game_reset();
    hiscore_row = 0;
    replay_mode = mode;
    menu_screen = 4;
    menu_move_delay = 0;
    sound(snd_explosion2);
    hiscore_entry_timer = 1500.0f;
    replay_running = 1;
}

namespace {

void main_menu_page() {
    draw_menu(main_menu_items);
    move_menu_cursor();
    // Right on START opens the practice page, Right on REPLAY the library of kept replays.
    if (menu_cursor == 1 && input_move == 6 && menu_move_delay == 0) {
        sound(snd_explosion2);
        open_practice_page();
        return;
    }
    if (menu_cursor == 4 && input_move == 6 && menu_move_delay == 0) {
        menu_move_delay = kMoveDelay;
        sound(snd_explosion2);
        open_library_page();
        return;
    }
    if (!button_pressed()) return;
    switch (menu_cursor) {
        case 1:
            begin_new_game(0);
            practice_active = 0;
            library_game_started();
            break;
        case 2:
            menu_screen = 2;
            menu_cursor = 1;
            sound(snd_explosion2);
            break;
        case 3:
            menu_screen = 3;
            sound(snd_explosion2);
            menu_cursor = 2;  // NORMAL first
            hiscore_row = 0;
            break;
        case 4:
            if (replay_available()) begin_new_game(1);
            break;
        case 5:
            save_settings_and_scores();
            end_program();
    }
}

// One setting's left/right change within [low, high]; a value at its limit plays nothing.
void change_value(uint8_t& value, bool lower, bool raise, int low, int high, int delay) {
    if (lower && value > low) {
        --value;
    } else if (raise && value < high) {
        ++value;
    } else {
        return;
    }
    menu_value_delay = uint8_t(delay);
    sound(snd_shot1);
}

void settings_page() {
    draw_menu(settings_menu_items);
    move_menu_cursor();
    static const char* const kDifficulty[] = {"EASY", "NORMAL", "HARD"};
    static const char* const kControl[] = {"KEYBOARD", "GAMEPAD"};
    static const char* const kScreen[] = {"WINDOW", "FULL"};
    if (setting_difficulty <= 2)
        draw_glyph_text(img_font2, kDifficulty[setting_difficulty], 160, 120, kSpacing);
    if (setting_control <= 1) draw_glyph_text(img_font2, kControl[setting_control], 160, 135, kSpacing);
    if (setting_fullscreen <= 1) draw_glyph_text(img_font2, kScreen[setting_fullscreen], 160, 150, kSpacing);
    draw_glyph_text(img_font2, int_to_text(setting_particles), 160, 165, kSpacing);

    if (menu_value_delay > 0) --menu_value_delay;
    if (menu_value_delay == 0) {
        const bool left = input_move == 4, right = input_move == 6;
        switch (menu_cursor) {
            case 1:
                change_value(setting_difficulty, left, right, 0, 2, kValueDelay);
                break;
            case 2:
                // The Left arrow (and the key bound to left) works even in the GAMEPAD setting
                // with a pad plugged in, so the keyboard can always be chosen back.
                change_value(setting_control, left || key_down(vk::kLeft) || key_down(key_bindings.left),
                             right, 0, 1, kValueDelay);
                break;
            case 3:
                change_value(setting_fullscreen, left, right, 0, 1, kValueDelay);
                break;
            case 4:
                change_value(setting_particles, left, right, 10, 40, kParticleDelay);
                break;
        }
    }
    // Right on EXIT opens the volumes' page beside this one, whose rows would otherwise push
    // EXIT from the last row.
    draw_glyph_text(img_font2, "AUDIO", 160, kMenuY + kRowStep * 4, kSpacing);
    if (menu_cursor == 5 && input_move == 6 && menu_move_delay == 0) {
        menu_screen = kAudioScreen;
        menu_cursor = 1;
        menu_move_delay = kMoveDelay;
        menu_value_delay = kValueDelay;  // the held Right does not also raise MUSIC
        sound(snd_explosion2);
        return;
    }
    // The button on rows 1 to 4 leaves it armed.
    if (menu_cursor == 5 && button_pressed()) {
        menu_screen = 1;
        menu_cursor = 1;
        sound(snd_explosion2);
    }
}

// MUSIC and SOUND, 0 to 10, and BACK to the settings page's EXIT row; the values are heard at
// once and written to their file on the way back.
void audio_page() {
    static const std::array<std::string, 3> kRows = {"MUSIC", "SOUND", "BACK"};
    for (size_t i = 0; i < kRows.size(); ++i)
        draw_glyph_text(img_font1, kRows[i], kMenuX, kMenuY + kRowStep * float(i), kSpacing);
    draw_scaled(img_arrow, kArrowX, kMenuY + kRowStep * float(menu_cursor - 1), 0);
    draw_glyph_text(img_font2, int_to_text(music_volume), 160, kMenuY, kSpacing);
    draw_glyph_text(img_font2, int_to_text(sound_volume), 160, kMenuY + kRowStep, kSpacing);
    move_menu_cursor(int(kRows.size()));
    if (menu_value_delay > 0) --menu_value_delay;
    if (menu_value_delay == 0 && menu_cursor <= 2) {
        change_value(menu_cursor == 1 ? music_volume : sound_volume, input_move == 4, input_move == 6, 0, 10,
                     kValueDelay);
        apply_volume_settings();
    }
    if (menu_cursor == 3 && button_pressed()) {
        save_volume_file();
        menu_screen = 2;
        menu_cursor = 5;
        sound(snd_explosion2);
    }
}

void end_name_entry() {
    library_name_entry_ended();
    replay_mode = 0;
    replay_running = 0;
    new_hiscore = 0;
    // Saved at once (crash-safely, with the settings): a crash or a kill before the player quits
    // must not cost the entry.
    save_settings_and_scores();
}

void name_entry(const HiscoreTable* table) {
    if (hiscore_entry_timer > 0) hiscore_entry_timer -= 1.0f;
    draw_time_left();
    set_color(136, 20, 0);
    draw_rect(0, float(((hiscore_rank - 1) * 10 + 95) * (hires + 1)), float(240 * (hires + 1)),
              float(10 * (hires + 1)));
    set_color(255, 255, 255);

    if (input_move == 5 && letter_armed == 0) letter_armed = 1;
    if ((input_move == 4 || input_move == 6) && letter_armed == 1) {
        letter_armed = 0;
        if (input_move == 4)
            hiscore_letter = hiscore_letter <= 48 ? 90 : hiscore_letter - 1;
        else
            hiscore_letter = hiscore_letter >= 90 ? 48 : hiscore_letter + 1;
        sound(snd_shot1);
        const std::string letter(1, char(hiscore_letter));
        if (hiscore_letter_index == 0) hiscore_letter1 = letter;
        if (hiscore_letter_index == 1) hiscore_letter2 = letter;
        if (hiscore_letter_index == 2) hiscore_letter3 = letter;
        if (table && hiscore_rank >= 1 && hiscore_rank <= 10)
            (*table->names)[size_t(hiscore_rank - 1)] = hiscore_letter1 + hiscore_letter2 + hiscore_letter3;
    }
    if (input_button == 1 && button_armed == 1) {
        button_armed = 0;
        if (hiscore_letter_index < 2)
            ++hiscore_letter_index;
        else
            end_name_entry();
        sound(snd_explosion3);
    } else if (input_button == 2 && button_armed == 1) {
        button_armed = 0;
        if (hiscore_letter_index > 0) --hiscore_letter_index;
    }
    if (hiscore_entry_timer == 0.0f) end_name_entry();
}

void draw_table(int difficulty) {
    HiscoreTable t;
    if (!hiscore_table(difficulty, t)) return;
    for (int i = 0; i < 10; ++i) {
        const float y = 100.0f + 10.0f * float(i);
        const size_t row = size_t(i);
        draw_glyph_text(img_font1, int_to_text(i + 1), 30, y, kSpacing);
        draw_glyph_text(img_font2, (*t.names)[row], 55, y, kSpacing);
        draw_glyph_text(img_font1, (*t.ships)[row] == 1 ? ":" : ";", 105, y, kSpacing);
        draw_glyph_text(img_font2, int_to_text((*t.scores)[row]), 125, y, kSpacing);
        draw_glyph_text(img_font1, int_to_text((*t.stages)[row]), 215, y, kSpacing);
    }
    static const char* const kNames[] = {"EASY", "NORMAL", "HARD"};
    draw_glyph_text(img_font1, kNames[difficulty], 120, 205, kSpacing);
}

void hiscore_page() {
    if (new_hiscore == 1) {
        HiscoreTable t;
        name_entry(hiscore_table(setting_difficulty, t) ? &t : nullptr);
    }
    draw_glyph_text(img_font1, "HALL=OF", 80, 80, kSpacing);
    draw_glyph_text(img_font2, "ACES", 160, 80, kSpacing);
    if (new_hiscore == 0) draw_hiscore_row_bar();
    draw_table(menu_cursor - 1);
    if (new_hiscore != 0) return;
    if (menu_value_delay > 0) --menu_value_delay;
    if (input_move == 4 && menu_value_delay == 0 && menu_cursor > 1) {
        menu_value_delay = kValueDelay;
        sound(snd_explosion4);
        --menu_cursor;
    }
    if (input_move == 6 && menu_value_delay == 0 && menu_cursor < 3) {
        menu_value_delay = kValueDelay;
        sound(snd_explosion4);
        ++menu_cursor;
    }
    // A chosen row takes the button: it watches the row's run.
    if (!hiscore_row_step(menu_cursor - 1) && button_pressed()) {
        menu_screen = 1;
        menu_cursor = 1;
        sound(snd_explosion2);
    }
}

void ship_page() {
    draw_glyph_text(img_font1, "SPACESHIP=SELECTION", 30, 100, kSpacing);
    draw_scaled(img_player1, 70, 150, 1);
    draw_scaled(img_player2, 170, 150, 1);
    draw_scaled(img_stats1, 70, 195, 0);
    draw_scaled(img_stats2, 170, 195, 0);
    draw_scaled(img_arrow2, menu_cursor == 1 ? 70.0f : 170.0f, 122, 0);
    if (menu_cursor == 1 && input_move == 6 && menu_move_delay == 0) {
        menu_cursor = 2;
        menu_move_delay = kMoveDelay;
        sound(snd_explosion4);
    }
    if (menu_cursor == 2 && input_move == 4 && menu_move_delay == 0) {
        menu_cursor = 1;
        menu_move_delay = kMoveDelay;
        sound(snd_explosion4);
    }
    static const char* const kLetters[] = {"E", "N", "H"};
    if (setting_difficulty <= 2) draw_glyph_text(img_font1, kLetters[setting_difficulty], 120, 200, kSpacing);
    if (hiscore_entry_timer > 0) hiscore_entry_timer -= 1.0f;
    draw_time_left();
    if ((input_button == 1 && button_armed == 1) || hiscore_entry_timer == 0.0f) {
        button_armed = 0;
        ship_choice = uint8_t(menu_cursor);
        start_stage();
        sound(snd_explosion2);
    }
}

}  // namespace

void front_end_step() {
    if (menu_move_delay > 0) --menu_move_delay;
    if (button_armed == 0 && input_button == 0) button_armed = 1;
    // D toggles the overlay only during play: a press here is taken so that it does not flip the
    // overlay in the first frame of the next game.
    key_hit(kDebugKey);

    // The title backdrop slides down a quarter unit per frame and repeats every 240 units.
    draw_scaled(img_bg1, 120, title_bg_y, 0);
    draw_scaled(img_bg1, 120, title_bg_y - 240, 0);
    title_bg_y += 0.25f;
    if (title_bg_y >= 360) title_bg_y = 120;
    // The logo drifts round a circle once every 180 frames.
    draw_scaled(img_logo1, logo_x, logo_y, 0);
    logo_angle += 2;
    logo_x += 0.4f * float(cos_deg(logo_angle));
    logo_y += 0.4f * float(sin_deg(logo_angle));

    if (menu_screen == 1) main_menu_page();
    if (menu_screen == 2) settings_page();
    if (menu_screen == 3) hiscore_page();
    if (menu_screen == 4) ship_page();
    if (menu_screen == kAudioScreen) audio_page();
    if (menu_screen == kLibraryScreen) library_page_step();
    if (menu_screen == kPracticeScreen) practice_page_step();
    if (debug_overlay == 1) front_end_debug_lines();
}
