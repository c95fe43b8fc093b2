// The picture writer against what the game relies on: the image table's cells, the magenta key,
// the fill areas of the HUD frames, the fonts' word gap, colour ownership of enemy bullets,
// seamless backgrounds, the turrets' rest direction, and the same bytes on every run.
#include "images.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "assetgen.h"
#include "canvas.h"
#include "core/asset_table.h"

namespace fs = std::filesystem;
using gen::Canvas;
using gen::Rgb;

namespace {

const std::string kSrc = std::string(CINDER_SOURCE_DIR) + "/assets";

fs::path scratch(const std::string& name) {
    fs::path p = fs::temp_directory_path() / ("cinder_images_" + name + "_" + std::to_string(getpid()));
    fs::remove_all(p);
    fs::create_directories(p);
    return p;
}

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

const ImageEntry& entry(const std::string& file) {
    for (const auto& e : kImageTable)
        if (file == e.file) return e;
    throw std::runtime_error("not in the table: " + file);
}

int luminance(Rgb c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

int ink(const Canvas& c) {
    int n = 0;
    for (const Rgb& p : c.px) n += !(p == gen::kKey);
    return n;
}

std::set<uint32_t> colours(const Canvas& c) {
    std::set<uint32_t> out;
    for (const Rgb& p : c.px)
        if (!(p == gen::kKey)) out.insert(uint32_t(p.r) << 16 | uint32_t(p.g) << 8 | p.b);
    return out;
}

// Every picture, written once into a scratch folder for the whole suite.
class GeneratedImages : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new fs::path(scratch("suite"));
        gen::write_images(kSrc, dir_->string());
        images_ = new std::map<std::string, Canvas>;
        for (const auto& e : kImageTable) {
            Canvas c;
            if (gen::read_bmp((*dir_ / e.file).string(), c)) (*images_)[e.file] = c;
        }
    }
    static void TearDownTestSuite() {
        fs::remove_all(*dir_);
        delete dir_;
        delete images_;
    }
    static const Canvas& image(const std::string& file) { return images_->at(file); }
    static std::vector<Canvas> cells(const std::string& file) {
        const auto& e = entry(file);
        return gen::cells_of(image(file), e.cell_w, e.cell_h, e.count);
    }
    static fs::path* dir_;
    static std::map<std::string, Canvas>* images_;
};
fs::path* GeneratedImages::dir_ = nullptr;
std::map<std::string, Canvas>* GeneratedImages::images_ = nullptr;

TEST_F(GeneratedImages, EveryTableImageIsAnUncompressed24BitBmpOfWholeCells) {
    for (const auto& e : kImageTable) {
        SCOPED_TRACE(e.file);
        std::string bytes = slurp(*dir_ / e.file);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(uint8_t(bytes[28]), 24);                     // bits per pixel
        EXPECT_EQ(bytes.substr(30, 4), std::string(4, '\0'));  // BI_RGB, no compression
        ASSERT_EQ(images_->count(e.file), 1u);
        const Canvas& c = image(e.file);
        if (e.count == 0) continue;
        EXPECT_EQ(c.w % e.cell_w, 0);
        EXPECT_EQ(c.h % e.cell_h, 0);
        EXPECT_GE((c.w / e.cell_w) * (c.h / e.cell_h), e.count);
    }
}

