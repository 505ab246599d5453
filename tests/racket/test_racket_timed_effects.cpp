// The racket's timed effects as play feels them: the shield's back wall stops balls at the near
// edge only while the shield lasts, and the slip's friction and ice fade back over its last second.
#include <algorithm>
#include <cmath>
#include <memory>

#include "racket/racket_fixture.h"
#include "world/physics/physics_world.h"
#include "world/table/table.h"

namespace rackettest {
namespace {

class TimedEffectsTest : public RacketTest {
protected:
    void SetUp() override {
        RacketTest::SetUp();
        // With a racket present the table builds the arena and keeps its back-wall plane.
        table_ = std::make_unique<YTable>();
        racket->NewRound();
    }
    void TearDown() override {
        table_.reset();
        RacketTest::TearDown();
    }

    // A loose ball rolling towards the near edge at 6 units a second, beside the racket: true when
    // it came back from the edge, false when it left the table there.
    static bool BallComesBackFromTheNearEdge() {
        YRigidBall ball(0.5f, 0, 10.0f);
        const YVector inertia(1e-5f, 1e-5f, 1e-5f);
        ball.SetMassDiagonal(1.0f, &inertia, false);
        const YMatrix at = At(5.0f, -5.0f, 0.52f);
        ball.SetMatrix(&at);
        const YVector v(0.0f, -6.0f, 0.0f);
        ball.SetLinearVel(&v);
        float minY = 0.0f;
        for (int i = 0; i < 80; ++i) {
            g_PhysicsWorld.PhysicsStep(0.025f);
            minY = std::min(minY, PositionOf(ball).y);
        }
        const bool back = minY > -10.5f && VelocityOf(ball).y > 0.0f;
        const bool gone = minY < -11.0f;
        EXPECT_NE(back, gone) << "neither stopped nor gone: min y " << minY;
        return back;
    }

    std::unique_ptr<YTable> table_;
};

TEST_F(TimedEffectsTest, TheBackWallStandsOnlyWhileTheShieldLasts) {
    ASSERT_NE(table_->frontPlane, nullptr);
    EXPECT_FALSE(BallComesBackFromTheNearEdge()) << "no shield: the near edge is open";

    struct Row {
        const char* name;
        void (*after)(YRacket&); // what happens once the shield is up
        bool wall;
    };
    const Row rows[] = {
        {"shield up", [](YRacket&) {}, true},
        {"a second of play wears a 3 s shield down to 2 s",
         [](YRacket& r) {
             for (int i = 0; i < 50; ++i) r.RacketUpdate(0.02f);
         },
         true},
        {"the shield runs out in play",
         [](YRacket& r) {
             for (int i = 0; i < 200; ++i) r.RacketUpdate(0.02f);
         },
         false},
        {"hits on the wall wear it out", [](YRacket& r) { r.ShieldTick(10.0f); }, false},
        {"every effect ends", [](YRacket& r) { r.ClearEffects(); }, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        racket->StartShield(3.0f);
        row.after(*racket);
        EXPECT_EQ(racket->shieldTime > 0.0f, row.wall);
        EXPECT_EQ(BallComesBackFromTheNearEdge(), row.wall);
        racket->ClearEffects();
    }
}

TEST_F(TimedEffectsTest, SlipFrictionAndIceFadeBackOverTheLastSecond) {
    // Friction and ice against the time left: slippery (0.1) and iced (0.75) until the last second,
    // then both fade linearly, friction by 100 per second, back to the unlimited friction of
    // ordinary play when the effect ends.
    struct Row {
        float elapsed; // since the slip bonus was caught, of 2.5 s
        double friction;
        float ice;
    };
    const Row rows[] = {
        {0.25f, 0.1, 0.75f},    {1.25f, 0.1, 0.75f},  {1.5f, 0.1, 0.75f},
        {1.75f, 25.1, 0.5625f}, {2.0f, 50.1, 0.375f}, {2.25f, 75.1, 0.1875f},
    };
    racket->StartSlip(2.5f);
    EXPECT_NEAR(ContactFriction(), 0.1, 1e-6);
    float elapsed = 0.0f;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.elapsed);
        // Quarter-second frames keep the time left exact.
        while (elapsed < row.elapsed) {
            racket->RacketUpdate(0.25f);
            elapsed += 0.25f;
        }
        EXPECT_NEAR(ContactFriction(), row.friction, 1e-3);
        EXPECT_NEAR(table_->frostLevel, row.ice, 1e-5f);
    }
    racket->RacketUpdate(0.25f);
    EXPECT_FLOAT_EQ(racket->slipTime, 0.0f);
    EXPECT_GT(ContactFriction(), 1e30) << "unlimited again once the slip ends";
}

} // namespace
} // namespace rackettest
