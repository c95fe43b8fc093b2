// Pictures and drawing read back from the headless screen: cell cutting, BMP depths, the mask
// and binary alpha, placement under scale and rotation, strips without bleeding, colour, text.
#include <gtest/gtest.h>

#include <vector>

#include "engine/engine.h"
#include "engine/headless.h"
#include "tests/engine/headless_fixture.h"

namespace {

using enginetest::HeadlessScreen;
using enginetest::Rgba;
using enginetest::write_bmp;

constexpr uint32_t kBlack = 0x000000;

std::vector<Rgba> filled(int w, int h, Rgba c) { return std::vector<Rgba>(size_t(w) * size_t(h), c); }

// Colour of cell number i of a strip.
Rgba cell_colour(int i) { return Rgba{uint8_t(30 + 40 * i), uint8_t(200 - 30 * i), uint8_t(10 + 20 * i)}; }

class Pictures : public HeadlessScreen {
  protected:
    // A w x h picture of cw x ch cells, each cell filled with cell_colour(its number).
    std::string strip(int w, int h, int cw, int ch) {
        std::vector<Rgba> px(size_t(w) * size_t(h));
        const int columns = w / cw;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int cx = x / cw, cy = y / ch;
                px[size_t(y) * size_t(w) + size_t(x)] =
                    cx < columns ? cell_colour(cy * columns + cx) : Rgba{1, 1, 1};
            }
        const std::string path = at("strip.bmp");
        write_bmp(path, w, h, px, 24);
        return path;
    }
};

TEST_F(Pictures, CellsRunLeftToRightThenTopToBottom) {
    TImage* img = load_anim_image(strip(48, 32, 16, 16), 16, 16, 0, 6, -1);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->width, 16);
    EXPECT_EQ(img->height, 16);
    EXPECT_EQ(img->frame_count, 6);
    EXPECT_EQ(img->handle_x, 8.0f);
    EXPECT_EQ(img->handle_y, 8.0f);
    for (int k = 0; k < 6; ++k) {
        frame([&] { draw_image(img, 100, 100, k); });
        EXPECT_EQ(px(100, 100), enginetest::rgb(cell_colour(k))) << "frame " << k;
        EXPECT_EQ(px(92, 92), enginetest::rgb(cell_colour(k))) << "frame " << k;
    }
}

TEST_F(Pictures, AFirstCellOffsetsTheFramesAndPartialCellsAreIgnored) {
    // 50 x 33: still three columns and two rows of whole 16 x 16 cells.
    TImage* img = load_anim_image(strip(50, 33, 16, 16), 16, 16, 2, 4, -1);
    ASSERT_NE(img, nullptr);
    frame([&] { draw_image(img, 100, 100, 0); });
    EXPECT_EQ(px(100, 100), enginetest::rgb(cell_colour(2)));
    frame([&] { draw_image(img, 100, 100, 3); });
    EXPECT_EQ(px(100, 100), enginetest::rgb(cell_colour(5)));
}

TEST_F(Pictures, TooFewCellsFailTheLoad) {
    const std::string path = strip(48, 32, 16, 16);
    EXPECT_EQ(load_anim_image(path, 16, 16, 0, 7, -1), nullptr);
    EXPECT_EQ(load_anim_image(path, 16, 16, 1, 6, -1), nullptr);
    EXPECT_EQ(load_anim_image(path, 64, 16, 0, 1, -1), nullptr);
    EXPECT_EQ(load_anim_image(path, 0, 16, 0, 1, -1), nullptr);
}