TEST_F(GeneratedImages, SinglePicturesHaveTheSizesTheScreenLayoutNeeds) {
    for (const char* bg : {"gfx/bg1.bmp", "gfx/bg2.bmp", "gfx/bg3.bmp", "gfx/bg4.bmp", "gfx/bg5.bmp"}) {
        EXPECT_EQ(image(bg).w, 240) << bg;
        EXPECT_EQ(image(bg).h, 240) << bg;
    }
    EXPECT_LE(image("gfx/hypericon.bmp").w, 14);  // icons stand 16 apart
    EXPECT_LE(image("gfx/logo1.bmp").w, 200);
    EXPECT_LE(image("gfx/logo1.bmp").h, 60);
    EXPECT_EQ(image("gfx/stats1.bmp").w, image("gfx/stats2.bmp").w);
    EXPECT_EQ(image("gfx/stats1.bmp").h, image("gfx/stats2.bmp").h);
    const Canvas& boss = image("gfx/boss1a.bmp");
    // The guns at (+-27, -19) and the nose at (0, -20) from the centre lie on the picture.
    EXPECT_GE(boss.w, 2 * 27 + 4);
    EXPECT_GE(boss.h, 2 * 20 + 4);
    auto on_boss = [&](int dx, int dy) { return !boss.is_key(boss.w / 2 + dx, boss.h / 2 + dy); };
    EXPECT_TRUE(on_boss(-27, -19));
    EXPECT_TRUE(on_boss(27, -19));
    EXPECT_TRUE(on_boss(0, -20));
}

// Centred at (cx, cy) in game units, the frame must leave the fill rectangle [x0, x1) x [y0, y1)
// transparent and surround it.
void expect_frames(const Canvas& c, double cx, double cy, int x0, int x1, int y0, int y1) {
    int left = int(cx - c.w / 2.0), top = int(cy - c.h / 2.0);
    ASSERT_DOUBLE_EQ(left, cx - c.w / 2.0) << "the frame must sit on whole units";
    ASSERT_DOUBLE_EQ(top, cy - c.h / 2.0);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            ASSERT_TRUE(c.is_key(x - left, y - top)) << "fill area at " << x << "," << y;
    EXPECT_FALSE(c.is_key(x0 - 1 - left, (y0 + y1) / 2 - top));
    EXPECT_FALSE(c.is_key(x1 - left, (y0 + y1) / 2 - top));
    EXPECT_FALSE(c.is_key((x0 + x1) / 2 - left, y0 - 1 - top));
    EXPECT_FALSE(c.is_key((x0 + x1) / 2 - left, y1 - top));
}

TEST_F(GeneratedImages, HudFramesLeaveTheirFillAreasTransparent) {
    {
        SCOPED_TRACE("pbar");
        expect_frames(image("gfx/pbar.bmp"), 280, 150, 270, 290, 125, 175);
    }
    {
        SCOPED_TRACE("bbar");
        expect_frames(image("gfx/bbar.bmp"), 280, 65, 270, 290, 60, 70);
    }
    {
        SCOPED_TRACE("hpbar");
        expect_frames(image("gfx/hpbar.bmp"), 120, 10, 70, 170, 7, 12);
    }
}

TEST_F(GeneratedImages, FontsShowTheWordGapBlankAndEveryOtherCharacter) {
    for (const char* font : {"gfx/font1.bmp", "gfx/font2.bmp"}) {
        SCOPED_TRACE(font);
        auto glyphs = cells(font);
        ASSERT_EQ(glyphs.size(), 43u);
        EXPECT_EQ(ink(glyphs['=' - 48]), 0) << "'=' is the word gap";
        int wide = 0;
        for (size_t i = 0; i < glyphs.size(); ++i) {
            if (i == '=' - 48u) continue;
            EXPECT_GT(ink(glyphs[i]), 8) << "character " << char(48 + i);
            int x0 = 10, x1 = -1;
            for (int y = 0; y < 10; ++y)
                for (int x = 0; x < 10; ++x)
                    if (!glyphs[i].is_key(x, y)) x0 = std::min(x0, x), x1 = std::max(x1, x);
            wide += (x1 - x0 + 1) >= 7;
        }
        EXPECT_GE(wide, 36) << "glyphs should fill about 8 of the 10 pixels across";
    }
    auto small = cells("gfx/font3.bmp");
    for (size_t i = 0; i < small.size(); ++i)
        EXPECT_GT(ink(small[i]), 4) << "small character " << char(48 + i);
}

TEST_F(GeneratedImages, MenuFontShowsTheTwoShipsForColonAndSemicolon) {
    auto glyphs = cells("gfx/font1.bmp");
    EXPECT_GT(ink(glyphs[':' - 48]), 20);
    EXPECT_GT(ink(glyphs[';' - 48]), 20);
    EXPECT_NE(glyphs[':' - 48].px, glyphs[';' - 48].px);
}

