// The game's images, sounds and sound channels: one global each, loaded once at start-up.
#pragma once

#include "engine/engine.h"

extern TImage *img_tileset1, *img_logo1, *img_arrow, *img_arrow2, *img_stats1, *img_stats2, *img_playerstart,
    *img_font1, *img_font2, *img_font3, *img_bg1, *img_bg2, *img_bg3, *img_bg4, *img_bg5, *img_player1,
    *img_player2, *img_shot1, *img_shot2, *img_bonus, *img_bonus2, *img_gorge, *img_power, *img_plasma,
    *img_powerinfo, *img_hyperfield, *img_hypericon, *img_pbar, *img_bbar, *img_hpbar, *img_ringblue,
    *img_ringgreen, *img_explosion1, *img_explosion2, *img_particle1, *img_bullet1, *img_bullet2,
    *img_bullet3, *img_powercontainer1, *img_powercontainer2, *img_container1, *img_container2, *img_enemy1,
    *img_enemy2, *img_enemy3, *img_enemy4, *img_enemy5, *img_boss1a;

extern TSound *snd_shot1, *snd_item2, *snd_item1, *snd_gorge, *snd_powerup, *snd_hyperfield, *snd_explosion1,
    *snd_explosion2, *snd_explosion3, *snd_explosion4, *snd_explosion5, *snd_bullet1, *snd_bullet2,
    *snd_bullet3;

extern TChannel *channel1, *channel2, *channel3, *channel4, *channel5, *channel6;

// Ends the program with one line naming the first asset file that is missing. Run before the
// screen opens, so that a broken install never leaves a window behind.
void check_asset_files();
// Loads the 48 images, then the 14 sounds, in table order; a file that does not decode (or a
// strip with too few cells) ends the program with one line naming it.
void load_images();
void load_sounds();
void alloc_channels();
