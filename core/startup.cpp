// Start-up in its fixed order, then the frame loop.
#include "core/startup.h"

#include <exception>
#include <new>
#include <string>

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/game_folders.h"
#include "core/hud.h"
#include "core/module_state.h"
#include "core/music.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "core/tables.h"
#include "core/watch.h"
#include "engine/engine.h"
#include "frontend/controls_file.h"
#include "frontend/debug_overlay.h"
#include "frontend/input.h"
#include "frontend/library_page.h"
#include "frontend/menus.h"
#include "frontend/pause.h"
#include "frontend/practice.h"
#include "frontend/replay_library.h"
#include "frontend/settings_file.h"
#include "frontend/volume_file.h"
#include "player/helpers.h"
#include "player/ship.h"

#define STARTUP_STATE(X)          \
    X(int32_t, screen_depth, 0)   \
    X(int32_t, frame_start_ms, 0) \
    X(int32_t, frame_ms, 0)

STARTUP_STATE(CINDER_DEFINE_STATE)

void reset_all_state() {
    STARTUP_STATE(CINDER_RESET_STATE);
    reset_game_flow_state();
    reset_scroll_state();
    reset_stage_map_state();
    reset_hud_state();
    reset_input_state();
    reset_menu_state();
    reset_settings_state();
    reset_player_state();
    reset_debug_overlay_state();
    reset_controls_state();
    reset_pause_state();
    reset_music_state();
    reset_volume_state();
    reset_replay_library_state();
    reset_library_page_state();
    reset_watch_state();
    reset_practice_state();
    set_exit_hook(nullptr);
}

void start_up() {
    locate_game_files();  // first: it decides the folder every later path is relative to
    app_title("Tessel: Cinder Arc");
    create_hiscore_tables();
    load_settings_and_scores();  // stored tables replace the defaults; the stored screen mode counts
    load_controls();
    load_volume_file();  // after the controls file: M's mute covers the volumes set here
    remove_screenshot_temporaries();
    create_menu_tables();
    screen_depth = setting_fullscreen != 0 ? 32 : 0;
    check_asset_files();
    const int width = hires ? 640 : 320, height = hires ? 480 : 240;
    if (!graphics(width, height, screen_depth, 75, 0))
        fatal_error(std::string("cannot open the screen: ") + engine_last_error());
    hide_mouse();
    seed_rnd(millisecs());
    auto_mid_handle(1);
    auto_image_flags(1);
    set_mask_color(255, 0, 255);
    load_images();
    load_sounds();
    load_music_pieces();
    alloc_channels();
    create_game_tables();
    create_lists();
}

void play_step() {
    world_step();
    play_scene();
}

void play_scene() {
    world_scene();
    draw_hud();
    if (debug_overlay == 1) draw_object_counts();
}

void world_scene() {
    draw_backgrounds();
    update_visible_rows();
    scroll_and_draw_map();
    spawn_from_map();
    entity_pass();
}

// One step of the game: the front end, or play, or both in the frame in which play starts.
void game_step() {
    if (game_mode == 0) {
        input_step();
        front_end_step();
    }
    // Read again: the frame in which the front end starts a stage already runs the play step.
    if (game_mode == 1) {
        input_step();
        play_step();
    }
}

void run_frame() {
    cls();
    frame_start_ms = millisecs();
    // A paused frame shows the held picture and runs nothing of the game: no input step, so a
    // paused game's replay holds the same bytes as one never paused. A replay being watched may
    // be stepped one frame at a time, staying paused.
    if (paused_frame()) {
        if (watch_step_asked()) {
            clear_picture();
            game_step();
            watch_frame_drawn();
            grab_picture();  // the pause holds the stepped picture from now on
            draw_glyph_text(img_font1, "PAUSE", 100, 120, 10);
        }
    } else {
        // Watching runs several steps into one presented frame (only the last is seen), or none
        // at 1/2x every other slot; play and the menus run exactly one.
        const int steps = watch_steps_for_frame();
        if (steps == 0) draw_repeated_picture();
        for (int i = 0; i < steps; ++i) {
            if (i > 0) clear_picture();
            set_unseen_drawing(!watch_step_shown(i, steps));
            game_step();
            set_unseen_drawing(false);
            if (!watch_continues()) break;
        }
        if (steps > 0) watch_frame_drawn();
    }
    frame_ms = millisecs() - frame_start_ms;
    desktop_keys_step();  // before flip: a pause holds, and F12 saves, the picture about to show
    music_step();         // reads the state the frame left; changes nothing of it
    flip(-1);
}

LoopEnd main_program() {
    start_up();
    // From here on the session can change settings and scores: a fatal error (a broken stage file
    // at game start) or an unexpected failure saves them too before the program ends.
    set_exit_hook([] {
        library_program_ends();
        save_settings_and_scores();
    });
    LoopEnd end = LoopEnd::escape;
    while (true) {
        run_frame();
        // Escape leaves a kept replay being watched for its page; anywhere else it ends the program.
        if (key_hit(kQuitKey) && !leave_watch()) break;
        if (app_terminate()) {
            end = termination_signal() != 0 ? LoopEnd::signal : LoopEnd::close;
            break;
        }
    }
    // Every way out keeps the settings and high scores ("QUIT" saves before it ends the program).
    set_exit_hook(nullptr);
    library_program_ends();
    save_settings_and_scores();
    save_volume_file();  // Escape on the settings page leaves before its EXIT row saves it
    return end;
}

LoopEnd run_main_program() {
    try {
        return main_program();
    } catch (const ProgramExit&) {
        throw;
    } catch (const std::bad_alloc&) {
        fatal_error("out of memory");
    } catch (const std::exception& e) {
        fatal_error(std::string("stopped by an unexpected failure: ") + e.what());
    } catch (...) {
        fatal_error("stopped by an unexpected failure");
    }
}