TEST_F(GeneratedImages, SpritesAreCutOutWithTheKeyAndFarLayersAreOpaque) {
    for (const auto& e : kImageTable) {
        std::string f = e.file;
        if (f == "gfx/tileset1.bmp") continue;  // the tile painter's own rules
        SCOPED_TRACE(f);
        if (f == "gfx/bg1.bmp" || f == "gfx/bg3.bmp") {
            EXPECT_EQ(ink(image(f)), 240 * 240) << "a far layer covers the play field";
            continue;
        }
        auto all = cells(f);
        if (f == "gfx/font1.bmp" || f == "gfx/font2.bmp")
            all.erase(all.begin() + ('=' - 48));  // the blank gap
        for (const Canvas& cell : all) {
            if (f == "gfx/particle1.bmp" || f == "gfx/explosion1.bmp" || f == "gfx/explosion2.bmp") {
                EXPECT_LT(ink(cell), cell.w * cell.h);
                continue;
            }
            EXPECT_GT(ink(cell), 0);
            EXPECT_LT(ink(cell), cell.w * cell.h);
        }
    }
}

TEST_F(GeneratedImages, NoColourComesCloseToTheKeyWithoutBeingIt) {
    for (const auto& [file, c] : *images_) {
        for (const Rgb& p : c.px) {
            if (p == gen::kKey) continue;
            int distance = (255 - p.r) + p.g + (255 - p.b);
            ASSERT_GE(distance, 48) << file << " has " << int(p.r) << "," << int(p.g) << "," << int(p.b);
        }
    }
}

TEST_F(GeneratedImages, BulletColoursBelongToBulletsAlone) {
    std::set<uint32_t> bullets;
    for (const char* b : {"gfx/bullet1.bmp", "gfx/bullet2.bmp", "gfx/bullet3.bmp"}) {
        auto c = colours(image(b));
        bullets.insert(c.begin(), c.end());
    }
    for (const char* other : {"gfx/shot1.bmp", "gfx/shot2.bmp", "gfx/power.bmp", "gfx/bonus.bmp",
                              "gfx/bonus2.bmp", "gfx/gorge.bmp", "gfx/ringblue.bmp", "gfx/ringgreen.bmp"}) {
        for (uint32_t c : colours(image(other)))
            EXPECT_EQ(bullets.count(c), 0u) << other << " shares " << std::hex << c;
    }
}

TEST_F(GeneratedImages, BulletsAreBrightOutlinedAndAnimated) {
    for (const char* b : {"gfx/bullet1.bmp", "gfx/bullet2.bmp", "gfx/bullet3.bmp"}) {
        SCOPED_TRACE(b);
        auto frames = cells(b);
        std::set<std::string> distinct;
        for (const Canvas& f : frames) {
            distinct.insert(
                std::string(reinterpret_cast<const char*>(f.px.data()), f.px.size() * sizeof(Rgb)));
            int brightest = 0, darkest = 255;
            for (const Rgb& p : f.px)
                if (!(p == gen::kKey))
                    brightest = std::max(brightest, luminance(p)), darkest = std::min(darkest, luminance(p));
            EXPECT_GE(brightest, 230) << "a pale core";
            EXPECT_LE(darkest, 60) << "a dark rim against light clouds";
        }
        EXPECT_GE(distinct.size(), 4u) << "the 8 frames pulse or spin";
    }
}

