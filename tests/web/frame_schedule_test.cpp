// The browser page's frame schedule: 75 game frames per second whatever the display's rate.
#include "web/frame_schedule.h"

#include <gtest/gtest.h>

namespace {

// Frames run by callbacks every `period_ms` (fractional, as a display's are) over `seconds`.
int frames_over(double period_ms, int seconds, int* most_in_one = nullptr) {
    FrameSchedule schedule(0);
    int total = 0, most = 0;
    for (double t = 0; t < seconds * 1000.0; t += period_ms) {
        const int n = schedule.frames_due(int(t));
        total += n;
        if (n > most) most = n;
    }
    if (most_in_one) *most_in_one = most;
    return total;
}

TEST(FrameSchedule, SeventyFivePerSecondAtEveryDisplayRate) {
    for (double hz : {60.0, 75.0, 120.0, 144.0, 165.0, 240.0}) {
        int most = 0;
        const int frames = frames_over(1000.0 / hz, 10, &most);
        EXPECT_NEAR(frames, 750, 1) << hz << " Hz";
        EXPECT_LE(most, 2) << hz << " Hz";
    }
    // At 40 Hz every callback but a few runs two.
    EXPECT_NEAR(frames_over(25.0, 10), 750, 1);
}

TEST(FrameSchedule, SlotsFollowTheDesktopSteps) {
    FrameSchedule schedule(1000);
    EXPECT_EQ(schedule.frames_due(1000), 1);  // the first frame at once
    EXPECT_EQ(schedule.frames_due(1012), 0);
    EXPECT_EQ(schedule.frames_due(1013), 1);
    EXPECT_EQ(schedule.frames_due(1025), 0);
    EXPECT_EQ(schedule.frames_due(1026), 1);
    EXPECT_EQ(schedule.frames_due(1039), 0);  // the third step is 14 ms
    EXPECT_EQ(schedule.frames_due(1040), 1);
}

TEST(FrameSchedule, LateCallbacksCatchUpTwoAtATimeAndLongStallsStartAgain) {
    FrameSchedule schedule(0);
    EXPECT_EQ(schedule.frames_due(0), 1);
    // 60 ms late: four slots have come; two now, the rest in the next callbacks.
    EXPECT_EQ(schedule.frames_due(60), 2);
    EXPECT_EQ(schedule.frames_due(61), 2);
    EXPECT_EQ(schedule.frames_due(62), 0);
    // A hidden tab for five seconds: one frame, then the ordinary pace, never a burst.
    EXPECT_EQ(schedule.frames_due(5000), 1);
    EXPECT_EQ(schedule.frames_due(5005), 0);
    EXPECT_EQ(schedule.frames_due(5012), 0);
    EXPECT_EQ(schedule.frames_due(5014), 1);
}

}  // namespace
