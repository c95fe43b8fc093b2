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

// For the browser test: where the game is, as one line of JSON (the ship's place, -1 without one).
extern "C" EMSCRIPTEN_KEEPALIVE const char* web_state() {
    static char text[256];
    float ship_x = -1, ship_y = -1;
    if (player_list)
        player_list->walk_kind(kind_t_player, [&](TObject* object) {
            ship_x = static_cast<t_player*>(object)->x;
            ship_y = static_cast<t_player*>(object)->y;
        });
    std::snprintf(text, sizeof text,
                  "{\"game_mode\":%d,\"menu_screen\":%d,\"setting_control\":%d,\"setting_difficulty\":%d,"
                  "\"paused\":%d,\"ship_x\":%.3f,\"ship_y\":%.3f,\"frames\":%d}",
                  game_mode, menu_screen, setting_control, setting_difficulty, game_paused, ship_x, ship_y,
                  g_frames);
    return text;
}

int main() {
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
    set_exit_hook([] { save_settings_and_scores(); });
    g_schedule = new FrameSchedule(int(emscripten_get_now()));
    emscripten_request_animation_frame_loop(animation_frame, nullptr);
    return 0;
}