TEST_F(GeneratedImages, RepeatingBackgroundsJoinTopToBottom) {
    for (const char* bg : {"gfx/bg1.bmp", "gfx/bg2.bmp", "gfx/bg3.bmp", "gfx/bg4.bmp"}) {
        SCOPED_TRACE(bg);
        const Canvas& c = image(bg);
        // Compares two rows by how many pixels differ in being key, and by colour.
        auto step = [&](int a, int b) {
            double d = 0;
            for (int x = 0; x < c.w; ++x) {
                Rgb p = c.get(x, a), q = c.get(x, b);
                if (p == gen::kKey || q == gen::kKey)
                    d += (p == gen::kKey) != (q == gen::kKey) ? 255 : 0;
                else
                    d += (std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b)) / 3.0;
            }
            return d / c.w;
        };
        double typical = 0;
        for (int y = 0; y + 1 < c.h; ++y) typical += step(y, y + 1);
        typical /= c.h - 1;
        EXPECT_LE(step(c.h - 1, 0), 2.5 * typical + 1.0);
    }
}

TEST_F(GeneratedImages, NearLayersLetTheFarLayerShowThrough) {
    for (const char* bg : {"gfx/bg2.bmp", "gfx/bg4.bmp", "gfx/bg5.bmp"}) {
        double open = 1.0 - ink(image(bg)) / double(240 * 240);
        EXPECT_GT(open, 0.2) << bg;
        EXPECT_LT(open, 0.85) << bg;
    }
}

// The game draws frame 1 rotated by aim - 90: at rotation 0 the barrel points down the screen.
TEST_F(GeneratedImages, TurretsPointDownTheScreenAtRest) {
    for (const char* t : {"gfx/enemy1.bmp", "gfx/enemy5.bmp"}) {
        SCOPED_TRACE(t);
        Canvas turret = cells(t)[1];
        double sx = 0, sy = 0;
        int n = 0;
        for (int y = 0; y < turret.h; ++y)
            for (int x = 0; x < turret.w; ++x)
                if (!turret.is_key(x, y)) sx += x + 0.5, sy += y + 0.5, ++n;
        ASSERT_GT(n, 0);
        EXPECT_GT(sy / n, turret.h / 2.0) << "more of the gun below the centre than above";
        EXPECT_NEAR(sx / n, turret.w / 2.0, 0.75) << "the barrel on the centre line";
        EXPECT_GT(ink(turret.crop(0, turret.h - 2, turret.w, 2)), 0) << "the barrel reaches the bottom";
    }
    // The twin turret's bottom row shows two barrels.
    Canvas twin = cells("gfx/enemy5.bmp")[1];
    int runs = 0;
    for (int x = 0; x < twin.w; ++x)
        runs += !twin.is_key(x, twin.h - 1) && (x == 0 || twin.is_key(x - 1, twin.h - 1));
    EXPECT_EQ(runs, 2);
}

// The exhaust is drawn at x - 3 and x + 3 and 13 (ship 1) or 10 (ship 2) below the centre, its
// top half a unit lower; every frame's nozzles must end just above it.
TEST_F(GeneratedImages, ShipsBankAndKeepTheirNozzlesOverTheExhaust) {
    const std::pair<const char*, int> ships[] = {{"gfx/player1.bmp", 13}, {"gfx/player2.bmp", 10}};
    for (auto [file, below] : ships) {
        SCOPED_TRACE(file);
        auto frames = cells(file);
        ASSERT_EQ(frames.size(), 3u);
        EXPECT_NE(frames[0].px, frames[1].px);
        EXPECT_NE(frames[2].px, frames[1].px);
        EXPECT_NE(frames[0].px, frames[2].px);
        const int exhaust_top = 15 + below - 4;  // the plasma's first row, in the ship's cell
        for (const Canvas& f : frames)
            for (int x : {11, 12, 17, 18}) {
                int lowest = -1;
                for (int y = 0; y < f.h; ++y)
                    if (!f.is_key(x, y)) lowest = y;
                EXPECT_GE(lowest, exhaust_top - 2) << "column " << x;
                EXPECT_LE(lowest, exhaust_top + 1) << "column " << x;
            }
    }
    EXPECT_NE(image("gfx/player1.bmp").px, image("gfx/player2.bmp").px);
}

