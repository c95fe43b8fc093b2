// The drawing and maths helpers every game object uses: images and bitmap-font text at game
// coordinates (doubled on the 640 x 480 screen), the square collision test, whole-number circle
// offsets, the distance to the ship, and riding the map.
#pragma once

#include <cstdint>
#include <string>

struct TImage;

// Draws one frame of `image` centred at game position (x, y).
void draw_scaled(TImage* image, float x, float y, uint8_t frame);
// Draws `text` one font frame per character (frame = code - 48), the first centred at (x, y) and
// each further one `spacing` units to the right. Characters the font has no frame for are skipped.
void draw_glyph_text(TImage* font, const std::string& text, float x, float y, float spacing);
// 1 when the squares of half-size r1 and r2 centred at (x1, y1) and (x2, y2) touch or overlap.
int boxes_overlap(int x1, int y1, int r1, int x2, int y2, int r2);
int cos_offset(float angle, float radius);
int sin_offset(float angle, float radius);
// Whole-number distance from (x, y) to the ship; 0 when there is none.
int player_distance(float x, float y);

// Anything lying on the map moves down with it while it scrolls: y += scroll_speed then.
void ride_map(float& y);

// The four points a 32-pixel ground object bursts at, in the order its explosions and drops are
// made.
struct BurstCorner {
    float dx, dy;
};
inline constexpr BurstCorner kBurstCorners[4] = {{-8, -8}, {-8, 8}, {8, -8}, {8, 8}};
