// Ball modes without blocks: the explosive ball turning to fire, what glowing balls show while
// held and while flying, and the phantom ball passing through a box but not through the floor.
#include "world/balls/ball.h"
#include "world/physics/arena.h"
#include "world_fixture.h"

using namespace worldtest;

namespace {

using BallModes = WorldTest;

TEST_F(BallModes, AnExplosiveBallKeepsItsTimeAsAFireBall) {
    for (float time : {4.0f, -1.0f}) {
        SCOPED_TRACE(time);
        YBall* ball = new YBall(BALL_NORMAL);
        Place(ball, 0, 0, 2);
        racket->held = ball;
        ball->SetMode(BALL_EXPLOSIVE, time);
        ball->Update(0.01f);
        ASSERT_EQ(ball->ModeIndex(), BALL_EXPLOSIVE);
        const float left = ball->modeTime;
        const YVector at(0, 0.5f, 2);
        static_cast<YBallExplosive*>(ball->mode)->Explode(&at);
        EXPECT_EQ(HeardOf("grenade"), time > 0 ? 1 : 2);
        ball->Update(0.01f);
        EXPECT_EQ(ball->ModeIndex(), BALL_FIRE);
        if (time > 0) {
            EXPECT_NEAR(ball->modeTime, left - 0.01f, 1e-5f);
        } else {
            EXPECT_LT(ball->modeTime, 0.0f);
            for (int i = 0; i < 500; ++i) ball->Update(0.01f);
            EXPECT_EQ(ball->ModeIndex(), BALL_FIRE) << "fire for good";
        }
        delete ball;
    }
}

TEST_F(BallModes, HeldPhantomAndElectroBallsShowNothingAHeldFireBallBurns) {
    struct Row {
        int mode;
        bool heldEmits;
    };
    for (const Row& r :
         {Row{BALL_PHANTOM, false}, Row{BALL_ELECTRO, false}, Row{BALL_FIRE, true}, Row{BALL_EXPLOSIVE, true}}) {
        SCOPED_TRACE(r.mode);
        g_ParticleSystem.Clear();
        Heard().clear();
        YBall* ball = new YBall(r.mode);
        Place(ball, 0, 0, 2);
        racket->held = ball;
        for (int i = 0; i < 100; ++i) ball->Update(0.02f);
        EXPECT_EQ(!g_ParticleSystem.Particles().empty(), r.heldEmits);
        EXPECT_EQ(HeardOf("lightning"), 0);
        // Flying, the phantom leaves its trail of about 20 a second.
        racket->held = nullptr;
        g_ParticleSystem.Clear();
        for (int i = 0; i < 50; ++i) {
            Place(ball, 0, 0, 2);
            ball->Update(0.02f);
        }
        const int trail = static_cast<int>(g_ParticleSystem.Particles().size());
        if (r.mode == BALL_PHANTOM) {
            EXPECT_NEAR(trail, 20, 1);
        }
        if (r.mode == BALL_FIRE) {
            EXPECT_NEAR(trail, 25, 1);
        }
        delete ball;
    }
}

TEST_F(BallModes, APhantomBallPassesThroughABoxAndBouncesOffTheFloor) {
    dGeomID backWall = nullptr;
    PhysicsSetArena(&backWall, 20.0f, 20.0f, 1.0f);
    const YVector half(1.0f, 0.5f, 1.0f);
    YRigidBox box(&half, false);
    const YMatrix boxAt = At(0, 2, 1);
    box.SetMatrix(&boxAt);
    const YVector zero(0, 0, 0);
    const YVector boxInertia(1, 1, 1);
    box.SetMassDiagonal(50.0f, &boxInertia, true);

    for (int mode : {BALL_PHANTOM, BALL_NORMAL}) {
        SCOPED_TRACE(mode);
        YBall* ball = new YBall(mode);
        Place(ball, 0, -2, 1);
        const YVector dir(0, 1, 0);
        const YVector from(0, -2, 1);
        ball->Launch(&dir, &from);
        box.SetMatrix(&boxAt);
        box.SetLinearVel(&zero);
        float maxY = -100, minZ = 100;
        for (int i = 0; i < 60; ++i) {
            g_PhysicsWorld.PhysicsStep(0.025f);
            YMatrix m;
            ball->GetMatrix(&m);
            maxY = std::max(maxY, m.m[13]);
            minZ = std::min(minZ, m.m[14]);
        }
        if (mode == BALL_PHANTOM)
            EXPECT_GT(maxY, 3.5f) << "through the box";
        else
            EXPECT_LT(maxY, 1.6f) << "stopped by the box";
        EXPECT_GT(minZ, 0.3f) << "never through the floor";
        delete ball;
    }
}

} // namespace
