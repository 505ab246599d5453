// Balls: mode changes and time-outs, the kick sound's cooldown, the racket test (bounce or catch),
// leaving the play area with and without effects, and positions that are no numbers.
#include <limits>

#include "world/balls/ball.h"
#include "world/blocks/block.h"
#include "world_fixture.h"

using namespace worldtest;

namespace {

using Balls = WorldTest;

TEST_F(Balls, ATimedModeComesAndGoesWithoutTouchingTheBody) {
    YBall* ball = new YBall(BALL_NORMAL);
    Place(ball, 0, 0, 3);
    racket->held = ball; // no speed keeping, no racket test
    const YVector v0(1.0f, 2.0f, 0.5f);
    ball->body.SetLinearVel(&v0);
    const YRigidBall* body = &ball->body;

    ball->SetMode(BALL_FIRE, 3.0f);
    EXPECT_EQ(ball->ModeIndex(), BALL_NORMAL) << "the change waits for the update";
    ball->Update(0.02f);
    EXPECT_EQ(ball->ModeIndex(), BALL_FIRE);
    EXPECT_EQ(&ball->body, body);
    EXPECT_EQ(ball->body.listener, static_cast<YBumpEvent*>(ball->mode));
    YVector v;
    ball->body.GetLinearVel(&v);
    EXPECT_FLOAT_EQ(v.x, v0.x);
    EXPECT_FLOAT_EQ(v.y, v0.y);
    EXPECT_FLOAT_EQ(v.z, v0.z);
    EXPECT_EQ(HeardOf("mutation"), 1);

    // Runs out in the update that takes the time below 0.
    for (int i = 0; i < 148; ++i) ball->Update(0.02f);
    EXPECT_EQ(ball->ModeIndex(), BALL_FIRE);
    ball->Update(0.02f);
    ball->Update(0.02f);
    EXPECT_EQ(ball->ModeIndex(), BALL_NORMAL);
    EXPECT_EQ(HeardOf("mutation"), 2);

    // -1 keeps a mode for good.
    ball->SetMode(BALL_HEAVY, -1.0f);
    for (int i = 0; i < 1000; ++i) ball->Update(0.02f);
    EXPECT_EQ(ball->ModeIndex(), BALL_HEAVY);
    EXPECT_EQ(HeardOf("mutation"), 3);
}

TEST_F(Balls, EachModeGivesItsRadiusMassAndKind) {
    YBall* ball = new YBall(BALL_NORMAL);
    racket->held = ball;
    for (int m = 0; m < BALL_MODE_COUNT; ++m) {
        SCOPED_TRACE(m);
        ball->SetMode(m, -1.0f);
        ball->Update(0.01f);
        ASSERT_EQ(ball->ModeIndex(), m);
        EXPECT_FLOAT_EQ(ball->body.GetRadius(), BallModeInfo(m).radius);
        EXPECT_EQ(ball->body.kind, m == BALL_UNIVERSAL ? 0 : BallModeInfo(m).collisionKind);
        dMass mass;
        dBodyGetMass(ball->body.body, &mass);
        EXPECT_NEAR(mass.mass, m == BALL_UNIVERSAL ? 1.0 : BallModeInfo(m).mass, 1e-6);
        EXPECT_EQ(ball->IsBallInPlay(), m != BALL_SMALL);
    }
}

TEST_F(Balls, TwoLaunchesWithinAQuarterSecondKickOnce) {
    YBall* ball = new YBall(BALL_NORMAL);
    const YVector dir(0, 1, 0), at(0, 0, 1);
    ball->Launch(&dir, &at);
    ball->Update(0.1f);
    ball->Launch(&dir, &at);
    EXPECT_EQ(HeardOf("kick"), 1);
    ball->Update(0.2f);
    ball->Launch(&dir, &at);
    EXPECT_EQ(HeardOf("kick"), 2);
    YVector v;
    ball->body.GetLinearVel(&v);
    EXPECT_NEAR(v.y, 10.0f * g_PhysicsWorld.ballSpeedFactor, 1e-4f);
}

TEST_F(Balls, AtTheRacketAReleasedBallBouncesAndALaterOneIsCaughtWithGloves) {
    racket->glovesTime = 5.0f;
    YBall* ball = new YBall(BALL_NORMAL);
    // 1.2 in front of the racket: inside its circle of 1.5 + 0.5.
    Place(ball, 0, racket->posY + 1.2f, 0.6f);
    ball->releaseCooldown = 0.3f;
    ball->Update(0.01f);
    EXPECT_EQ(racket->held, nullptr) << "released less than 0.5 s ago: bounced";
    EXPECT_EQ(racket->hits, 1);
    YVector v;
    ball->body.GetLinearVel(&v);
    EXPECT_GT(v.y, 0.0f);

    Place(ball, 0, racket->posY + 1.2f, 0.6f);
    ball->releaseCooldown = 0.0f;
    ball->Update(0.01f);
    EXPECT_EQ(racket->held, ball);
    EXPECT_FALSE(ball->body.IsEnabled());
    EXPECT_EQ(racket->hits, 1);

    // Exactly at the racket's centre: nothing.
    racket->held = nullptr;
    racket->glovesTime = -1.0f;
    Place(ball, racket->posX, racket->posY, 0.6f);
    ball->Update(0.01f);
    EXPECT_EQ(racket->hits, 1);
}

TEST_F(Balls, LeavingThePlayAreaDeletesTheBallWithOrWithoutEffects) {
    for (bool effects : {true, false}) {
        SCOPED_TRACE(effects);
        Heard().clear();
        g_ParticleSystem.Clear();
        YBall* ball = new YBall(BALL_FIRE);
        Place(ball, 0, 0, -3.0f);
        ball->Update(0.01f);
        EXPECT_TRUE(ball->scheduled);
        EXPECT_NEAR(ball->countdown, 0.15f, 0.0125f + 1e-6f);
        BlockEffectsEnabled = effects;
        for (int i = 0; i < 20 && !BallList().empty(); ++i) YZDelete::TickAll(0.02f);
        BlockEffectsEnabled = true;
        EXPECT_TRUE(BallList().empty());
        EXPECT_EQ(HeardOf("destroy_ball"), effects ? 1 : 0);
        EXPECT_EQ(g_ParticleSystem.Particles().empty(), !effects);
    }
}

TEST_F(Balls, APositionThatIsNoNumberNeverReachesTheRacket) {
    YBall* ball = new YBall(BALL_NORMAL);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Place(ball, nan, racket->posY + 1.0f, 0.5f);
    ball->Update(0.01f);
    EXPECT_EQ(racket->hits, 0);
    EXPECT_EQ(HeardOf("kick"), 0);
    EXPECT_TRUE(ball->scheduled);
    EXPECT_FLOAT_EQ(ball->countdown, 0.0f);
    YZDelete::TickAll(0.01f);
    EXPECT_TRUE(BallList().empty());
    EXPECT_EQ(HeardOf("destroy_ball"), 0) << "no blast at a position that is no number";
}

} // namespace
