// The drawing and maths helpers.
#include "player/helpers.h"

#include <cmath>

#include "core/entities.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "core/tables.h"
#include "engine/engine.h"
#include "player/helpers_internal.h"
#include "player/ship.h"

void draw_scaled_at_resolution(int hires_flag, TImage* image, float x, float y, uint8_t frame) {
    if (hires_flag != 0) {
        // Everything else in the game draws at scale (1, 1): restore it at once.
        set_scale(2.0f, 2.0f);
        draw_image(image, float(x * 2.0), float(y * 2.0), frame);
        set_scale(1.0f, 1.0f);
    } else {
        draw_image(image, x, y, frame);
    }
}

void draw_scaled(TImage* image, float x, float y, uint8_t frame) {
    draw_scaled_at_resolution(hires, image, x, y, frame);
}

void draw_glyph_text(TImage* font, const std::string& text, float x, float y, float spacing) {
    const uint8_t length = uint8_t(text.size());  // texts are 1 to 255 characters
    for (int i = 0; i < length; ++i) {
        const uint8_t frame = uint8_t(uint8_t(text[size_t(i)]) - 48);
        if (frame >= font->frame_count) continue;  // no cell for it in this font
        draw_scaled(font, x + float(i) * spacing, y, frame);
    }
}

int boxes_overlap(int x1, int y1, int r1, int x2, int y2, int r2) {
    if (y1 + r1 < y2 - r2) return 0;
    if (y1 - r1 > y2 + r2) return 0;
    if (x1 + r1 < x2 - r2) return 0;
    if (x1 - r1 > x2 + r2) return 0;
    return 1;
}

int cos_offset(float angle, float radius) { return to_int(cos_deg(angle) * double(radius)); }

int sin_offset(float angle, float radius) { return to_int(sin_deg(angle) * double(radius)); }

int player_distance(float x, float y) {
    float d = 0.0f;
    // With several ships the last one in the list wins; with none the distance is 0.
    player_list->walk_kind(kind_t_player, [&](TObject* object) {
        const auto* ship = static_cast<const t_player*>(object);
        const float dx = std::fabs(x - ship->x), dy = std::fabs(y - ship->y);
        d = std::sqrt(dx * dx + dy * dy);
    });
    return to_int(d);
}

void ride_map(float& y) {
    if (scrolling == 1) y += scroll_speed;
}