TEST_F(GeneratedImages, ExplosionsGrowFastThenFade) {
    for (const char* file : {"gfx/explosion1.bmp", "gfx/explosion2.bmp"}) {
        SCOPED_TRACE(file);
        auto f = cells(file);
        auto bright = [](const Canvas& c) {
            int n = 0;
            for (const Rgb& p : c.px) n += !(p == gen::kKey) && luminance(p) > 180;
            return n;
        };
        EXPECT_GT(ink(f[1]), ink(f[0]) * 2);
        EXPECT_GT(ink(f[2]), ink(f[5]));
        EXPECT_GT(bright(f[1]), bright(f[3]));
        EXPECT_GE(bright(f[3]), bright(f[5]));
    }
}

// The 20 strips stack into a 100 x 100 square round the ship: a glowing edge, an open middle.
TEST_F(GeneratedImages, HyperFieldStacksIntoAnOpenRing) {
    auto strips = cells("gfx/hyperfield.bmp");
    ASSERT_EQ(strips.size(), 20u);
    Canvas square(100, 100);
    for (int i = 0; i < 20; ++i) square.blit(strips[size_t(i)], 0, 5 * i, true);
    int inside = 0, inside_ink = 0, rim = 0, rim_ink = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            double dx = x + 0.5 - 50, dy = y + 0.5 - 50, d2 = dx * dx + dy * dy;
            if (d2 < 40.0 * 40.0)
                ++inside, inside_ink += !square.is_key(x, y);
            else if (d2 > 46.0 * 46.0 && d2 < 48.0 * 48.0)
                ++rim, rim_ink += !square.is_key(x, y);
        }
    EXPECT_LT(inside_ink, inside / 8) << "the ship and the bullets must read through it";
    EXPECT_GT(rim_ink, rim * 3 / 4) << "a closed glowing edge";
}

TEST(ImageDeterminism, TheSameSourcesGiveTheSameBytes) {
    fs::path a = scratch("run_a"), b = scratch("run_b");
    gen::write_images(kSrc, a.string());
    gen::write_images(kSrc, b.string());
    for (const auto& e : kImageTable) EXPECT_EQ(slurp(a / e.file), slurp(b / e.file)) << e.file;
    fs::remove_all(a);
    fs::remove_all(b);
}

TEST(ImageSources, ABadSourceNamesItsFileAndLine) {
    fs::path src = scratch("bad_src"), out = scratch("bad_out");
    fs::copy(kSrc, src, fs::copy_options::recursive);
    std::string text = slurp(src / "gfx/enemy3.txt");
    size_t at = text.find("frame flier\n");
    ASSERT_NE(at, std::string::npos);
    size_t row = text.find('\n', at) + 1;
    text[row] = '%';  // no such colour in the palette
    std::ofstream(src / "gfx/enemy3.txt", std::ios::binary) << text;
    int line = 1 + int(std::count(text.begin(), text.begin() + long(row), '\n'));
    try {
        gen::write_images(src.string(), out.string());
        ADD_FAILURE() << "a bad source must be refused";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("enemy3.txt:" + std::to_string(line) + ":"), std::string::npos)
            << e.what();
    }
    fs::remove_all(src);
    fs::remove_all(out);
}

TEST(ImageSources, AFontMustListItsGlyphsInCodeOrder) {
    fs::path dir = scratch("font");
    std::ofstream(dir / "f.txt") << "palette\n. key\nX ffffff\nend\nframe 1\nX\nend\nframe 0\nX\nend\n";
    EXPECT_THROW(gen::make_font((dir / "f.txt").string(), 1, 1, 2), std::runtime_error);
    std::ofstream(dir / "g.txt") << "palette\n. key\nX ffffff\nend\nframe 0\nX\nend\nframe 1\nX\nend\n";
    Canvas ok = gen::make_font((dir / "g.txt").string(), 1, 1, 2);
    EXPECT_EQ(ok.w, 2);
    fs::remove_all(dir);
}

