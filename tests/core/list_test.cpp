// TList walks under removal and appends, and the release of removed objects.
#include "engine/list.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

int g_alive = 0;

struct Probe : TObject {
    explicit Probe(int i, uint32_t bits = 1) : TObject(bits), id(i) { ++g_alive; }
    ~Probe() override { --g_alive; }
    int id;
    std::function<void(Probe*)> on_visit;
};

struct Lists : ::testing::Test {
    TList list;
    std::vector<Probe*> p;
    std::vector<int> seen;
    void SetUp() override { g_alive = 0; }
    void fill(int n) {
        for (int i = 0; i < n; ++i) {
            p.push_back(new Probe(i));
            list.append(p.back());
        }
    }
    void walk() {
        list.walk([&](TObject* o) {
            auto* probe = static_cast<Probe*>(o);
            seen.push_back(probe->id);
            if (probe->on_visit) probe->on_visit(probe);
        });
    }
};

TEST_F(Lists, EmptyWalkDoesNothing) {
    int calls = 0;
    list.walk([&](TObject*) { ++calls; });
    EXPECT_EQ(calls, 0);
}

TEST_F(Lists, RemovingTheCurrentElementStillVisitsTheNext) {
    fill(4);
    p[1]->on_visit = [&](Probe* self) { list.remove(self); };
    walk();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(list.count(), 3u);
    seen.clear();
    walk();
    EXPECT_EQ(seen, (std::vector<int>{0, 2, 3}));
}

TEST_F(Lists, RemovedObjectStaysAliveUntilItsUpdateReturns) {
    fill(2);
    int id_after_removal = -1;
    p[0]->on_visit = [&](Probe* self) {
        list.remove(self);
        id_after_removal = self->id;  // still readable: released only after the walk
        EXPECT_EQ(g_alive, 2);
    };
    walk();
    EXPECT_EQ(id_after_removal, 0);
    EXPECT_EQ(g_alive, 1);
}

TEST_F(Lists, RemovingAnElementNotYetReachedSkipsIt) {
    fill(4);
    p[0]->on_visit = [&](Probe*) { list.remove(p[2]); };
    walk();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 3}));
}

TEST_F(Lists, RemovingAnElementAlreadyVisitedChangesNothingAhead) {
    fill(4);
    p[2]->on_visit = [&](Probe*) { list.remove(p[0]); };
    walk();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(Lists, AppendsDuringTheWalkAreReachedBeforeTheLastIsHandedOut) {
    fill(3);
    p[0]->on_visit = [&](Probe*) { list.append(new Probe(10)); };
    walk();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 10}));
}

TEST_F(Lists, AppendsByTheLastElementAreNotReachedByThatWalk) {
    fill(3);
    p[2]->on_visit = [&](Probe*) { list.append(new Probe(10)); };
    walk();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(list.count(), 4u);
}

TEST_F(Lists, LastElementRemovedEarlyMakesThePreviousOneTheLast) {
    fill(3);
    // Element 2 is removed while 0 runs; 1 becomes the last, so an append made by 1 is not reached.
    p[0]->on_visit = [&](Probe*) { list.remove(p[2]); };
    p[1]->on_visit = [&](Probe*) { list.append(new Probe(10)); };
    walk();
    EXPECT_EQ(seen, (std::vector<int>{0, 1}));
}

TEST_F(Lists, RemoveOfAForeignObjectIsANoOp) {
    fill(2);
    TList other;
    Probe* stranger = new Probe(99);
    other.append(stranger);
    list.remove(stranger);
    EXPECT_EQ(list.count(), 2u);
    EXPECT_TRUE(other.contains(stranger));
}

TEST_F(Lists, NestedWalksOfTheSameListSeeConsistentElements) {
    fill(3);
    std::vector<int> inner;
    p[0]->on_visit = [&](Probe*) {
        list.walk([&](TObject* o) {
            inner.push_back(static_cast<Probe*>(o)->id);
            if (static_cast<Probe*>(o)->id == 1) list.remove(o);
        });
    };
    walk();
    EXPECT_EQ(inner, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(seen, (std::vector<int>{0, 2}));
    EXPECT_EQ(g_alive, 2);
}

TEST_F(Lists, WalkKindFiltersByClassBits) {
    list.append(new Probe(0, 1));
    list.append(new Probe(1, 2));
    list.append(new Probe(2, 3));
    list.walk_kind(2, [&](TObject* o) { seen.push_back(static_cast<Probe*>(o)->id); });
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
}

TEST_F(Lists, ClearReleasesEverything) {
    fill(5);
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(g_alive, 0);
}

TEST_F(Lists, ManyRemovalsDuringOneWalkKeepOrder) {
    fill(30);
    for (int i = 0; i < 30; i += 3) p[i]->on_visit = [&](Probe* self) { list.remove(self); };
    walk();
    seen.clear();
    walk();
    std::vector<int> expect;
    for (int i = 0; i < 30; ++i)
        if (i % 3) expect.push_back(i);
    EXPECT_EQ(seen, expect);
}

}  // namespace
