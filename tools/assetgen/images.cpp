// write_images: every picture of the image table, from the text sources in assets/gfx and the
// frames drawn by code, checked against the table's cell sizes and written as 24-bit BMPs.
#include "images.h"

#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>

#include "assetgen.h"
#include "core/asset_table.h"

namespace gen {

std::vector<Canvas> load_frames(const std::string& path, int w, int h, size_t count) {
    PixelArt art = load_pixel_art(path);
    if (art.frames.size() < count)
        throw std::runtime_error(path + ": needs " + std::to_string(count) + " frames, has " +
                                 std::to_string(art.frames.size()));
    for (size_t i = 0; i < art.frames.size(); ++i) {
        const Canvas& f = art.frames[i];
        if (w && (f.w != w || f.h != h))
            throw std::runtime_error(path + ": frame " + art.frame_names[i] + " is " + std::to_string(f.w) +
                                     " x " + std::to_string(f.h) + ", must be " + std::to_string(w) + " x " +
                                     std::to_string(h));
    }
    return art.frames;
}

std::vector<Canvas> cells_of(const Canvas& img, int cell_w, int cell_h, int count) {
    if (count == 0) return {img};
    std::vector<Canvas> out;
    int columns = img.w / cell_w;
    for (int k = 0; k < count; ++k)
        out.push_back(img.crop(cell_w * (k % columns), cell_h * (k / columns), cell_w, cell_h));
    return out;
}

namespace {

using Maker = std::function<Canvas(const std::string& src)>;  // src: the assets folder

// A strip of `count` w x h frames, one row, from a pixel-art file.
Maker frames_of(const char* name, int w, int h, int count) {
    return [=](const std::string& src) {
        auto frames = load_frames(src + "/gfx/" + name, w, h, size_t(count));
        frames.resize(size_t(count));
        return strip(frames, count);
    };
}

// One named frame of a pixel-art file, of any size.
Maker single(const char* name, const char* frame) {
    return [=](const std::string& src) { return load_pixel_art(src + "/gfx/" + name).frame(frame); };
}

const std::map<std::string, Maker>& makers() {
    static const std::map<std::string, Maker> m = {
        {"gfx/tileset1.bmp", make_tileset},
        {"gfx/logo1.bmp", [](const std::string& src) { return make_logo(src + "/gfx"); }},
        {"gfx/arrow.bmp", single("menu.txt", "arrow")},
        {"gfx/arrow2.bmp", single("menu.txt", "arrow2")},
        {"gfx/stats1.bmp", [](const std::string& src) { return make_stats(src + "/gfx", 1); }},
        {"gfx/stats2.bmp", [](const std::string& src) { return make_stats(src + "/gfx", 2); }},
        {"gfx/playerstart.bmp", single("menu.txt", "playerstart")},
        {"gfx/font1.bmp",
         [](const std::string& src) { return make_font(src + "/gfx/font1.txt", 10, 10, 43); }},
        {"gfx/font2.bmp",
         [](const std::string& src) { return make_font(src + "/gfx/font2.txt", 10, 10, 43); }},
        {"gfx/font3.bmp", [](const std::string& src) { return make_font(src + "/gfx/font3.txt", 5, 5, 11); }},
        {"gfx/bg1.bmp", [](const std::string&) { return make_background(1); }},
        {"gfx/bg2.bmp", [](const std::string&) { return make_background(2); }},
        {"gfx/bg3.bmp", [](const std::string&) { return make_background(3); }},
        {"gfx/bg4.bmp", [](const std::string&) { return make_background(4); }},
        {"gfx/bg5.bmp", [](const std::string&) { return make_background(5); }},
        {"gfx/player1.bmp", frames_of("player1.txt", 30, 30, 3)},
        {"gfx/player2.bmp", frames_of("player2.txt", 30, 30, 3)},
        {"gfx/shot1.bmp", single("shots.txt", "shot1")},
        {"gfx/shot2.bmp",
         [](const std::string& src) {
             PixelArt art = load_pixel_art(src + "/gfx/shots.txt");
             std::vector<Canvas> f;
             for (const char* n :
                  {"shot2_flight", "shot2_burst1", "shot2_burst2", "shot2_burst3", "shot2_burst4"})
                 f.push_back(art.frame(n));
             return strip(f, 5);
         }},
        {"gfx/bonus.bmp", frames_of("bonus.txt", 12, 12, 4)},
        {"gfx/bonus2.bmp", frames_of("bonus2.txt", 12, 12, 4)},
        {"gfx/gorge.bmp", single("gorge.txt", "gorge")},
        {"gfx/power.bmp", single("power.txt", "power")},
        {"gfx/plasma.bmp", frames_of("plasma.txt", 9, 9, 4)},
        {"gfx/powerinfo.bmp", [](const std::string& src) { return make_powerinfo(src + "/gfx"); }},
        {"gfx/hyperfield.bmp", [](const std::string&) { return make_hyperfield(); }},
        {"gfx/hypericon.bmp", single("hud.txt", "hypericon")},
        {"gfx/pbar.bmp", single("hud.txt", "pbar")},
        {"gfx/bbar.bmp", single("hud.txt", "bbar")},
        {"gfx/hpbar.bmp", single("hud.txt", "hpbar")},
        {"gfx/ringblue.bmp", [](const std::string&) { return make_ring(true); }},
        {"gfx/ringgreen.bmp", [](const std::string&) { return make_ring(false); }},
        {"gfx/explosion1.bmp", [](const std::string&) { return make_explosion(11); }},
        {"gfx/explosion2.bmp", [](const std::string&) { return make_explosion(21); }},
        {"gfx/particle1.bmp", [](const std::string&) { return make_particles(); }},
        {"gfx/bullet1.bmp", frames_of("bullet1.txt", 10, 10, 8)},
        {"gfx/bullet2.bmp", frames_of("bullet2.txt", 10, 10, 8)},
        {"gfx/bullet3.bmp", frames_of("bullet3.txt", 10, 10, 8)},
        {"gfx/powercontainer1.bmp", single("containers.txt", "powercontainer1")},
        {"gfx/powercontainer2.bmp", single("containers.txt", "powercontainer2")},
        {"gfx/container1.bmp", single("containers.txt", "container1")},
        {"gfx/container2.bmp", single("containers.txt", "container2")},
        {"gfx/enemy1.bmp", frames_of("enemy1.txt", 16, 16, 2)},
        {"gfx/enemy2.bmp", frames_of("enemy2.txt", 32, 32, 2)},
        {"gfx/enemy3.bmp", single("enemy3.txt", "flier")},
        {"gfx/enemy4.bmp", frames_of("enemy4.txt", 32, 32, 2)},
        {"gfx/enemy5.bmp", frames_of("enemy5.txt", 16, 16, 2)},
        {"gfx/boss1a.bmp", single("boss1a.txt", "boss")},
    };
    return m;
}

// The table's promise to the game: whole cells of the stated size, enough of them.
void check_geometry(const ImageEntry& e, const Canvas& c) {
    auto fail = [&](const std::string& what) { throw std::runtime_error(std::string(e.file) + ": " + what); };
    if (c.w <= 0 || c.h <= 0) fail("empty picture");
    if (e.count == 0) return;
    if (c.w % e.cell_w || c.h % e.cell_h)
        fail(std::to_string(c.w) + " x " + std::to_string(c.h) + " is not whole cells of " +
             std::to_string(e.cell_w) + " x " + std::to_string(e.cell_h));
    if ((c.w / e.cell_w) * (c.h / e.cell_h) < e.count) fail("fewer cells than " + std::to_string(e.count));
}

}  // namespace

Canvas make_image(const std::string& src, const std::string& file) {
    auto it = makers().find(file);
    if (it == makers().end()) throw std::runtime_error("no picture maker for " + file);
    return it->second(src);
}

void write_images(const std::string& src, const std::string& out) {
    std::filesystem::create_directories(out + "/gfx");
    for (const ImageEntry& e : kImageTable) {
        Canvas c = make_image(src, e.file);
        check_geometry(e, c);
        if (!write_bmp(out + "/" + e.file, c))
            throw std::runtime_error(out + "/" + e.file + ": cannot write");
    }
}

}  // namespace gen
