// The headless frame loop: hooks, frame numbers and the limit, the draw log, rendering off, and
// flip's software pacing on the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "engine/engine.h"
#include "engine/headless.h"
#include "engine/late_start.h"
#include "tests/engine/headless_fixture.h"

namespace {

using enginetest::HeadlessScreen;

class FrameLoop : public HeadlessScreen {};

TEST_F(FrameLoop, HooksSeeEachFrameNumberInOrder) {
    std::vector<int> begun, presented;
    headless::set_frame_hook([&](int f) { begun.push_back(f); });
    headless::set_present_hook([&](int f) { presented.push_back(f); });
    const int first = headless::frames_begun();
    for (int i = 0; i < 3; ++i) {
        cls();
        EXPECT_EQ(headless::frames_begun(), first + i + 1);
        flip(-1);
    }
    EXPECT_EQ(begun, (std::vector<int>{first, first + 1, first + 2}));
    EXPECT_EQ(presented, begun);
}

TEST_F(FrameLoop, TheFrameLimitEndsTheProgramAfterThatFramesPresentAndWait) {
    const int first = headless::frames_begun();
    headless::set_frame_limit(first + 2);
    int presented_last = -1;
    headless::set_present_hook([&](int f) { presented_last = f; });
    cls();
    flip(-1);
    cls();
    const int before = headless::virtual_ms();
    try {
        flip(-1);
        FAIL() << "no ProgramExit";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code, 0);
        EXPECT_STREQ(e.reason, "frames");
    }
    EXPECT_EQ(presented_last, first + 1);
    EXPECT_GE(headless::virtual_ms() - before, 13);  // the pacing wait happened first
}

TEST_F(FrameLoop, TheDrawLogHoldsTheCurrentFramesCallsWithTheirState) {
    write_bmp(at("img.bmp"), 4, 4, std::vector<enginetest::Rgba>(16, enginetest::Rgba{9, 9, 9}), 24);
    TImage* img = load_image(at("img.bmp"), -1);
    ASSERT_NE(img, nullptr);
    cls();
    draw_rect(1, 2, 3, 4);
    set_scale(2, 2);
    set_rotation(45);
    set_color(10, 20, 30);
    draw_image(img, 5, 6, 0);
    set_color(255, 255, 255);
    set_rotation(0);
    set_scale(1, 1);
    draw_text("hi", 7, 8);
    const auto log = headless::draw_log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, headless::DrawRecord::rect);
    EXPECT_EQ(log[0].w, 3.0f);
    EXPECT_EQ(log[0].h, 4.0f);
    EXPECT_EQ(log[1].kind, headless::DrawRecord::image);
    EXPECT_EQ(log[1].img, img);
    EXPECT_EQ(log[1].x, 5.0f);
    EXPECT_EQ(log[1].scale_x, 2.0f);
    EXPECT_EQ(log[1].rotation, 45.0f);
    EXPECT_EQ(log[1].g, 20);
    EXPECT_EQ(log[2].kind, headless::DrawRecord::debug_text);
    EXPECT_EQ(log[2].text, "hi");
    EXPECT_EQ(log[2].r, 255);
    flip(0);
    EXPECT_EQ(headless::draw_log().size(), 3u);  // kept until the next frame begins
    cls();
    EXPECT_TRUE(headless::draw_log().empty());
    flip(0);
}

TEST_F(FrameLoop, WithRenderingOffOnlyTheLogIsKept) {
    frame([] { draw_rect(0, 0, 640, 480); });
    ASSERT_EQ(px(10, 10), 0xFFFFFFu);
    headless::set_render(false);
    cls();
    set_color(255, 0, 0);
    draw_rect(0, 0, 640, 480);
    set_color(255, 255, 255);
    EXPECT_EQ(headless::draw_log().size(), 1u);
    flip(0);
    EXPECT_EQ(px(10, 10), 0xFFFFFFu);  // the picture presented earlier stays
}

TEST_F(FrameLoop, EveryFramesWorkIsTimed) {
    const size_t before = headless::frame_work_us().size();
    for (int i = 0; i < 4; ++i) frame([] {});
    ASSERT_EQ(headless::frame_work_us().size(), before + 4);
    for (size_t i = before; i < before + 4; ++i) EXPECT_GE(headless::frame_work_us()[i], 0.0);
}

