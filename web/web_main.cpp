// cinder-arc in a web page: the same start-up and frames as the desktop game, run from the
// browser's animation callback instead of a blocking loop.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <exception>
#include <string>

#include "core/entities.h"
#include "core/game_flow.h"
#include "core/objects.h"
#include "core/startup.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "frontend/controls_file.h"
#include "frontend/menus.h"
#include "frontend/pause.h"
#include "frontend/settings_file.h"
#include "player/ship.h"
#include "web/frame_schedule.h"

namespace {

FrameSchedule* g_schedule = nullptr;
double g_work_ms_max = 0, g_work_ms_total = 0;
double g_start_up_ms = 0;  // main's own start-up: the screen, the game files, the tables
int g_frames = 0;

// The program has ended (QUIT, Escape or a failure): the page shows why and stops calling.
void page_ended(const char* how) {
    EM_ASM(
        {
            if (Module.gameEnded) Module.gameEnded(UTF8ToString($0));
        },
        how);
}

// One iteration of the desktop loop; false once the program has ended.
bool one_frame() {
    const double t0 = emscripten_get_now();
    try {
        run_frame();
    } catch (const ProgramExit&) {
        // "QUIT" has saved the settings and high scores already.
        set_exit_hook(nullptr);
        page_ended("quit");
        return false;
    }
    const double took = emscripten_get_now() - t0;
    g_work_ms_total += took;
    if (took > g_work_ms_max) g_work_ms_max = took;
    ++g_frames;
    if (key_hit(kQuitKey)) {
        set_exit_hook(nullptr);
        save_settings_and_scores();
        page_ended("escape");
        return false;
    }
    return true;
}

EM_BOOL animation_frame(double now_ms, void*) {
    const int due = g_schedule->frames_due(int(now_ms));
    for (int i = 0; i < due; ++i)
        if (!one_frame()) return EM_FALSE;
    return EM_TRUE;
}

}  // namespace

// For the page's measurements: the longest and the mean frame's work so far, in milliseconds.
extern "C" EMSCRIPTEN_KEEPALIVE double web_frame_ms_max() { return g_work_ms_max; }
extern "C" EMSCRIPTEN_KEEPALIVE double web_frame_ms_mean() {
    return g_frames ? g_work_ms_total / g_frames : 0;
}
extern "C" EMSCRIPTEN_KEEPALIVE int web_frames_run() { return g_frames; }
extern "C" EMSCRIPTEN_KEEPALIVE double web_start_up_ms() { return g_start_up_ms; }

// For the browser test: where the game is, as one line of JSON (the ship's place, -1 without one),
// with the high-score table the HIGHSCORES page shows (the difficulty's own outside that page).
extern "C" EMSCRIPTEN_KEEPALIVE const char* web_state() {
    static std::string text;
    float ship_x = -1, ship_y = -1;
    if (player_list)
        player_list->walk_kind(kind_t_player, [&](TObject* object) {
            ship_x = static_cast<t_player*>(object)->x;
            ship_y = static_cast<t_player*>(object)->y;
        });
    char head[512];
    const int shown = menu_screen == 3 ? menu_cursor - 1 : setting_difficulty;
    std::snprintf(head, sizeof head,
                  "{\"game_mode\":%d,\"menu_screen\":%d,\"setting_control\":%d,\"setting_difficulty\":%d,"
                  "\"setting_fullscreen\":%d,\"paused\":%d,\"ship_x\":%.3f,\"ship_y\":%.3f,\"frames\":%d,"
                  "\"score\":%d,\"lives\":%d,\"new_hiscore\":%d,\"hiscore_rank\":%d,\"table_difficulty\":%d,"
                  "\"table\":[",
                  game_mode, menu_screen, setting_control, setting_difficulty, setting_fullscreen,
                  game_paused, ship_x, ship_y, g_frames, score, lives, new_hiscore, hiscore_rank, shown);
    text = head;
    HiscoreTable t;
    if (hiscore_table(shown, t))
        for (size_t row = 0; row < 10; ++row) {
            // A name read from a stored file may hold any byte: only the printable ones, unquoted.
            std::string name;
            for (char c : (*t.names)[row]) name += c > ' ' && c < 127 && c != '"' && c != '\\' ? c : '?';
            text += (row ? ",[\"" : "[\"") + name + "\"," + std::to_string((*t.scores)[row]) + "]";
        }
    text += "]}";
    return text.c_str();
}

int main() {
    const double t0 = emscripten_get_now();
    if (!engine_init(Backend::window)) {
        page_ended("no screen");
        return 1;
    }
    try {
        start_up();
    } catch (const ProgramExit&) {
        page_ended("quit");
        return 0;
    }
    g_start_up_ms = emscripten_get_now() - t0;
    set_exit_hook([] { save_settings_and_scores(); });
    g_schedule = new FrameSchedule(int(emscripten_get_now()));
    emscripten_request_animation_frame_loop(animation_frame, nullptr);
    return 0;
}