TEST_F(Pictures, MissingOrUndecodableFilesLoadAsNone) {
    EXPECT_EQ(load_image(at("missing.bmp"), -1), nullptr);
    enginetest::save(at("junk.bmp"), {'B', 'M', 1, 2, 3});
    EXPECT_EQ(load_image(at("junk.bmp"), -1), nullptr);
    // A 16-bit picture is not one of the accepted depths.
    std::vector<uint8_t> b = {'B', 'M'};
    enginetest::put32(b, 54 + 4);
    enginetest::put32(b, 0);
    enginetest::put32(b, 54);
    enginetest::put32(b, 40);
    enginetest::put32(b, 1);
    enginetest::put32(b, 1);
    enginetest::put16(b, 1);
    enginetest::put16(b, 16);
    for (int i = 0; i < 6; ++i) enginetest::put32(b, 0);
    enginetest::put32(b, 0x7FFF);
    enginetest::save(at("sixteen.bmp"), b);
    EXPECT_EQ(load_image(at("sixteen.bmp"), -1), nullptr);
}

TEST_F(Pictures, MagentaIsNeverDrawnButANearMagentaIs) {
    for (int bits : {24, 8}) {
        // Left half magenta, right half (254, 0, 255), over a blue rectangle.
        std::vector<Rgba> pic(20 * 10);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                pic[size_t(y) * 20 + size_t(x)] = x < 10 ? Rgba{255, 0, 255} : Rgba{254, 0, 255};
        const std::string path = at("mask" + std::to_string(bits) + ".bmp");
        write_bmp(path, 20, 10, pic, bits);
        TImage* img = load_image(path, -1);
        ASSERT_NE(img, nullptr) << bits << " bits";
        frame([&] {
            set_color(0, 0, 200);
            draw_rect(0, 0, 640, 480);
            set_color(255, 255, 255);
            draw_image(img, 100, 100, 0);
        });
        EXPECT_EQ(px(95, 100), 0x0000C8u) << bits << " bits";
        EXPECT_EQ(px(105, 100), 0xFE00FFu) << bits << " bits";
    }
}

TEST_F(Pictures, WithoutTheMaskFlagMagentaIsOpaque) {
    write_bmp(at("plain.bmp"), 4, 4, filled(4, 4, Rgba{255, 0, 255}), 24);
    TImage* img = load_image(at("plain.bmp"), 0);
    ASSERT_NE(img, nullptr);
    frame([&] { draw_image(img, 50, 50, 0); });
    EXPECT_EQ(px(50, 50), 0xFF00FFu);
}

TEST_F(Pictures, TheMaskColourIsTakenAtLoadTime) {
    write_bmp(at("green.bmp"), 4, 4, filled(4, 4, Rgba{0, 255, 0}), 24);
    set_mask_color(0, 255, 0);
    TImage* keyed = load_image(at("green.bmp"), -1);
    set_mask_color(255, 0, 255);
    ASSERT_NE(keyed, nullptr);
    frame([&] { draw_image(keyed, 50, 50, 0); });
    EXPECT_EQ(px(50, 50), kBlack);
}

TEST_F(Pictures, AThirtyTwoBitPictureKeepsItsAlphaAsABinaryTest) {
    // Columns: alpha 100 (below half: never drawn), alpha 200 (drawn opaque), magenta at full
    // alpha (its own alpha decides, not the mask).
    std::vector<Rgba> pic(3 * 1);
    pic[0] = Rgba{10, 20, 30, 100};
    pic[1] = Rgba{10, 20, 30, 200};
    pic[2] = Rgba{255, 0, 255, 255};
    write_bmp(at("alpha.bmp"), 3, 1, pic, 32);
    auto_mid_handle(0);
    TImage* img = load_image(at("alpha.bmp"), -1);
    ASSERT_NE(img, nullptr);
    frame([&] {
        set_color(200, 200, 200);
        draw_rect(0, 0, 640, 480);
        set_color(255, 255, 255);
        draw_image(img, 10, 10, 0);
    });
    EXPECT_EQ(px(10, 10), 0xC8C8C8u);
    EXPECT_EQ(px(11, 10), 0x0A141Eu);
    EXPECT_EQ(px(12, 10), 0xFF00FFu);
}

class Drawing : public Pictures {};

