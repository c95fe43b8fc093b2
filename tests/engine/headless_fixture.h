// A fixture for the engine's tests on the headless backend: a fresh 640 x 480 screen paced at 75
// per second, default drawing state and load settings, and nothing scripted left behind.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/engine.h"
#include "engine/headless.h"
#include "tests/engine/engine_test_files.h"

namespace enginetest {

inline void reset_engine_state() {
    set_rotation(0);
    set_scale(1, 1);
    set_color(255, 255, 255);
    set_mask_color(255, 0, 255);
    auto_mid_handle(1);
    auto_image_flags(1);
    headless::set_render(true);
    headless::set_frame_hook(nullptr);
    headless::set_present_hook(nullptr);
    headless::set_frame_limit(0);
    headless::set_focus(true);
    headless::set_pad(0, 0, 0);
    headless::clear_sound_log();
    headless::allow_late_start(false);
    set_late_start(false);
    app_terminate();
}

class HeadlessScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(engine_init(Backend::headless));
        ASSERT_TRUE(graphics(640, 480, 0, 75, 0));
        reset_engine_state();
        dir_ = scratch_dir("screen");
    }
    void TearDown() override {
        reset_engine_state();
        std::filesystem::remove_all(dir_);
    }
    std::string at(const std::string& name) const { return dir_ + "/" + name; }
    // One frame with `draw` in it, presented without pacing.
    template <class F>
    void frame(F&& draw) {
        cls();
        draw();
        flip(0);
    }
    static uint32_t px(int x, int y) { return headless::presented_pixel(x, y); }

    std::string dir_;
};

}  // namespace enginetest
