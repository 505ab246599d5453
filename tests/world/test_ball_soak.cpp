// Many balls of every mode launched at random among boxes, over the table's walls and floor, for
// thousands of steps: no position is ever anything but a number.
#include "world/balls/ball.h"
#include "world/physics/arena.h"
#include "world_fixture.h"

using namespace worldtest;

namespace {

using BallSoak = WorldTest;

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

TEST_F(BallSoak, RandomLaunchesKeepEveryPositionFinite) {
    dGeomID backWall = nullptr;
    PhysicsSetArena(&backWall, 20.0f, 20.0f, 1.0f);
    SetBackWallEnabled(backWall, true);
    std::vector<std::unique_ptr<YRigidBox>> boxes;
    for (int i = 0; i < 12; ++i) {
        const YVector half(0.5f + Unit(), 0.5f, 0.5f + Unit());
        auto box = std::make_unique<YRigidBox>(&half, false);
        const YMatrix m = At(Unit() * 16 - 8, Unit() * 12 - 4, half.z);
        box->SetMatrix(&m);
        const YVector inertia(0.2f, 0.2f, 0.2f);
        box->SetMassDiagonal(2.0f, &inertia, true);
        boxes.push_back(std::move(box));
    }
    int launches = 0;
    for (int step = 0; step < 20000; ++step) {
        // At most 20 balls: the oldest makes room for the next.
        if (step % 40 == 0 && BallList().size() >= 20) BallList()[0]->Schedule(0.0f);
        if (step % 40 == 0 && BallList().size() < 20) {
            YBall* ball = new YBall(plat::CrtRand() % BALL_MODE_COUNT);
            const YVector at(Unit() * 16 - 8, -7 + Unit() * 4, 0.5f + Unit() * 3);
            YVector dir(Unit() - 0.5f, Unit() * 0.5f + 0.1f, Unit() - 0.3f);
            // Now and then a wild one: very fast, straight down or straight up.
            if (step % 400 == 0) dir = YVector(0, 0, step % 800 == 0 ? -40.0f : 40.0f);
            ball->Launch(&dir, &at);
            ++launches;
        }
        YZDelete::TickAll(0.02f);
        g_PhysicsWorld.PhysicsStep(0.02f);
        // Straight after the step, before a ball's own update could schedule a broken one away.
        for (YBall* ball : BallList()) {
            if (ball->scheduled) continue; // left the table in an earlier step
            YMatrix m;
            ball->GetMatrix(&m);
            ASSERT_TRUE(Finite(YVector(m.m[12], m.m[13], m.m[14]))) << "step " << step;
        }
        for (size_t i = 0; i < TackedList().size(); ++i) TackedList()[i]->Update(0.02f);
        for (YBall* ball : BallList()) {
            YMatrix m;
            ball->GetMatrix(&m);
            if (ball->scheduled) continue; // leaving the table
            ASSERT_TRUE(Finite(YVector(m.m[12], m.m[13], m.m[14]))) << "step " << step;
            ASSERT_TRUE(Finite(ball->mode->Position())) << "step " << step;
        }
        for (const auto& box : boxes) {
            YVector p;
            box->GetPosition(&p);
            ASSERT_TRUE(Finite(p)) << "step " << step;
        }
        if (step % 100 == 0) g_ParticleSystem.Clear();
    }
    EXPECT_GT(launches, 200);
}

} // namespace