TEST(ImageSources, FontInkTakesTheRowRampAndTheOutline) {
    fs::path dir = scratch("ramp");
    std::ofstream(dir / "r.txt")
        << "palette\n. key\nX 808080\nO 010203\n1 ff0000\n2 00ff00\nend\nframe 0\n...\n.X.\n.X.\n...\nend\n";
    Canvas c = gen::make_font((dir / "r.txt").string(), 3, 4, 1);
    EXPECT_EQ(c.get(1, 1), (Rgb{255, 0, 0}));
    EXPECT_EQ(c.get(1, 2), (Rgb{0, 255, 0}));
    EXPECT_EQ(c.get(0, 1), (Rgb{1, 2, 3}));  // 'O': outlined at the sides and corners
    EXPECT_EQ(c.get(0, 0), (Rgb{1, 2, 3}));
    fs::remove_all(dir);
}

TEST(ContactSheet, ShowsEveryImageWithoutTheKeyColour) {
    fs::path dir = scratch("sheet");
    gen::write_images(kSrc, dir.string());
    gen::write_contact_sheet(dir.string(), (dir / "sheet.bmp").string());
    Canvas sheet;
    ASSERT_TRUE(gen::read_bmp((dir / "sheet.bmp").string(), sheet));
    EXPECT_EQ(sheet.w, 1280);
    int area = 0;
    for (const auto& e : kImageTable) {
        Canvas c;
        ASSERT_TRUE(gen::read_bmp((dir / e.file).string(), c));
        area += (e.count ? e.cell_w * e.cell_h * e.count : c.w * c.h) * 4;
    }
    EXPECT_GT(sheet.w * sheet.h, area) << "every cell at twice its size";
    EXPECT_EQ(ink(sheet), sheet.w * sheet.h) << "transparency shows as a checker, not as magenta";
    fs::remove_all(dir);
}

TEST(Canvas, BmpRoundTripKeepsOddWidthsAndTheKey) {
    fs::path dir = scratch("bmp");
    Canvas c(5, 3, Rgb{1, 2, 3});
    c.set(4, 0, gen::kKey);
    c.set(0, 2, Rgb{250, 128, 7});
    ASSERT_TRUE(gen::write_bmp((dir / "a.bmp").string(), c));
    EXPECT_EQ(fs::file_size(dir / "a.bmp"), 54u + 3u * 16u);  // rows padded to 4 bytes
    Canvas back;
    ASSERT_TRUE(gen::read_bmp((dir / "a.bmp").string(), back));
    EXPECT_EQ(back.w, 5);
    EXPECT_EQ(back.h, 3);
    EXPECT_EQ(back.px, c.px);
    std::ofstream(dir / "b.bmp") << "not a picture";
    EXPECT_FALSE(gen::read_bmp((dir / "b.bmp").string(), back));
    fs::remove_all(dir);
}

TEST(Canvas, OutlineAndCrop) {
    Canvas c(5, 5);
    c.set(2, 2, Rgb{9, 9, 9});
    Canvas four = c;
    gen::add_outline(four, Rgb{1, 1, 1});
    EXPECT_EQ(ink(four), 5);
    Canvas eight = c;
    gen::add_outline(eight, Rgb{1, 1, 1}, true);
    EXPECT_EQ(ink(eight), 9);
    Canvas piece = eight.crop(3, 3, 3, 3);
    EXPECT_EQ(piece.get(0, 0), (Rgb{1, 1, 1}));
    EXPECT_TRUE(piece.is_key(2, 2)) << "outside the source is key";
}

TEST(Canvas, PixelArtErrorsNameTheFileAndLine) {
    try {
        gen::parse_pixel_art("palette\n. key\nend\nframe a\n..\n.x\nend\n", "art.txt");
        FAIL() << "an unknown colour must be refused";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("art.txt:6:"), std::string::npos) << e.what();
    }
    EXPECT_THROW(gen::parse_pixel_art("palette\n. ff00ff\nend\n", "k.txt"), std::runtime_error);
    gen::PixelArt art = gen::parse_pixel_art("palette\n. key\no 102030\nend\nframe a\n.o\nend\n", "ok.txt");
    ASSERT_EQ(art.text.size(), 1u);
    EXPECT_EQ(art.text[0][0], ".o");
}

}  // namespace
