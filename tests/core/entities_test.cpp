// The entity pass: the order of its 16 walks, the layer and mode filters, objects created or
// removed during the pass, and clear_world emptying every list without an update.
#include "core/entities.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/objects.h"
#include "player/bonus.h"
#include "player/ship.h"
#include "tests/support/game_fixture.h"

namespace {

std::vector<std::string> g_updates;  // names, in update order
int g_alive = 0;

// A game object of any class that records its updates; on_update runs inside the update.
template <class Base>
struct Probe : Base {
    template <class... Args>
    explicit Probe(std::string n, Args... args) : Base(args...), name(std::move(n)) {
        ++g_alive;
    }
    ~Probe() override { --g_alive; }
    void update() override {
        g_updates.push_back(name);
        ++updates;
        if (on_update) on_update(this);
    }
    std::string name;
    int updates = 0;
    std::function<void(Probe*)> on_update;
};

using Plain = Probe<TObject>;
using Shot = Probe<t_shot>;
using Container = Probe<t_levelobject>;
using Enemy = Probe<t_enemy>;
using Boss = Probe<t_boss>;
using Bonus = Probe<t_bonus>;
using Ship = Probe<t_player>;

class EntityPass : public testsupport::GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        g_updates.clear();
        g_alive = 0;
    }
    template <class P, class... Args>
    P* add(TList* list, const std::string& name, Args... args) {
        auto* p = new P(name, args...);
        list->append(p);
        return p;
    }
    Enemy* add_enemy(const std::string& name, uint8_t layer) {
        Enemy* e = add<Enemy>(enemy_list, name, kind_t_enemy1);
        e->layer = layer;
        return e;
    }
    Bonus* add_bonus(const std::string& name, uint8_t mode) {
        Bonus* b = add<Bonus>(pickup_list, name);
        b->mode = mode;
        return b;
    }
    // One object of every step of the pass, added in an order unlike the pass's.
    void add_one_of_each() {
        add<Plain>(bullet_list, "16 bullet", kind_t_bullet);
        add<Ship>(player_list, "15 ship");
        add<Plain>(effect_list, "14 particle", kind_t_particle);
        add<Plain>(effect_list, "8 effect", kind_t_effect);
        add_bonus("13 bonus mode 2", 2);
        add_bonus("5 bonus mode 1", 1);
        add<Plain>(pickup_list, "4 bonus2", kind_t_bonus2);
        add<Plain>(pickup_list, "3 powerup", kind_t_powerup);
        add<Shot>(shot_list, "12 shot2", kind_t_shot2);
        add<Shot>(shot_list, "11 shot1", kind_t_shot1);
        add_enemy("10 enemy layer 3", 3);
        add_enemy("9 enemy layer 2", 2);
        add<Boss>(enemy_list, "7 boss", kind_t_boss1a);
        add_enemy("6 enemy layer 1", 1);
        add<Container>(levelobject_list, "2 container", kind_t_container2);
        add<Plain>(levelobject_list, "1 trigger", kind_t_trigger);
    }
};

TEST_F(EntityPass, WalksTheListsInItsSixteenSteps) {
    add_one_of_each();
    entity_pass();
    EXPECT_EQ(g_updates,
              (std::vector<std::string>{"1 trigger", "2 container", "3 powerup", "4 bonus2", "5 bonus mode 1",
                                        "6 enemy layer 1", "7 boss", "8 effect", "9 enemy layer 2",
                                        "10 enemy layer 3", "11 shot1", "12 shot2", "13 bonus mode 2",
                                        "14 particle", "15 ship", "16 bullet"}));
}

TEST_F(EntityPass, KeepsListOrderWithinAStep) {
    add<Container>(levelobject_list, "c1", kind_t_container1);
    add<Plain>(levelobject_list, "trigger", kind_t_trigger);
    add<Container>(levelobject_list, "p2", kind_t_powercontainer2);
    add<Container>(levelobject_list, "p1", kind_t_powercontainer1);
    entity_pass();
    EXPECT_EQ(g_updates, (std::vector<std::string>{"trigger", "c1", "p2", "p1"}));
}

TEST_F(EntityPass, EnemiesOfOtherLayersAndBonusesOfOtherModesAreNeverUpdated) {
    Enemy* layer0 = add_enemy("layer 0", 0);
    Enemy* layer4 = add_enemy("layer 4", 4);
    Bonus* mode0 = add_bonus("mode 0", 0);
    Bonus* mode3 = add_bonus("mode 3", 3);
    for (int frame = 0; frame < 3; ++frame) entity_pass();
    EXPECT_TRUE(g_updates.empty()) << testing::PrintToString(g_updates);
    EXPECT_TRUE(enemy_list->contains(layer0));
    EXPECT_TRUE(enemy_list->contains(layer4));
    EXPECT_TRUE(pickup_list->contains(mode0));
    EXPECT_TRUE(pickup_list->contains(mode3));
    clear_world();
    EXPECT_TRUE(enemy_list->empty());
    EXPECT_TRUE(pickup_list->empty());
    EXPECT_EQ(g_alive, 0);
}

TEST_F(EntityPass, ABulletFiredByAGroundEnemyMovesInTheSameFrame) {
    Plain* bullet = nullptr;
    Enemy* turret = add_enemy("turret", 1);
    turret->on_update = [&](Enemy*) {
        if (!bullet) {
            bullet = new Plain("bullet", kind_t_bullet);
            bullet_list->append(bullet);
        }
    };
    entity_pass();
    ASSERT_NE(bullet, nullptr);
    EXPECT_EQ(bullet->updates, 1);
}

