// Which game frames a browser animation callback runs: the 13, 13, 14 ms slots of 75 per second.
#pragma once

// The page is redrawn at the display's rate (60, 120, 144 Hz ...), the game advances at 75 frames
// per second of real time: each callback runs the frames whose slots have come, at most two. A
// callback that comes late leaves its extra frames to the next ones; a page stalled or hidden for
// longer than kMaxBehindMs starts the schedule again from now instead of answering with a burst.
class FrameSchedule {
  public:
    static constexpr int kHertz = 75, kMaxPerCallback = 2, kMaxBehindMs = 250;

    explicit FrameSchedule(int now_ms) : next_(now_ms) {}

    // How many frames to run at `now_ms`.
    int frames_due(int now_ms) {
        if (now_ms - next_ > kMaxBehindMs) next_ = now_ms;
        int n = 0;
        while (n < kMaxPerCallback && now_ms >= next_) {
            advance();
            ++n;
        }
        return n;
    }

  private:
    // 13, 13, 14 ms ...: 75 slots in every 1000 ms, as the desktop's pacing.
    void advance() {
        next_ += 1000 / kHertz;
        accumulator_ += 1000 - (1000 / kHertz) * kHertz;
        if (accumulator_ >= kHertz) {
            accumulator_ -= kHertz;
            next_ += 1;
        }
    }

    int next_;
    int accumulator_ = 0;
};
