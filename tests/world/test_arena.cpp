// The table arena, the two rays and the collision box, in small real ODE scenes.
#include <vector>

#include "core/init.h"
#include "tests/world/physics_fixture.h"
#include "world/physics/categories.h"
#include "world/physics/col_box.h"
#include "world/physics/wall_contacts.h"

namespace {

struct FakeRacket : YRacketLink {
    const YBumpEvent* held = nullptr;
    const YRigidBody* heldBody = nullptr;
    float shieldTaken = 0.0f;
    bool HeldOwnsBody(const YRigidBody* body) override { return body == heldBody; }
    bool HeldIsListener(const YBumpEvent* l) override { return l == held; }
    void ShieldTick(float s) override { shieldTaken += s; }
    float Width() override { return 2.0f; }
    void SetLine(float) override {}
};

struct Counter : YBumpEvent {
    std::vector<YBumpEvent*> others;
    std::vector<YVector> forces;
    void OnContact(void*, YBumpEvent* other, const YVector* force, const YVector*, const YVector*, const YVector*,
                   float) override {
        others.push_back(other);
        forces.push_back(*force);
    }
};

class ArenaTest : public PhysicsTest {
protected:
    void TearDown() override {
        GetInit().CurrentGameMode().perimeterBorder = true;
        WallContacts().clear();
        PhysicsTest::TearDown();
    }
};

TEST_F(ArenaTest, GeometryCensusWithAndWithoutBorders) {
    for (bool border : {false, true}) {
        GetInit().CurrentGameMode().perimeterBorder = border;
        dGeomID back = nullptr;
        PhysicsSetArena(&back, 20.0f, 30.0f, 3.0f);
        dSpaceID arena = PhysicsArenaSpace();
        ASSERT_NE(arena, nullptr);
        int boxes = 0, planes = 0, disabled = 0;
        for (int i = 0; i < dSpaceGetNumGeoms(arena); ++i) {
            dGeomID g = dSpaceGetGeom(arena, i);
            if (dGeomGetClass(g) == dBoxClass) ++boxes;
            if (dGeomGetClass(g) == dPlaneClass) ++planes;
            if (!dGeomIsEnabled(g)) ++disabled;
        }
        EXPECT_EQ(boxes, border ? 5 : 2);
        EXPECT_EQ(planes, 5);
        EXPECT_EQ(disabled, 1) << "only the back wall starts switched off";
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(dGeomGetCategoryBits(back), phys::CAT_BACK_WALL);
        EXPECT_FALSE(dGeomIsEnabled(back));
    }
    // A rebuild replaces the arena instead of adding to it.
    PhysicsSetArena(nullptr, 20.0f, 30.0f, 3.0f);
    EXPECT_EQ(dSpaceGetNumGeoms(PhysicsArenaSpace()), 10);
}

TEST_F(ArenaTest, BallLeavesAtTheNearEdgeUnlessTheBackWallIsOn) {
    for (bool wallOn : {false, true}) {
        dGeomID back = nullptr;
        PhysicsSetArena(&back, 20.0f, 20.0f, 3.0f);
        SetBackWallEnabled(back, wallOn);
        YRigidBall ball(0.5f, 0, 10.0f);
        const YVector inertia(1e-5f, 1e-5f, 1e-5f);
        ball.SetMassDiagonal(1.0f, &inertia, false);
        const YMatrix at = At(0.0f, -5.0f, 0.52f);
        ball.SetMatrix(&at);
        const YVector v(0.0f, -6.0f, 0.0f);
        ball.SetLinearVel(&v);
        float minY = 0.0f;
        for (int i = 0; i < 80; ++i) {
            g_PhysicsWorld.PhysicsStep(0.025f);
            minY = std::min(minY, PositionOf(ball).y);
        }
        if (wallOn) {
            EXPECT_GT(minY, -10.0f);
            EXPECT_GT(VelocityOf(ball).y, 0.0f) << "bounced back";
        } else {
            EXPECT_LT(minY, -11.0f);
        }
    }
}

TEST_F(ArenaTest, StopPlaneHoldsBlocksButLetsBallsPass) {
    PhysicsSetArena(nullptr, 20.0f, 20.0f, 3.0f); // stop plane at y = -7
    g_PhysicsWorld.SetContactFriction(0.05f);
    const YVector half(0.5f, 0.5f, 0.5f);
    YRigidBox box(&half, false);
    const YVector inertia(1.0f / 6, 1.0f / 6, 1.0f / 6);
    box.SetMassDiagonal(1.0f, &inertia, true);
    const YMatrix boxAt = At(3.0f, -6.0f, 0.52f);
    box.SetMatrix(&boxAt);
    YRigidBall ball(0.5f, 0, 10.0f);
    const YMatrix ballAt = At(-3.0f, -5.0f, 0.52f);
    ball.SetMatrix(&ballAt);
    const YVector slow(0.0f, -2.0f, 0.0f), v(0.0f, -5.0f, 0.0f);
    box.SetLinearVel(&slow);
    ball.SetLinearVel(&v);
    float ballMinY = 0.0f, boxMinY = 0.0f;
    for (int i = 0; i < 60; ++i) {
        g_PhysicsWorld.PhysicsStep(0.025f);
        ballMinY = std::min(ballMinY, PositionOf(ball).y);
        boxMinY = std::min(boxMinY, PositionOf(box).y);
    }
    // The block's near face (0.5 before its centre) stops at y = -7, give or take the solver's
    // penetration of one step.
    EXPECT_GT(boxMinY, -7.0f + 0.5f - 0.1f) << "the stop plane held the block";
    EXPECT_LT(boxMinY, -6.4f) << "the block got there";
    EXPECT_GT(PositionOf(box).y, -6.6f);
    EXPECT_LT(ballMinY, -9.0f) << "the ball crossed the stop line";
}

TEST_F(ArenaTest, ReachRayFindsTheNearestBlock) {
    const YVector half(0.5f, 0.5f, 0.5f);
    YRigidBox nearBox(&half, false), farBox(&half, false);
    const YMatrix nearAt = At(0.0f, 3.0f, 0.5f), farAt = At(0.0f, 6.0f, 0.5f);
    nearBox.SetMatrix(&nearAt);
    farBox.SetMatrix(&farAt);
    const YVector origin(0.0f, 0.0f, 0.5f), along(0.0f, 1.0f, 0.0f), up(0.0f, 0.0f, 1.0f);
    YVector hit(-1.0f, -1.0f, -1.0f);
    EXPECT_FALSE(PhysicsRayReaches(&origin, &along, 7.0f, farBox.geom, &hit)) << "hidden behind the near box";
    EXPECT_TRUE(PhysicsRayReaches(&origin, &along, 7.0f, nearBox.geom, &hit));
    EXPECT_NEAR(hit.y, 2.5f, 1e-4f);
    EXPECT_FALSE(PhysicsRayReaches(&origin, &along, 2.0f, nearBox.geom, &hit)) << "too short to reach it";
    EXPECT_TRUE(PhysicsRayReaches(&origin, &up, 7.0f, nullptr, &hit)) << "nothing on the ray, nothing asked";
}

TEST_F(ArenaTest, OcclusionRaySeesOnlyOpaqueBlocks) {
    PhysicsSetArena(nullptr, 20.0f, 20.0f, 3.0f);
    const YVector half(0.5f, 0.5f, 0.5f);
    YRigidBox opaque(&half, false), glass(&half, true);
    const YMatrix a = At(0.0f, 3.0f, 0.5f), b = At(4.0f, 3.0f, 0.5f);
    opaque.SetMatrix(&a);
    glass.SetMatrix(&b);
    const YVector along(0.0f, 1.0f, 0.0f), up(0.0f, 0.0f, 1.0f);
    const YVector behindOpaque(0.0f, 0.0f, 0.5f), behindGlass(4.0f, 0.0f, 0.5f);
    EXPECT_TRUE(PhysicsRayCast(&behindOpaque, &along, 7.0f));
    EXPECT_FALSE(PhysicsRayCast(&behindGlass, &along, 7.0f));
    EXPECT_FALSE(PhysicsRayCast(&behindOpaque, &up, 7.0f)) << "in the open";
    const YVector above(0.0f, -5.0f, 3.0f), down(0.0f, 0.0f, -1.0f);
    EXPECT_TRUE(PhysicsRayCast(&above, &down, 7.0f)) << "the floor hides what lies under it";
}

TEST_F(ArenaTest, CollisionBoxSparesTheShieldWhileHeld) {
    dGeomID back = nullptr;
    PhysicsSetArena(&back, 20.0f, 20.0f, 3.0f);
    SetBackWallEnabled(back, true);
    FakeRacket racket;
    g_RacketLink = &racket;
    Counter boomerang;
    YColBox colBox(0.5f, 0.5f, 0.2f);
    const YMatrix atBackWall = At(0.0f, -10.1f, 1.0f);
    YVector hit(0, 0, 0);

    racket.held = &boomerang;
    EXPECT_TRUE(colBox.Collide(&atBackWall, &hit, &boomerang));
    EXPECT_TRUE(WallContacts().empty());
    EXPECT_FLOAT_EQ(racket.shieldTaken, 0.0f);

    racket.held = nullptr;
    EXPECT_TRUE(colBox.Collide(&atBackWall, &hit, &boomerang));
    EXPECT_EQ(WallContacts().size(), 1u);
    EXPECT_FLOAT_EQ(racket.shieldTaken, 10.0f);
    EXPECT_LT(hit.y, -9.9f);
    EXPECT_GT(hit.y, -10.7f);

    const YMatrix inTheOpen = At(0.0f, 0.0f, 3.0f);
    EXPECT_FALSE(colBox.Collide(&inTheOpen, &hit, &boomerang));
}

TEST_F(ArenaTest, CollisionBoxPushesABlockAndReportsItself) {
    const YVector half(0.5f, 0.5f, 0.5f);
    YRigidBox box(&half, false);
    Counter blockListener;
    box.listener = &blockListener;
    const YVector inertia(1.0f / 6, 1.0f / 6, 1.0f / 6);
    box.SetMassDiagonal(1.0f, &inertia, true);
    const YMatrix boxAt = At(0.0f, 3.0f, 0.5f);
    box.SetMatrix(&boxAt);
    Counter boomerang;
    YColBox colBox(0.3f, 0.3f, 0.3f);
    const YMatrix touching = At(0.0f, 2.3f, 0.5f);
    YVector hit(0, 0, 0);
    ASSERT_TRUE(colBox.Collide(&touching, &hit, &boomerang));
    ASSERT_EQ(blockListener.others.size(), 1u);
    EXPECT_EQ(blockListener.others[0], &boomerang);
    EXPECT_NEAR(Length(blockListener.forces[0]), 500.0f, 1e-2f);
    EXPECT_GT(blockListener.forces[0].y, 0.0f) << "away from the box";
    g_PhysicsWorld.PhysicsStep(0.025f);
    EXPECT_GT(VelocityOf(box).y, 1.0f) << "the push moved the block";
}

} // namespace
