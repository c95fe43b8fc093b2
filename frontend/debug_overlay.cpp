// The debug overlay: plain text in the built-in font, on top of everything; it changes nothing.
#include "frontend/debug_overlay.h"

#include <string>

#include "core/entities.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "core/startup.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "frontend/input.h"
#include "frontend/settings_file.h"

#define DEBUG_OVERLAY_STATE(X) \
    X(int32_t, fps_shown, 0)   \
    X(int32_t, fps_count, 0)   \
    X(int32_t, fps_since, 0)

DEBUG_OVERLAY_STATE(CINDER_DEFINE_STATE)

void reset_debug_overlay_state() { DEBUG_OVERLAY_STATE(CINDER_RESET_STATE); }

namespace {

std::string num(int64_t value) { return int_to_text(value); }

// A recording goes on counting steps past the buffer's end; the overlay shows 0 there rather
// than read outside the buffer.
int32_t replay_byte_at_pos() {
    if (replay_pos < 0 || size_t(replay_pos) >= replay_data.size()) return 0;
    return replay_data[size_t(replay_pos)];
}

}  // namespace

void front_end_debug_lines() {
    draw_text("replay " + num(replay_mode), 10, 10);
    draw_text("replayrun " + num(replay_running), 10, 20);
    draw_text("reppos " + num(replay_pos), 10, 30);
    draw_text("repsize " + num(replay_size), 10, 40);
}

void play_debug_lines() {
    // Frame counter: the frame that restarts the count is not itself counted.
    if (millisecs() > fps_since + 1000) {
        fps_shown = fps_count;
        fps_count = 0;
        fps_since = millisecs();
    } else {
        fps_count += 1;
    }

    const float x = 250 * (hires + 1);
    auto line = [x](float y, const std::string& text) { draw_text(text, x, y * (hires + 1)); };
    line(40, "replay " + num(replay_mode));
    line(50, "replayrun " + num(replay_running));
    line(80, "difficulty " + num(setting_difficulty));
    line(90, "repdata " + num(replay_byte_at_pos()));
    line(100, "move " + num(input_move));
    line(110, "button " + num(input_button));
    line(120, "dif " + float_to_text(difficulty_level));
    line(130, "pointblank  " + float_to_text(point_blank));
    line(180, "reppos " + num(replay_pos));
    line(190, "repsize " + num(replay_size));
    line(200, "ms  " + num(frame_ms));
    line(210, "fps " + num(fps_shown));
    line(30, "scrollpos " + num(to_int(scroll_pos)));
}

void draw_object_counts() {
    // Each list is counted only for the classes that belong in it; a subclass counts for its base.
    int total = 0, bullets = 0, enemies = 0, bonuses = 0;
    auto count = [&total](TList* list, uint32_t kinds, int* also = nullptr) {
        list->walk([&](TObject* o) {
            if (!(o->class_bits & kinds)) return;
            ++total;
            if (also) ++*also;
        });
    };
    count(levelobject_list, kind_t_levelobject | kind_t_trigger);
    count(pickup_list, kind_t_powerup | kind_t_bonus2);
    count(pickup_list, kind_t_bonus, &bonuses);
    count(shot_list, kind_t_shot1 | kind_t_shot2);
    count(effect_list, kind_t_effect | kind_t_particle);
    count(player_list, kind_t_player);
    count(bullet_list, kind_t_bullet, &bullets);
    count(enemy_list, kind_t_enemy | kind_t_boss, &enemies);
    draw_text("objects " + num(total), 500, 440);
    draw_text("B:" + num(bullets) + " E:" + num(enemies) + " C:" + num(bonuses), 500, 455);
}
