// Body wrappers: mass softening, placement round trip, ball configuration and the ball's motion
// rules.
#include <vector>

#include "core/init.h"
#include "tests/world/physics_fixture.h"
#include "world/physics/categories.h"

namespace {

TEST(Softening, HeavyObjectsApproachTenPointOne) {
    const struct {
        float m, expected, tolerance;
    } cases[] = {{0.05f, 0.1f, 1e-6f},     {0.1f, 0.1f, 1e-6f},     {0.5f, 0.5f, 1e-6f}, {1.0f, 1.0f, 1e-6f},
                 {2.0f, 1.766667f, 1e-4f}, {1000.0f, 10.0f, 0.01f}, {-3.0f, 0.1f, 1e-6f}};
    for (const auto& c : cases) EXPECT_NEAR(SoftenedMass(c.m), c.expected, c.tolerance) << c.m;
    for (float m = 1.0f; m < 1e7f; m *= 3.0f) EXPECT_LE(SoftenedMass(m), 10.1f) << m;
}

TEST_F(PhysicsTest, SoftenedMassScalesTheInertiaAndBadInputStaysFinite) {
    YRigidBox box;
    const YVector inertia(2.0f, 4.0f, 6.0f);
    EXPECT_NEAR(box.SetMassDiagonal(1000.0f, &inertia, true), 10.0f, 0.01f);
    dMass m;
    dBodyGetMass(box.body, &m);
    EXPECT_NEAR(m.mass, 10.0, 0.01);
    EXPECT_NEAR(m.I[0], 2.0 * m.mass / 1000.0, 1e-6);
    // Zero or not-a-number mass must not reach the solver.
    const YVector zero(0.0f, 0.0f, 0.0f);
    box.SetMassDiagonal(std::nanf(""), &zero, false);
    dBodyGetMass(box.body, &m);
    EXPECT_GT(m.mass, 0.0);
    EXPECT_GT(m.I[0], 0.0);
}

TEST_F(PhysicsTest, MatrixRoundTripKeepsARotatedPlacement) {
    YRigidBox box;
    YMatrix rz, rx;
    rz.SetRotationZ(30.0f);
    rx.SetRotationX(50.0f);
    YMatrix m = rz * rx;
    m.m[12] = 1.5f;
    m.m[13] = -2.0f;
    m.m[14] = 3.25f;
    box.SetMatrix(&m);
    YMatrix out;
    box.GetMatrix(&out);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(out.m[i], m.m[i], 1e-5f) << i;
    // The body's own x axis is the matrix's first row: a point at local (1, 0, 0) lands there.
    dVector3 world;
    dBodyGetRelPointPos(box.body, 1.0, 0.0, 0.0, world);
    const YVector expected = m.TransformPoint(YVector(1.0f, 0.0f, 0.0f));
    EXPECT_NEAR(world[0], expected.x, 1e-5);
    EXPECT_NEAR(world[1], expected.y, 1e-5);
    EXPECT_NEAR(world[2], expected.z, 1e-5);
}

TEST_F(PhysicsTest, BallCategoryIsFixedAtConstruction) {
    YRigidBall ordinary(0.3f, 0, 10.0f);
    YRigidBall roller(0.3f, 1, 10.0f);
    EXPECT_EQ(dGeomGetCategoryBits(ordinary.geom), phys::CAT_BALL);
    EXPECT_EQ(dGeomGetCollideBits(ordinary.geom), phys::COLLIDE_BALL);
    EXPECT_EQ(dGeomGetCategoryBits(roller.geom), phys::CAT_ROLLER);
    EXPECT_FLOAT_EQ(ordinary.GetRadius(), 0.5f) << "the radius comes with Configure";
    ordinary.Configure(0.25f, 1, 8.0f, nullptr);
    EXPECT_EQ(ordinary.kind, 1);
    EXPECT_EQ(dGeomGetCategoryBits(ordinary.geom), phys::CAT_BALL);
    EXPECT_FLOAT_EQ(ordinary.GetRadius(), 0.25f);
    roller.Configure(0.5f, 0, 8.0f, nullptr);
    EXPECT_EQ(dGeomGetCategoryBits(roller.geom), phys::CAT_ROLLER);
}

TEST_F(PhysicsTest, LaunchScalesBySpeedAndFactor) {
    YRigidBall ball(0.5f, 0, 10.0f);
    const YVector dir(0.0f, 1.0f, 0.0f), at(1.0f, 2.0f, 3.0f);
    ball.Launch(&dir, &at);
    EXPECT_NEAR(VelocityOf(ball).y, 7.0f, 1e-5f);
    EXPECT_NEAR(ball.currentSpeed, 7.0f, 1e-5f);
    EXPECT_FALSE(ball.touched);
    EXPECT_NEAR(PositionOf(ball).z, 3.0f, 1e-6f);
}

TEST_F(PhysicsTest, BallUpdateRules) {
    YGameMode& mode = GetInit().CurrentGameMode();
    const bool savedLowBall = mode.lowBall;
    constexpr float kDt = 0.02f;
    const float keep = std::nanf(""); // z afterwards: unchanged
    struct Case {
        const char* what;
        YVector v, p;       // velocity and position before
        float currentSpeed; // the speed the ball had
        float factor;       // ball speed factor
        bool lowBall, touched;
        YVector v2;      // velocity afterwards
        float tolerance; // on each of its components
        float z2;        // z afterwards
    };
    const float ceiling = 0.33f * 20 * (1 - 0.95f * 0.95f);
    // clang-format off
    const Case cases[] = {
        {"a sudden jump from 7 to 30 is held to 7.4", {0, 30, 0}, {0, 0, 0.5f}, 7.0f, 0.7f, false, false,
         {0, 7.4f, 0}, 1e-4f, keep},
        {"a sudden stop from 7 is held to 6.6 and eased up", {0, 1, 0}, {0, 0, 0.5f}, 7.0f, 0.7f, false, false,
         {0, 6.6f, 0}, 1e-3f, keep},
        {"horizontal speed eased towards 12 at factor 1.2", {0, 7, 0}, {0, 0, 0.5f}, 7.0f, 1.2f, false, false,
         {0, 7.0f * (1 + 0.04f * (12 - 7.0f) / 7.0f), 0}, 1e-3f, keep},
        {"rising too fast loses climb", {0, 7, 7}, {0, 0, 0.5f}, 9.899495f, 0.7f, false, false,
         {0, 7, 7 * (1 + 0.1f * (7 - 9.899495f) / 9.899495f)}, 1e-3f, keep},
        {"low ball halves the climb after a touch", {0, 7, 2}, {0, 0, 0.5f}, 7.28011f, 0.7f, true, true,
         {0, 7, 1}, 1e-3f, keep},
        {"low ball leaves an untouched ball", {0, 7, 2}, {0, 0, 0.5f}, 7.28011f, 0.7f, true, false,
         {0, 7, 2}, 1e-3f, keep},
        {"above the ceiling near the racket", {0, 7, 1}, {0, -9.0f, 2.0f}, 7.0710678f, 0.7f, false, false,
         {0, 7, 1 - kDt}, 1e-3f, 2.0f + 0.15f * 0.7f * (ceiling - 2.0f)},
    };
    // clang-format on
    for (const Case& c : cases) {
        mode.lowBall = c.lowBall;
        g_PhysicsWorld.ballSpeedFactor = c.factor;
        YRigidBall ball(0.5f, 0, 10.0f);
        const YMatrix at = At(c.p.x, c.p.y, c.p.z);
        ball.SetMatrix(&at);
        ball.SetLinearVel(&c.v);
        ball.currentSpeed = c.currentSpeed;
        ball.touched = c.touched;
        ball.Update(kDt);
        const YVector v = VelocityOf(ball);
        EXPECT_NEAR(v.x, c.v2.x, c.tolerance) << c.what;
        EXPECT_NEAR(v.y, c.v2.y, c.tolerance) << c.what;
        EXPECT_NEAR(v.z, c.v2.z, c.tolerance) << c.what;
        if (!std::isnan(c.z2)) {
            EXPECT_NEAR(PositionOf(ball).z, c.z2, 1e-4f) << c.what;
        }
        EXPECT_NEAR(ball.currentSpeed, Length(v), 1e-4f) << c.what;
    }
    mode.lowBall = savedLowBall;
}

TEST_F(PhysicsTest, ARollerHalvesItsSidewaysSpeedAndHeadsForTheRacket) {
    g_PhysicsWorld.ballSpeedFactor = 0.7f;
    YRigidBall ball(0.5f, 1, 10.0f);
    const YMatrix at = At(0, 0, 0.5f);
    ball.SetMatrix(&at);
    const YVector v0(2, 7, 0), spin(1, 2, 3);
    ball.SetLinearVel(&v0);
    ball.SetAngularVel(&spin);
    ball.currentSpeed = 7.28011f;
    ball.Update(0.02f);
    const YVector v = VelocityOf(ball);
    EXPECT_LT(v.y, 0.0f);
    EXPECT_NEAR(v.x / -v.y, 1.0f, 1e-3f) << "sideways 2 halved to 1 against the forced -1";
    YVector w;
    ball.GetAngularVel(&w);
    EXPECT_NE(w.x, 0.0f);
    EXPECT_EQ(w.y, 0.0f) << "spins about x only";
    EXPECT_EQ(w.z, 0.0f) << "spins about x only";
}

TEST_F(PhysicsTest, BallAtRestGetsASmallPush) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        plat::CrtSrand(seed);
        YRigidBall ball(0.5f, 0, 10.0f);
        const YVector still(0.0f, 0.0f, 0.0f);
        ball.SetLinearVel(&still);
        ball.currentSpeed = 0.0f;
        g_PhysicsWorld.ballSpeedFactor = 0.0001f; // no easing towards a speed worth the name
        ball.Update(0.02f);
        const YVector v = VelocityOf(ball);
        EXPECT_LE(std::fabs(v.x), 0.1001f);
        EXPECT_LE(std::fabs(v.y), 0.1001f);
        EXPECT_GT(std::fabs(v.x) + std::fabs(v.y), 0.0f);
    }
}

TEST_F(PhysicsTest, BallUpdateRaisesTheSpeedFactorOnTheNextStep) {
    YRigidBall ball(0.5f, 0, 10.0f);
    const YVector v(0.0f, 7.0f, 0.0f);
    ball.SetLinearVel(&v);
    g_PhysicsWorld.PhysicsStep(0.05f);
    EXPECT_FLOAT_EQ(g_PhysicsWorld.ballSpeedFactor, 0.7f) << "no ball moved";
    ball.Update(0.05f);
    g_PhysicsWorld.PhysicsStep(0.05f);
    EXPECT_NEAR(g_PhysicsWorld.ballSpeedFactor, 0.7f + 0.007f * 0.05f, 1e-6f);
    g_PhysicsWorld.ballSpeedFactor = 1.1999f;
    ball.Update(0.05f);
    g_PhysicsWorld.PhysicsStep(0.05f);
    EXPECT_FLOAT_EQ(g_PhysicsWorld.ballSpeedFactor, 1.2f);
}

} // namespace
