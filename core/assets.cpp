// Loading the asset tables into their globals.
#include "core/assets.h"

#include "core/asset_table.h"

TImage *img_tileset1, *img_logo1, *img_arrow, *img_arrow2, *img_stats1, *img_stats2, *img_playerstart,
    *img_font1, *img_font2, *img_font3, *img_bg1, *img_bg2, *img_bg3, *img_bg4, *img_bg5, *img_player1,
    *img_player2, *img_shot1, *img_shot2, *img_bonus, *img_bonus2, *img_gorge, *img_power, *img_plasma,
    *img_powerinfo, *img_hyperfield, *img_hypericon, *img_pbar, *img_bbar, *img_hpbar, *img_ringblue,
    *img_ringgreen, *img_explosion1, *img_explosion2, *img_particle1, *img_bullet1, *img_bullet2,
    *img_bullet3, *img_powercontainer1, *img_powercontainer2, *img_container1, *img_container2, *img_enemy1,
    *img_enemy2, *img_enemy3, *img_enemy4, *img_enemy5, *img_boss1a;

TSound *snd_shot1, *snd_item2, *snd_item1, *snd_gorge, *snd_powerup, *snd_hyperfield, *snd_explosion1,
    *snd_explosion2, *snd_explosion3, *snd_explosion4, *snd_explosion5, *snd_bullet1, *snd_bullet2,
    *snd_bullet3;

TChannel *channel1, *channel2, *channel3, *channel4, *channel5, *channel6;

namespace {

// In the order of kImageTable and kSoundTable.
TImage** const image_globals[kImageTable.size()] = {
    &img_tileset1,
    &img_logo1,
    &img_arrow,
    &img_arrow2,
    &img_stats1,
    &img_stats2,
    &img_playerstart,
    &img_font1,
    &img_font2,
    &img_font3,
    &img_bg1,
    &img_bg2,
    &img_bg3,
    &img_bg4,
    &img_bg5,
    &img_player1,
    &img_player2,
    &img_shot1,
    &img_shot2,
    &img_bonus,
    &img_bonus2,
    &img_gorge,
    &img_power,
    &img_plasma,
    &img_powerinfo,
    &img_hyperfield,
    &img_hypericon,
    &img_pbar,
    &img_bbar,
    &img_hpbar,
    &img_ringblue,
    &img_ringgreen,
    &img_explosion1,
    &img_explosion2,
    &img_particle1,
    &img_bullet1,
    &img_bullet2,
    &img_bullet3,
    &img_powercontainer1,
    &img_powercontainer2,
    &img_container1,
    &img_container2,
    &img_enemy1,
    &img_enemy2,
    &img_enemy3,
    &img_enemy4,
    &img_enemy5,
    &img_boss1a,
};

TSound** const sound_globals[kSoundTable.size()] = {
    &snd_shot1,      &snd_item2,      &snd_item1,      &snd_gorge,      &snd_powerup,
    &snd_hyperfield, &snd_explosion1, &snd_explosion2, &snd_explosion3, &snd_explosion4,
    &snd_explosion5, &snd_bullet1,    &snd_bullet2,    &snd_bullet3,
};

}  // namespace

void check_asset_files() {
    for (const ImageEntry& e : kImageTable)
        if (std::string why = file_problem(e.file); !why.empty())
            fatal_error(std::string(e.file) + ": " + why);
    for (const char* file : kSoundTable)
        if (std::string why = file_problem(file); !why.empty()) fatal_error(std::string(file) + ": " + why);
}

void load_images() {
    for (size_t i = 0; i < kImageTable.size(); ++i) {
        const ImageEntry& e = kImageTable[i];
        TImage* image = e.count == 0 ? load_image(e.file, -1)
                                     : load_anim_image(e.file, e.cell_w, e.cell_h, 0, e.count, -1);
        // The engine says what is wrong with the file: its header, its size, too few cells ...
        if (!image) fatal_error(std::string(e.file) + ": " + engine_last_error());
        *image_globals[i] = image;
    }
}

void load_sounds() {
    for (size_t i = 0; i < kSoundTable.size(); ++i) {
        TSound* sound = load_sound(kSoundTable[i], 0);
        if (!sound) fatal_error(std::string(kSoundTable[i]) + ": " + engine_last_error());
        *sound_globals[i] = sound;
    }
}

void alloc_channels() {
    channel1 = alloc_channel();
    channel2 = alloc_channel();
    channel3 = alloc_channel();
    channel4 = alloc_channel();
    channel5 = alloc_channel();
    channel6 = alloc_channel();
}