class Pacing : public HeadlessScreen {
  protected:
    // Frame durations on the virtual clock, from one flip to the next.
    std::vector<int> paced_frames(int n) {
        std::vector<int> steps;
        for (int i = 0; i < n; ++i) {
            const int t = headless::virtual_ms();
            cls();
            flip(-1);
            steps.push_back(headless::virtual_ms() - t);
        }
        return steps;
    }
};

TEST_F(Pacing, SeventyFiveFramesTakeExactlyOneSecondInSteps13_13_14) {
    const int start = headless::virtual_ms();
    const std::vector<int> steps = paced_frames(75);
    EXPECT_EQ(headless::virtual_ms() - start, 1000);
    EXPECT_EQ(steps[0], 13);
    EXPECT_EQ(steps[1], 13);
    EXPECT_EQ(steps[2], 14);
    for (int s : steps) EXPECT_TRUE(s == 13 || s == 14) << s;
    EXPECT_EQ(millisecs(), headless::virtual_ms());
}

TEST_F(Pacing, AStallIsNotFollowedByShortFrames) {
    paced_frames(5);
    const int t = headless::virtual_ms();
    cls();
    headless::advance_ms(100);
    flip(-1);
    EXPECT_EQ(headless::virtual_ms() - t, 100);  // late: no wait at all
    for (int s : paced_frames(20)) EXPECT_TRUE(s == 13 || s == 14) << s;
}

TEST_F(Pacing, WorkInsideTheSlotIsAbsorbed) {
    paced_frames(3);
    const int t = headless::virtual_ms();
    cls();
    headless::advance_ms(9);
    flip(-1);
    const int took = headless::virtual_ms() - t;
    EXPECT_TRUE(took == 13 || took == 14) << took;
}

TEST_F(Pacing, FramesArePresentedAtTheirSlotsHoweverLongTheirWorkTook) {
    paced_frames(3);  // the 13, 13, 14 pattern starts again here
    std::vector<int> presented_at;
    headless::set_present_hook([&](int) { presented_at.push_back(headless::virtual_ms()); });
    const int start = headless::virtual_ms();
    for (int i = 0; i < 9; ++i) {
        cls();
        headless::advance_ms(i % 2 ? 10 : 1);  // work that varies from frame to frame
        flip(-1);
    }
    std::vector<int> after_start;
    for (int t : presented_at) after_start.push_back(t - start);
    EXPECT_EQ(after_start, (std::vector<int>{13, 26, 40, 53, 66, 80, 93, 106, 120}));
}

TEST_F(Pacing, ZeroHertzAndExplicitSyncDoNotWait) {
    const int t = headless::virtual_ms();
    cls();
    flip(0);
    EXPECT_EQ(headless::virtual_ms(), t);
    ASSERT_TRUE(graphics(640, 480, 0, 0, 0));
    cls();
    flip(-1);
    EXPECT_EQ(headless::virtual_ms(), t);
}

// A full screen paced by the display presents with vsync and no wait of ours; back in a window the
// game paces itself, and vsync must go off with it. Back in full screen the game keeps its own.
TEST_F(Pacing, LeavingTheDisplaysPacingTurnsVsyncOffBothWays) {
    ASSERT_TRUE(graphics(640, 480, 32, 75, 0));
    headless::pretend_display_pacing();
    const int t = headless::virtual_ms();
    for (int i = 0; i < 3; ++i) {
        cls();
        flip(-1);
    }
    EXPECT_EQ(headless::virtual_ms(), t);  // the display waits, not the game
    EXPECT_EQ(headless::renderer_vsync(), 1);
    for (bool full : {false, true, false}) {
        set_full_screen(full);
        EXPECT_EQ(paced_frames(3), (std::vector<int>{13, 13, 14})) << full;
        EXPECT_EQ(headless::renderer_vsync(), 0) << full;
    }
}

}  // namespace

