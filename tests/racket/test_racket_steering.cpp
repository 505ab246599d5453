// Steering, the racket's zone, kicks and their lift, the hit counter's Next bonus, and the
// footprint's target arrow.
#include <cmath>

#include "racket/racket_fixture.h"
#include "world/balls/ball.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/racket/racket_draw.h"

namespace rackettest {
namespace {

TEST_F(RacketTest, MoveToTakesTheTargetOrStopsTheHeroWhereItStands) {
    struct Row {
        const char* name;
        float posX;
        float target; // before the call
        float t;
        float newTarget;
        float result;
    };
    // Half track (20 - 3) / 2 = 8.5; margin 1.0.
    const Row rows[] = {
        {"plain target", 0.0f, 0.0f, 0.5f, 4.25f, 0.5f},
        {"beyond the end: the end", 0.0f, 0.0f, 5.0f, 8.5f, 1.0f},
        {"mouse back between hero and target: stop", 2.0f, 8.0f, 0.5f, 2.0f, 2.0f / 8.5f},
        {"back, but within the margin of the target: new target", 2.0f, 8.0f, 0.85f, 7.225f, 0.85f},
        {"back behind the hero: turn", 2.0f, 8.0f, -0.5f, -4.25f, -0.5f},
        {"walking to -x, mouse back between: stop", -3.0f, -8.0f, -0.5f, -3.0f, -3.0f / 8.5f},
    };
    racket->NewRound();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        racket->posX = row.posX;
        racket->target = row.target;
        EXPECT_NEAR(racket->MoveTo(row.t), row.result, 1e-5f);
        EXPECT_NEAR(racket->target, row.newTarget, 1e-5f);
        EXPECT_GE(racket->idleTime, 6.0f);
        EXPECT_LE(racket->idleTime, 8.0f);
    }
}

TEST_F(RacketTest, SteeringOnATableNoWiderThanTheRacketStaysFinite) {
    racket->NewRound();
    g_TableSize.Set(racket->width, 20.0f);
    for (float t : {-1.0f, 0.3f, 1.0f, NAN}) {
        const float r = racket->MoveTo(t);
        EXPECT_TRUE(std::isfinite(r));
        EXPECT_TRUE(std::isfinite(racket->target));
        EXPECT_TRUE(std::isfinite(racket->MoveStep(1.0f)));
    }
    Frames(10);
    EXPECT_TRUE(std::isfinite(racket->posX));
}

TEST_F(RacketTest, OutsidePlaySteeringDoesNothing) {
    racket->Park();
    EXPECT_FLOAT_EQ(racket->MoveTo(0.7f), 0.7f);
    EXPECT_FLOAT_EQ(racket->target, 0.0f);
}

TEST_F(RacketTest, TheZoneIsAnEllipseAroundTheHero) {
    racket->posX = 1.0f;
    racket->posY = -9.0f;
    racket->width = 3.0f;
    struct Row {
        float dx, dy, r;
        bool inside;
    };
    const Row rows[] = {
        {0.0f, 0.0f, 0.0f, true}, // the centre itself
        {1.49f, 0.0f, 0.0f, true}, {1.51f, 0.0f, 0.0f, false}, {-1.49f, 0.0f, 0.0f, true},
        {0.0f, 0.99f, 0.0f, true}, {0.0f, 1.01f, 0.0f, false}, {0.0f, -1.01f, 0.0f, false},
        {1.9f, 0.0f, 0.5f, true},  {0.0f, 1.4f, 0.5f, true},   {1.2f, 0.8f, 0.0f, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dx << "," << row.dy << " r " << row.r);
        const YVector p(1.0f + row.dx, -9.0f + row.dy, 0.5f);
        EXPECT_EQ(racket->Touches(&p, row.r), row.inside);
    }
}

TEST_F(RacketTest, KicksLiftByTheAimUnlessFrozenOrInLowBallModes) {
    struct Row {
        const char* name;
        bool lowBall;
        bool held;
        bool frozen;
        float elevation; // degrees, at ball speed factor 0.7
    };
    const float s = 0.7f;
    const Row rows[] = {
        {"aim lift", false, false, false, 15.0f / s},
        {"aim lift on a serve", false, true, false, 15.0f / s},
        {"frozen: flat", false, false, true, 0.0f},
        {"low ball: flat", true, false, false, 0.0f},
        {"low ball serve: 30 degrees", true, true, false, 30.0f / s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GetInit().CurrentGameMode().lowBall = row.lowBall;
        g_PhysicsWorld.ResetBallSpeed();
        racket->frostTime = row.frozen ? 5.0f : 0.0f;
        YBall* ball = new YBall(0);
        if (row.held) racket->held = ball;
        // Straight up the table, where the whole angle shows as the elevation.
        const YVector n(0.0f, 1.0f, 0.3f), at(0.0f, -8.0f, 0.5f);
        racket->KickBall(ball, &n, &at);
        YVector v;
        ball->body.GetLinearVel(&v);
        const float horizontal = std::sqrt(v.x * v.x + v.y * v.y);
        EXPECT_NEAR(std::atan2(v.z, horizontal) * 180.0f / 3.1415927f, row.elevation, 0.05f);
        EXPECT_NEAR(v.x, 0.0f, 1e-4f);
        racket->held = nullptr;
        delete ball;
    }
}

TEST_F(RacketTest, TheLiftTurnsTheKickAboutTheXAxis) {
    // The kick's direction is the normal's horizontal part turned up about x: its x part stays,
    // its y part keeps cos of the angle and |y| sin of it becomes the climb.
    struct Row {
        const char* name;
        float nx, ny;
        float aim;      // degrees
        float speedUp;  // ball speed factor
        YVector expect; // unit direction of the ball's velocity
    };
    const Row rows[] = {
        {"up the table", 0.0f, 2.0f, 30.0f, 1.0f, {0.0f, 0.8660254f, 0.5f}},
        {"slanting 45 degrees climbs less", 1.0f, 1.0f, 30.0f, 1.0f, {0.7071068f, 0.6123724f, 0.3535534f}},
        {"slanting the other way", -0.6f, 0.8f, 30.0f, 1.0f, {-0.6f, 0.6928203f, 0.4f}},
        {"along the racket stays flat", 1.0f, 0.0f, 30.0f, 1.0f, {1.0f, 0.0f, 0.0f}},
        {"back towards the player rises too", 0.6f, -0.8f, 30.0f, 1.0f, {0.6f, -0.6928203f, 0.4f}},
        {"no horizontal part: up the table", 0.0f, 0.0f, 30.0f, 1.0f, {0.0f, 0.8660254f, 0.5f}},
        {"aim over the speed factor", 0.0f, 1.0f, 21.0f, 0.7f, {0.0f, 0.8660254f, 0.5f}},
        {"at most 60 degrees", 0.6f, 0.8f, 55.0f, 0.7f, {0.6f, 0.4f, 0.6928203f}},
    };
    GetInit().CurrentGameMode().lowBall = false;
    racket->frostTime = 0.0f;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        racket->aimAngle = row.aim;
        g_PhysicsWorld.ballSpeedFactor = row.speedUp;
        YBall* ball = new YBall(0);
        const YVector n(row.nx, row.ny, -0.5f), at(0.0f, -8.0f, 0.5f);
        racket->KickBall(ball, &n, &at);
        YVector v;
        ball->body.GetLinearVel(&v);
        const float len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        ASSERT_GT(len, 0.0f);
        EXPECT_NEAR(v.x / len, row.expect.x, 1e-4f);
        EXPECT_NEAR(v.y / len, row.expect.y, 1e-4f);
        EXPECT_NEAR(v.z / len, row.expect.z, 1e-4f);
        delete ball;
    }
    g_PhysicsWorld.ResetBallSpeed();
}

TEST_F(RacketTest, TheEleventhKickWithoutABreakDropsANextBonus) {
    int drops = 0;
    BlockHooks().dropNextBonus = [&drops] { ++drops; };
    YBall* ball = new YBall(0);
    const YVector n(0.0f, 1.0f, 0.0f), at(0.0f, -8.0f, 0.5f);
    for (int i = 0; i < 10; ++i) racket->KickBall(ball, &n, &at);
    EXPECT_EQ(drops, 0);
    racket->KickBall(ball, &n, &at);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(racket->hitsSinceBreak, 5);
    EXPECT_EQ(racket->hits, 11);
    delete ball;
}

TEST_F(RacketTest, TheArrowFadesInWithTheDistanceToTheTarget) {
    struct Row {
        float distance, width, opacity;
    };
    const Row rows[] = {
        {2.9f, 3.0f, 0.0f},   {3.0f, 3.0f, 0.25f + 0.4f * 1.5f * 0.26666668f}, {5.25f, 3.0f, 0.65f},
        {12.0f, 3.0f, 0.65f}, {2.0f, 2.0f, 0.25f + 0.4f * 0.5f * 0.26666668f},
    };
    for (const Row& row : rows) EXPECT_NEAR(ArrowOpacity(row.distance, row.width), row.opacity, 1e-5f);
}

} // namespace
} // namespace rackettest
