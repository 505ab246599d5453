// Rules of balls, bombs and grenades that are pure numbers: the racket circle, the universal
// ball's re-pick, the block specials' mode changes, throw directions and fuse cuts.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "world/balls/ball_mode_info.h"
#include "world/balls/ball_mode_rules.h"
#include "world/balls/racket_contact.h"
#include "world/weapons/fuse.h"

namespace {

TEST(RacketContact, Table) {
    // Racket at (0, -8), width 2, ball radius 0.5: the circle has radius 1.5. Table 20 wide.
    struct Row {
        const char* name;
        YVector p;
        float rx, tableWidth;
        bool touches;
        YVector hit, normal;
    };
    const float front = std::sqrt(1.5f * 1.5f - 1.0f); // sqrt(r^2 - W^2/4)
    const Row rows[] = {
        {"straight in front", {0, -7, 0.5f}, 0, 20, true, {0, -6.5f, 0.5f}, {0, 1, 0}},
        {"to the side", {1, -8, 0.7f}, 0, 20, true, {1.5f, -8, 0.7f}, {1, 0, 0}},
        {"on the rim", {0, -6.5f, 0.5f}, 0, 20, true, {0, -6.5f, 0.5f}, {0, 1, 0}},
        {"outside", {0, -6.4f, 0.5f}, 0, 20, false, {}, {}},
        {"at the centre", {0, -8, 0.5f}, 0, 20, false, {}, {}},
        {"not a number", {NAN, -8, 0.5f}, 0, 20, false, {}, {}},
        // Racket at the right edge of a 20-wide table: the contact would lie beyond x = 9.5, so
        // it is pulled back and at least `front` ahead of the racket.
        {"beyond the table's side", {10.4f, -8, 0.5f}, 9.0f, 20, true, {9.5f, -8 + front, 0.5f}, {0, 0, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        YVector hit, normal;
        ASSERT_EQ(RacketContact(r.p, r.rx, -8, 2.0f, 0.5f, r.tableWidth, &hit, &normal), r.touches);
        if (!r.touches) continue;
        EXPECT_NEAR(hit.x, r.hit.x, 1e-5f);
        EXPECT_NEAR(hit.y, r.hit.y, 1e-5f);
        EXPECT_NEAR(hit.z, r.hit.z, 1e-5f);
        EXPECT_NEAR(std::hypot(normal.x, normal.y), 1.0f, 1e-5f);
        EXPECT_EQ(normal.z, 0.0f);
        if (r.normal.x != 0 || r.normal.y != 0) {
            EXPECT_NEAR(normal.x, r.normal.x, 1e-5f);
            EXPECT_NEAR(normal.y, r.normal.y, 1e-5f);
        } else {
            // Points from the racket to the pulled-back contact.
            EXPECT_NEAR(normal.x, (hit.x - r.rx) / std::hypot(hit.x - r.rx, hit.y + 8), 1e-5f);
            EXPECT_GT(normal.y, 0.0f);
        }
    }
}

TEST(UniversalBall, InnerModeChangesAtMostOnceASecondAndNeverToUniversalOrSmall) {
    plat::CrtSrand(7);
    int inner = BALL_NORMAL;
    float timer = 1.0f;
    float lastChange = -10.0f;
    int changes = 0;
    const float dt = 0.01f;
    for (int step = 0; step < 10000; ++step) {
        const float now = static_cast<float>(step) * dt;
        timer -= dt;
        if (step % 3 != 0) continue; // a hit every third frame
        const int before = inner;
        inner = UniversalNextInner(inner, &timer, plat::CrtRand());
        ASSERT_GE(inner, 0);
        ASSERT_LE(inner, 6);
        if (inner != before && before != BALL_EXPLOSIVE) {
            EXPECT_GE(now - lastChange, 1.0f - 2 * dt);
            lastChange = now;
            ++changes;
        }
    }
    EXPECT_GT(changes, 30);
}

TEST(UniversalBall, ExplosiveInnerTurnsFireAtOnceWithoutTouchingTheTimer) {
    float timer = 0.6f;
    EXPECT_EQ(UniversalNextInner(BALL_EXPLOSIVE, &timer, 5), BALL_FIRE);
    EXPECT_FLOAT_EQ(timer, 0.6f);
    // Before the timer runs out nothing changes; after it, the roll picks and the timer restarts.
    EXPECT_EQ(UniversalNextInner(BALL_HEAVY, &timer, 5), BALL_HEAVY);
    timer = 0.0f;
    EXPECT_EQ(UniversalNextInner(BALL_HEAVY, &timer, 12), 5);
    EXPECT_FLOAT_EQ(timer, 1.0f);
}

TEST(BlockSpecialModes, WaterTableOverTheNineModes) {
    const int after[BALL_MODE_COUNT] = {0, 1, 2, 0, 0, 0, 6, 7, 8};
    for (int m = 0; m < BALL_MODE_COUNT; ++m) EXPECT_EQ(WaterModeAfter(m), after[m]) << m;
}

TEST(BlockSpecialModes, ModeChangeOrLongerTime) {
    struct Row {
        const char* name;
        int ballMode;
        float ballTime;
        int m;
        float T;
        bool change;
        float time;
    };
    const Row rows[] = {
        {"normal ball catches fire", 0, -1, 3, 5, true, 5},
        {"fire ball keeps the longer time", 3, 2, 3, 5, false, 5},
        {"fire ball with more time left keeps it", 3, 9, 3, 5, false, 9},
        {"explosive counts as burning already", 4, 1, 3, 5, false, 5},
        {"explosive becomes electro", 4, 1, 5, 5, true, 5},
        {"heavy stays heavy", 1, -1, 1, 2.5f, false, 2.5f},
        {"timer ball off: for good", 0, -1, 1, SpecialModeTime(-1), true, -0.25f},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        float t = 0;
        EXPECT_EQ(SpecialModeChange(r.ballMode, r.ballTime, r.m, r.T, &t), r.change);
        EXPECT_FLOAT_EQ(t, r.time);
    }
}

TEST(WeaponRules, ThrowDirections) {
    const YVector flat = BombThrowDirection(0);
    EXPECT_NEAR(flat.x, 0, 1e-6f);
    EXPECT_NEAR(flat.y, 1, 1e-6f);
    const YVector left = BombThrowDirection(90);
    EXPECT_NEAR(left.x, -1, 1e-6f);
    EXPECT_NEAR(left.z, 0, 1e-6f);
    // (-sin yaw, cos yaw cos pitch, cos yaw sin pitch)
    const YVector g = GrenadeThrowDirection(30, 10);
    const float yaw = 30 * 3.1415927f / 180, pitch = 10 * 3.1415927f / 180;
    EXPECT_NEAR(g.x, -std::sin(yaw), 1e-5f);
    EXPECT_NEAR(g.y, std::cos(yaw) * std::cos(pitch), 1e-5f);
    EXPECT_NEAR(g.z, std::cos(yaw) * std::sin(pitch), 1e-5f);
}

TEST(WeaponRules, ATouchNeverLengthensAFuse) {
    EXPECT_FLOAT_EQ(CutFuse(10.0f, 0.1f), 0.1f);
    EXPECT_FLOAT_EQ(CutFuse(0.04f, 0.1f), 0.04f);
    EXPECT_FLOAT_EQ(CutFuse(0.0f, 0.05f), 0.0f);
    EXPECT_FLOAT_EQ(CutFuse(-1.0f, 0.05f), -1.0f);
}

TEST(BallModeTable, InfoOutsideTheRangeIsTheNormalMode) {
    EXPECT_EQ(&BallModeInfo(-1), &BallModeInfo(0));
    EXPECT_EQ(&BallModeInfo(9), &BallModeInfo(0));
    EXPECT_FALSE(BallModeInfo(BALL_SMALL).countsForRound);
    for (int m = 0; m < BALL_MODE_COUNT; ++m) EXPECT_EQ(BallModeInfo(m).superHit, m >= 2 && m <= 5) << m;
}

} // namespace
