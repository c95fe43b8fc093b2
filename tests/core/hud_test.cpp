// The head-up display: what it draws where, and the three counters it keeps.
#include "core/hud.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/assets.h"
#include "core/entities.h"
#include "core/game_flow.h"
#include "core/objects.h"
#include "core/scroll.h"
#include "engine/headless.h"
#include "player/ship.h"
#include "tests/support/game_fixture.h"

namespace {

using headless::DrawRecord;

struct TestShip : t_player {
    TestShip(uint8_t power_, uint8_t hypers_, uint8_t hyper_timer_) {
        power = power_;
        hypers = hypers_;
        hyper_timer = hyper_timer_;
    }
};

class Hud : public testsupport::GameTest {
  protected:
    std::vector<DrawRecord> frame() {
        cls();
        draw_hud();
        return headless::draw_log();
    }
    // The frames of `font` drawn on screen row y (screen pixels), left to right.
    static std::vector<int> glyphs(const std::vector<DrawRecord>& log, const TImage* font, float y) {
        std::vector<int> out;
        for (const DrawRecord& r : log)
            if (r.kind == DrawRecord::image && r.img == font && r.y == y) out.push_back(r.frame);
        return out;
    }
    static std::vector<DrawRecord> rects(const std::vector<DrawRecord>& log) {
        std::vector<DrawRecord> out;
        for (const DrawRecord& r : log)
            if (r.kind == DrawRecord::rect) out.push_back(r);
        return out;
    }
};

TEST_F(Hud, ScoreIsZeroPaddedToEightDigitsAtSpacingNine) {
    score = 1234;
    auto log = frame();
    EXPECT_EQ(glyphs(log, img_font2, 20), (std::vector<int>{0, 0, 0, 0, 1, 2, 3, 4}));
    std::vector<float> xs;
    for (const DrawRecord& r : log)
        if (r.img == img_font2 && r.y == 20) xs.push_back(r.x);
    EXPECT_EQ(xs.front(), 500.0f);
    EXPECT_EQ(xs[1], 518.0f);
}

TEST_F(Hud, LongScoresAreDrawnWhole) {
    score = 123456789;
    EXPECT_EQ(glyphs(frame(), img_font2, 20).size(), 9u);
}

TEST_F(Hud, ReserveShipsFollowP) {
    lives = 0;
    EXPECT_EQ(glyphs(frame(), img_font2, 60), (std::vector<int>{'P' - 48, '=' - 48, 0}));
}

TEST_F(Hud, GameOverIsShownOnlyWhileTheCountdownRuns) {
    EXPECT_TRUE(glyphs(frame(), img_font2, 240).empty());
    game_over_timer = 10;
    EXPECT_EQ(glyphs(frame(), img_font2, 240).size(), 9u);
}

TEST_F(Hud, BetweenShipsOnlyThePanelAndTheChainBarAreFilled) {
    auto r = rects(frame());
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].x, 480.0f);  // the black side panel first
    EXPECT_EQ(r[0].r + r[0].g + r[0].b, 0);
    EXPECT_EQ(r[1].r, 248);  // the chain bar
}

TEST_F(Hud, PowerFillRoundsDownAndGrowsUpFrom175) {
    player_list->append(new TestShip(100, 2, 150));
    auto r = rects(frame());
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(r[1].r, 186);
    EXPECT_EQ(r[1].y, 250.0f);  // 125 game units
    EXPECT_EQ(r[1].h, 100.0f);  // 50 units
    EXPECT_EQ(r[2].g, 232);     // hyper-field time: 150 / 4 = 37 units
    EXPECT_EQ(r[2].w, 74.0f);
    player_list->clear();
    player_list->append(new TestShip(1, 0, 3));
    r = rects(frame());
    EXPECT_EQ(r[1].h, 0.0f);
    EXPECT_EQ(r[2].w, 0.0f);
}

TEST_F(Hud, OneHyperIconPerRemainingField) {
    player_list->append(new TestShip(0, 3, 0));
    auto log = frame();
    std::vector<float> xs;
    for (const DrawRecord& r : log)
        if (r.img == img_hypericon) xs.push_back(r.x);
    EXPECT_EQ(xs, (std::vector<float>{540, 572, 604}));
}

TEST_F(Hud, ChainLapsesWhenItsTimerRunsOut) {
    chain_timer = 2.0f;
    chain_level = 5;
    frame();
    EXPECT_EQ(chain_timer, 1.0f);
    EXPECT_EQ(chain_level, 5);
    frame();
    EXPECT_EQ(chain_timer, 0.0f);
    EXPECT_EQ(chain_level, 0);
}

TEST_F(Hud, ChainValuesUseTheSmallFont) {
    chain_timer = 10.0f;  // a running chain keeps its level
    chain_level = 19;
    chain_value_shown = 300;
    auto log = frame();
    EXPECT_EQ(glyphs(log, img_font3, 100), (std::vector<int>{1, 0, 0, 0, 0}));
    EXPECT_EQ(glyphs(log, img_font3, 160), (std::vector<int>{3, 0, 0}));
}

TEST_F(Hud, SpinCyclesEveryFortyFiveFrames) {
    for (int i = 0; i < 44; ++i) frame();
    EXPECT_EQ(hud_spin, 352);
    frame();
    EXPECT_EQ(hud_spin, 0);
}

TEST_F(Hud, BannerShowsFor149FramesAndStartsTheScrollInTheLast) {
    stage_banner_timer = 150;
    int shown = 0;
    for (int i = 1; i <= 150; ++i) {
        auto log = frame();
        if (!glyphs(log, img_font2, 180).empty()) ++shown;
        EXPECT_EQ(scrolling, i >= 149 ? 1 : 0) << "frame " << i;
        if (i == 1) {
            EXPECT_EQ(glyphs(log, img_font2, 220).size(), 17u);  // PLANET=ATMOSPHERE
        }
    }
    EXPECT_EQ(shown, 149);
    EXPECT_EQ(stage_banner_timer, 0);
}

}  // namespace
