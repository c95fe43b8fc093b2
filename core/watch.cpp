// Watching a replay: how many steps each presented frame runs, and the displays drawn over them.
#include "core/watch.h"

#include "core/entities.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/scroll.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "frontend/controls_file.h"
#include "frontend/input.h"
#include "frontend/practice.h"
#include "player/ship.h"

#define WATCH_STATE(X)                         \
    X(uint8_t, watch_speed, kWatchNormalSpeed) \
    X(uint8_t, watch_repeat_next, 0)           \
    X(uint8_t, watch_skipping, 0)              \
    X(uint8_t, watch_input_shown, 0)           \
    X(uint8_t, watch_hitbox_shown, 0)          \
    X(float, watch_skip_mark, 0.0f)

WATCH_STATE(CINDER_DEFINE_STATE)

void reset_watch_state() { WATCH_STATE(CINDER_RESET_STATE); }

namespace {

constexpr int kStepsAt[kWatchSpeeds] = {1, 1, 2, 4, 8};
TImage* g_repeat = nullptr;  // the picture a 1/2x repeat shows (the engine's grabbed picture)

int scale() { return hires + 1; }

// The scroll position a skip stops at: a little before the next boss form still to come; 0 when
// none is left.
float next_skip_mark() {
    const float marks[] = {kFirstBossScrollPos + kSkipLead, kSecondBossScrollPos + kSkipLead};
    for (float mark : marks)
        if (scroll_pos > mark) return mark;
    return 0.0f;
}

void fill(int x, int y, int w, int h, int r, int g, int b) {
    set_color(r, g, b);
    draw_rect(float(x * scale()), float(y * scale()), float(w * scale()), float(h * scale()));
}

// The recorded direction on a 3 x 3 pad and the two buttons, bottom left of the play field, in
// the panel's metal with the shots' teal and the fire ramp lit.
void draw_input_display() {
    constexpr int x0 = 6, y0 = 206, cell = 5, gap = 1;
    fill(x0 - 2, y0 - 2, 3 * (cell + gap) + 3 + 2 * (cell + 2) + 2, 3 * (cell + gap) + 3, 0x0b, 0x0d, 0x14);
    for (int code = 1; code <= 9; ++code) {
        const int col = (code - 1) % 3, row = 2 - (code - 1) / 3;  // keypad layout: 7 8 9 on top
        const bool lit = code == input_move && code != 5;
        const int x = x0 + col * (cell + gap), y = y0 + row * (cell + gap);
        if (lit)
            fill(x, y, cell, cell, 0x7d, 0xe3, 0xc8);
        else
            fill(x, y, cell, cell, 0x30, 0x38, 0x4e);
    }
    const int bx = x0 + 3 * (cell + gap) + 2;
    const bool fire = input_button == 1 || input_button == 3, hyper = input_button == 2 || input_button == 3;
    if (fire)
        fill(bx, y0 + 3, cell + 2, cell + 2, 0xf0, 0x8a, 0x2c);
    else
        fill(bx, y0 + 3, cell + 2, cell + 2, 0x30, 0x38, 0x4e);
    if (hyper)
        fill(bx + cell + 3, y0 + 3, cell + 2, cell + 2, 0x9a, 0x6a, 0xd6);
    else
        fill(bx + cell + 3, y0 + 3, cell + 2, cell + 2, 0x30, 0x38, 0x4e);
    set_color(255, 255, 255);
}

// The square the collision test uses, one screen pixel wide, just outside it.
void draw_hitboxes() {
    if (!player_list) return;
    player_list->walk_kind(kind_t_player, [](TObject* object) {
        const auto* ship = static_cast<t_player*>(object);
        const int h = to_int(ship->hit_size), s = scale();
        const int left = (to_int(ship->x) - h) * s - 1, top = (to_int(ship->y) - h) * s - 1;
        const int size = 2 * h * s + 2;
        set_color(0xff, 0xf3, 0xb0);
        draw_rect(float(left), float(top), float(size), 1);
        draw_rect(float(left), float(top + size - 1), float(size), 1);
        draw_rect(float(left), float(top), 1, float(size));
        draw_rect(float(left + size - 1), float(top), 1, float(size));
    });
    set_color(255, 255, 255);
}

}  // namespace

