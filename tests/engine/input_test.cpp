// Keyboard hit counting, focus, the close request and the scripted pad of the headless backend.
#include <gtest/gtest.h>

#include <array>

#include "engine/engine.h"
#include "engine/headless.h"
#include "tests/engine/headless_fixture.h"

namespace {

using enginetest::HeadlessScreen;

constexpr int kA = 65, kS = 83;

std::array<bool, 256> held(std::initializer_list<int> keys) {
    std::array<bool, 256> h{};
    for (int k : keys) h[size_t(k)] = true;
    return h;
}

class Keys : public HeadlessScreen {};

TEST_F(Keys, AKeyHeldForManyFramesIsOneHit) {
    for (int i = 0; i < 30; ++i) headless::set_keys_held(held({kA}));
    EXPECT_EQ(key_down(kA), 1);
    EXPECT_EQ(key_hit(kA), 1);
    EXPECT_EQ(key_hit(kA), 0);  // reading resets the count
    EXPECT_EQ(key_down(kA), 1);
    headless::set_keys_held(held({}));
    EXPECT_EQ(key_down(kA), 0);
}

TEST_F(Keys, TwoPressesBetweenReadsCountTwo) {
    headless::set_keys_held(held({kS}));
    headless::set_keys_held(held({}));
    headless::set_keys_held(held({kS, kA}));
    EXPECT_EQ(key_hit(kS), 2);
    EXPECT_EQ(key_hit(kA), 1);
    EXPECT_EQ(key_hit(27), 0);
}

TEST_F(Keys, LosingFocusClearsKeysAndHitsAndIgnoresKeysUntilRegained) {
    headless::set_keys_held(held({kA}));
    headless::set_focus(false);
    EXPECT_EQ(key_down(kA), 0);
    EXPECT_EQ(key_hit(kA), 0);
    headless::set_keys_held(held({kA, kS}));
    EXPECT_EQ(key_down(kS), 0);
    headless::set_focus(true);
    headless::set_keys_held(held({kA}));
    EXPECT_EQ(key_down(kA), 1);
    EXPECT_EQ(key_hit(kA), 1);
}

TEST_F(Keys, TheCloseRequestIsReportedOnce) {
    EXPECT_EQ(app_terminate(), 0);
    headless::request_close();
    EXPECT_EQ(app_terminate(), 1);
    EXPECT_EQ(app_terminate(), 0);
}

TEST_F(Keys, ThePadReportsAxesAndButtonsOnPortZeroOnly) {
    EXPECT_EQ(joy_x(0), 0.0f);
    EXPECT_EQ(joy_down(0, 0), 0);
    headless::set_pad(0.75f, -1.0f, 0b10);
    EXPECT_EQ(joy_x(0), 0.75f);
    EXPECT_EQ(joy_y(0), -1.0f);
    EXPECT_EQ(joy_down(0, 0), 0);
    EXPECT_EQ(joy_down(1, 0), 1);
    EXPECT_EQ(joy_x(1), 0.0f);
    EXPECT_EQ(joy_down(1, 1), 0);
    EXPECT_EQ(joy_down(40, 0), 0);
}

TEST(ProgramEnd, EndProgramThrowsQuitWithCodeZero) {
    try {
        end_program();
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code, 0);
        EXPECT_STREQ(e.reason, "quit");
        return;
    }
    FAIL();
}

TEST(ProgramEnd, FatalErrorPrintsOneLineAndExitsWithOne) {
    EXPECT_EXIT(fatal_error("gfx/missing.bmp: cannot load"), ::testing::ExitedWithCode(1),
                "cinder-arc: gfx/missing.bmp: cannot load");
}

}  // namespace
