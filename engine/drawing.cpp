// Drawing: images, rectangles and debug text under the rotation, scale and colour; the draw log.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/graphics_internal.h"
#include "engine/headless.h"

namespace {

using engine_detail::g_screen;

// Drawing state.
float g_rotation = 0, g_scale_x = 1, g_scale_y = 1;
int g_r = 255, g_g = 255, g_b = 255;

bool g_render = true;
bool g_unseen = false;        // the calls of a picture that will be thrown away are only logged
bool g_doubled_draws = true;  // off: every frame through the general scaled copy (a reference)
headless::DirectDraws g_direct_draws = headless::DirectDraws::own;
std::vector<headless::DrawRecord> g_draw_log;
double g_raster_us = 0;  // the current frame's time inside the drawing calls (headless)

// Headless: notes a drawing call in the draw log with the drawing state it was made under, and
// gives the record for the caller to add what is its own (the image, the size, the text).
// Elsewhere no log is kept: nullptr.
headless::DrawRecord* log_draw(headless::DrawRecord::Kind kind, float x, float y) {
    if (!engine_detail::is_headless()) return nullptr;
    headless::DrawRecord& r = g_draw_log.emplace_back();
    r.kind = kind;
    r.x = x;
    r.y = y;
    r.scale_x = g_scale_x;
    r.scale_y = g_scale_y;
    r.rotation = g_rotation;
    r.r = g_r;
    r.g = g_g;
    r.b = g_b;
    return &r;
}

// Whether the renderer draws in screen pixels as given (in a full screen scaled up it does not,
// and a doubled frame scaled again might round differently from the original).
bool unscaled_output() {
    float sx = 1, sy = 1;
    SDL_RenderGetScale(g_screen.renderer, &sx, &sy);
    return sx == 1 && sy == 1;
}

// The benchmark's floor: SDL's own blits of the same cells without blending, an opaque cell as a
// plain copy and a keyed one by colour key (its transparent pixels set to the key).
void sdl_floor_copy(TImage::Impl& im, engine_detail::CellAlpha kind, SDL_Rect src, int x, int y) {
    const bool keyed = kind == engine_detail::CellAlpha::keyed;
    SDL_Surface*& from = im.floor2x[keyed ? 1 : 0];
    if (!from) {
        from = SDL_ConvertSurface(im.atlas2x, im.atlas2x->format, 0);
        if (!from) return;
        for (int row = 0; row < from->h; ++row) {
            auto* p = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(from->pixels) +
                                                  size_t(row) * size_t(from->pitch));
            for (int col = 0; col < from->w; ++col)
                if (!(p[col] >> 24)) p[col] = 0x00FF00FFu;
        }
        SDL_SetSurfaceBlendMode(from, SDL_BLENDMODE_NONE);
        if (keyed) SDL_SetColorKey(from, SDL_TRUE, 0x00FF00FFu);
    }
    SDL_Rect dst{x, y, src.w, src.h};
    SDL_BlitSurface(from, &src, g_screen.target, &dst);
}

// Headless, an untinted doubled cell that is opaque or keyed goes straight into the target
// surface. SDL's software renderer draws each call as it is made, so this lands in its turn.
// The placement is SDL's own: the destination's corner truncated toward zero, then clipped (a
// corner that truncates onto the screen from just outside it draws in both ways alike).
bool direct_copy(TImage::Impl& im, int frame, float left, float top) {
    SDL_Surface* target = g_screen.target;
    if (g_direct_draws == headless::DirectDraws::off || !target || !im.atlas2x || g_r != 255 || g_g != 255 ||
        g_b != 255)
        return false;
    const engine_detail::CellAlpha kind = im.cell_alpha[size_t(frame)];
    if (kind == engine_detail::CellAlpha::blended) return false;
    const SDL_Rect& c = im.cells[size_t(frame)];
    if (g_direct_draws == headless::DirectDraws::sdl_floor) {
        sdl_floor_copy(im, kind, SDL_Rect{c.x * 2, c.y * 2, c.w * 2, c.h * 2}, int(left), int(top));
        return true;
    }
    const engine_detail::PixelPlane to{static_cast<uint32_t*>(target->pixels), target->pitch / 4, target->w,
                                       target->h};
    const engine_detail::PixelPlane from{static_cast<uint32_t*>(im.atlas2x->pixels), im.atlas2x->pitch / 4,
                                         im.atlas2x->w, im.atlas2x->h};
    engine_detail::blit_cell(to, int(left), int(top), from, c.x * 2, c.y * 2, c.w * 2, c.h * 2, kind);
    return true;
}

