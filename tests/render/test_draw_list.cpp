#include "render/draw_list.h"

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "render/camera.h"

namespace {

// Records the items it draws, and may run something while drawing one.
class Recorder : public YDrawObj {
public:
    void Draw(void* item) override {
        const int id = *static_cast<int*>(item);
        drawn.push_back(id);
        if (onDraw) onDraw(id);
    }
    void Flush() override {
        if (log) log->push_back("flush " + name);
    }
    std::vector<int> drawn;
    std::function<void(int)> onDraw;
    std::string name;
    std::vector<std::string>* log = nullptr; // draws and flushes of every logging recorder, in order
};

// Puts the camera's eye at `eye` for the test and restores the camera afterwards.
class DrawListTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = g_Camera;
        SetEye({0, 0, 0});
    }
    void TearDown() override {
        DrawOpaqueQueue();
        DrawBlendedQueue();
        g_Camera = saved;
    }
    static void SetEye(const YVector& eye) {
        YMatrix view;
        view.MatrixSetTranslation(eye.Negate());
        g_Camera.SetView(&view);
    }
    // Item ids index into this, so the pointers stay put.
    int* Item(int id) {
        if (ids.empty())
            for (int i = 0; i < 4096; ++i) ids.push_back(i);
        return &ids.at(id);
    }

    YCamera saved;
    std::vector<int> ids;
    Recorder recorder;
};

