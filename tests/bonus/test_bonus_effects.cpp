#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "bonus/bonus_fixture.h"
#include "render/scene/particles.h"
#include "world/balls/ball.h"
#include "world/bonus/bonus_bursts.h"
#include "world/physics/physics_world.h"
#include "world/racket/game_event.h"
#include "world/weapons/bomb.h"
#include "world/weapons/boomer.h"
#include "world/weapons/grenade.h"

namespace {

using bonustest::BonusTest;
using bonustest::Captions;

class Events : public YGameEvent {
public:
    void OnGameOver() override { ++gameOver; }
    void OnLevelComplete() override { ++levelComplete; }
    void OnServe() override {}
    void OnRacketHits(int) override {}
    int gameOver = 0;
    int levelComplete = 0;
};

class BonusEffects : public BonusTest {
protected:
    void SetUp() override {
        BonusTest::SetUp();
        racket->listener = &events;
    }
    void TearDown() override {
        racket->listener = nullptr;
        BonusTest::TearDown();
    }
    Events events;
};

// Each falling kind, caught in play: what it changes on the racket or in the
// physics, and the particles of its burst (20 catch or cold sparks, 30 for life
// and death).
TEST_F(BonusEffects, EachKindTakesItsEffectThroughTheCatch) {
    struct Case {
        int kind;
        std::function<void(YRacket&)> before;
        std::function<bool(YRacket&, const Events&)> holds;
        std::size_t particles;
    } cases[] = {
        {0, {}, [](YRacket& r, const Events&) { return r.ballMode == 0 && r.ballModeTime == 10.0f; }, 20},
        {1, {}, [](YRacket& r, const Events&) { return r.ballMode == 1 && r.ballModeTime == 11.0f; }, 20},
        {2, {}, [](YRacket& r, const Events&) { return r.ballMode == 2 && r.ballModeTime == 12.0f; }, 20},
        {3, {}, [](YRacket& r, const Events&) { return r.ballMode == 3 && r.ballModeTime == 13.0f; }, 20},
        {4, {}, [](YRacket& r, const Events&) { return r.ballMode == 4 && r.ballModeTime == 14.0f; }, 20},
        {5, {}, [](YRacket& r, const Events&) { return r.ballMode == 5 && r.ballModeTime == 15.0f; }, 20},
        {6, {}, [](YRacket& r, const Events&) { return r.ballMode == 6 && r.ballModeTime == 16.0f; }, 20},
        {7, {}, [](YRacket& r, const Events&) { return r.ballMode == 7 && r.ballModeTime == 17.0f; }, 20},
        {8, {}, [](YRacket& r, const Events&) { return r.glovesTime == 18.0f; }, 20},
        {9, {}, [](YRacket& r, const Events&) { return dynamic_cast<YBoomer*>(r.held) != nullptr; }, 20},
        {10, {}, [](YRacket& r, const Events&) { return dynamic_cast<YBomb*>(r.held) != nullptr; }, 20},
        {11, {}, [](YRacket& r, const Events&) { return dynamic_cast<YGrenade*>(r.held) != nullptr; }, 20},
        {12, [](YRacket&) { g_PhysicsWorld.MaxBallSpeed(); },
         [](YRacket&, const Events&) { return g_PhysicsWorld.ballSpeedFactor == BALL_SPEED_FACTOR_MIN; }, 20},
        {13, {}, [](YRacket&, const Events&) { return g_PhysicsWorld.ballSpeedFactor == BALL_SPEED_FACTOR_MAX; }, 20},
        {14, [](YRacket& r) { r.lives = 5; }, [](YRacket& r, const Events&) { return r.lives == 6; }, 30},
        {15, [](YRacket& r) { r.lives = 3; },
         [](YRacket& r, const Events& e) { return r.lives == 2 && e.gameOver == 0; }, 30},
        {16, {}, [](YRacket& r, const Events&) { return r.slumberTime == 26.0f && r.speedFactor == 0.5f; }, 20},
        {17, {}, [](YRacket& r, const Events&) { return r.vivacityTime == 27.0f && r.speedFactor == 3.0f; }, 20},
        {18, {}, [](YRacket& r, const Events&) { return r.shieldTime == 28.0f; }, 20},
        {19, {}, [](YRacket& r, const Events&) { return r.frostTime == 29.0f; }, 20},
        {20, {}, [](YRacket& r, const Events&) { return r.slipTime == 30.0f; }, 20},
        {21, [](YRacket& r) { r.StartFrost(5.0f), r.StartShield(5.0f), r.glovesTime = 5.0f; },
         [](YRacket& r, const Events&) { return r.frostTime == 0.0f && r.shieldTime == 0.0f && r.glovesTime < 0.0f; },
         20},
        {23, {}, [](YRacket&, const Events& e) { return e.levelComplete == 1; }, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        racket->ClearEffects();
        DeleteAllTacked();
        events = Events();
        g_ParticleSystem.Clear();
        if (c.before) c.before(*racket);
        Catch(c.kind);
        EXPECT_TRUE(c.holds(*racket, events));
        EXPECT_EQ(g_ParticleSystem.Particles().size(), c.particles);
    }
}

TEST_F(BonusEffects, ATimeoutOfZeroStartsTheEffectWithAZeroTimer) {
    BonusConfigs()[16].timeout = 0.0f;
    racket->slumberTime = 4.0f;
    Catch(16);
    EXPECT_EQ(racket->slumberTime, 0.0f);
}

TEST_F(BonusEffects, DeathAtTheLastLifeEndsTheGameOnce) {
    racket->lives = 1;
    Catch(15);
    EXPECT_EQ(racket->lives, 0);
    EXPECT_EQ(events.gameOver, 1);
}

// A weapon caught while a ball sits on the racket: the ball is served first,
// then the weapon is held in its place.
TEST_F(BonusEffects, AWeaponCaughtWithABallInHandServesTheBallFirst) {
    for (int kind : {9, 10, 11}) {
        SCOPED_TRACE(kind);
        DeleteAllTacked();
        YBall* ball = new YBall(0);
        racket->held = ball;
        ball->body.SetEnabled(false);
        Catch(kind);
        EXPECT_NE(racket->held, ball);
        EXPECT_NE(racket->held, nullptr);
        EXPECT_GT(ball->releaseCooldown, 0.0f); // let go
        EXPECT_TRUE(ball->body.IsEnabled());
    }
}

// Random scores as itself but applies, sounds and shows the kind it drew.
TEST_F(BonusEffects, RandomScoresAsItselfButShowsTheKindItDrew) {
    std::vector<float>& p = GetInit().CurrentGameMode().probabilities;
    p.assign(BONUS_KIND_COUNT, 0.0f);
    p[14] = 1.0f; // only Life can be drawn
    racket->lives = 2;
    racket->score = 0;
    Catch(BonusKind::Random);
    EXPECT_EQ(racket->lives, 3);
    EXPECT_EQ(racket->score, 100 + BonusKindIndex(BonusKind::Random));
    ASSERT_EQ(Captions().size(), 1u);
    EXPECT_EQ(Captions()[0].text, "kind 14: +122");
    EXPECT_EQ(HeardOf("sound_14"), 1);
    EXPECT_EQ(HeardOf("sound_22"), 0);
}

TEST_F(BonusEffects, RandomDrawsOnlyKindsTheModeAllows) {
    std::vector<float>& p = GetInit().CurrentGameMode().probabilities;
    p.assign(BONUS_KIND_COUNT, 0.0f);
    p[3] = 0.5f;
    p[20] = 0.5f;
    p[23] = 1.0f; // Next is never drawn
    for (int i = 0; i < 200; ++i) {
        const std::optional<BonusKind> k = DrawRandomBonusKind();
        ASSERT_TRUE(k.has_value());
        EXPECT_TRUE(*k == BonusKind::BallFire || *k == BonusKind::Slip) << BonusKindIndex(*k);
    }
}

// A mode that allows Random but none of the kinds it draws from: no effect, and
// no endless draw.
TEST_F(BonusEffects, RandomWithNothingToDrawGivesNoEffectAndReturns) {
    std::vector<float>& p = GetInit().CurrentGameMode().probabilities;
    p.assign(BONUS_KIND_COUNT, 0.0f);
    p[BonusKindIndex(BonusKind::Random)] = 1.0f;
    p[BonusKindIndex(BonusKind::Next)] = 1.0f;
    EXPECT_FALSE(DrawRandomBonusKind().has_value());
    racket->lives = 2;
    Catch(BonusKind::Random);
    EXPECT_EQ(racket->lives, 2);
    EXPECT_EQ(racket->score, 100 + BonusKindIndex(BonusKind::Random));
    ASSERT_EQ(Captions().size(), 1u);
    EXPECT_EQ(Captions()[0].text, "kind 22: +122");
    EXPECT_EQ(events.levelComplete, 0);
}

// One allowed kind among many: the bounded draw still finds it.
TEST_F(BonusEffects, RandomFindsARareAllowedKind) {
    std::vector<float>& p = GetInit().CurrentGameMode().probabilities;
    p.assign(BONUS_KIND_COUNT, 0.0f);
    p[21] = 1.0f;
    for (int i = 0; i < 50; ++i) EXPECT_TRUE(DrawRandomBonusKind() == BonusKind::Reset);
}

YParticle ParticleAt(float x, float y, float z) {
    YParticle p{};
    p.position = YVector(x, y, z);
    p.velocity = YVector(0.0f, 0.0f, 0.0f);
    return p;
}

TEST_F(BonusTest, TheVortexCirclesPullsInAndLifts) {
    racket->posX = 1.0f;
    racket->posY = -9.0f;
    struct Case {
        YVector at;
        YVector velocity; // after dt 0.02 (x 50 = x 1)
    } cases[] = {
        {{3.0f, -9.0f, 0.0f}, {-1.0f, -1.0f, 0.05f}}, // d = (2, 0): tangent (0, -1), pull (-1, 0)
        {{1.0f, -5.0f, 0.0f}, {1.0f, -2.0f, 0.05f}},  // d = (0, 4): tangent (1, 0), pull (0, -2)
        {{1.0f, -9.0f, 3.0f}, {0.0f, 0.0f, 0.0f}},    // on the racket's axis: nothing
    };
    for (const Case& c : cases) {
        YParticle p = ParticleAt(c.at.x, c.at.y, c.at.z);
        g_SpaceRacketVortex.Apply(&p, 0.02f);
        EXPECT_NEAR(p.velocity.x, c.velocity.x, 1e-5f);
        EXPECT_NEAR(p.velocity.y, c.velocity.y, 1e-5f);
        EXPECT_NEAR(p.velocity.z, c.velocity.z, 1e-5f);
    }
}

TEST_F(BonusTest, TheInwardFieldPullsTowardsThePointAboveTheRacket) {
    racket->posX = 0.0f;
    racket->posY = -9.0f;
    struct Case {
        YVector at;
        YVector velocity;
    } cases[] = {
        {{0.0f, -9.0f, 6.5f}, {0.0f, 0.0f, -1.0f}},
        {{3.0f, -5.0f, 2.5f}, {-0.6f, -0.8f, 0.0f}},
        {{0.0f, -9.0f, 2.5f}, {0.0f, 0.0f, 0.0f}},
    };
    for (const Case& c : cases) {
        YParticle p = ParticleAt(c.at.x, c.at.y, c.at.z);
        g_SpaceRacketIn.Apply(&p, 0.02f);
        EXPECT_NEAR(p.velocity.x, c.velocity.x, 1e-5f);
        EXPECT_NEAR(p.velocity.y, c.velocity.y, 1e-5f);
        EXPECT_NEAR(p.velocity.z, c.velocity.z, 1e-5f);
    }
}

} // namespace
