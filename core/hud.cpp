// The head-up display, drawn last in every frame of play, and the three counters it keeps: the
// chain timer, the spin that sways the hyper field, and the stage banner that starts the scroll.
#include "core/hud.h"

#include <array>
#include <string>

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "frontend/debug_overlay.h"
#include "player/helpers.h"
#include "player/ship.h"

#define HUD_STATE(X)                  \
    X(float, chain_timer, 0.0f)       \
    X(int32_t, chain_level, 0)        \
    X(int32_t, chain_value_shown, 50) \
    X(int32_t, hud_spin, 0)           \
    X(uint8_t, stage_banner_timer, 0)

HUD_STATE(CINDER_DEFINE_STATE)

namespace {

// The stage names' x positions centre each name on x 125, like "STAGE=" and one digit.
constexpr std::array<float, 5> kStageNameX = {45, 45, 75, 85, 80};

// Rectangles are given in screen pixels: the HUD's logical units times this.
constexpr float k = float(hires + 1);

void fill(int r, int g, int b, float x, float y, float w, float h) {
    set_color(r, g, b);
    draw_rect(x * k, y * k, w * k, h * k);
    set_color(255, 255, 255);
}

std::string zero_padded_score(int32_t value) {
    std::string digits = int_to_text(value);
    if (digits.size() < 8) digits.insert(0, 8 - digits.size(), '0');
    return digits;
}

void draw_ship_gauges(const t_player& ship) {
    const int fill_height = ship.power / 2;
    fill(186, 0, 32, 270, float(175 - fill_height), 20, float(fill_height));
    for (int i = 0; i < ship.hypers; ++i) draw_scaled(img_hypericon, float(270 + 16 * i), 100, 0);
    fill(0, 232, 216, 265, 110, float(ship.hyper_timer / 4), 5);
}

}  // namespace

void reset_hud_state() { HUD_STATE(CINDER_RESET_STATE); }

void draw_hud() {
    // Side panel: it also hides whatever was drawn right of the play field this frame.
    fill(0, 0, 0, 240, 0, 160, 240);
    draw_glyph_text(img_font2, zero_padded_score(score), 250, 10, 9);
    draw_glyph_text(img_font2, "P=" + int_to_text(lives), 250, 30, 10);
    if (game_over_timer > 0) draw_glyph_text(img_font2, "GAME=OVER", 90, 120, 10);

    player_list->walk_kind(kind_t_player, [](TObject* o) { draw_ship_gauges(*static_cast<t_player*>(o)); });
    draw_scaled(img_pbar, 280, 150, 0);

    // Chain: the ship sets the timer to 75 on every bonus; the chain lapses when it runs out.
    if (chain_timer > 0.0f) chain_timer -= 1.0f;
    if (chain_timer == 0.0f) chain_level = 0;
    set_color(248, 184, 0);
    draw_rect(270 * k, 60 * k, 20.0f * chain_timer / 75.0f * k, 10 * k);
    set_color(255, 255, 255);
    draw_scaled(img_bbar, 280, 65, 0);
    if (chain_level >= 0 && chain_level < int32_t(chain_values.size()))
        draw_glyph_text(img_font3, int_to_text(chain_values[size_t(chain_level)]), 270, 50, 5);
    draw_glyph_text(img_font3, int_to_text(chain_value_shown), 270, 80, 5);

    hud_spin += 8;
    if (hud_spin == 360) hud_spin = 0;

    if (stage_banner_timer > 0) stage_banner_timer -= 1;
    if (stage_banner_timer > 0) {
        draw_glyph_text(img_font2, "STAGE=" + int_to_text(stage), 95, 90, 10);
        if (stage >= 1 && stage <= 5)
            draw_glyph_text(img_font2, stage_names[stage - 1], kStageNameX[stage - 1], 110, 10);
    }
    if (stage_banner_timer == 1) scrolling = 1;

    if (debug_overlay == 1) play_debug_lines();
}
