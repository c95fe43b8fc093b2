// cinder-arc-assets: writes the game's artwork, sounds and stage from the sources in assets/.
//   cinder-arc-assets --assets SRC --out GAME_DIR [--contact-sheet PATH] [--stage-preview PATH]
//                     [--music-pcm DIR]
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>

#include "assetgen.h"
#include "music.h"
#include "stage.h"

int main(int argc, char** argv) {
    std::string src = "assets", out = ".", sheet, preview, music_pcm;
    for (int i = 1; i < argc; ++i) {
        auto value = [&](const char* flag) -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "cinder-arc-assets: %s needs a value\n", flag);
                std::exit(2);
            }
            return argv[++i];
        };
        if (!std::strcmp(argv[i], "--assets"))
            src = value("--assets");
        else if (!std::strcmp(argv[i], "--out"))
            out = value("--out");
        else if (!std::strcmp(argv[i], "--contact-sheet"))
            sheet = value("--contact-sheet");
        else if (!std::strcmp(argv[i], "--stage-preview"))
            preview = value("--stage-preview");
        else if (!std::strcmp(argv[i], "--music-pcm"))
            music_pcm = value("--music-pcm");
        else {
            std::fprintf(stderr,
                         "usage: cinder-arc-assets --assets SRC --out DIR [--contact-sheet PATH] "
                         "[--stage-preview PATH] [--music-pcm DIR]\n");
            return 2;
        }
    }
    try {
        for (const char* sub : {"gfx", "sfx", "level", "music"})
            std::filesystem::create_directories(out + "/" + sub);
        gen::write_images(src, out);
        gen::write_sounds(src, out);
        gen::write_stage(src, out);
        gen::write_music(src, out, music_pcm);
        if (!sheet.empty()) gen::write_contact_sheet(out, sheet);
        if (!preview.empty()) gen::write_stage_preview(src, preview);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cinder-arc-assets: %s\n", e.what());
        return 1;
    }
    return 0;
}
