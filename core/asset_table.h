// The game's asset tables: every image (with its cell size and count) and every sound, in the
// order start-up loads them. Plain data, shared with the asset generator and the tests.
#pragma once

#include <array>

struct ImageEntry {
    const char* file;           // relative to the game folder
    int cell_w, cell_h, count;  // count 0: a single image loaded whole
};

inline constexpr std::array<ImageEntry, 48> kImageTable{{
    {"gfx/tileset1.bmp", 16, 16, 120},
    {"gfx/logo1.bmp", 0, 0, 0},
    {"gfx/arrow.bmp", 0, 0, 0},
    {"gfx/arrow2.bmp", 0, 0, 0},
    {"gfx/stats1.bmp", 0, 0, 0},
    {"gfx/stats2.bmp", 0, 0, 0},
    {"gfx/playerstart.bmp", 0, 0, 0},
    {"gfx/font1.bmp", 10, 10, 43},
    {"gfx/font2.bmp", 10, 10, 43},
    {"gfx/font3.bmp", 5, 5, 11},
    {"gfx/bg1.bmp", 0, 0, 0},
    {"gfx/bg2.bmp", 0, 0, 0},
    {"gfx/bg3.bmp", 0, 0, 0},
    {"gfx/bg4.bmp", 0, 0, 0},
    {"gfx/bg5.bmp", 0, 0, 0},
    {"gfx/player1.bmp", 30, 30, 3},
    {"gfx/player2.bmp", 30, 30, 3},
    {"gfx/shot1.bmp", 0, 0, 0},
    {"gfx/shot2.bmp", 12, 12, 5},
    {"gfx/bonus.bmp", 12, 12, 4},
    {"gfx/bonus2.bmp", 12, 12, 4},
    {"gfx/gorge.bmp", 0, 0, 0},
    {"gfx/power.bmp", 0, 0, 0},
    {"gfx/plasma.bmp", 9, 9, 4},
    {"gfx/powerinfo.bmp", 0, 0, 0},
    {"gfx/hyperfield.bmp", 100, 5, 20},
    {"gfx/hypericon.bmp", 0, 0, 0},
    {"gfx/pbar.bmp", 0, 0, 0},
    {"gfx/bbar.bmp", 0, 0, 0},
    {"gfx/hpbar.bmp", 0, 0, 0},
    {"gfx/ringblue.bmp", 11, 11, 6},
    {"gfx/ringgreen.bmp", 11, 11, 6},
    {"gfx/explosion1.bmp", 11, 11, 6},
    {"gfx/explosion2.bmp", 21, 21, 6},
    {"gfx/particle1.bmp", 5, 5, 10},
    {"gfx/bullet1.bmp", 10, 10, 8},
    {"gfx/bullet2.bmp", 10, 10, 8},
    {"gfx/bullet3.bmp", 10, 10, 8},
    {"gfx/powercontainer1.bmp", 0, 0, 0},
    {"gfx/powercontainer2.bmp", 0, 0, 0},
    {"gfx/container1.bmp", 0, 0, 0},
    {"gfx/container2.bmp", 0, 0, 0},
    {"gfx/enemy1.bmp", 16, 16, 2},
    {"gfx/enemy2.bmp", 32, 32, 2},
    {"gfx/enemy3.bmp", 0, 0, 0},
    {"gfx/enemy4.bmp", 32, 32, 2},
    {"gfx/enemy5.bmp", 16, 16, 2},
    {"gfx/boss1a.bmp", 0, 0, 0},
}};

inline constexpr std::array<const char*, 14> kSoundTable{{
    "sfx/shot1.wav",
    "sfx/item2.wav",
    "sfx/item1.wav",
    "sfx/gorge.wav",
    "sfx/powerup.wav",
    "sfx/hyperfield.wav",
    "sfx/explosion1.wav",
    "sfx/explosion2.wav",
    "sfx/explosion3.wav",
    "sfx/explosion4.wav",
    "sfx/explosion5.wav",
    "sfx/bullet1.wav",
    "sfx/bullet2.wav",
    "sfx/bullet3.wav",
}};

inline constexpr const char* kStageFile = "level/level1.txt";
inline constexpr int kStageFileBytes = 11250;