bool watching() { return replay_mode == 1 && replay_running == 1; }

// In a practice run H switches the hitbox too, unless the player's controls use H for play.
static void practice_hitbox_key() {
    const KeyBindings& k = key_bindings;
    const bool bound = kWatchHitboxKey == k.fire || kWatchHitboxKey == k.hyper || kWatchHitboxKey == k.left ||
                       kWatchHitboxKey == k.right || kWatchHitboxKey == k.up || kWatchHitboxKey == k.down;
    if (!bound && key_hit(kWatchHitboxKey) > 0) watch_hitbox_shown = watch_hitbox_shown ? 0 : 1;
}

int watch_steps_for_frame() {
    if (practice_active == 1 && replay_mode == 0 && game_mode == 1) practice_hitbox_key();
    if (!watching()) {
        // Presses made outside a replay are let go, so none acts when the next one starts.
        for (int key : {kWatchSpeedKey, kWatchInputKey, kWatchHitboxKey, kWatchSkipKey, kWatchStepKey})
            key_hit(key);
        watch_skipping = 0;
        watch_repeat_next = 0;
        return 1;
    }
    if (key_hit(kWatchSpeedKey) > 0) {
        watch_speed = uint8_t((watch_speed + 1) % kWatchSpeeds);
        watch_repeat_next = 0;
    }
    if (key_hit(kWatchInputKey) > 0) watch_input_shown = watch_input_shown ? 0 : 1;
    if (key_hit(kWatchHitboxKey) > 0) watch_hitbox_shown = watch_hitbox_shown ? 0 : 1;
    if (key_hit(kWatchSkipKey) > 0 && game_mode == 1) {
        watch_skip_mark = next_skip_mark();
        watch_skipping = watch_skip_mark > 0.0f ? 1 : 0;
    }
    if (watch_skipping == 1) return kSkipStepsPerFrame;
    if (watch_speed == 0 && watch_repeat_next == 1) {
        watch_repeat_next = 0;
        return 0;
    }
    return kStepsAt[watch_speed % kWatchSpeeds];
}

bool watch_continues() {
    if (!watching() || replay_at_end == 1) {
        watch_skipping = 0;
        return false;
    }
    if (watch_skipping == 1 && (game_mode != 1 || scroll_pos <= watch_skip_mark)) {
        watch_skipping = 0;
        return false;
    }
    return true;
}

bool watch_step_shown(int i, int steps) {
    if (i + 1 >= steps || game_mode != 1 || !watching()) return true;
    const bool replay_ends = replay_pos + 1 >= replay_size || game_over_timer == 2;
    const bool skip_ends = watch_skipping == 1 && scroll_pos - 0.5f <= watch_skip_mark;
    return replay_ends || skip_ends;
}

bool watch_step_asked() { return watching() && key_hit(kWatchStepKey) > 0; }

void watch_frame_drawn() {
    if (practice_active == 1 && replay_mode == 0 && game_mode == 1 && watch_hitbox_shown == 1)
        draw_hitboxes();
    if (!watching() && replay_mode != 1) return;
    if (game_mode == 1 && watch_input_shown == 1) draw_input_display();
    if (game_mode == 1 && watch_hitbox_shown == 1) draw_hitboxes();
    if (watch_speed == 0 && watching()) {
        g_repeat = grab_picture();
        watch_repeat_next = 1;
    }
}

void draw_repeated_picture() {
    if (!g_repeat) return;
    draw_image(g_repeat, float(g_repeat->width) * 0.5f, float(g_repeat->height) * 0.5f, 0);
}
