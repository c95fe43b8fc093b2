// Background layers and the tile map.
#include "core/scroll.h"

#include <algorithm>

#include "core/assets.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/stage_map.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "player/helpers.h"

#define SCROLL_STATE(X)           \
    X(float, scroll_pos, 5760.0f) \
    X(uint8_t, scrolling, 0)      \
    X(float, scroll_speed, 0.5f)  \
    X(int32_t, first_row, 0)      \
    X(int32_t, end_row, 0)        \
    X(float, bg_far_y, 120.0f)    \
    X(float, bg_near_y, 120.0f)   \
    X(float, bg_far_speed, 0.2f)  \
    X(float, bg_near_speed, 0.3f) \
    X(float, bg_drift_y, 120.0f)

SCROLL_STATE(CINDER_DEFINE_STATE)

void reset_scroll_state() { SCROLL_STATE(CINDER_RESET_STATE); }

namespace {

constexpr float bg_drift_speed = 0.01f;  // stage 2's overlay; it never wraps

// A 240-pixel layer centred at y and repeated once above, so it always covers the play field.
void draw_repeating_layer(TImage* image, float y) {
    draw_scaled(image, 120.0f, y, 0);
    draw_scaled(image, 120.0f, y - 240.0f, 0);
}

void wrap_layer(float& y) {
    if (y >= 360.0f) y = 120.0f;  // back to 120 exactly, not 360 less
}

}  // namespace

void draw_backgrounds() {
    // The layers creep on at half speed while the map is held or has stopped.
    if (scrolling == 1) {
        bg_far_y += bg_far_speed;
        bg_near_y += bg_near_speed;
    } else {
        bg_far_y = float(bg_far_y + bg_far_speed / 2.0);
        bg_near_y = float(bg_near_y + bg_near_speed / 2.0);
    }
    wrap_layer(bg_far_y);
    wrap_layer(bg_near_y);

    switch (stage) {
        case 1:
            draw_repeating_layer(img_bg3, bg_far_y);
            draw_repeating_layer(img_bg4, bg_near_y);
            break;
        case 2:
            draw_repeating_layer(img_bg1, bg_far_y);
            bg_drift_y += bg_drift_speed;  // at full speed always, and never wrapped
            draw_scaled(img_bg5, 120.0f, bg_drift_y, 0);
            break;
        case 3:
            draw_repeating_layer(img_bg1, bg_far_y);
            draw_repeating_layer(img_bg2, bg_near_y);
            break;
        default:  // stages 4 and 5 have no background layers
            break;
    }
}

void update_visible_rows() {
    first_row = to_int(scroll_pos / tile_size);
    end_row = to_int((scroll_pos + 240.0f) / tile_size);
    // Below the bottom screenful the partly visible bottom row is drawn too.
    if (scroll_pos < float(map_height_px - 240)) end_row += 1;
}

void scroll_and_draw_map() {
    if (scrolling == 1) {
        if (scroll_pos <= scroll_speed) {
            scroll_pos = 0.0f;
        } else {
            scroll_pos -= scroll_speed;
        }
    }
    if (scroll_pos == 0.0f) scrolling = 0;  // the map stays at its top for the rest of the game

    // The window only leaves the map for a scroll position outside 0 .. 5760, which play never
    // reaches; clamping keeps such a position from reading outside the tables.
    const int32_t from = std::max(first_row, 0), to = std::min(end_row, map_rows);
    const int frames = img_tileset1->frame_count;
    for (int32_t row = from; row < to; ++row) {
        const float y = float(row * tile_size + 8) - scroll_pos;
        for (int32_t column = 0; column < map_columns; ++column) {
            const int frame = tile_map[column][row] & 255;
            if (frame >= frames) continue;  // a tile byte the tile set has no frame for draws nothing
            draw_scaled(img_tileset1, float(column * tile_size + 8), y, uint8_t(frame));
        }
    }
}