TEST_F(EntityPass, AnEffectMadeBeforeItsStepPlaysAtOnceAndOneMadeAfterWaitsAFrame) {
    Plain *early = nullptr, *late = nullptr;
    add_enemy("ground", 1)->on_update = [&](Enemy*) {
        if (!early) effect_list->append(early = new Plain("early effect", kind_t_effect));
    };
    add_enemy("flier", 3)->on_update = [&](Enemy*) {
        if (!late) effect_list->append(late = new Plain("late effect", kind_t_effect));
    };
    entity_pass();
    EXPECT_EQ(early->updates, 1);
    EXPECT_EQ(late->updates, 0);
    entity_pass();
    EXPECT_EQ(late->updates, 1);
}

TEST_F(EntityPass, AShotRemovedByAContainerIsNotMovedThatFrame) {
    Shot* hit = add<Shot>(shot_list, "hit shot", kind_t_shot1);
    Shot* miss = add<Shot>(shot_list, "other shot", kind_t_shot2);
    Container* box = add<Container>(levelobject_list, "box", kind_t_container1);
    box->on_update = [&](Container*) {
        shot_list->walk_kind(kind_t_shot, [&](TObject* o) {
            if (o == hit) shot_list->remove(o);
        });
    };
    entity_pass();
    EXPECT_EQ(shot_list->count(), 1u);  // `hit` is gone: released once the pass was over
    EXPECT_TRUE(shot_list->contains(miss));
    EXPECT_EQ(miss->updates, 1);
    EXPECT_EQ(g_updates, (std::vector<std::string>{"box", "other shot"}));
    EXPECT_EQ(g_alive, 2);
}

TEST_F(EntityPass, AnObjectThatRemovesItselfFinishesItsUpdateAndTheNextStillRuns) {
    float drawn_at = 0.0f;
    Enemy* first = add_enemy("first", 1);
    add_enemy("second", 1);
    first->y = 247.5f;
    first->on_update = [&](Enemy* self) {
        enemy_list->remove(self);
        self->y += 0.5f;  // still moves and draws once in the update that removed it
        drawn_at = self->y;
    };
    entity_pass();
    EXPECT_EQ(drawn_at, 248.0f);
    EXPECT_EQ(g_updates, (std::vector<std::string>{"first", "second"}));
    entity_pass();
    EXPECT_EQ(g_updates, (std::vector<std::string>{"first", "second", "second"}));
}

TEST_F(EntityPass, EmptyListsDoNothing) {
    entity_pass();
    EXPECT_TRUE(g_updates.empty());
}

TEST(ObjectKinds, DerivedClassesAreTheirBase) {
    Enemy enemy("e", kind_t_enemy3);
    EXPECT_TRUE(enemy.is_a(kind_t_enemy));
    EXPECT_TRUE(enemy.is_a(kind_t_enemy3));
    EXPECT_FALSE(enemy.is_a(kind_t_enemy1));
    EXPECT_FALSE(enemy.is_a(kind_t_boss));
    Shot shot("s", kind_t_shot2);
    EXPECT_TRUE(shot.is_a(kind_t_shot));
    EXPECT_FALSE(shot.is_a(kind_t_shot1));
    Container box("c", kind_t_powercontainer1);
    EXPECT_TRUE(box.is_a(kind_t_levelobject));
    EXPECT_FALSE(box.is_a(kind_t_trigger));
    Boss boss("b", kind_t_boss1b);
    EXPECT_TRUE(boss.is_a(kind_t_boss));
    EXPECT_FALSE(boss.is_a(kind_t_enemy));
}

TEST(ObjectKinds, EveryClassHasABitOfItsOwn) {
    const uint32_t bits[] = {kind_t_player,
                             kind_t_shot,
                             kind_t_shot1,
                             kind_t_shot2,
                             kind_t_bullet,
                             kind_t_powerup,
                             kind_t_bonus,
                             kind_t_bonus2,
                             kind_t_effect,
                             kind_t_particle,
                             kind_t_trigger,
                             kind_t_levelobject,
                             kind_t_powercontainer1,
                             kind_t_powercontainer2,
                             kind_t_container1,
                             kind_t_container2,
                             kind_t_enemy,
                             kind_t_enemy1,
                             kind_t_enemy2,
                             kind_t_enemy3,
                             kind_t_enemy4,
                             kind_t_enemy5,
                             kind_t_boss,
                             kind_t_boss1a,
                             kind_t_boss1b};
    uint32_t seen = 0;
    for (uint32_t b : bits) {
        EXPECT_EQ(b & (b - 1), 0u) << b;  // a single bit
        EXPECT_EQ(seen & b, 0u) << b;
        seen |= b;
    }
}

class ClearWorld : public EntityPass {};

TEST_F(ClearWorld, EmptiesEveryListWithoutUpdating) {
    add_one_of_each();
    add_enemy("idle layer 0", 0);
    add_bonus("idle mode 3", 3);
    clear_world();
    EXPECT_TRUE(g_updates.empty());
    for (TList* list :
         {player_list, shot_list, pickup_list, levelobject_list, enemy_list, bullet_list, effect_list})
        EXPECT_TRUE(list->empty());
    EXPECT_EQ(g_alive, 0);
    entity_pass();
    EXPECT_TRUE(g_updates.empty());
}

TEST_F(ClearWorld, CreatesNothingAndTheListsTakeNewObjectsAfterwards) {
    add_enemy("old", 1);
    clear_world();
    add_enemy("new", 1);
    entity_pass();
    EXPECT_EQ(g_updates, (std::vector<std::string>{"new"}));
}

}  // namespace
