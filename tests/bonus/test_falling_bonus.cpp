#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bonus/bonus_fixture.h"
#include "world/balls/ball.h"
#include "world/blocks/bonus_builder.h"
#include "world/physics/arena.h"

namespace {

using bonustest::BonusTest;
using bonustest::Captions;

constexpr int LIFE = 14;

// In play a catch scores, applies, sounds and shows its caption; outside play
// the bonus just goes. Either way it is gone at the next tick and shows no loss
// burst.
TEST_F(BonusTest, ACatchTakesEffectOnlyInPlay) {
    struct Case {
        int state;
        bool applies;
    } cases[] = {{0, true}, {1, false}, {3, false}, {4, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.state);
        racket->state = c.state;
        racket->lives = 3;
        racket->score = 0;
        Captions().clear();
        worldtest::Heard().clear();
        Catch(LIFE);
        EXPECT_TRUE(BonusList().empty());
        EXPECT_EQ(racket->lives, c.applies ? 4 : 3);
        EXPECT_EQ(racket->score, c.applies ? 100 + LIFE : 0);
        EXPECT_EQ(HeardOf("sound_14"), c.applies ? 1 : 0);
        ASSERT_EQ(Captions().size(), c.applies ? 1u : 0u);
        if (c.applies) {
            EXPECT_EQ(Captions()[0].text, "kind 14: +114");
            EXPECT_FLOAT_EQ(Captions()[0].colour.r, 14 / 40.0f);
        }
        EXPECT_EQ(HeardOf("destroy_ball"), 0);
    }
}

TEST_F(BonusTest, ACaughtBonusTakesEffectOnceEvenWhenUpdatedAgainBeforeItGoes) {
    racket->lives = 3;
    Drop(LIFE, 0.0f, -9.0f, 0.6f);
    for (int i = 0; i < 5; ++i) UpdateBonuses(0.01f);
    EXPECT_EQ(racket->lives, 4);
    EXPECT_EQ(racket->score, 100 + LIFE);
}

// A bonus that left the table waits a moment before it is deleted; the racket
// walking over it then must not catch it (it would give its effect every frame
// until deleted).
TEST_F(BonusTest, ABonusLostOffTheTableIsNotCaughtWhileItWaitsForDeletion) {
    racket->lives = 3;
    YBonus* bonus = Drop(LIFE, 0.0f, -11.5f, 0.6f); // beyond the near edge (10 + 0.6)
    UpdateBonuses(0.01f);
    ASSERT_TRUE(bonus->scheduled);
    racket->posY = -11.5f; // the racket steps right under it
    for (int i = 0; i < 5; ++i) UpdateBonuses(0.01f);
    EXPECT_EQ(racket->lives, 3);
    EXPECT_EQ(racket->score, 0);
    EXPECT_TRUE(Captions().empty());
    for (int i = 0; i < 20 && !BonusList().empty(); ++i) YZDelete::TickAll(0.02f);
    EXPECT_TRUE(BonusList().empty());
    EXPECT_EQ(HeardOf("destroy_ball"), 1); // lost, not caught: the loss burst
}

TEST_F(BonusTest, ANonFinitePositionIsGoneAtTheNextTick) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    YBonus* bonus = Drop(LIFE, 0.0f, 0.0f, 5.0f);
    YMatrix m = worldtest::At(nan, 0.0f, 5.0f);
    bonus->SetMatrix(&m);
    UpdateBonuses(0.01f);
    YZDelete::TickAll(0.0f);
    EXPECT_TRUE(BonusList().empty());
    EXPECT_EQ(racket->score, 0);
}

TEST_F(BonusTest, SwellingGrowsTheBonusToItsLimitOnlyWhenTheModeSaysSo) {
    struct Case {
        bool swell;
        float seconds;
        float scale;
    } cases[] = {{true, 0.5f, 1.125f}, {true, 1.0f, 1.25f}, {true, 3.0f, 1.25f}, {false, 3.0f, 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seconds);
        GetInit().CurrentGameMode().swellBonuses = c.swell;
        YBonus* bonus = Drop(LIFE, 5.0f, 5.0f, 5.0f);
        for (float t = 0.0f; t < c.seconds - 1e-4f; t += 0.05f) bonus->Update(0.05f);
        EXPECT_NEAR(bonus->scale, c.scale, 1e-4f);
        EXPECT_NEAR(bonus->type->radius, 0.6f * c.scale, 1e-4f);
        // Without swelling the sphere keeps the rigid ball's own radius.
        EXPECT_NEAR(bonus->body.GetRadius(), c.swell ? 0.6f * c.scale : 0.5f, 1e-4f);
        delete bonus;
    }
}

