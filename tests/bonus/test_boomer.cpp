#include <gtest/gtest.h>

#include <cmath>

#include "bonus/bonus_fixture.h"
#include "platform/sys/crt_rand.h"
#include "render/render_values.h"
#include "render/shader.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_single.h"
#include "world/blocks/level_state.h"
#include "world/weapons/boomer.h"

namespace {

using bonustest::BonusTest;

// The ceiling of a control point at depth y of a table D deep.
float Ceiling(float y, float D) {
    const float u = 0.5f - y / D;
    return (1.0f - u * u) * D * 0.5f;
}

TEST_F(BonusTest, EveryPlannedPathStartsHereAndKeepsItsControlPointsInTheAir) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        plat::CrtSrand(seed);
        YBoomer boomer;
        YMatrix at = worldtest::At(static_cast<float>(seed % 7) - 3.0f, -8.0f + static_cast<float>(seed % 5),
                                   static_cast<float>(seed % 4));
        boomer.SetMatrix(&at);
        YVector dir(static_cast<float>(seed % 3) - 1.0f, 1.0f, 0.2f);
        dir.Normalize();
        boomer.PlanPath(dir);
        EXPECT_EQ(boomer.pathIndex, 1);
        // The start is the boomerang's place (lifted into the air), and the path begins next to
        // it: the first sample of a B-spline lies a sixth of the way to the next control point.
        EXPECT_FLOAT_EQ(boomer.control[0].x, at.m[12]);
        EXPECT_FLOAT_EQ(boomer.control[0].y, at.m[13]);
        const YVector lead = boomer.control[1] - boomer.control[0];
        const YVector gap = boomer.path[0] - boomer.control[0];
        EXPECT_LE(std::sqrt(gap.Dot(gap)), std::sqrt(lead.Dot(lead)) / 6.0f + 1e-4f) << seed;
        for (const YVector& p : boomer.control) {
            const float top = std::max(2.0f, Ceiling(p.y, g_TableSize.depth));
            EXPECT_GE(p.z, 2.0f - 1e-5f) << seed;
            EXPECT_LE(p.z, top + 1e-4f) << seed;
        }
        for (const YVector& p : boomer.path) EXPECT_TRUE(worldtest::Finite(p));
        // The loop goes out along dir and comes back behind the start.
        const float reach = g_TableSize.depth * dir.y;
        EXPECT_GT(boomer.control[2].y, at.m[13] + 0.77f * reach) << seed;
        EXPECT_LT(boomer.control[4].y, at.m[13] - 0.6f * reach) << seed;
    }
}

// A segment over (0,0,0), (6,0,0), (12,6,0), (18,0,6) at t = 0.5, by hand:
//   a = (p0 + 4 p1 + p2) / 6 = (6, 1, 0)
//   b = (p2 - p0) / 2 = (6, 3, 0)
//   c = (p0 - 2 p1 + p2) / 2 = (0, 3, 0)
//   d = (-p0 + 3 p1 - 3 p2 + p3) / 6 = (0, -3, 1)
//   a + b/2 + c/4 + d/8 = (9, 2.875, 0.125)
TEST(BoomerPath, ASegmentFollowsTheUniformCubicBSpline) {
    const YVector p0(0, 0, 0), p1(6, 0, 0), p2(12, 6, 0), p3(18, 0, 6);
    const YVector h = BSplinePoint(p0, p1, p2, p3, 0.5f);
    EXPECT_NEAR(h.x, 9.0f, 1e-5f);
    EXPECT_NEAR(h.y, 2.875f, 1e-5f);
    EXPECT_NEAR(h.z, 0.125f, 1e-5f);
    // At t = 0 it sits at (p0 + 4 p1 + p2) / 6, at t = 1 where the next segment
    // starts.
    const YVector s = BSplinePoint(p0, p1, p2, p3, 0.0f);
    EXPECT_NEAR(s.x, 6.0f, 1e-5f);
    const YVector e = BSplinePoint(p0, p1, p2, p3, 1.0f);
    const YVector next = BSplinePoint(p1, p2, p3, p3, 0.0f);
    EXPECT_NEAR(e.x, next.x, 1e-4f);
    EXPECT_NEAR(e.y, next.y, 1e-4f);
    EXPECT_NEAR(e.z, next.z, 1e-4f);
}

