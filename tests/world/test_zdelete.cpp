// Deferred deletion: schedule and tick sequences, direct deletion, destructors that delete or
// schedule others during the tick, and the play-area test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/sys/crt_rand.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"

namespace {

std::vector<std::string> deleted;

struct Obj : YZDelete {
    explicit Obj(std::string n) : name(std::move(n)) {}
    ~Obj() override {
        deleted.push_back(name);
        if (victim) delete victim;
        if (scheduleOnDeath) scheduleOnDeath->Schedule(0.0f);
    }
    std::string name;
    Obj* victim = nullptr;          // deleted by this destructor
    Obj* scheduleOnDeath = nullptr; // scheduled by this destructor
};

std::vector<std::string> PendingNames() {
    std::vector<std::string> names;
    for (YZDelete* p : YZDelete::Pending()) names.push_back(static_cast<Obj*>(p)->name);
    return names;
}

class ZDeleteTest : public ::testing::Test {
protected:
    void SetUp() override {
        deleted.clear();
        g_TableSize.Set(20.0f, 20.0f);
    }
    void TearDown() override {
        // Nothing may be left pending for the next test.
        while (!YZDelete::Pending().empty()) YZDelete::TickAll(1e6f);
    }
};

TEST_F(ZDeleteTest, ScheduleAndTickSequences) {
    struct Step {
        char op; // 'S' schedule object `who` with `value`, 'T' tick by `value`
        int who;
        float value;
        std::string deletedAfter; // names deleted so far, concatenated
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"first schedule wins", {{'S', 0, 0.15f, ""}, {'S', 0, 0.0f, ""}, {'T', 0, 0.1f, ""}, {'T', 0, 0.1f, "A"}}},
        {"zero goes at the next tick, even dt 0", {{'S', 0, 0.0f, ""}, {'T', 0, 0.0f, "A"}}},
        {"exactly used up", {{'S', 0, 0.5f, ""}, {'T', 0, 0.25f, ""}, {'T', 0, 0.25f, "A"}}},
        {"not a number counts as expired", {{'S', 0, std::nanf(""), ""}, {'T', 0, 0.0f, "A"}}},
        {"order of expiry", {{'S', 0, 0.3f, ""}, {'S', 1, 0.1f, ""}, {'T', 0, 0.2f, "B"}, {'T', 0, 0.2f, "BA"}}},
    };
    for (const Case& c : cases) {
        deleted.clear();
        std::vector<Obj*> objs = {new Obj("A"), new Obj("B")};
        for (const Step& s : c.steps) {
            if (s.op == 'S')
                objs[s.who]->Schedule(s.value);
            else
                YZDelete::TickAll(s.value);
            std::string got;
            for (const std::string& n : deleted) got += n;
            EXPECT_EQ(got, s.deletedAfter) << c.what;
        }
        const char* names[] = {"A", "B"};
        for (int i = 0; i < 2; ++i)
            if (std::find(deleted.begin(), deleted.end(), names[i]) == deleted.end()) delete objs[i];
        EXPECT_TRUE(YZDelete::Pending().empty()) << c.what;
    }
}

TEST_F(ZDeleteTest, ExpiredEntryTakesTheLastOneAndEveryoneLosesDtOnce) {
    Obj* a = new Obj("A");
    Obj* b = new Obj("B");
    Obj* c = new Obj("C");
    a->Schedule(0.1f);
    b->Schedule(1.0f);
    c->Schedule(2.0f);
    YZDelete::TickAll(0.25f);
    EXPECT_EQ(deleted, std::vector<std::string>{"A"});
    EXPECT_EQ(PendingNames(), (std::vector<std::string>{"C", "B"}));
    EXPECT_FLOAT_EQ(b->countdown, 0.75f);
    EXPECT_FLOAT_EQ(c->countdown, 1.75f);
}

TEST_F(ZDeleteTest, DirectDeletionLeavesThePendingList) {
    Obj* a = new Obj("A");
    Obj* b = new Obj("B");
    a->Schedule(1.0f);
    b->Schedule(1.0f);
    delete a;
    EXPECT_EQ(PendingNames(), std::vector<std::string>{"B"});
    YZDelete::TickAll(2.0f); // would touch freed memory if A were still listed (ASan)
    EXPECT_EQ(deleted, (std::vector<std::string>{"A", "B"}));
}

TEST_F(ZDeleteTest, DestructorsMayDeleteAndScheduleOthersDuringTheTick) {
    // A expires and deletes B (pending, not yet walked) and C (pending, walked before A's turn
    // because it sits first); D expires later and schedules E on its way out.
    Obj* c = new Obj("C");
    Obj* a = new Obj("A");
    Obj* b = new Obj("B");
    Obj* d = new Obj("D");
    Obj* e = new Obj("E");
    Obj* f = new Obj("F");
    c->Schedule(5.0f);
    a->Schedule(0.0f);
    b->Schedule(5.0f);
    d->Schedule(0.0f);
    f->Schedule(5.0f);
    a->victim = b;
    b->victim = c;
    d->scheduleOnDeath = e;
    YZDelete::TickAll(0.01f);
    std::vector<std::string> gone = deleted;
    std::sort(gone.begin(), gone.end());
    EXPECT_EQ(gone, (std::vector<std::string>{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(PendingNames(), std::vector<std::string>{"F"});
    YZDelete::TickAll(10.0f);
    EXPECT_TRUE(YZDelete::Pending().empty());
}

TEST_F(ZDeleteTest, PlayAreaBoundaries) {
    g_TableSize.Set(20.0f, 30.0f);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        YVector p;
        float margin;
        bool out;
        bool scheduled;
    };
    const Case cases[] = {
        {{0, 0, 100.0f}, 1.0f, false, false}, {{0, 0, 100.5f}, 1.0f, true, false},  {{0, 0, -0.01f}, 0.0f, true, false},
        {{0, 0, 0.0f}, 0.0f, false, false},   {{0, 0, -1.0f}, 1.0f, false, false},  {{10.0f, 0, 0}, 0.0f, false, false},
        {{10.01f, 0, 0}, 0.0f, true, false},  {{-11.0f, 0, 0}, 1.0f, false, false}, {{0, 15.0f, 0}, 0.0f, false, false},
        {{0, -15.5f, 0}, 0.0f, true, false},  {{0, -15.5f, 0}, 1.0f, false, false}, {{nan, 0, 0}, 0.0f, false, true},
        {{0, 0, inf}, 0.0f, false, true},     {{0, -inf, 0}, 5.0f, false, true},
    };
    for (const Case& c : cases) {
        Obj* o = new Obj("O");
        EXPECT_EQ(o->IsOutOfBounds(&c.p, c.margin), c.out) << c.p.x << " " << c.p.y << " " << c.p.z;
        EXPECT_EQ(o->scheduled, c.scheduled);
        if (c.scheduled) {
            EXPECT_FLOAT_EQ(o->countdown, 0.0f);
            YZDelete::TickAll(0.0f);
        } else {
            delete o;
        }
    }
    EXPECT_TRUE(YZDelete::Pending().empty());
}

TEST(ZDeleteDelay, UsualDelayStaysInItsRange) {
    plat::CrtSrand(7);
    for (int i = 0; i < 1000; ++i) {
        const float d = YZDelete::UsualDelay();
        EXPECT_GE(d, 0.1375f);
        EXPECT_LE(d, 0.1625f);
    }
}

} // namespace