TEST_F(Drawing, AMidHandledFrameIsCentredOnItsPosition) {
    write_bmp(at("sq.bmp"), 30, 30, filled(30, 30, Rgba{10, 200, 30}), 24);
    TImage* img = load_image(at("sq.bmp"), -1);
    ASSERT_NE(img, nullptr);
    const uint32_t c = 0x0AC81E;
    frame([&] { draw_image(img, 100, 50, 0); });
    EXPECT_EQ(px(85, 35), c);
    EXPECT_EQ(px(114, 64), c);
    EXPECT_EQ(px(84, 50), kBlack);
    EXPECT_EQ(px(115, 50), kBlack);
    EXPECT_EQ(px(100, 34), kBlack);
    EXPECT_EQ(px(100, 65), kBlack);

    frame([&] {
        set_scale(2, 2);
        draw_image(img, 100, 50, 0);
        set_scale(1, 1);
    });
    EXPECT_EQ(px(70, 20), c);
    EXPECT_EQ(px(129, 79), c);
    EXPECT_EQ(px(69, 50), kBlack);
    EXPECT_EQ(px(130, 50), kBlack);
    EXPECT_EQ(px(100, 19), kBlack);
    EXPECT_EQ(px(100, 80), kBlack);
}

TEST_F(Drawing, WithoutMidHandleTheTopLeftCornerIsPlaced) {
    auto_mid_handle(0);
    write_bmp(at("sq.bmp"), 10, 10, filled(10, 10, Rgba{250, 250, 0}), 24);
    TImage* img = load_image(at("sq.bmp"), -1);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->handle_x, 0.0f);
    frame([&] { draw_image(img, 20, 30, 0); });
    EXPECT_EQ(px(20, 30), 0xFAFA00u);
    EXPECT_EQ(px(29, 39), 0xFAFA00u);
    EXPECT_EQ(px(19, 30), kBlack);
}

TEST_F(Drawing, APositiveRotationTurnsClockwiseAboutTheCentre) {
    // 20 x 10: red left half, green right half.
    std::vector<Rgba> pic(20 * 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            pic[size_t(y) * 20 + size_t(x)] = x < 10 ? Rgba{255, 0, 0} : Rgba{0, 255, 0};
    write_bmp(at("bar.bmp"), 20, 10, pic, 24);
    TImage* img = load_image(at("bar.bmp"), -1);
    ASSERT_NE(img, nullptr);
    frame([&] {
        set_rotation(90);
        draw_image(img, 100, 100, 0);
        set_rotation(0);
    });
    // The right end (+x) now points down (+y): a 10 wide, 20 tall bar, green below.
    EXPECT_EQ(px(100, 92), 0xFF0000u);
    EXPECT_EQ(px(97, 97), 0xFF0000u);
    EXPECT_EQ(px(100, 107), 0x00FF00u);
    EXPECT_EQ(px(103, 103), 0x00FF00u);
    EXPECT_EQ(px(92, 100), kBlack);
    EXPECT_EQ(px(108, 100), kBlack);
    EXPECT_EQ(px(100, 87), kBlack);
    EXPECT_EQ(px(100, 112), kBlack);
}

TEST_F(Drawing, AStripFrameNeverShowsItsNeighbours) {
    // Three 8 x 8 cells: red, green, blue. Frame 1 at fractional places, doubled and turned.
    std::vector<Rgba> pic(24 * 8);
    const Rgba cells[3] = {Rgba{255, 0, 0}, Rgba{0, 255, 0}, Rgba{0, 0, 255}};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 24; ++x) pic[size_t(y) * 24 + size_t(x)] = cells[x / 8];
    write_bmp(at("rgb.bmp"), 24, 8, pic, 24);
    TImage* img = load_anim_image(at("rgb.bmp"), 8, 8, 0, 3, -1);
    ASSERT_NE(img, nullptr);
    for (float rotation : {0.0f, 33.0f}) {
        for (float offset : {0.25f, 0.5f, 0.75f}) {
            frame([&] {
                set_scale(2, 2);
                set_rotation(rotation);
                draw_image(img, 200 + offset, 150 + offset * 0.5f, 1);
                set_rotation(0);
                set_scale(1, 1);
            });
            int green = 0;
            for (int y = 120; y < 180; ++y)
                for (int x = 170; x < 230; ++x) {
                    const uint32_t p = px(x, y);
                    ASSERT_TRUE(p == kBlack || p == 0x00FF00u)
                        << "pixel " << x << "," << y << " = " << std::hex << p << " at rotation " << rotation;
                    green += p == 0x00FF00u;
                }
            EXPECT_GE(green, 14 * 14) << "rotation " << rotation << " offset " << offset;
        }
    }
}