// Flies a released boomerang until it is back at the racket (or a time limit).
class BoomerFlight : public BonusTest {
protected:
    YBoomer* Throw() {
        YBoomer* b = new YBoomer();
        racket->held = b;
        racket->ReleaseTacked(false);
        return b;
    }
    // Frames until the boomerang is held again or gone; true when it came back
    // into the hand.
    bool FlyUntilBack(YBoomer* b, float seconds) {
        for (float t = 0.0f; t < seconds; t += 0.02f) {
            if (YZDelete::Pending().size() > 0) YZDelete::TickAll(0.02f);
            bool alive = false;
            for (YRacketTacked* o : TackedList()) alive = alive || o == b;
            if (!alive) return false;
            b->Update(0.02f);
            if (racket->held == b) return true;
        }
        return false;
    }
};

// Thrown, it flies out over the table, turns and comes back to the racket's side, where a racket
// standing in its way catches it.
TEST_F(BoomerFlight, ItComesBackAndTheRacketInItsWayCatchesIt) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        plat::CrtSrand(seed);
        racket->posX = 0.0f;
        YBoomer* b = Throw();
        EXPECT_EQ(racket->held, nullptr);
        b->Update(0.25f); // wound up: flying
        const YVector start = b->Position();
        float farthest = start.y;
        bool back = false;
        for (float t = 0.0f; t < 20.0f && !back; t += 0.02f) {
            b->Update(0.02f);
            const YVector p = b->Position();
            farthest = std::max(farthest, p.y);
            // On its way back, the hero steps under it.
            if (farthest > start.y + 5.0f && p.y < start.y + 3.0f) racket->posX = p.x;
            back = racket->held == b;
        }
        EXPECT_TRUE(back);
        EXPECT_GT(farthest, start.y + 5.0f); // it went out over the table first
        DeleteAllTacked();
    }
}

TEST_F(BoomerFlight, TheReleaseCooldownKeepsTheRacketFromCatchingItAtOnce) {
    YBoomer* b = Throw();
    EXPECT_GT(b->releaseCooldown, 0.0f);
    b->launchTimer = 0.0f; // already flying, still in the racket's zone
    YMatrix at = worldtest::At(racket->posX, racket->posY, 2.0f);
    b->SetMatrix(&at);
    b->PlanPath(YVector(0.0f, 1.0f, 0.0f));
    b->Update(0.02f);
    EXPECT_NE(racket->held, b);
    b->releaseCooldown = 0.0f;
    at = worldtest::At(racket->posX, racket->posY, 2.0f);
    b->SetMatrix(&at);
    b->Update(0.001f);
    EXPECT_EQ(racket->held, b);
}

TEST_F(BoomerFlight, AFrozenHeroTurnsItAwayInsteadOfCatchingIt) {
    YBoomer* b = Throw();
    b->launchTimer = 0.0f;
    b->releaseCooldown = 0.0f;
    racket->frostTime = 5.0f;
    YMatrix at = worldtest::At(racket->posX + 0.5f, racket->posY + 0.5f, 2.0f);
    b->SetMatrix(&at);
    b->Update(0.02f);
    EXPECT_NE(racket->held, b);
    // The new path leads away from the racket, out over the table.
    EXPECT_GT(b->control[2].y, racket->posY + 5.0f);
}

// Flown into a block, the collision box damages it as a ball would, and the
// boomerang bounces back the way it came.
TEST_F(BoomerFlight, ItDamagesABlockItFliesIntoAndBouncesOff) {
    ResetBlockMaterials();
    g_Level.scale = {1, 1, 1};
    FindShader("test_opaque")->renderStates[RS_ALPHA_BLEND_ENABLE] = 0;
    const YBlockMaterial* m =
        BuildBlockMaterial("target", 1, 10, "test_opaque", "in_block", 5, "def_stroke", "def_destroy", "");
    const YBlockType* type = FindBlockType(m->name, 4, 1, 8);
    ASSERT_GT(type->halfExtents.z, 2.5f);
    YMatrix bm = worldtest::At(0.0f, 0.0f, type->halfExtents.z + 0.02f);
    YBlockSingle* block = new YBlockSingle(type, nullptr, bm);
    const float healthBefore = block->health;

    YBoomer* b = Throw();
    b->launchTimer = 0.0f;
    YMatrix at = worldtest::At(0.0f, -0.5f - 0.65f, 2.5f);
    b->SetMatrix(&at);
    b->PlanPath(YVector(0.0f, 1.0f, 0.0f));
    for (int i = 0; i < 10 && block->health == healthBefore; ++i) b->Update(0.02f);
    EXPECT_LT(block->health, healthBefore);
    EXPECT_LT(b->control[2].y,
              b->control[0].y); // the new loop heads back towards the racket
    DeleteAllBlocks();
    YZDelete::TickAll(1.0f);
    ResetBlockMaterials();
}

} // namespace