TEST_F(DrawListTest, OrderTable) {
    struct Case {
        const char* name;
        bool blended;
        std::vector<YVector> positions; // item i at positions[i]
        std::vector<int> order;
    };
    const Case cases[] = {
        // Squared distances 4, 9, 1.
        {"blended, farthest first", true, {{2, 0, 0}, {0, 3, 0}, {0, 0, -1}}, {1, 0, 2}},
        {"opaque, nearest first", false, {{2, 0, 0}, {0, 3, 0}, {0, 0, -1}}, {2, 0, 1}},
        // Equal keys never swap: the first stays on top, the last pushed takes its place.
        {"blended ties", true, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 2, 1}},
        {"opaque ties", false, {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {0, 2, 1}},
        {"blended, ties among others", true, {{2, 0, 0}, {1, 0, 0}, {0, 2, 0}}, {0, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recorder.drawn.clear();
        for (size_t i = 0; i < c.positions.size(); ++i)
            (c.blended ? QueueBlendedDraw : QueueOpaqueDraw)(Item(int(i)), &c.positions[i], &recorder);
        // The other queue holds none of them.
        (c.blended ? DrawOpaqueQueue : DrawBlendedQueue)();
        EXPECT_TRUE(recorder.drawn.empty());
        (c.blended ? DrawBlendedQueue : DrawOpaqueQueue)();
        EXPECT_EQ(recorder.drawn, c.order);
        EXPECT_EQ((c.blended ? BlendedDrawQueue() : OpaqueDrawQueue()).Count(), 0);
    }
}

TEST_F(DrawListTest, TheKeyIsTakenFromTheCameraAtThePush) {
    const YVector a(2, 0, 0), b(7, 0, 0);
    QueueBlendedDraw(Item(0), &a, &recorder); // 4 from the origin
    SetEye({10, 0, 0});
    QueueBlendedDraw(Item(1), &b, &recorder); // 9 from (10, 0, 0); item 0 would now be 64
    DrawBlendedQueue();
    EXPECT_EQ(recorder.drawn, (std::vector<int>{1, 0}));
}

TEST_F(DrawListTest, ManyRandomItemsComeOutSorted) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> coord(-50.0f, 50.0f);
    for (bool blended : {true, false}) {
        SCOPED_TRACE(blended ? "blended" : "opaque");
        const int n = 1000;
        std::vector<float> key(n);
        recorder.drawn.clear();
        for (int i = 0; i < n; ++i) {
            const YVector p(coord(rng), coord(rng), coord(rng));
            key[i] = p.Dot(p);
            (blended ? QueueBlendedDraw : QueueOpaqueDraw)(Item(i), &p, &recorder);
        }
        (blended ? DrawBlendedQueue : DrawOpaqueQueue)();
        ASSERT_EQ(recorder.drawn.size(), size_t(n));
        std::vector<int> seen = recorder.drawn;
        std::sort(seen.begin(), seen.end());
        EXPECT_TRUE(std::adjacent_find(seen.begin(), seen.end()) == seen.end()) << "an item was drawn twice";
        for (int i = 1; i < n; ++i) {
            const float prev = key[recorder.drawn[i - 1]], cur = key[recorder.drawn[i]];
            if (blended)
                ASSERT_GE(prev, cur) << "at " << i;
            else
                ASSERT_LE(prev, cur) << "at " << i;
        }
    }
}

TEST_F(DrawListTest, CapacityGrowsByHalfWhenFull) {
    YDrawQueue queue(YDrawQueue::FarthestFirst);
    struct Step {
        int pushes; // total pushes so far
        int capacity;
    };
    // The 100th push finds count 99 = capacity - 1 and grows before it stores its entry.
    const Step steps[] = {{0, 100}, {99, 100}, {100, 150}, {149, 150}, {150, 225}, {224, 225}, {225, 337}};
    const YVector p(1, 2, 3);
    int pushed = 0;
    for (const Step& s : steps) {
        while (pushed < s.pushes) queue.Push(Item(pushed++), &p, &recorder);
        EXPECT_EQ(queue.Count(), s.pushes);
        EXPECT_EQ(queue.Capacity(), s.capacity) << "after " << s.pushes << " pushes";
    }
    queue.Drain();
    EXPECT_EQ(int(recorder.drawn.size()), pushed);
    EXPECT_EQ(queue.Capacity(), 337); // never shrinks
}

TEST_F(DrawListTest, ReserveKeepsTheQueuedEntries) {
    YDrawQueue queue(YDrawQueue::NearestFirst);
    for (int i = 0; i < 10; ++i) {
        const YVector p(float(10 - i), 0, 0);
        queue.Push(Item(i), &p, &recorder);
    }
    queue.Reserve(3); // too small for what is queued: it keeps room for all of it
    EXPECT_GE(queue.Capacity(), 12);
    queue.Drain();
    EXPECT_EQ(recorder.drawn, (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
}

TEST_F(DrawListTest, DrainingAnEmptyQueueDrawsNothing) {
    DrawOpaqueQueue();
    DrawBlendedQueue();
    EXPECT_TRUE(recorder.drawn.empty());
}

TEST_F(DrawListTest, ItemsPushedWhileDrainingAreDrawnInTheSameDrain) {
    // The first item drawn queues 300 more at distances 1 to 300, some nearer and some farther
    // than the one still queued; so many pushes also make the array grow during the drain.
    recorder.onDraw = [this](int id) {
        if (id != 0) return;
        for (int i = 1; i <= 300; ++i) {
            const YVector p(0, float(i), 0);
            QueueOpaqueDraw(Item(i), &p, &recorder);
        }
    };
    const YVector first(0, 0, 0), queued(0, 200.5f, 0);
    QueueOpaqueDraw(Item(0), &first, &recorder);
    QueueOpaqueDraw(Item(301), &queued, &recorder);
    DrawOpaqueQueue();

    std::vector<int> expected{0};
    for (int i = 1; i <= 200; ++i) expected.push_back(i);
    expected.push_back(301);
    for (int i = 201; i <= 300; ++i) expected.push_back(i);
    EXPECT_EQ(recorder.drawn, expected);
    EXPECT_EQ(OpaqueDrawQueue().Count(), 0);
}

// A drawer that gathers items hears of the end of its run: before another drawer's item and when
// the queue is empty, including after items that drawers pushed while the queue drained.
TEST_F(DrawListTest, ADrawerIsFlushedWhenAnotherDrawerComesAndAtTheEnd) {
    std::vector<std::string> log;
    Recorder a, b;
    a.name = "a";
    b.name = "b";
    a.log = b.log = &log;
    a.onDraw = [&](int id) { log.push_back("a" + std::to_string(id)); };
    const YVector nearest(0, 0, 1);
    b.onDraw = [&](int id) {
        log.push_back("b" + std::to_string(id));
        if (id == 3) QueueBlendedDraw(Item(9), &nearest, &a); // drawn last
    };
    const YVector at[] = {{0, 0, 60}, {0, 0, 50}, {0, 0, 40}, {0, 0, 30}, {0, 0, 20}};
    Recorder* drawer[] = {&a, &a, &b, &b, &a};
    for (int i = 0; i < 5; ++i) QueueBlendedDraw(Item(i), &at[i], drawer[i]);
    DrawBlendedQueue();
    const std::vector<std::string> expected = {"a0", "a1", "flush a", "b2", "b3", "flush b", "a4", "a9", "flush a"};
    EXPECT_EQ(log, expected);

    log.clear();
    DrawBlendedQueue();
    EXPECT_TRUE(log.empty()); // an empty queue flushes nobody
}

} // namespace