TEST_F(Drawing, ColourMultipliesTheFramesPixels) {
    write_bmp(at("white.bmp"), 4, 4, filled(4, 4, Rgba{255, 255, 255}), 24);
    TImage* img = load_image(at("white.bmp"), -1);
    ASSERT_NE(img, nullptr);
    frame([&] {
        set_color(100, 150, 200);
        draw_image(img, 50, 50, 0);
        set_color(255, 255, 255);
        draw_image(img, 60, 50, 0);
    });
    EXPECT_EQ(px(50, 50), 0x6496C8u);
    EXPECT_EQ(px(60, 50), 0xFFFFFFu);
}

TEST_F(Drawing, RectanglesCoverTheirAreaInTheCurrentColour) {
    frame([&] {
        set_color(12, 34, 56);
        draw_rect(10, 20, 30, 5);
        set_color(255, 255, 255);
    });
    EXPECT_EQ(px(10, 20), 0x0C2238u);
    EXPECT_EQ(px(39, 24), 0x0C2238u);
    EXPECT_EQ(px(40, 22), kBlack);
    EXPECT_EQ(px(20, 25), kBlack);
    EXPECT_EQ(px(9, 22), kBlack);
}

// The "|" glyph has one lit column, 3 pixels in from the left of its 8 x 16 box.
TEST_F(Drawing, TextAdvancesEightPixelsAndSkipsCharactersOutsideTheFont) {
    frame([&] { draw_text("|||", 10, 10); });
    for (int x : {13, 21, 29}) EXPECT_EQ(px(x, 15), 0xFFFFFFu) << x;
    for (int x : {12, 14, 20, 22, 28, 30}) EXPECT_EQ(px(x, 15), kBlack) << x;

    frame([&] { draw_text(std::string("|") + char(200) + "|", 10, 10); });
    EXPECT_EQ(px(13, 15), 0xFFFFFFu);
    EXPECT_EQ(px(21, 15), 0xFFFFFFu);
    EXPECT_EQ(px(29, 15), kBlack);
}

TEST_F(Drawing, TextTakesTheColourAndStaysInsideItsBoxes) {
    frame([&] {
        set_color(255, 0, 0);
        draw_text("W", 100, 100);
        set_color(255, 255, 255);
    });
    int lit = 0;
    for (int y = 90; y < 130; ++y)
        for (int x = 90; x < 120; ++x) {
            const uint32_t p = px(x, y);
            if (p == kBlack) continue;
            EXPECT_EQ(p, 0xFF0000u);
            EXPECT_TRUE(x >= 100 && x < 108 && y >= 100 && y < 116) << x << "," << y;
            ++lit;
        }
    EXPECT_GT(lit, 10);
}

TEST_F(Drawing, ClsClearsToBlack) {
    frame([&] { draw_rect(0, 0, 640, 480); });
    EXPECT_EQ(px(320, 240), 0xFFFFFFu);
    frame([] {});
    EXPECT_EQ(px(320, 240), kBlack);
    EXPECT_EQ(px(639, 479), kBlack);
}

