// Pictures: loading and cutting cells, the texture registry, doubling, uploading, the debug font.
#include <SDL.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/atlas.h"
#include "engine/bmp.h"
#include "engine/engine.h"
#include "engine/engine_internal.h"
#include "engine/graphics_internal.h"

namespace {

using engine_detail::g_screen;

// Load settings.
int g_mask_r = 0, g_mask_g = 0, g_mask_b = 0;
bool g_auto_mid_handle = false;
int g_auto_flags = 0;

// Every picture ever loaded, for re-uploading to a new screen. Pictures live until the program
// ends: the registry is never destroyed, so they stay reachable to the very end.
std::vector<TImage*>& g_images = *new std::vector<TImage*>();
TImage* g_font = nullptr;

// Each pixel of the atlas as a 2 x 2 block.
SDL_Surface* doubled(const SDL_Surface* a) {
    SDL_Surface* d = SDL_CreateRGBSurfaceWithFormat(0, a->w * 2, a->h * 2, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!d) return nullptr;
    for (int y = 0; y < a->h; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(a->pixels) +
                                                           size_t(y) * size_t(a->pitch));
        auto* out =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(d->pixels) + size_t(2 * y) * size_t(d->pitch));
        for (int x = 0; x < a->w; ++x) out[2 * x] = out[2 * x + 1] = in[x];
        std::memcpy(static_cast<uint8_t*>(d->pixels) + size_t(2 * y + 1) * size_t(d->pitch), out,
                    size_t(d->w) * 4);
    }
    return d;
}

SDL_Texture* make_texture(const TImage* img, SDL_Surface* pixels) {
    SDL_Texture* t = SDL_CreateTextureFromSurface(g_screen.renderer, pixels);
    if (!t) {
        std::fprintf(stderr, "cinder-arc: %s: cannot make a texture: %s\n", img->path.c_str(),
                     SDL_GetError());
        return nullptr;
    }
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(t, img->impl->filtered ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return t;
}

void drop_texture(TImage* img) {
    if (img->impl->texture) SDL_DestroyTexture(img->impl->texture);
    if (img->impl->texture2x) SDL_DestroyTexture(img->impl->texture2x);
    img->impl->texture = img->impl->texture2x = nullptr;
}

// Sorts every frame by its alpha, for the direct copies of software drawing.
void mark_cells(TImage::Impl& im) {
    im.cell_alpha.clear();
    const auto* pixels = static_cast<const uint32_t*>(im.atlas->pixels);
    const int pitch = im.atlas->pitch / 4;
    for (const SDL_Rect& c : im.cells)
        im.cell_alpha.push_back(
            engine_detail::classify_cell(pixels + std::ptrdiff_t(c.y) * pitch + c.x, pitch, c.w, c.h));
}

void upload(TImage* img) {
    TImage::Impl& im = *img->impl;
    drop_texture(img);
    if (!g_screen.renderer || !im.atlas) return;
    im.texture = make_texture(img, im.atlas);
    if (!im.texture || !g_screen.software || im.filtered) return;
    if (!im.atlas2x) im.atlas2x = doubled(im.atlas);
    if (im.atlas2x) im.texture2x = make_texture(img, im.atlas2x);
}

// Frames given as ARGB8888 pixel arrays of w x h, laid out in one texture with gutters.
TImage* make_image(const std::string& path, int w, int h, const std::vector<std::vector<uint32_t>>& frames,
                   int flags) {
    int max_w = 4096;
    SDL_RendererInfo info;
    if (g_screen.renderer && SDL_GetRendererInfo(g_screen.renderer, &info) == 0 && info.max_texture_width > 0)
        max_w = info.max_texture_width;
    engine_detail::Atlas layout = engine_detail::build_atlas(w, h, frames, max_w);
    SDL_Surface* atlas =
        SDL_CreateRGBSurfaceWithFormat(0, layout.width, layout.height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!atlas) return nullptr;
    for (int y = 0; y < layout.height; ++y)
        std::memcpy(static_cast<uint8_t*>(atlas->pixels) + size_t(y) * size_t(atlas->pitch),
                    &layout.pixels[size_t(y) * size_t(layout.width)], size_t(layout.width) * 4);

    TImage* img = new TImage();
    img->path = path;
    img->width = w;
    img->height = h;
    img->frame_count = int(frames.size());
    img->flags = flags;
    img->impl = new TImage::Impl();
    img->impl->atlas = atlas;
    img->impl->filtered = (flags & 2) != 0;
    for (const engine_detail::AtlasCell& c : layout.cells)
        img->impl->cells.push_back(SDL_Rect{c.x, c.y, w, h});
    mark_cells(*img->impl);
    if (g_auto_mid_handle) {
        img->handle_x = float(w) * 0.5f;
        img->handle_y = float(h) * 0.5f;
    }
    g_images.push_back(img);
    upload(img);
    return img;
}

// Reads and decodes the picture, cuts its cells and finishes their alpha. On failure the reason
// is kept for the one line the game prints (engine_last_error).
TImage* load_cells(const std::string& path, int cell_w, int cell_h, int first, int count, bool whole,
                   int flags) {
    if (flags == -1) flags = g_auto_flags;
    std::vector<uint8_t> bytes;
    std::string why = engine_detail::read_regular_file(path, engine_detail::kMaxPictureFileBytes, bytes);
    engine_detail::Picture pic;
    if (why.empty()) why = engine_detail::decode_bmp(bytes.data(), bytes.size(), pic);
    bytes = std::vector<uint8_t>();
    if (whole) {
        cell_w = pic.width;
        cell_h = pic.height;
        first = 0;
        count = 1;
    }
    const uint32_t key = uint32_t(g_mask_r) << 16 | uint32_t(g_mask_g) << 8 | uint32_t(g_mask_b);
    std::vector<std::vector<uint32_t>> frames;
    if (why.empty()) why = engine_detail::cut_cells(pic, cell_w, cell_h, first, count, flags, key, frames);
    if (!why.empty()) {
        engine_detail::set_last_error(why);
        return nullptr;
    }
    TImage* img = make_image(path, cell_w, cell_h, frames, flags);
    if (!img) engine_detail::set_last_error(std::string("cannot make the picture: ") + SDL_GetError());
    return img;
}

// The debug font as an image of 96 frames of 8 x 16, handle at the top left.
TImage* make_font() {
    std::vector<std::vector<uint32_t>> frames(96, std::vector<uint32_t>(8 * 16, 0x00FFFFFFu));
    for (int code = 32; code < 128; ++code) {
        const char* g = engine_detail::debug_glyph(code);
        int cell = 0;
        for (const char* p = g; *p; ++p) {
            if (*p == ' ') continue;
            const int row = cell / 5, col = cell % 5;
            if (*p == '#')
                for (int dy = 0; dy < 2; ++dy)
                    frames[size_t(code - 32)][size_t(row * 2 + dy) * 8 + size_t(col + 1)] = 0xFFFFFFFFu;
            ++cell;
        }
    }
    const bool mid = g_auto_mid_handle;
    g_auto_mid_handle = false;
    TImage* font = make_image("<debug font>", 8, 16, frames, 1);
    g_auto_mid_handle = mid;
    return font;
}

}  // namespace

