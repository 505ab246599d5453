#include "platform/sys/clock.h"
#include "platform/sys/threads.h"

#include <atomic>

#include <gtest/gtest.h>

namespace {

TEST(Event, AutoResetKeepsOneSignal) {
    plat::YEvent event;
    EXPECT_FALSE(event.WaitFor(0));
    event.Set();
    event.Set(); // signals do not count up
    EXPECT_TRUE(event.WaitFor(0));
    EXPECT_FALSE(event.WaitFor(0));
    event.Set();
    event.Wait(); // returns at once
    EXPECT_FALSE(event.WaitFor(0));
}

// A worker that waits on an event without time-out ends when stopped with the event as wake-up.
TEST(Thread, StopWakesAndJoins) {
    plat::YEvent work, done;
    std::atomic<int> rounds{0};
    std::atomic<bool> sawStop{false};
    plat::YThread thread;
    thread.Start([&](const std::atomic<bool>& stop) {
        for (;;) {
            work.Wait();
            if (stop) {
                sawStop = true;
                return;
            }
            ++rounds;
            done.Set();
        }
    });
    EXPECT_TRUE(thread.Running());
    for (int i = 0; i < 3; ++i) {
        work.Set();
        done.Wait();
    }
    thread.Stop([&] { work.Set(); });
    EXPECT_FALSE(thread.Running());
    EXPECT_TRUE(sawStop);
    EXPECT_EQ(rounds, 3);

    thread.Stop(); // stopping again does nothing
    EXPECT_FALSE(thread.Running());
}

TEST(Thread, CanRestartAndDestructorStops) {
    std::atomic<int> runs{0};
    {
        plat::YThread thread;
        for (int i = 0; i < 2; ++i) {
            thread.Start([&](const std::atomic<bool>& stop) {
                ++runs;
                while (!stop) plat::SleepMs(1);
            });
            thread.Stop();
        }
        thread.Start([&](const std::atomic<bool>& stop) {
            ++runs;
            while (!stop) plat::SleepMs(1);
        });
    } // the destructor stops and joins the third run
    EXPECT_EQ(runs, 3);
}

uint32_t FixedTime() { return 0xFFFFFFF0u; }

TEST(Clock, TestsCanReplaceTheClock) {
    plat::SetTimeSource(&FixedTime);
    EXPECT_EQ(plat::TimeMs(), 0xFFFFFFF0u);
    plat::SetTimeSource(nullptr);
    EXPECT_NE(plat::TimeMs(), 0xFFFFFFF0u);
}

} // namespace
