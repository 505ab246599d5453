#include "core/xorshift.h"

#include <gtest/gtest.h>

namespace {

TEST(XorShift, FirstResultsFromTheStartState) {
    XorShiftState state;
    EXPECT_EQ(XorShiftNext(state), 2693114382u);
    EXPECT_EQ(XorShiftNext(state), 1871987772u);
    EXPECT_EQ(XorShiftNext(state), 32100770u);
}

// The program's generator runs the same sequence. Other tests may have drawn from it already, so
// find where it stands within the start of the sequence and check that it continues from there.
TEST(XorShift, ProgramGeneratorFollowsTheSequence) {
    const uint32_t first = XorShiftRand();
    XorShiftState state;
    int steps = 0;
    while (XorShiftNext(state) != first) {
        ASSERT_LT(++steps, 1 << 20) << "not a value of the sequence";
    }
    for (int i = 0; i < 10; ++i) EXPECT_EQ(XorShiftRand(), XorShiftNext(state));
}

TEST(XorShift, UnitStaysBelowOne) {
    for (int i = 0; i < 10000; ++i) {
        const float u = XorShiftUnit();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
    }
}

TEST(XorShift, RouletteChoosesByRunningSum) {
    const float onlySecond[] = {0.0f, 1.0f, 0.0f};
    const float half[] = {0.5f, 0.5f};
    int counts[2] = {0, 0};
    for (int i = 0; i < 2000; ++i) {
        EXPECT_EQ(XorShiftRoulette(onlySecond, 3), 1);
        ++counts[XorShiftRoulette(half, 2)];
    }
    EXPECT_GT(counts[0], 800);
    EXPECT_GT(counts[1], 800);
}

TEST(XorShift, RouletteWithoutWeightsChoosesNothing) {
    const float none[] = {0.0f, 0.0f, 0.0f};
    EXPECT_EQ(XorShiftRoulette(none, 3), -1);
    EXPECT_EQ(XorShiftRoulette(none, 0), -1);
}

} // namespace
