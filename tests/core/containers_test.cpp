// The four containers (shots, destruction order, drops, the ride on the map) and what the
// spawner creates for each object code.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/container1.h"
#include "core/container2.h"
#include "core/game_flow.h"
#include "core/powercontainer1.h"
#include "core/powercontainer2.h"
#include "core/scroll.h"
#include "core/stage_map.h"
#include "enemies/enemy1.h"
#include "player/bonus2.h"
#include "player/effect.h"
#include "player/particle.h"
#include "player/powerup.h"
#include "player/shot1.h"
#include "player/shot2.h"
#include "player/trigger.h"
#include "tests/player/player_fixture.h"

namespace {

using playertest::PlayerTest;

class Containers : public PlayerTest {
  protected:
    static void update_all(int times = 1) { update(levelobject_list, kind_t_levelobject, times); }
    static std::vector<std::pair<float, float>> powerups() {
        std::vector<std::pair<float, float>> out;
        for (t_powerup* p : all<t_powerup>(pickup_list, kind_t_powerup)) out.emplace_back(p->x, p->y);
        return out;
    }
};

// Each kind, shot by main-gun shots (10, hit size 3) one a frame: the first touches the right
// edge of its square and hits, with a flash of the kind's delay, while one a unit beyond the left
// edge does not. Then the shots needed, score, power-ups, explosions (with the kind's delay) and
// sound. Last, scrolling: one at its removal limit leaves after its step, one a unit above stays.
TEST_F(Containers, EachKindsShotsScoreDropsAndSound) {
    using Points = std::vector<std::pair<float, float>>;
    const Points centre = {{100, 100}}, corners = {{92, 92}, {92, 108}, {108, 92}, {108, 108}};
    struct Case {
        const char* name;
        void (*make)(int32_t x, int32_t y);
        float hit_size;
        int hp;
        uint8_t flash_delay, explosion_delay;
        float limit;
        int shots;
        int32_t points;
        Points powerups, explosions;
        TSound* sound;
        int channel;
    };
    const Case cases[] = {
        {"powercontainer1", &t_powercontainer1::create, 7, 20, 2, 4, 256, 2, 200, centre, centre,
         snd_explosion1, 4},
        {"powercontainer2", &t_powercontainer2::create, 14, 100, 4, 5, 272, 10, 800, corners, corners,
         snd_explosion2, 5},
        {"container1", &t_container1::create, 7, 20, 2, 4, 256, 2, 200, {}, centre, snd_explosion1, 4},
        {"container2",
         [](int32_t x, int32_t y) { t_container2::create(x, y, 0); },
         14,
         100,
         4,
         5,
         272,
         10,
         800,
         {},
         corners,
         snd_explosion2,
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.make(100, 100);
        t_shot1::create(100.0f + c.hit_size + 3.0f, 100.0f, 270.0f, 0.0f);
        t_shot1::create(100.0f - c.hit_size - 4.0f, 100.0f, 270.0f, 0.0f);
        update_all();
        ASSERT_EQ(levelobject_list->count(), 1u);
        EXPECT_EQ(last<t_levelobject>(levelobject_list, kind_t_levelobject)->hp, c.hp - 10);
        EXPECT_EQ(shot_list->count(), 1u);
        ASSERT_EQ(all<t_effect>(effect_list, kind_t_effect).size(), 1u);
        EXPECT_EQ(last<t_effect>(effect_list, kind_t_effect)->delay, c.flash_delay);
        shot_list->clear();
        int shots = 1;
        while (!levelobject_list->empty() && shots < 20) {
            t_shot1::create(100.0f, 100.0f, 270.0f, 0.0f);
            ++shots;
            update_all();
        }
        EXPECT_EQ(shots, c.shots);
        EXPECT_EQ(score, c.points);
        EXPECT_EQ(powerups(), c.powerups);
        EXPECT_EQ(all<t_particle>(effect_list, kind_t_particle).size(), 1u);
        Points explosions;
        for (t_effect* e : all<t_effect>(effect_list, kind_t_effect)) {
            if (e->image != img_explosion2) continue;
            explosions.emplace_back(e->x, e->y);
            EXPECT_EQ(e->delay, c.explosion_delay);
        }
        EXPECT_EQ(explosions, c.explosions);
        ASSERT_FALSE(sounds().empty());
        EXPECT_EQ(sounds().back(), (std::pair<const TSound*, int>{c.sound, c.channel}));
        EXPECT_TRUE(all<t_bonus2>(pickup_list, kind_t_bonus2).empty());
        levelobject_list->clear();
        scrolling = 1;
        c.make(100, int32_t(c.limit) - 1);
        c.make(150, int32_t(c.limit));
        update_all();
        ASSERT_EQ(levelobject_list->count(), 1u);
        EXPECT_EQ(last<t_levelobject>(levelobject_list, kind_t_levelobject)->x, 100.0f);
    }
}

// One shot leaves a small container at 10 with one small flash at the shot; all overlapping
// shots are consumed, also past the one that destroys it.
TEST_F(Containers, ShotsFlashAtTheShotAndAreAllConsumed) {
    t_container1::create(100, 100);
    t_shot1::create(104.0f, 96.0f, 270.0f, 0.0f);
    t_shot1::create(160.0f, 100.0f, 270.0f, 0.0f);  // elsewhere
    update_all();
    EXPECT_EQ(last<t_container1>(levelobject_list, kind_t_container1)->hp, 10);
    ASSERT_EQ(all<t_effect>(effect_list, kind_t_effect).size(), 1u);
    const t_effect* flash = last<t_effect>(effect_list, kind_t_effect);
    EXPECT_EQ(flash->image, img_explosion1);
    EXPECT_EQ(flash->x, 104.0f);
    EXPECT_EQ(flash->y, 96.0f);
    EXPECT_EQ(flash->delay, 2);
    EXPECT_EQ(shot_list->count(), 1u);

    t_powercontainer2::create(50, 50);
    for (int i = 0; i < 4; ++i) t_shot2::create(50.0f, 50.0f, 270.0f, 0.0f);
    update_all();
    EXPECT_EQ(shot_list->count(), 1u);  // four 30s consumed, the distant shot kept
    EXPECT_EQ(powerups(), (std::vector<std::pair<float, float>>{{42, 42}, {42, 58}, {58, 42}, {58, 58}}));
    EXPECT_EQ(levelobject_list->count(), 1u);
}

// The item only while fewer than ten were given in the game, and never from code 4's container.
TEST_F(Containers, TheLargeContainersItem) {
    for (const auto& [drop, index, expected] :
         {std::tuple{1, 9, 1u}, std::tuple{1, 10, 0u}, std::tuple{0, 0, 0u}}) {
        TearDown();
        SetUp();
        item_index = index;
        t_container2::create(100, 100, drop);
        last<t_container2>(levelobject_list, kind_t_container2)->hp = 10;
        t_shot1::create(100.0f, 100.0f, 270.0f, 0.0f);
        update_all();
        const auto items = all<t_bonus2>(pickup_list, kind_t_bonus2);
        EXPECT_EQ(items.size(), expected) << drop << " " << index;
        for (const t_bonus2* item : items) EXPECT_EQ(std::pair(item->x, item->y), std::pair(100.0f, 100.0f));
    }
}

// Held map: still, and explosions stay put; scrolling: down by 0.5, drawn once more at the
// limit (256 small, 272 large) and removed.
TEST_F(Containers, RidingTheMapAndLeavingIt) {
    scrolling = 0;
    t_container1::create(100, -8);
    update_all(10);
    EXPECT_EQ(last<t_container1>(levelobject_list, kind_t_container1)->y, -8.0f);
    t_container1::create(50, 50);
    last<t_container1>(levelobject_list, kind_t_container1)->hp = 5;
    t_shot1::create(50.0f, 50.0f, 270.0f, 0.0f);
    update_all();
    for (t_effect* e : all<t_effect>(effect_list, kind_t_effect)) EXPECT_EQ(e->speed, 0.0f);
    levelobject_list->clear();

    scrolling = 1;
    t_container1::create(100, 255);     // 255.5, then 256: still there
    t_container2::create(150, 272, 0);  // 272.5 at once: past the large kinds' limit
    update_all();
    EXPECT_EQ(levelobject_list->count(), 1u);
    EXPECT_EQ(drawn(img_container2).size(), 1u);
    EXPECT_EQ(drawn(img_container2)[0].y, 545.0f);
    EXPECT_EQ(drawn(img_container2)[0].frame, 0);
    update_all(2);
    EXPECT_EQ(levelobject_list->count(), 0u);
    EXPECT_EQ(drawn(img_container1).size(), 1u);
    EXPECT_EQ(drawn(img_container1)[0].y, 513.0f);
}

// Every code of the stage file creates its class at its spot, with the argument types of the
// class: containers whole numbers, enemies and wave markers floats.
TEST_F(Containers, TheSpawnerCreatesEachCodesObject) {
    struct Case {
        int32_t code;
        TList** list;
        uint32_t kind;
        float x, y;
    };
    const Case cases[] = {
        {1, &levelobject_list, kind_t_powercontainer1, 56, -8},
        {2, &levelobject_list, kind_t_powercontainer2, 64, -16},
        {3, &levelobject_list, kind_t_container1, 56, -8},
        {4, &levelobject_list, kind_t_container2, 64, -16},
        {5, &levelobject_list, kind_t_container2, 64, -16},
        {6, &enemy_list, kind_t_enemy1, 56, -8},
        {7, &enemy_list, kind_t_enemy2, 64, -16},
        {8, &levelobject_list, kind_t_trigger, 56, -8},
        {9, &levelobject_list, kind_t_trigger, 56, -8},
        {10, &levelobject_list, kind_t_trigger, 56, -8},
        {11, &enemy_list, kind_t_enemy4, 64, -16},
        {12, &enemy_list, kind_t_enemy5, 56, -8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        TearDown();
        SetUp();
        create_coded_object(c.code, coded_object_spot(c.code, 3));
        size_t objects = 0;
        for (TList* l : {levelobject_list, enemy_list, pickup_list, bullet_list}) objects += l->count();
        ASSERT_EQ(objects, 1u);
        TObject* o = nullptr;
        (*c.list)->walk([&o](TObject* each) { o = each; });
        ASSERT_TRUE(o && o->is_a(c.kind));
        float x = 0, y = 0;
        if (o->is_a(kind_t_levelobject))
            x = static_cast<t_levelobject*>(o)->x, y = static_cast<t_levelobject*>(o)->y;
        if (o->is_a(kind_t_enemy)) x = static_cast<t_enemy*>(o)->x, y = static_cast<t_enemy*>(o)->y;
        if (o->is_a(kind_t_trigger)) {
            auto* t = static_cast<t_trigger*>(o);
            x = t->x, y = t->y;
            EXPECT_EQ(t->count, c.code == 8 ? 4 : c.code == 9 ? 6 : 8);
            EXPECT_EQ(t->interval, 12);
            EXPECT_EQ(t->kind, 3);
        }
        if (o->is_a(kind_t_container2)) {
            EXPECT_EQ(static_cast<t_container2*>(o)->drop, c.code == 5 ? 1 : 0);
        }
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
}

}  // namespace
