// The soundtrack's choice of piece from the game state, and its requests to the mixer.
#include "core/music.h"

#include <array>
#include <cstdio>
#include <string>

#include "core/entities.h"
#include "core/game_flow.h"
#include "core/module_state.h"
#include "core/objects.h"
#include "engine/engine.h"

#define MUSIC_STATE(X)                  \
    X(Piece, music_piece, Piece::none)  \
    X(Piece, music_ending, Piece::none) \
    X(uint8_t, music_boss_seen, 0)

MUSIC_STATE(CINDER_DEFINE_STATE)

void reset_music_state() { MUSIC_STATE(CINDER_RESET_STATE); }

namespace {

constexpr std::array<const char*, 6> kFiles = {nullptr,          "music/title.ogg",   "music/stage.ogg",
                                               "music/boss.ogg", "music/victory.ogg", "music/gameover.ogg"};
// Kept for the whole run, like the sounds; nullptr for a piece that could not be loaded.
std::array<TMusic*, 6> g_pieces = {};

bool on_field(uint32_t kind) {
    bool found = false;
    if (enemy_list) enemy_list->walk_kind(kind, [&](TObject*) { found = true; });
    return found;
}

}  // namespace

void load_music_pieces() {
    for (size_t i = 1; i < kFiles.size(); ++i) {
        g_pieces[i] = load_music(kFiles[i]);
        if (!g_pieces[i])
            std::fprintf(stderr, "cinder-arc: %s: %s; the game plays on without this piece\n", kFiles[i],
                         engine_last_error());
    }
}

Piece choose_piece() {
    const bool second_form = on_field(kind_t_boss1b);
    if (game_mode != 1) {
        music_ending = Piece::none;
    } else if (game_over_timer > 0 && music_ending == Piece::none) {
        // The second form removes itself in the frame its fall starts the game-over display.
        music_ending = music_boss_seen == 1 && !second_form ? Piece::victory : Piece::gameover;
    } else if (game_over_timer == 0) {
        music_ending = Piece::none;
    }
    music_boss_seen = second_form ? 1 : 0;
    if (game_mode != 1) return Piece::title;
    if (music_ending != Piece::none) return music_ending;
    if (second_form || on_field(kind_t_boss1a)) return Piece::boss;
    return Piece::stage;
}

void music_step() {
    music_piece = choose_piece();
    const bool jingle = music_piece == Piece::victory || music_piece == Piece::gameover;
    play_music(g_pieces[size_t(music_piece)], !jingle, kMusicFadeMs);
}
