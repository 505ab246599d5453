// The game frame's clock: when a frame works and with what time step.
#include <gtest/gtest.h>

#include "shell/game_frame.h"

namespace {

TEST(GameFrameClock, WorksOnceAHundredthGatheredAndCapsTheStep) {
    struct Call {
        uint32_t now;
        float dt; // 0: the frame does no work
    };
    struct Case {
        const char* what;
        uint32_t start;
        std::vector<Call> calls;
    } cases[] = {
        {"calls 4 ms apart", 1000, {{1004, 0.0f}, {1008, 0.0f}, {1012, 0.012f}, {1016, 0.0f}}},
        {"exactly a hundredth", 1000, {{1010, 0.01f}}},
        {"a two-second stall", 1000, {{3000, 0.05f}, {3010, 0.01f}}},
        {"the stall's surplus is dropped", 1000, {{1100, 0.05f}, {1104, 0.0f}}},
        {"the millisecond clock wraps", 0xFFFFFFF0u, {{0x00000004u, 0.02f}}},
    };
    for (const Case& c : cases) {
        YGameFrameClock clock;
        clock.previousMs = clock.lastWorkMs = c.start;
        for (const Call& call : c.calls)
            EXPECT_NEAR(clock.Step(call.now), call.dt, 1e-6f) << c.what << " at " << call.now;
    }
}

TEST(GameFrameClock, CountsTheMillisecondsBetweenWorkingFrames) {
    YGameFrameClock clock;
    clock.previousMs = clock.lastWorkMs = 500;
    clock.Step(504);
    clock.Step(508);
    ASSERT_GT(clock.Step(512), 0.0f);
    EXPECT_EQ(clock.workElapsedMs, 12u) << "the calls that did no work count too";
    ASSERT_GT(clock.Step(2512), 0.0f);
    EXPECT_EQ(clock.workElapsedMs, 2000u) << "play time is not capped like the step";
}

} // namespace
