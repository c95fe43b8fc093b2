// The library page, the high-score rows' runs, and where a watched replay goes back to.
#include "frontend/library_page.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "frontend/input.h"
#include "frontend/menus.h"
#include "frontend/pause.h"
#include "frontend/practice.h"
#include "frontend/settings_file.h"
#include "player/helpers.h"

#define LIBRARY_PAGE_STATE(X)                       \
    X(std::vector<ReplayInfo>, library_rows, {})    \
    X(int32_t, library_cursor, 0)                   \
    X(int32_t, library_top, 0)                      \
    X(uint8_t, library_by_score, 0)                 \
    X(uint8_t, library_confirm, 0)                  \
    X(uint8_t, watch_origin, 0)                     \
    X(int32_t, watch_return_cursor, 0)              \
    X(std::string, watch_saved_source, kReplayPath) \
    X(int32_t, hiscore_row, 0)                      \
    X(int32_t, hiscore_note_timer, 0)

LIBRARY_PAGE_STATE(CINDER_DEFINE_STATE)

void reset_library_page_state() { LIBRARY_PAGE_STATE(CINDER_RESET_STATE); }

namespace {

constexpr int kRowDelay = 6;  // a held direction runs down a long list quickly
constexpr int kNoteFrames = 150;
constexpr float kRowY = 104, kRowStep = 10, kHeadY = 90, kNoteY = 222;

void sound(TSound* s) { play_sound(s, nullptr); }

bool button(int which) {
    if (input_button != which || button_armed != 1) return false;
    button_armed = 0;
    return true;
}

// Newest first, or best score first (newest first among equal scores); unreadable files last.
void sort_rows() {
    std::stable_sort(library_rows.begin(), library_rows.end(), [](const ReplayInfo& a, const ReplayInfo& b) {
        const bool ra = a.problem.empty(), rb = b.problem.empty();
        if (ra != rb) return ra;
        if (library_by_score == 1 && a.score != b.score) return a.score > b.score;
        return a.time != b.time ? a.time > b.time : a.file > b.file;
    });
}

// Words for the lettering: capitals, "=" between words.
std::string lettering(std::string text) {
    for (char& c : text) c = c == ' ' ? '=' : char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void keep_cursor_in_view() {
    const int32_t count = int32_t(library_rows.size());
    library_cursor = std::clamp(library_cursor, 0, count);
    if (library_cursor >= 1) {
        if (library_cursor - 1 < library_top) library_top = library_cursor - 1;
        if (library_cursor - 1 >= library_top + kLibraryRowsShown)
            library_top = library_cursor - kLibraryRowsShown;
    }
    library_top = std::clamp(library_top, 0, std::max(0, count - kLibraryRowsShown));
}

void draw_row(const ReplayInfo& r, float y) {
    if (!r.problem.empty()) {
        draw_glyph_text(img_font2, "UNREADABLE", 20, y, 10);
        return;
    }
    // "YYYY-MM-DD HH:MM": month and day, then the time, in the small figures.
    if (r.date.size() >= 16) {
        draw_glyph_text(img_font3, r.date.substr(5, 2), 18, y, 5);
        draw_glyph_text(img_font3, r.date.substr(8, 2), 31, y, 5);
        draw_glyph_text(img_font3, r.date.substr(11, 5), 46, y, 5);
    }
    static const char* const kLetters[] = {"E", "N", "H"};
    draw_glyph_text(img_font1, kLetters[std::clamp(r.difficulty, 0, 2)], 76, y, 10);
    if (r.ship == 1 || r.ship == 2) draw_glyph_text(img_font1, r.ship == 1 ? ":" : ";", 90, y, 10);
    draw_glyph_text(img_font2, int_to_text(r.score), 105, y, 10);
    if (r.kind == "practice")
        draw_glyph_text(img_font2, "PRACTICE", 180, y, 10);
    else
        draw_glyph_text(img_font1, lettering(r.ended), 180, y, 10);
}

void draw_page() {
    draw_glyph_text(img_font1, "BACK", 20, kHeadY, 10);
    draw_glyph_text(img_font2, library_by_score == 1 ? "BY=SCORE" : "BY=DATE", 150, kHeadY, 10);
    if (library_rows.empty()) draw_glyph_text(img_font2, "NO=REPLAYS", 20, kRowY, 10);
    const int32_t last = std::min<int32_t>(int32_t(library_rows.size()), library_top + kLibraryRowsShown);
    for (int32_t i = library_top; i < last; ++i)
        draw_row(library_rows[size_t(i)], kRowY + kRowStep * float(i - library_top));
    const float arrow_y =
        library_cursor == 0 ? kHeadY : kRowY + kRowStep * float(library_cursor - 1 - library_top);
    draw_scaled(img_arrow, 7, arrow_y, 0);
    // More rows above or below the ones shown.
    if (library_top > 0) draw_glyph_text(img_font3, ":", 312, kRowY, 5);
    if (last < int32_t(library_rows.size()))
        draw_glyph_text(img_font3, ":", 312, kRowY + kRowStep * (kLibraryRowsShown - 1), 5);

    const ReplayInfo* chosen = library_cursor >= 1 ? &library_rows[size_t(library_cursor - 1)] : nullptr;
    if (library_confirm == 1) {
        draw_glyph_text(img_font1, "DELETE?=A=YES", 20, kNoteY, 10);
    } else if (library_confirm == 2) {
        draw_glyph_text(img_font1, "OTHER=VERSION?=A=PLAYS", 10, kNoteY, 10);
    } else if (chosen && !chosen->problem.empty()) {
        draw_glyph_text(img_font2, lettering(chosen->problem), 20, kNoteY, 10);
    } else if (chosen && chosen->kind == "practice") {
        const int at = practice_start_index(chosen->start);
        draw_glyph_text(img_font2,
                        std::string("FROM=") + (at >= 0 ? kPracticeStarts[at].lettering : "?") + "=" +
                            lettering(chosen->ended),
                        20, kNoteY, 10);
    }
}

void delete_chosen() {
    const ReplayInfo& r = library_rows[size_t(library_cursor - 1)];
    const std::string path = std::string(kLibraryFolder) + "/" + r.file;
    if (!remove_file(path)) {
        std::fprintf(stderr, "cinder-arc: cannot delete %s\n", path.c_str());
        return;
    }
    library_rows.erase(library_rows.begin() + library_cursor - 1);
    keep_cursor_in_view();
    sound(snd_explosion4);
}

}  // namespace

void open_library_page() {
    menu_screen = kLibraryScreen;
    library_rows = library_list();
    for (const ReplayInfo& r : library_rows)
        if (!r.problem.empty())
            std::fprintf(stderr, "cinder-arc: %s/%s: unreadable (%s)\n", kLibraryFolder, r.file.c_str(),
                         r.problem.c_str());
    sort_rows();
    library_cursor = library_rows.empty() ? 0 : 1;
    library_top = 0;
    library_confirm = 0;
    // The press that opened the page neither sorts nor moves in it.
    menu_value_delay = 15;
    menu_move_delay = 15;
}

void library_page_step() {
    draw_page();
    if (library_confirm != 0) {
        // A confirms; the other button or a direction lets it go.
        if (button(1)) {
            if (library_confirm == 1) delete_chosen();
            if (library_confirm == 2)
                watch_library_replay(library_rows[size_t(library_cursor - 1)], kLibraryScreen);
            library_confirm = 0;
        } else if (button(2) || input_move != 5) {
            library_confirm = 0;
        }
        return;
    }
    if (menu_move_delay == 0 && (input_move == 2 || input_move == 8)) {
        const int32_t before = library_cursor;
        library_cursor += input_move == 2 ? 1 : -1;
        keep_cursor_in_view();
        if (library_cursor != before) {
            menu_move_delay = kRowDelay;
            sound(snd_explosion3);
        }
    }
    if (menu_value_delay > 0) --menu_value_delay;
    if (menu_value_delay == 0 && (input_move == 4 || input_move == 6) &&
        library_by_score != (input_move == 6 ? 1 : 0)) {
        library_by_score = input_move == 6 ? 1 : 0;
        sort_rows();
        menu_value_delay = 15;
        sound(snd_shot1);
    }
    if (button(1)) {
        if (library_cursor == 0) {
            menu_screen = 1;
            menu_cursor = 4;
            sound(snd_explosion2);
            return;
        }
        const ReplayInfo& r = library_rows[size_t(library_cursor - 1)];
        if (!r.problem.empty()) return;
        if (replay_fingerprint(r) != running_fingerprint()) {
            library_confirm = 2;
            return;
        }
        watch_library_replay(r, kLibraryScreen);
    } else if (library_cursor >= 1 && button(2)) {
        library_confirm = 1;
    }
}

bool hiscore_row_step(int difficulty) {
    if (hiscore_note_timer > 0) {
        --hiscore_note_timer;
        draw_glyph_text(img_font1, "NO=REPLAY=KEPT", 50, 220, 10);
    }
    if (menu_move_delay == 0 &&
        ((input_move == 2 && hiscore_row < 10) || (input_move == 8 && hiscore_row > 0))) {
        hiscore_row += input_move == 2 ? 1 : -1;
        menu_move_delay = 15;
        sound(snd_explosion3);
    }
    if (hiscore_row < 1 || hiscore_row > 10) return false;
    if (input_button != 1 || button_armed != 1) return true;
    button_armed = 0;
    HiscoreTable t;
    if (!hiscore_table(difficulty, t)) return true;
    const size_t row = size_t(hiscore_row - 1);
    for (const ReplayInfo& r : library_list()) {
        if (r.problem.empty() && r.difficulty == difficulty && r.score == (*t.scores)[row] &&
            r.ship == (*t.ships)[row] && r.name == (*t.names)[row] && r.ended != "unfinished") {
            watch_library_replay(r, 3);
            return true;
        }
    }
    hiscore_note_timer = kNoteFrames;
    return true;
}

void draw_hiscore_row_bar() {
    if (hiscore_row < 1 || hiscore_row > 10) return;
    set_color(40, 60, 110);
    draw_rect(0, float(((hiscore_row - 1) * 10 + 95) * (hires + 1)), float(240 * (hires + 1)),
              float(10 * (hires + 1)));
    set_color(255, 255, 255);
}

void watch_library_replay(const ReplayInfo& info, uint8_t origin) {
    watch_return_cursor = origin == kLibraryScreen ? library_cursor : menu_cursor;
    watch_saved_source = replay_source;
    // The replay's difficulty replaces the player's own while it plays (load_replay sets it).
    lend_difficulty(setting_difficulty);
    replay_source = std::string(kLibraryFolder) + "/" + info.file;
    watch_origin = origin;
    begin_new_game(1);
}

void watch_ended() {
    if (watch_origin == 0) return;
    const uint8_t origin = watch_origin;
    watch_origin = 0;
    replay_source = watch_saved_source;
    return_difficulty();
    menu_screen = origin;
    if (origin == kLibraryScreen) {
        library_cursor = watch_return_cursor;
        keep_cursor_in_view();
    } else {
        menu_cursor = watch_return_cursor;
    }
}

bool leave_watch() {
    if (watch_origin == 0 || replay_mode != 1) return false;
    clear_world();
    game_over_timer = 0;
    game_paused = 0;
    replay_mode = 0;
    replay_running = 0;
    game_mode = 0;
    watch_ended();
    return true;
}
