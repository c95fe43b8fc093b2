// Which game frames a browser animation callback runs: the 13, 13, 14 ms slots of 75 per second.
#pragma once

// The page is redrawn at the display's rate (60, 120, 144 Hz ...), the game advances at 75 frames
// per second of real time: each callback runs the frames whose slots have come, at most two, so
// a slow or hidden page never answers with a burst of catch-up frames.
class FrameSchedule {
  public:
    static constexpr int kHertz = 75, kMaxPerCallback = 2;

    explicit FrameSchedule(int now_ms) : next_(now_ms) {}

    // How many frames to run at `now_ms`. Past the limit the schedule starts again from now, as
    // the desktop's pacing does after a late frame.
    int frames_due(int now_ms) {
        int n = 0;
        while (n < kMaxPerCallback && now_ms >= next_) {
            advance();
            ++n;
        }
        if (now_ms >= next_) {
            next_ = now_ms;
            advance();
        }
        return n;
    }

  private:
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