// The catch uses the bonus radius 0.6 even while the sphere is 0.5: the
// racket's zone is 1 deep, so a bonus 1.55 in front of it is caught and
// one 1.65 in front is not.
TEST_F(BonusTest, TheCatchUsesTheBonusRadiusNotTheSphere) {
    for (float gap : {1.55f, 1.65f}) {
        racket->score = 0;
        Drop(LIFE, 0.0f, -9.0f + gap, 0.6f);
        UpdateBonuses(0.01f);
        EXPECT_EQ(racket->score != 0, gap < 1.6f) << gap;
        DeleteAllBonuses();
    }
}

TEST_F(BonusTest, OnlyAStaticTouchFacingTheRacketSideWearsTheShield) {
    struct Case {
        float normalY;
        bool staticGeometry;
        float shieldAfter;
    } cases[] = {{0.95f, true, 15.0f}, {0.9f, true, 20.0f}, {-1.0f, true, 20.0f}, {1.0f, false, 20.0f}};
    for (const Case& c : cases) {
        racket->shieldTime = 20.0f;
        YBonus* bonus = Drop(LIFE, 0.0f, 0.0f, 3.0f);
        const YVector zero(0, 0, 0), p(0, 0, 0), n(0.0f, c.normalY, 0.0f);
        bonus->OnContact(nullptr, c.staticGeometry ? nullptr : bonus, &zero, &zero, &p, &n, 0.0f);
        EXPECT_FLOAT_EQ(racket->shieldTime, c.shieldAfter) << c.normalY << " " << c.staticGeometry;
        delete bonus;
    }
}

// In a rolling-bonus mode the bonus meets only floor and walls and rolls to the
// racket's side.
TEST_F(BonusTest, ARollingBonusPassesBlocksAndRollsTowardsTheRacket) {
    GetInit().CurrentGameMode().bonusMode = 2;
    racket->state = 4;
    dGeomID back = nullptr;
    PhysicsSetArena(&back, 20.0f, 20.0f, 1.0f);
    // A box body standing in the way, which an ordinary sphere would hit.
    const YVector half(3.0f, 0.5f, 2.0f);
    YRigidBox wall(&half, false);
    YMatrix wm = worldtest::At(0.0f, 2.0f, 2.0f);
    wall.SetMatrix(&wm);
    wall.SetEnabled(false);
    YBonusBuilder* builder = CreateBonusBuilder(LIFE);
    const YMatrix at = worldtest::At(0.0f, 6.0f, 2.0f);
    const YVector sideways(5.0f, 0.0f, 0.0f);
    builder->Run(&at, &sideways);
    delete builder;
    ASSERT_EQ(BonusList().size(), 1u);
    YBonus* bonus = BonusList()[0];
    EXPECT_EQ(bonus->body.kind, 1);
    YVector v;
    bonus->body.GetLinearVel(&v);
    EXPECT_FLOAT_EQ(v.x, 0.0f); // the given velocity is ignored
    EXPECT_FLOAT_EQ(v.y, -1.0f);
    float lowest = 100.0f;
    for (int i = 0; i < 200 && !BonusList().empty(); ++i) {
        UpdateBonuses(0.02f);
        g_PhysicsWorld.PhysicsStep(0.02f);
        YVector p;
        bonus->body.GetPosition(&p);
        lowest = std::min(lowest, p.z);
        if (p.y < -4.0f) break;
    }
    ASSERT_FALSE(BonusList().empty());
    YVector p;
    bonus->body.GetPosition(&p);
    EXPECT_LT(p.y, -4.0f);   // past the box, on the racket's side
    EXPECT_GT(lowest, 0.0f); // held up by the floor
}

} // namespace

namespace {

// The racket's own frame updates the falling bonuses: a bonus dropped onto it is caught there.
using bonustest::BonusTest;

TEST_F(BonusTest, TheRacketsFrameCatchesAFallingBonus) {
    YBall* ball = new YBall(0); // a ball in play keeps the round going
    YMatrix far = worldtest::At(0.0f, 5.0f, 1.0f);
    ball->SetMatrix(&far);
    racket->lives = 3;
    Drop(14, racket->posX, racket->posY, 0.6f);
    racket->RacketUpdate(0.01f);
    YZDelete::TickAll(0.01f);
    EXPECT_TRUE(BonusList().empty());
    EXPECT_EQ(racket->lives, 4);
    EXPECT_EQ(racket->score, 114);
}

} // namespace
