// Pause, full screen, screenshots and mute: the player's keys around the game itself.
#include "frontend/pause.h"

#include <cstdio>
#include <ctime>

#include "core/assets.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "engine/engine.h"
#include "engine/keys.h"
#include "frontend/controls_file.h"
#include "frontend/settings_file.h"
#include "player/helpers.h"

#define PAUSE_STATE(X) X(uint8_t, game_paused, 0)
// Whether the pad's Start button was held, and whether a pad was plugged in, at the end of the
// previous frame.
#define START_BUTTON_STATE(X)    \
    X(bool, g_start_down, false) \
    X(bool, g_pad_in, false)

PAUSE_STATE(CINDER_DEFINE_STATE)

namespace {

constexpr int kPadStart = 7;  // the pad's Start button (engine's button order)
constexpr int kDim = 96;      // the held picture's brightness while paused, of 255

TImage* g_held = nullptr;  // the picture of the last frame played before the pause
START_BUTTON_STATE(CINDER_DEFINE_STATE)

void take_screenshot() {
#ifdef __EMSCRIPTEN__
    // A page has no folder the player can open, and the browser offers its own captures: one
    // line saying so, rather than a failed save or an empty folder in the page's storage.
    std::fprintf(stderr,
                 "cinder-arc: screenshots are not taken in the browser (F12); use the browser's own\n");
    return;
#endif
    if (!make_folder(kScreenshotFolder)) {
        std::fprintf(stderr, "cinder-arc: could not create the folder %s; no screenshot\n",
                     kScreenshotFolder);
        return;
    }
    const std::string path = free_screenshot_path(kScreenshotFolder, int64_t(std::time(nullptr)));
    if (save_picture_png(path))
        std::fprintf(stderr, "cinder-arc: screenshot saved to %s%s\n", current_folder().c_str(),
                     path.c_str());
    else
        std::fprintf(stderr, "cinder-arc: could not save the screenshot %s: %s\n", path.c_str(),
                     engine_last_error());
}

}  // namespace

void reset_pause_state() {
    PAUSE_STATE(CINDER_RESET_STATE);
    START_BUTTON_STATE(CINDER_RESET_STATE);
}

std::string screenshot_name(int64_t unix_seconds) {
    const std::time_t t = std::time_t(unix_seconds);
    std::tm local{};
    localtime_r(&t, &local);
    char name[64];
    std::strftime(name, sizeof name, "cinder-arc-%Y-%m-%d-%H%M%S", &local);
    return name;
}

std::string free_screenshot_path(const std::string& folder, int64_t unix_seconds) {
    const std::string base = folder + "/" + screenshot_name(unix_seconds);
    std::string path = base + ".png";
    for (int n = 2; file_type(path) != 0 && n < 1000; ++n) path = base + "-" + std::to_string(n) + ".png";
    return path;
}

void remove_screenshot_temporaries() { remove_leftover_temporaries(kScreenshotFolder, ".png.tmp"); }

bool paused_frame() {
    if (game_paused == 0) return false;
    if (g_held) {
        set_color(kDim, kDim, kDim);
        draw_image(g_held, float(g_held->width) * 0.5f, float(g_held->height) * 0.5f, 0);
        set_color(255, 255, 255);
    }
    // Centred over the play field (240 units wide) in the game's own lettering.
    draw_glyph_text(img_font1, "PAUSE", 100, 120, 10);
    key_hit(kDebugKey);  // the overlay switch belongs to play, which is not running
    return true;
}

void desktop_keys_step() {
    const bool p = key_hit(kPauseKey) > 0;
    const bool pad_in = joy_connected(0) != 0;
    // The pad that drives play pulled out: the ship would fly on untouched (the keyboard takes
    // over at once), so play stops as it does when the window loses the focus.
    const bool pad_lost = setting_control == 1 && g_pad_in && !pad_in;
    g_pad_in = pad_in;
    const bool start = pad_in && joy_down(kPadStart, 0);
    const bool start_pressed = start && !g_start_down;
    g_start_down = start;
    if (game_paused != 0) {
        if (p || start_pressed) game_paused = 0;
    } else if (game_mode == 1 && (p || start_pressed || pad_lost || !app_focused())) {
        // This frame's picture is held before flip presents it; play stops from the next frame.
        g_held = grab_picture();
        game_paused = 1;
    }

    const bool alt_enter = key_hit_alt(vk::kEnter) > 0;
    if (key_hit(kFullScreenKey) > 0 || alt_enter) {
        const bool on = !full_screen();
        if (set_full_screen(on))
            setting_fullscreen = on ? 1 : 0;  // saved with the other settings
        else
            std::fprintf(stderr, "cinder-arc: could not switch to %s: %s\n", on ? "full screen" : "a window",
                         engine_last_error());
    }
    if (key_hit(kScreenshotKey) > 0) take_screenshot();
    if (key_hit(kMuteKey) > 0) {
        sound_muted = sound_muted ? 0 : 1;
        set_mute(sound_muted != 0);
        save_mute_choice();
    }
}
