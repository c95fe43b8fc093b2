// The soundtrack: which piece each state of the game asks for, the hand-overs at the bosses and
// the end of a game, the mixer's fades on the virtual clock, and that the music reads the game
// without changing a picture of it.
#include "core/music.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/entities.h"
#include "core/game_flow.h"
#include "core/startup.h"
#include "enemies/boss1a.h"
#include "enemies/boss1b.h"
#include "engine/engine.h"
#include "engine/headless.h"
#include "frontend/menus.h"
#include "tests/frontend/frontend_support.h"

namespace {

// Where the stage creates them: just right of the play field.
void create_first_boss_form() { t_boss1a::create(290.0f, 90.0f); }
void create_second_boss_form() { t_boss1b::create(290.0f, 90.0f); }

using namespace frontend_test;

std::string playing() {
    const TMusic* m = headless::music_state().playing;
    return m ? m->path : "";
}
std::string waiting() {
    const TMusic* m = headless::music_state().waiting;
    return m ? m->path : "";
}

class Music : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        hold({});
        play_music(nullptr, false, 0);  // the mixer starts each test silent
    }
    void TearDown() override {
        play_music(nullptr, false, 0);
        GameTest::TearDown();
    }
    void play() {
        new_game_reset();
        start_stage();
    }
    TObject* only_enemy() {
        TObject* found = nullptr;
        enemy_list->walk([&](TObject* o) { found = o; });
        return found;
    }
    // Frames of the mixer alone: the music's request, then a paced flip.
    void mixer_frames(int n) {
        for (int i = 0; i < n; ++i) {
            music_step();
            cls();
            flip(-1);
        }
    }
};

TEST_F(Music, TheFrontEndPlaysTheTitleThemeOnEveryPageAndNameEntry) {
    for (uint8_t page : {1, 2, 3, 4, 8}) {
        menu_screen = page;
        EXPECT_EQ(choose_piece(), Piece::title) << int(page);
    }
    new_hiscore = 1;
    EXPECT_EQ(choose_piece(), Piece::title);
}

TEST_F(Music, TheBossThemeTakesOverWhileEitherFormIsOnTheFieldAndHandsBack) {
    play();
    EXPECT_EQ(choose_piece(), Piece::stage);
    create_first_boss_form();
    EXPECT_EQ(choose_piece(), Piece::boss);
    enemy_list->remove(only_enemy());  // destroyed, or gone off the right edge
    EXPECT_EQ(choose_piece(), Piece::stage);
    create_second_boss_form();
    EXPECT_EQ(choose_piece(), Piece::boss);
}

TEST_F(Music, TheSecondFormsFallPlaysTheVictoryForTheWholeGameOverDisplay) {
    play();
    create_second_boss_form();
    EXPECT_EQ(choose_piece(), Piece::boss);
    enemy_list->remove(only_enemy());
    game_over_timer = kGameOverFrames;  // as its fall does, in the same frame
    EXPECT_EQ(choose_piece(), Piece::victory);
    game_over_timer = 10;
    EXPECT_EQ(choose_piece(), Piece::victory);
    end_game();
    EXPECT_EQ(choose_piece(), Piece::title);
}

TEST_F(Music, ALostLastShipPlaysTheGameOverJingleWithOrWithoutABoss) {
    play();
    game_over_timer = kGameOverFrames;
    EXPECT_EQ(choose_piece(), Piece::gameover);
    end_game();
    EXPECT_EQ(choose_piece(), Piece::title);
    play();
    create_second_boss_form();
    EXPECT_EQ(choose_piece(), Piece::boss);
    game_over_timer = kGameOverFrames;  // the ship fell, the boss stays
    EXPECT_EQ(choose_piece(), Piece::gameover);
    enemy_list->remove(only_enemy());  // and it leaves later: still the game-over jingle
    EXPECT_EQ(choose_piece(), Piece::gameover);
}

TEST_F(Music, AChangeFadesTheOldPieceOutForHalfASecondBeforeTheNewOneStarts) {
    mixer_frames(1);
    EXPECT_EQ(playing(), "music/title.ogg");
    EXPECT_TRUE(headless::music_state().looping);
    play();
    const int asked = headless::virtual_ms();
    mixer_frames(1);
    EXPECT_TRUE(headless::music_state().fading_out);
    EXPECT_EQ(headless::music_state().fade_end_ms - asked, kMusicFadeMs);
    EXPECT_EQ(waiting(), "music/stage.ogg");
    while (headless::virtual_ms() - asked < kMusicFadeMs - 14) {
        mixer_frames(1);
        EXPECT_EQ(playing(), "music/title.ogg");
    }
    mixer_frames(2);
    EXPECT_EQ(playing(), "music/stage.ogg");
    EXPECT_FALSE(headless::music_state().fading_out);
    // Asking for the same piece every frame leaves it alone.
    mixer_frames(100);
    EXPECT_EQ(playing(), "music/stage.ogg");
    EXPECT_FALSE(headless::music_state().fading_out);
}

TEST_F(Music, AJinglePlaysOnceAndABossComingBackDuringAFadeIsWhatFollowsIt) {
    play();
    mixer_frames(60);
    create_first_boss_form();
    mixer_frames(3);
    EXPECT_EQ(waiting(), "music/boss.ogg");
    enemy_list->remove(only_enemy());
    mixer_frames(1);
    EXPECT_EQ(waiting(), "music/stage.ogg");  // the latest wish wins, with no extra fade
    mixer_frames(60);
    EXPECT_EQ(playing(), "music/stage.ogg");
    game_over_timer = kGameOverFrames;
    mixer_frames(60);
    EXPECT_EQ(playing(), "music/gameover.ogg");
    EXPECT_FALSE(headless::music_state().looping);
}

// The same scripted minutes of menus and play, once as the game runs and once with the music
// asked for five more times every frame: every picture, and the random generator, is the same.
TEST_F(Music, AskingForMusicChangesNoPicture) {
    auto run = [](int extra) {
        reset_all_state();
        for (TList* l :
             {player_list, shot_list, pickup_list, levelobject_list, enemy_list, bullet_list, effect_list})
            l->clear();
        headless::set_frame_hook([extra](int) {
            for (int i = 0; i < extra; ++i) music_step();
        });
        seed_rnd(20);
        std::vector<uint64_t> hashes;
        tap({kA});  // START
        frames(30);
        tap({kA});  // the first ship
        for (int f = 0; f < 600; ++f) {
            if (f % 40 < 20)
                hold({kA, kLeft});
            else
                hold({kA});
            if (f == 300) create_first_boss_form();  // the boss theme's hand-over, in both runs
            run_frame();
            uint64_t h = 1469598103934665603ull;
            for (uint32_t p : headless::presented_picture()) h = (h ^ p) * 1099511628211ull;
            hashes.push_back(h);
            hashes.push_back(uint64_t(rnd_state()));  // nor any random number the explosions use
        }
        headless::set_frame_hook(nullptr);
        return hashes;
    };
    const std::vector<uint64_t> plain = run(0), asked = run(5);
    EXPECT_EQ(plain, asked);
}

}  // namespace