// Frames drawn at 2x come from textures doubled at load, untinted ones of opaque or keyed cells
// copied straight into the screen; SDL's blended copy of the doubled textures, SDL's plain and
// keyed blits and the general scaled copy must all give the same picture wherever a frame lands:
// fractional and negative positions, across every edge of the screen, under colour, and over
// one another, for keyed and opaque cells alike.
TEST_F(Drawing, DoubledFramesGiveThePicturesOfTheScaledCopy) {
    std::vector<Rgba> pic(7 * 5);
    for (int i = 0; i < 35; ++i) pic[size_t(i)] = i % 6 == 0 ? Rgba{255, 0, 255} : cell_colour(i % 5);
    write_bmp(
        at("odd.bmp"), 14, 5,
        [&] {
            std::vector<Rgba> two(14 * 5);  // two 7 x 5 frames, the second mirrored
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 7; ++x)
                    two[size_t(y * 14 + x)] = two[size_t(y * 14 + 13 - x)] = pic[size_t(y * 7 + x)];
            return two;
        }(),
        24);
    TImage* img = load_anim_image(at("odd.bmp"), 7, 5, 0, 2, -1);
    ASSERT_NE(img, nullptr);
    std::vector<Rgba> solid(9 * 6);  // opaque: no mask colour anywhere
    for (size_t i = 0; i < solid.size(); ++i) solid[i] = cell_colour(int(i % 7));
    write_bmp(at("solid.bmp"), 9, 6, solid, 24);
    TImage* opaque = load_image(at("solid.bmp"), -1);
    ASSERT_NE(opaque, nullptr);
    const struct {
        float x, y;
        int frame, r, g, b;
    } draws[] = {{100, 50, 0, 255, 255, 255},         {100.5f, 50.25f, 1, 255, 255, 255},
                 {101.75f, 52.5f, 0, 90, 200, 255},   {-3.7f, 10, 1, 255, 255, 255},
                 {2, -4.5f, 0, 255, 128, 0},          {-6.9f, -5.2f, 1, 255, 255, 255},
                 {639, 479, 0, 255, 255, 255},        {637.3f, 200, 1, 10, 20, 30},
                 {300, 482.9f, 0, 255, 255, 255},     {645.5f, 10, 1, 255, 255, 255},
                 {320.49f, 240.51f, 1, 255, 255, 255}};
    using headless::DirectDraws;
    const struct {
        bool doubled;
        DirectDraws direct;
    } ways[] = {{true, DirectDraws::own},
                {true, DirectDraws::off},
                {true, DirectDraws::sdl_floor},
                {false, DirectDraws::own}};
    std::vector<uint32_t> pictures[4];
    for (int way = 0; way < 4; ++way) {
        headless::set_doubled_draws(ways[way].doubled);
        headless::set_direct_draws(ways[way].direct);
        frame([&] {
            set_scale(2, 2);
            for (const auto& d : draws) {
                set_color(d.r, d.g, d.b);
                draw_image(img, d.x, d.y, d.frame);
                set_color(255, 255, 255);
                draw_image(opaque, 640 - d.x, 480 - d.y, 0);
            }
            set_scale(1, 1);
        });
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) pictures[way].push_back(px(x, y));
    }
    headless::set_doubled_draws(true);
    headless::set_direct_draws(DirectDraws::own);
    size_t lit = 0;
    for (uint32_t p : pictures[0]) lit += p != kBlack;
    EXPECT_GT(lit, 1000u);
    for (int way = 1; way < 4; ++way) {
        size_t differ = 0;
        for (size_t i = 0; i < pictures[0].size(); ++i) differ += pictures[0][i] != pictures[way][i];
        EXPECT_EQ(differ, 0u) << "way " << way;
    }
}

TEST_F(Drawing, TheSavedScreenshotIsTheLastPresentedPicture) {
    frame([&] {
        set_color(1, 2, 3);
        draw_rect(0, 0, 640, 480);
        set_color(200, 100, 50);
        draw_rect(5, 7, 1, 1);
        set_color(255, 255, 255);
    });
    ASSERT_TRUE(headless::save_presented_bmp(at("shot.bmp")));
    auto_mid_handle(0);
    auto_image_flags(0);
    TImage* shot = load_image(at("shot.bmp"), -1);
    ASSERT_NE(shot, nullptr);
    EXPECT_EQ(shot->width, 640);
    EXPECT_EQ(shot->height, 480);
    frame([&] { draw_image(shot, 0, 0, 0); });
    EXPECT_EQ(px(5, 7), 0xC86432u);
    EXPECT_EQ(px(6, 7), 0x010203u);
}

}  // namespace
