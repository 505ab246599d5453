#include "platform/sys/crt_rand.h"

#include <thread>

#include <gtest/gtest.h>

namespace {

// The classic runtime's first results after seeding with 1.
constexpr int kSeed1[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};

TEST(CrtRand, SeedOneSequence) {
    plat::CrtSrand(1);
    for (int want : kSeed1) EXPECT_EQ(plat::CrtRand(), want);
}

TEST(CrtRand, ReseedingRepeatsTheSequence) {
    plat::CrtSrand(12345);
    int first[16];
    for (int& v : first) v = plat::CrtRand();
    plat::CrtSrand(12345);
    for (int v : first) EXPECT_EQ(plat::CrtRand(), v);
}

TEST(CrtRand, FifteenBitRange) {
    plat::CrtSrand(7);
    int lo = plat::CRT_RAND_MAX, hi = 0;
    for (int i = 0; i < 200000; ++i) {
        const int v = plat::CrtRand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, plat::CRT_RAND_MAX);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_LT(lo, 16);
    EXPECT_GT(hi, plat::CRT_RAND_MAX - 16);
}

// Each thread has its own state, starting as if seeded with 1.
TEST(CrtRand, NewThreadStartsFromSeedOne) {
    plat::CrtSrand(99);
    int got[3] = {};
    std::thread t([&] {
        for (int& v : got) v = plat::CrtRand();
    });
    t.join();
    EXPECT_EQ(got[0], kSeed1[0]);
    EXPECT_EQ(got[1], kSeed1[1]);
    EXPECT_EQ(got[2], kSeed1[2]);
}

} // namespace