namespace {

// The late start on the virtual clock: a frame's work is the time a test advances the clock by
// between cls and flip. begun: the clock when cls let the frame's work start; shown: when the
// present returned.
class LateStart : public enginetest::HeadlessScreen {
  protected:
    void SetUp() override {
        HeadlessScreen::SetUp();
        headless::allow_late_start(true);
        set_late_start(true);
        headless::set_frame_hook([&](int) { begun.push_back(headless::virtual_ms()); });
        headless::set_present_hook([&](int) { shown.push_back(headless::virtual_ms()); });
    }
    void frames(int n, int work_ms) {
        for (int i = 0; i < n; ++i) {
            cls();
            headless::advance_ms(work_ms);
            flip(-1);
        }
    }
    int interval(size_t i) const { return shown[i] - shown[i - 1]; }
    std::vector<int> begun, shown;
};

TEST_F(LateStart, FramesWaitFirstThenWorkAndStillMeetEverySlot) {
    frames(10, 2);
    const size_t from = shown.size();
    frames(75, 2);
    // 75 frames in exactly a second, on the 13, 13, 14 steps, as without the late start.
    EXPECT_EQ(shown.back() - shown[from - 1], 1000);
    for (size_t i = from; i < shown.size(); ++i) {
        EXPECT_TRUE(interval(i) == 13 || interval(i) == 14) << i;
        // 2 ms of work and 0.5 ms of safety, begun on the whole millisecond before that: the
        // input is read 3 ms before the picture, not 13 or 14.
        EXPECT_EQ(shown[i] - begun[i], 3) << i;
    }
    EXPECT_DOUBLE_EQ(headless::late_start_margin_us(), 2500.0);
}

TEST_F(LateStart, ALateFramePresentsAtOnceAndTheScheduleStartsAgainFromIt) {
    frames(10, 2);
    frames(1, 30);
    const size_t late = shown.size() - 1;
    EXPECT_EQ(shown[late] - begun[late], 30);  // no wait after the work
    frames(10, 2);
    for (size_t i = late + 1; i < shown.size(); ++i) EXPECT_TRUE(interval(i) == 13 || interval(i) == 14) << i;
    EXPECT_EQ(shown[late + 3] - shown[late], 40);  // 13, 13, 14 counted from the late present
}

TEST_F(LateStart, TheMarginGrowsWithASlowerFrameAndShrinksWhenItHasLeftTheHistory) {
    frames(50, 2);
    frames(1, 8);  // begun 2.5 ms before its slot: late, once
    EXPECT_DOUBLE_EQ(headless::late_start_margin_us(), 8500.0);
    const size_t from = shown.size();
    frames(20, 8);
    for (size_t i = from; i < shown.size(); ++i) {
        EXPECT_TRUE(interval(i) == 13 || interval(i) == 14) << i;
        EXPECT_EQ(shown[i] - begun[i], 9) << i;
    }
    frames(engine_detail::LateStartMargin::kHistory, 2);
    EXPECT_DOUBLE_EQ(headless::late_start_margin_us(), 2500.0);
}

// A wait that ends late leaves the frame less time than its margin; the margin must learn that
// too, or a loaded machine misses slot after slot while the work alone looks cheap.
TEST_F(LateStart, AWaitThatEndsLateCountsInTheMargin) {
    frames(50, 2);
    headless::late_wake_ms(3);  // the wait ends 2.5 ms after its deadline (it starts on the ms before)
    frames(1, 2);
    EXPECT_DOUBLE_EQ(headless::late_start_margin_us(), 5000.0);  // 2.5 + 2 ms, and the safety
    const size_t from = shown.size();
    frames(20, 2);
    for (size_t i = from; i < shown.size(); ++i) EXPECT_TRUE(interval(i) == 13 || interval(i) == 14) << i;
}

TEST_F(LateStart, TheRunnerKeepsItOffUnlessAllowedAndTheSettingSwitchesItOff) {
    set_late_start(false);
    frames(5, 2);
    for (size_t i = 1; i < shown.size(); ++i) EXPECT_EQ(begun[i], shown[i - 1]) << i;
    set_late_start(true);
    headless::allow_late_start(false);
    frames(5, 2);
    for (size_t i = 6; i < shown.size(); ++i) EXPECT_EQ(begun[i], shown[i - 1]) << i;
}

TEST_F(LateStart, UnderTheDisplaysPacingTheClockIsWaitedOnBeforeTheWork) {
    headless::pretend_display_pacing();
    frames(10, 2);
    // The display shows a frame every 13.33 ms after the last: the work begins its margin before.
    for (size_t i = 2; i < shown.size(); ++i) EXPECT_EQ(begun[i] - shown[i - 1], 10) << i;
}

}  // namespace
