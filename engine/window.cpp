// The window around the picture: minimum size, whole-factor scaling fitted to the renderer's real
// output every frame, full screen at run time, and reading the picture back for screenshots.
#include <SDL.h>
#ifndef __EMSCRIPTEN__
#include <SDL_image.h>
#endif

#include <algorithm>
#include <vector>

#include "engine/engine.h"
#include "engine/engine_internal.h"

namespace {

int g_fit_w = -1, g_fit_h = -1;  // the output size the scaling was fitted to
TImage* g_picture = nullptr;

void enter_full_screen(SDL_Window* win) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(win)), &bounds) == 0) {
        // Without a window manager nobody answers the full-screen request: the window would keep
        // its size while SDL believes it covers the display. Cover the display first, then ask.
        SDL_SetWindowBordered(win, SDL_FALSE);
        SDL_SetWindowPosition(win, bounds.x, bounds.y);
        SDL_SetWindowSize(win, bounds.w, bounds.h);
    }
    SDL_SetWindowFullscreen(win, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void leave_full_screen(SDL_Window* win) {
    SDL_SetWindowFullscreen(win, 0);
    SDL_SetWindowBordered(win, SDL_TRUE);
    SDL_SetWindowSize(win, engine_detail::screen_width(), engine_detail::screen_height());
    SDL_SetWindowPosition(win, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

// The picture of the current frame at the screen's size, 0xAARRGGBB with alpha 255.
bool read_back(std::vector<uint32_t>& out, int& w, int& h) {
    SDL_Renderer* ren = engine_detail::screen_renderer();
    w = engine_detail::screen_width();
    h = engine_detail::screen_height();
    if (!ren || w <= 0 || h <= 0) {
        engine_detail::set_last_error("no screen is open");
        return false;
    }
    // The viewport holds the picture grown by a whole factor; read it all and take every
    // factor-th pixel.
    float sx = 1, sy = 1;
    SDL_RenderGetScale(ren, &sx, &sy);
    const int f = std::max(1, int(sx));
    std::vector<uint32_t> big(size_t(w) * size_t(f) * size_t(h) * size_t(f));
    if (SDL_RenderReadPixels(ren, nullptr, SDL_PIXELFORMAT_ARGB8888, big.data(), w * f * 4) != 0) {
        engine_detail::set_last_error(SDL_GetError());
        return false;
    }
    out.resize(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out[size_t(y) * size_t(w) + size_t(x)] =
                big[size_t(y) * size_t(f) * size_t(w) * size_t(f) + size_t(x) * size_t(f)] | 0xFF000000u;
    return true;
}

}  // namespace

namespace engine_detail {

void window_ready(int width, int height, int depth) {
    SDL_Window* win = screen_window();
    SDL_Renderer* ren = screen_renderer();
    SDL_SetWindowMinimumSize(win, width, height);
    SDL_RenderSetIntegerScale(ren, SDL_TRUE);
    g_fit_w = g_fit_h = -1;
    if (depth != 0) enter_full_screen(win);
    fit_picture();
}

// The picture keeps its size in pixels and grows by the largest whole factor that fits (at least
// 1x), centred, black around it. SDL fits it to the output size it was last told of; asking
// again whenever the real size changes keeps it right when no resize event came.
void fit_picture() {
    SDL_Renderer* ren = screen_renderer();
    if (!ren) return;
    int w = 0, h = 0;
    if (SDL_GetRendererOutputSize(ren, &w, &h) != 0 || (w == g_fit_w && h == g_fit_h)) return;
    g_fit_w = w;
    g_fit_h = h;
    SDL_RenderSetLogicalSize(ren, screen_width(), screen_height());
}

}  // namespace engine_detail

bool set_full_screen(bool on) {
    SDL_Window* win = engine_detail::screen_window();
    if (!engine_detail::is_headless()) {
        if (!win) return false;
        if (on)
            enter_full_screen(win);
        else
            leave_full_screen(win);
    }
    engine_detail::note_screen_depth(on ? 32 : 0);
    engine_detail::fit_picture();
    return true;
}

bool full_screen() { return engine_detail::screen_depth() != 0; }

TImage* grab_picture() {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    if (!read_back(px, w, h)) return g_picture;
    engine_detail::fill_picture_image(g_picture, px, w, h);
    return g_picture;
}

namespace {

// An SDL stream that grows a byte vector as the encoder writes.
struct Sink {
    std::vector<uint8_t>* bytes;
    size_t at;
};

Sint64 sink_size(SDL_RWops* rw) {
    return Sint64(static_cast<Sink*>(rw->hidden.unknown.data1)->bytes->size());
}

Sint64 sink_seek(SDL_RWops* rw, Sint64 offset, int whence) {
    Sink* s = static_cast<Sink*>(rw->hidden.unknown.data1);
    const Sint64 base = whence == RW_SEEK_SET ? 0 : whence == RW_SEEK_CUR ? Sint64(s->at) : sink_size(rw);
    if (base + offset < 0) return -1;
    s->at = size_t(base + offset);
    return Sint64(s->at);
}

size_t sink_read(SDL_RWops*, void*, size_t, size_t) { return 0; }

size_t sink_write(SDL_RWops* rw, const void* data, size_t size, size_t count) {
    Sink* s = static_cast<Sink*>(rw->hidden.unknown.data1);
    const size_t n = size * count;
    if (s->bytes->size() < s->at + n) s->bytes->resize(s->at + n);
    if (n > 0) std::copy_n(static_cast<const uint8_t*>(data), n, s->bytes->data() + s->at);
    s->at += n;
    return count;
}

int sink_close(SDL_RWops* rw) {
    delete static_cast<Sink*>(rw->hidden.unknown.data1);
    SDL_FreeRW(rw);
    return 0;
}

// Unused in the browser build, which writes no PNG pictures.
[[maybe_unused]] SDL_RWops* memory_sink(std::vector<uint8_t>& bytes) {
    SDL_RWops* rw = SDL_AllocRW();
    if (!rw) return nullptr;
    rw->size = sink_size;
    rw->seek = sink_seek;
    rw->read = sink_read;
    rw->write = sink_write;
    rw->close = sink_close;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->hidden.unknown.data1 = new Sink{&bytes, 0};
    return rw;
}

}  // namespace

bool write_png(const std::string& path, int w, int h, const std::vector<uint32_t>& argb, bool alpha) {
    if (w <= 0 || h <= 0 || argb.size() < size_t(w) * size_t(h)) {
        engine_detail::set_last_error("no pixels to write");
        return false;
    }
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(argb.data()), w, h, 32, w * 4,
                                                        SDL_PIXELFORMAT_ARGB8888);
    if (!s) {
        engine_detail::set_last_error(SDL_GetError());
        return false;
    }
    SDL_Surface* out =
        SDL_ConvertSurfaceFormat(s, alpha ? SDL_PIXELFORMAT_ABGR8888 : SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(s);
#ifdef __EMSCRIPTEN__
    // The browser build leaves SDL_image out (the page has no folder to put a picture in).
    std::vector<uint8_t> png;
    const bool encoded = false;
    engine_detail::set_last_error("PNG pictures are not written in the browser");
#else
    // Encoded in memory, then written through the safe save: a full disk or a link in the way
    // leaves no file (not a 0-byte one) and the failure is seen.
    std::vector<uint8_t> png;
    SDL_RWops* sink = out ? memory_sink(png) : nullptr;
    const bool encoded = sink && IMG_SavePNG_RW(out, sink, 1) == 0;
    if (!encoded) engine_detail::set_last_error(out ? IMG_GetError() : SDL_GetError());
#endif
    SDL_FreeSurface(out);
    return encoded && write_file_safely(path, png);
}

bool save_picture_png(const std::string& path) {
    std::vector<uint32_t> px;
    int w = 0, h = 0;
    return read_back(px, w, h) && write_png(path, w, h, px, false);  // a screenshot is opaque
}