// Places frame `frame` so that its handle lands on (x, y), scaled and then turned clockwise
// about the handle: the corners follow x + u*ix + v*iy, y + u*jx + v*jy.
void render_frame(TImage* img, int frame, float x, float y, float handle_x, float handle_y) {
    TImage::Impl& im = *img->impl;
    if (!im.texture || frame < 0 || frame >= int(im.cells.size())) return;
    const float w = float(img->width), h = float(img->height);
    const float ax = std::fabs(g_scale_x), ay = std::fabs(g_scale_y);
    int flip = SDL_FLIP_NONE;
    float left, top;
    if (g_scale_x >= 0) {
        left = x - handle_x * ax;
    } else {
        left = x - (w - handle_x) * ax;
        flip |= SDL_FLIP_HORIZONTAL;
    }
    if (g_scale_y >= 0) {
        top = y - handle_y * ay;
    } else {
        top = y - (h - handle_y) * ay;
        flip |= SDL_FLIP_VERTICAL;
    }
    const SDL_FRect dst{left, top, w * ax, h * ay};
    const SDL_Rect& src = im.cells[size_t(frame)];
    if (im.texture2x && g_scale_x == 2 && g_scale_y == 2 && g_rotation == 0 && g_doubled_draws &&
        unscaled_output()) {
        if (direct_copy(im, frame, left, top)) return;
        // The same destination, so SDL places it exactly as the scaled copy below.
        const SDL_Rect src2{src.x * 2, src.y * 2, src.w * 2, src.h * 2};
        SDL_SetTextureColorMod(im.texture2x, Uint8(g_r), Uint8(g_g), Uint8(g_b));
        SDL_RenderCopyF(g_screen.renderer, im.texture2x, &src2, &dst);
        return;
    }
    SDL_SetTextureColorMod(im.texture, Uint8(g_r), Uint8(g_g), Uint8(g_b));
    if (g_rotation == 0 && flip == SDL_FLIP_NONE) {
        SDL_RenderCopyF(g_screen.renderer, im.texture, &src, &dst);
    } else {
        const SDL_FPoint centre{x - left, y - top};
        SDL_RenderCopyExF(g_screen.renderer, im.texture, &src, &dst, double(g_rotation), &centre,
                          SDL_RendererFlip(flip));
    }
}

}  // namespace

namespace engine_detail {

bool drawing() { return g_screen.renderer && !g_unseen && (g_render || !is_headless()); }
void clear_draw_log() { g_draw_log.clear(); }
void reset_raster_time() { g_raster_us = 0; }
double raster_time_us() { return g_raster_us; }
void add_raster_time_us(double us) { g_raster_us += us; }

}  // namespace engine_detail

void draw_image(TImage* image, float x, float y, int frame) {
    if (!image || !image->impl) return;
    if (headless::DrawRecord* r = log_draw(headless::DrawRecord::image, x, y)) {
        r->img = image;
        r->frame = frame;
    }
    if (!engine_detail::drawing()) return;
    engine_detail::RasterTime t;
    render_frame(image, frame, x, y, image->handle_x, image->handle_y);
}

void set_rotation(float degrees) { g_rotation = degrees; }

void set_scale(float sx, float sy) {
    g_scale_x = sx;
    g_scale_y = sy;
}

void set_color(int r, int g, int b) {
    g_r = std::clamp(r, 0, 255);
    g_g = std::clamp(g, 0, 255);
    g_b = std::clamp(b, 0, 255);
}

void draw_rect(float x, float y, float w, float h) {
    if (headless::DrawRecord* r = log_draw(headless::DrawRecord::rect, x, y)) {
        r->w = w;
        r->h = h;
    }
    // An empty rectangle covers nothing (SDL would still paint a one-pixel line for it).
    if (!engine_detail::drawing() || w == 0.0f || h == 0.0f) return;
    engine_detail::RasterTime t;
    SDL_Renderer* ren = g_screen.renderer;
    SDL_SetRenderDrawColor(ren, Uint8(g_r), Uint8(g_g), Uint8(g_b), 255);
    if (g_rotation == 0) {
        const float x1 = x + w * g_scale_x, y1 = y + h * g_scale_y;
        const SDL_FRect rect{std::min(x, x1), std::min(y, y1), std::fabs(x1 - x), std::fabs(y1 - y)};
        SDL_RenderFillRectF(ren, &rect);
        return;
    }
    // A turned rectangle: two triangles through the matrix.
    const double rad = double(g_rotation) * 0.017453292519943295;
    const float c = float(std::cos(rad)), s = float(std::sin(rad));
    const float ix = c * g_scale_x, iy = -s * g_scale_y, jx = s * g_scale_x, jy = c * g_scale_y;
    const SDL_Color col{Uint8(g_r), Uint8(g_g), Uint8(g_b), 255};
    const float us[4] = {0, w, w, 0}, vs[4] = {0, 0, h, h};
    SDL_Vertex v[4];
    for (int i = 0; i < 4; ++i)
        v[i] = SDL_Vertex{SDL_FPoint{x + us[i] * ix + vs[i] * iy, y + us[i] * jx + vs[i] * jy}, col,
                          SDL_FPoint{0, 0}};
    const int idx[6] = {0, 1, 2, 0, 2, 3};
    SDL_RenderGeometry(ren, nullptr, v, 4, idx, 6);
}

void draw_text(const std::string& text, float x, float y) {
    if (headless::DrawRecord* r = log_draw(headless::DrawRecord::debug_text, x, y)) r->text = text;
    TImage* font = engine_detail::debug_font();
    if (!engine_detail::drawing() || !font) return;
    engine_detail::RasterTime t;
    const double rad = double(g_rotation) * 0.017453292519943295;
    const float ix = float(std::cos(rad)) * g_scale_x, jx = float(std::sin(rad)) * g_scale_x;
    int pen = 0;  // in glyph space; characters outside 32..127 neither draw nor advance
    for (unsigned char ch : text) {
        if (ch < 32 || ch > 127) continue;
        const float u = float(pen);
        render_frame(font, ch - 32, x + u * ix, y + u * jx, 0, 0);
        pen += 8;
    }
}

void set_unseen_drawing(bool on) { g_unseen = on; }

namespace headless {

void set_render(bool on) { g_render = on; }
bool render_enabled() { return g_render; }
const std::vector<DrawRecord>& draw_log() { return g_draw_log; }
void set_doubled_draws(bool on) { g_doubled_draws = on; }
void set_direct_draws(DirectDraws how) { g_direct_draws = how; }

}  // namespace headless
