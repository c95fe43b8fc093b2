// Effects and particle bursts: lifetimes, drift, spark counts and the order of random numbers.
#include <gtest/gtest.h>

#include <vector>

#include "frontend/settings_file.h"
#include "player/effect.h"
#include "player/particle.h"
#include "tests/player/player_fixture.h"

namespace {

using playertest::PlayerTest;

class Effects : public PlayerTest {
  protected:
    // Updates until the effect list is empty; the number of updates that drew `image`.
    static int updates_drawn(const TImage* image) {
        int n = 0;
        for (int guard = 0; guard < 1000 && !effect_list->empty(); ++guard) {
            update(effect_list, kind_t_effect | kind_t_particle);
            if (!drawn(image).empty()) ++n;
        }
        return n;
    }
};

TEST_F(Effects, AnExplosionShowsOn30Updates) {
    t_effect::create(img_explosion2, 100.0f, 100.0f, 90.0f, 0.0f, 0, 5, 4, 0);
    std::vector<int> frames;
    for (int i = 0; i < 30; ++i) {
        update(effect_list, kind_t_effect);
        frames.push_back(drawn(img_explosion2).at(0).frame);
    }
    EXPECT_TRUE(effect_list->empty());
    // 4 + 5 + 5 + 5 + 5 + 6
    std::vector<int> expected;
    const int shown[6] = {4, 5, 5, 5, 5, 6};
    for (int f = 0; f < 6; ++f) expected.insert(expected.end(), size_t(shown[f]), f);
    EXPECT_EQ(frames, expected);
}

TEST_F(Effects, ASingleFrameWithoutDelayIsDrawnOnce) {
    t_effect::create(img_ringblue, 100.0f, 100.0f, 0.0f, 0.0f, 3, 3, 0, 1);
    EXPECT_EQ(updates_drawn(img_ringblue), 1);
}

TEST_F(Effects, DriftsAlongItsAngleOrStaysWithSpeedZero) {
    t_effect::create(img_ringgreen, 100.0f, 100.0f, 90.0f, 0.5f, 0, 5, 5, 1);
    t_effect::create(img_ringblue, 50.0f, 50.0f, 37.0f, 0.0f, 0, 5, 5, 1);
    update(effect_list, kind_t_effect, 4);
    auto effects = all<t_effect>(effect_list, kind_t_effect);
    EXPECT_EQ(effects[0]->x, 100.0f);
    EXPECT_EQ(effects[0]->y, 102.0f);
    EXPECT_EQ(effects[1]->x, 50.0f);
    EXPECT_EQ(effects[1]->y, 50.0f);
}

TEST_F(Effects, ABurstLives82Updates) {
    t_particle::create(100.0f, 100.0f);
    std::vector<int> frames;
    int updates = 0;
    while (!effect_list->empty() && updates < 200) {
        update(effect_list, kind_t_particle);
        ++updates;
        frames.push_back(drawn(img_particle1).at(0).frame);
    }
    EXPECT_EQ(updates, 82);
    EXPECT_EQ(frames[9], 0);
    EXPECT_EQ(frames[10], 1);
    EXPECT_EQ(frames[17], 1);
    EXPECT_EQ(frames[18], 2);
    EXPECT_EQ(frames[81], 9);
}

TEST_F(Effects, TheSparkCountIsTheSettingAtCreation) {
    setting_particles = 10;
    t_particle::create(100.0f, 100.0f);
    setting_particles = 40;
    t_particle::create(50.0f, 50.0f);
    setting_particles = 25;
    update(effect_list, kind_t_particle);
    EXPECT_EQ(drawn(img_particle1).size(), 50u);
    update(effect_list, kind_t_particle);
    EXPECT_EQ(drawn(img_particle1).size(), 50u);
}

TEST_F(Effects, SparksDrawFourNumbersEachInOrderOnTheFirstUpdateOnly) {
    setting_particles = 12;
    seed_rnd(777);
    t_particle::create(80.0f, 60.0f);
    t_particle* burst = last<t_particle>(effect_list, kind_t_particle);
    update(effect_list, kind_t_particle);
    const int after_first = rnd_state();
    seed_rnd(777);
    for (size_t i = 0; i < 12; ++i) {
        float sx = float(double(78.0f) + rnd(0, 4));
        float sy = float(double(58.0f) + rnd(0, 4));
        const float angle = float(rnd(0, 360));
        const float speed = float(0.3 + rnd(0, 0.3));
        sx = float(double(sx) + cos_deg(angle) * double(speed));
        sy = float(double(sy) + sin_deg(angle) * double(speed));
        EXPECT_EQ(burst->spark_x[i], sx) << i;
        EXPECT_EQ(burst->spark_y[i], sy) << i;
        EXPECT_EQ(burst->spark_angle[i], angle) << i;
        EXPECT_EQ(burst->spark_speed[i], speed) << i;
        EXPECT_GE(speed, 0.3f);
        EXPECT_LT(speed, 0.6f);
    }
    EXPECT_EQ(rnd_state(), after_first);
    update(effect_list, kind_t_particle, 5);
    EXPECT_EQ(rnd_state(), after_first);  // later updates draw none
}

}  // namespace
