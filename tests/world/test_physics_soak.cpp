// Soak: a world of balls and blocks under random launches for 100,000 steps. No body position,
// velocity or contact record may ever become non-finite.
#include <memory>
#include <vector>

#include "tests/world/physics_fixture.h"

namespace {

bool Finite(const YVector& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

float Uniform(float lo, float hi) { return lo + (hi - lo) * plat::CrtRand() / 32767.0f; }

struct Listener : YBumpEvent {
    long calls = 0;
    bool finite = true;
    void OnContact(void*, YBumpEvent*, const YVector* force, const YVector* torque, const YVector* position,
                   const YVector* normal, float depth) override {
        ++calls;
        finite =
            finite && Finite(*force) && Finite(*torque) && Finite(*position) && Finite(*normal) && std::isfinite(depth);
    }
};

TEST_F(PhysicsTest, RandomLaunchesNeverProduceNonFiniteValues) {
    dGeomID back = nullptr;
    PhysicsSetArena(&back, 20.0f, 20.0f, 3.0f);
    Listener listener;
    std::vector<std::unique_ptr<YRigidBall>> balls;
    for (int i = 0; i < 5; ++i) {
        auto ball = std::make_unique<YRigidBall>(0.5f, i % 3, 10.0f);
        ball->Configure(i == 4 ? 0.25f : 0.5f, i % 3, 10.0f, &listener);
        const YVector inertia(1e-5f, 1e-5f, 1e-5f);
        ball->SetMassDiagonal(i == 3 ? 5.0f : 1.0f, &inertia, false);
        balls.push_back(std::move(ball));
    }
    std::vector<std::unique_ptr<YRigidBox>> boxes;
    for (int i = 0; i < 12; ++i) {
        const YVector half(0.5f + 0.25f * (i % 3), 0.5f, 0.25f + 0.25f * (i % 2));
        auto box = std::make_unique<YRigidBox>(&half, i % 4 == 0);
        const YVector inertia(0.2f, 0.2f, 0.2f);
        box->SetMassDiagonal(0.05f + 50.0f * (i % 5), &inertia, true);
        box->listener = &listener;
        boxes.push_back(std::move(box));
    }
    auto place = [](YRigidBody& b, float z) {
        const YMatrix at = At(Uniform(-8, 8), Uniform(-4, 8), z);
        b.SetMatrix(&at);
        const YVector zero(0, 0, 0);
        b.SetLinearVel(&zero);
        b.SetAngularVel(&zero);
    };
    for (auto& b : boxes) place(*b, Uniform(0.5f, 3.0f));
    for (auto& b : balls) place(*b, 1.0f);

    constexpr int STEPS = 100000;
    for (int step = 0; step < STEPS; ++step) {
        if (step % 50 == 0) {
            YRigidBall& ball = *balls[plat::CrtRand() % balls.size()];
            YVector dir(Uniform(-1, 1), Uniform(-1, 1), Uniform(-0.2f, 1));
            dir = dir * Uniform(0.0f, 6.0f); // the length scales the speed, zero included
            YVector from;
            ball.GetPosition(&from);
            ball.Launch(&dir, &from);
        }
        if (step % 997 == 0) {
            // A hard shove of a block, a friction change and the shield switched.
            YRigidBox& box = *boxes[plat::CrtRand() % boxes.size()];
            const YVector force(Uniform(-3000, 3000), Uniform(-3000, 3000), Uniform(0, 3000));
            const YVector at = PositionOf(box);
            box.AddForceAtPos(&force, &at);
            g_PhysicsWorld.SetContactFriction(step % 2 ? 0.1f : -1.0f);
            SetBackWallEnabled(back, step % 3 != 0);
        }
        for (auto& b : balls) b->Update(0.025f);
        g_PhysicsWorld.PhysicsStep(step % 7 == 0 ? 0.05f : 0.025f);
        for (auto& b : balls) {
            const YVector p = PositionOf(*b);
            ASSERT_TRUE(Finite(p) && Finite(VelocityOf(*b))) << "ball at step " << step;
            if (std::fabs(p.x) > 15 || std::fabs(p.y) > 15 || p.z < -2 || p.z > 60) place(*b, 1.0f);
        }
        for (auto& b : boxes) {
            const YVector p = PositionOf(*b);
            ASSERT_TRUE(Finite(p) && Finite(VelocityOf(*b))) << "block at step " << step;
            if (std::fabs(p.x) > 15 || std::fabs(p.y) > 15 || p.z < -2 || p.z > 60) place(*b, 2.0f);
        }
        ASSERT_TRUE(listener.finite) << "contact record at step " << step;
        ASSERT_TRUE(std::isfinite(g_PhysicsWorld.ballSpeedFactor));
    }
    EXPECT_GT(listener.calls, 1000) << "the bodies did meet";
}

} // namespace