namespace engine_detail {

void upload_pictures() {
    for (TImage* img : g_images) upload(img);
}

void drop_textures() {
    for (TImage* img : g_images) drop_texture(img);
}

void make_debug_font() {
    if (!g_font) g_font = make_font();
}

TImage* debug_font() { return g_font; }

void fill_picture_image(TImage*& img, const std::vector<uint32_t>& argb, int w, int h) {
    if (img && (img->width != w || img->height != h)) img = nullptr;  // the old one stays listed
    if (!img) {
        const bool mid = g_auto_mid_handle;
        g_auto_mid_handle = true;
        img = make_image("<picture>", w, h, {argb}, 0);
        g_auto_mid_handle = mid;
        return;
    }
    SDL_Surface* atlas = img->impl->atlas;
    const SDL_Rect& cell = img->impl->cells[0];
    for (int y = 0; y < h; ++y)
        std::memcpy(static_cast<uint8_t*>(atlas->pixels) + size_t(cell.y + y) * size_t(atlas->pitch) +
                        size_t(cell.x) * 4,
                    &argb[size_t(y) * size_t(w)], size_t(w) * 4);
    mark_cells(*img->impl);
    if (img->impl->atlas2x) {  // made again from the new pixels at the upload
        SDL_FreeSurface(img->impl->atlas2x);
        img->impl->atlas2x = nullptr;
    }
    upload(img);
}

}  // namespace engine_detail

void set_mask_color(int r, int g, int b) {
    g_mask_r = r & 255;
    g_mask_g = g & 255;
    g_mask_b = b & 255;
}

void auto_mid_handle(int on) { g_auto_mid_handle = on != 0; }

void auto_image_flags(int flags) {
    if (flags != -1) g_auto_flags = flags;
}

TImage* load_image(const std::string& path, int flags) { return load_cells(path, 0, 0, 0, 1, true, flags); }

TImage* load_anim_image(const std::string& path, int cell_w, int cell_h, int first, int count, int flags) {
    return load_cells(path, cell_w, cell_h, first, count, false, flags);
}
