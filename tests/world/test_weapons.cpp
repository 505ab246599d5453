// Bombs and grenades: the grenade supply, throws off a frozen racket, the fresh fuse of a caught
// bomb, fuse cuts by touches, where a grenade lands for its launch angle, and the numbers each
// weapon keeps for itself although both share one body of code.
#include <cmath>
#include <functional>
#include <memory>

#include "core/init.h"
#include "world/physics/arena.h"
#include "world/physics/rigid_body.h"
#include "world/weapons/bomb.h"
#include "world/weapons/grenade.h"
#include "world_fixture.h"

using namespace worldtest;

namespace {

using Weapons = WorldTest;

YGrenade* HeldGrenade(YRacket* racket) { return dynamic_cast<YGrenade*>(racket->held); }

TEST_F(Weapons, TheGrenadeSupplyCountsDownToNoSuccessor) {
    racket->TakeGrenade(new YGrenade(5));
    std::vector<int> leftAfterThrow;
    for (int t = 0; t < 6 && HeldGrenade(racket.get()); ++t) {
        YGrenade* g = HeldGrenade(racket.get());
        racket->ReleaseTacked(true);
        leftAfterThrow.push_back(g->grenadesLeft);
        // A second release during the throw does nothing.
        g->Release(true);
        EXPECT_EQ(g->grenadesLeft, leftAfterThrow.back());
        for (int i = 0; i < 15; ++i) {
            const std::vector<YRacketTacked*> all = TackedList();
            for (YRacketTacked* o : all) o->Update(0.02f);
        }
        EXPECT_EQ(g->throwTimer, -1.0f);
    }
    EXPECT_EQ(leftAfterThrow, (std::vector<int>{4, 3, 2, 1, 0}));
    EXPECT_EQ(racket->held, nullptr) << "no successor after the last";
}

TEST_F(Weapons, ReleasingWithoutKeepingTheSupplyEmptiesIt) {
    racket->TakeGrenade(new YGrenade(5));
    YGrenade* g = HeldGrenade(racket.get());
    racket->ReleaseTacked(false);
    EXPECT_EQ(g->grenadesLeft, 0);
    for (int i = 0; i < 15; ++i) g->Update(0.02f);
    EXPECT_EQ(racket->held, nullptr);
}

TEST_F(Weapons, ATouchCutsAFuseAndNeverLengthensIt) {
    YBomb* bomb = new YBomb;
    bomb->fuse = 4.0f;
    EXPECT_FALSE(bomb->BumpSingle(nullptr, nullptr, nullptr, nullptr, nullptr));
    EXPECT_FLOAT_EQ(bomb->fuse, 0.1f);
    bomb->fuse = 0.03f;
    const YVector farWall(0, -1, 0), backWall(0, 1, 0), zero(0, 0, 0);
    bomb->OnContact(nullptr, nullptr, &zero, &zero, &zero, &farWall, 0.0f);
    EXPECT_FLOAT_EQ(bomb->fuse, 0.03f);
    racket->shieldTime = 25.0f;
    bomb->OnContact(nullptr, nullptr, &zero, &zero, &zero, &backWall, 0.0f);
    EXPECT_FLOAT_EQ(racket->shieldTime, 15.0f);

    YGrenade* grenade = new YGrenade(1);
    grenade->fuse = 3.0f;
    grenade->OnContact(nullptr, nullptr, &zero, &zero, &zero, &farWall, 0.0f);
    EXPECT_FLOAT_EQ(grenade->fuse, 0.05f);
    // Another body touching (other not null) is no wall.
    grenade->fuse = 3.0f;
    grenade->OnContact(nullptr, bomb, &zero, &zero, &zero, &farWall, 0.0f);
    EXPECT_FLOAT_EQ(grenade->fuse, 3.0f);
}

// Flies a bomb from the racket out to y = 4 and back towards the racket.
void FlyBack(YBomb* bomb, YRacket* racket) {
    Place(bomb, 0, 0, 0.6f);
    bomb->throwTimer = -1.0f;
    bomb->releaseCooldown = 0.0f;
    bomb->body.SetEnabled(true);
    bomb->body.SetGeomEnabled(true);
    const YVector back(0, -8, 0);
    bomb->body.SetLinearVel(&back);
    const YMatrix near = At(racket->posX, racket->posY + 1.0f, 0.6f);
    bomb->SetMatrix(&near);
}

TEST_F(Weapons, AFrozenRacketThrowsTheBombOffAndAWarmOneCatchesIt) {
    YBomb* bomb = new YBomb;
    racket->TakeBomb(bomb);
    racket->ReleaseTacked(true);
    EXPECT_FLOAT_EQ(bomb->fuse, YBomb::FUSE);
    for (int i = 0; i < 10; ++i) bomb->Update(0.02f);
    ASSERT_EQ(bomb->throwTimer, -1.0f);
    EXPECT_EQ(racket->held, nullptr);

    racket->frostTime = 3.0f;
    FlyBack(bomb, racket.get());
    bomb->Update(0.02f);
    EXPECT_EQ(racket->held, nullptr);
    YVector v;
    bomb->body.GetLinearVel(&v);
    EXPECT_GT(v.y, 0.0f) << "thrown off again";

    racket->frostTime = 0.0f;
    FlyBack(bomb, racket.get());
    bomb->Update(0.02f);
    EXPECT_EQ(racket->held, bomb);
    EXPECT_FLOAT_EQ(bomb->fuse, 0.0f);
    EXPECT_EQ(bomb->throwTimer, 0.0f);
    // The sparks keep burning in the hand.
    g_ParticleSystem.Clear();
    for (int i = 0; i < 50; ++i) bomb->Update(0.02f);
    EXPECT_NEAR(static_cast<int>(g_ParticleSystem.Particles().size()), 70, 1);
    // The next throw has a fresh fuse.
    racket->ReleaseTacked(true);
    EXPECT_FLOAT_EQ(bomb->fuse, YBomb::FUSE);
}

TEST_F(Weapons, ABombDeletedInBulkOrExplodedShowsNoBlast) {
    YBomb* exploded = new YBomb;
    Place(exploded, 0, 0, 1);
    exploded->Explode();
    EXPECT_EQ(HeardOf("bomb"), 1);
    YZDelete::TickAll(0.02f);
    EXPECT_EQ(HeardOf("destroy_ball"), 0);
    YBomb* lost = new YBomb;
    Place(lost, 0, 0, 1);
    delete lost;
    EXPECT_EQ(HeardOf("destroy_ball"), 1);
}

TEST_F(Weapons, AGrenadeLandsWhereItsAngleSays) {
    dGeomID backWall = nullptr;
    PhysicsSetArena(&backWall, 40.0f, 60.0f, 1.0f);
    g_TableSize.Set(40.0f, 60.0f);
    YGameMode& mode = GetInit().CurrentGameMode();
    const bool lowBall = mode.lowBall;
    mode.lowBall = false;
    racket->posY = -25.0f;
    for (float pitch : {20.0f, 45.0f}) {
        SCOPED_TRACE(pitch);
        racket->aimAngle = pitch;
        YGrenade* g = new YGrenade(1);
        racket->TakeGrenade(g);
        racket->ReleaseTacked(true);
        YVector start;
        while (g->throwTimer != -1.0f) {
            start = g->Position();
            g->Update(0.01f);
        }
        g->fuse = 100.0f; // lands before it goes off
        const float speed = 15.0f * g_PhysicsWorld.ballSpeedFactor;
        const float a = pitch * 3.1415927f / 180.0f;
        const float vz = speed * std::sin(a), vy = speed * std::cos(a);
        // Where it comes down to its start height: range of a throw under 9.8 units/s^2.
        const float range = 2.0f * vy * vz / 9.8f;
        float landedY = NAN;
        float prevZ = start.z;
        for (int i = 0; i < 400; ++i) {
            g_PhysicsWorld.PhysicsStep(0.01f);
            g->Update(0.01f);
            const YVector p = g->Position();
            if (i > 5 && prevZ >= start.z && p.z < start.z) {
                landedY = p.y;
                break;
            }
            prevZ = p.z;
        }
        EXPECT_NEAR(landedY - start.y, range, 0.08f * range);
        delete g;
    }
    mode.lowBall = lowBall;
}

TEST_F(Weapons, UnderLowBallAGrenadeFliesAtTenDegrees) {
    YGameMode& mode = GetInit().CurrentGameMode();
    const bool lowBall = mode.lowBall;
    mode.lowBall = true;
    racket->aimAngle = 50.0f;
    racket->tilt = 0.0f;
    YGrenade* g = new YGrenade(1);
    racket->TakeGrenade(g);
    racket->ReleaseTacked(true);
    for (int i = 0; i < 30 && g->throwTimer != -1.0f; ++i) g->Update(0.01f);
    YVector v;
    g->body.GetLinearVel(&v);
    EXPECT_NEAR(std::atan2(v.z, v.y) * 180.0f / 3.1415927f, 10.0f, 0.01f);
    mode.lowBall = lowBall;
}

// Each weapon, built by the shared code, keeps its own fuse cut, launch speed, blast and sound.
struct WeaponCase {
    const char* name;
    std::function<YThrownWeapon*()> make;
    std::function<void(YThrownWeapon*)> explode;
    float fuseCut;
    float speed;
    float radius;
    float strength;
};

const WeaponCase kWeapons[] = {
    {"bomb", [] { return new YBomb; }, [](YThrownWeapon* w) { static_cast<YBomb*>(w)->Explode(); }, 0.1f, 8.0f, 5.0f,
     1500.0f},
    {"grenade", [] { return new YGrenade(1); }, [](YThrownWeapon* w) { static_cast<YGrenade*>(w)->Explode(); }, 0.05f,
     15.0f, 2.75f, 500.0f},
};

// Records what a blast reports to a body.
struct BlastEar : YBumpEvent {
    std::vector<YVector> forces;
    void OnContact(void*, YBumpEvent* other, const YVector* force, const YVector*, const YVector*, const YVector*,
                   float) override {
        if (other == this) forces.push_back(*force);
    }
};

TEST_F(Weapons, EveryTouchCutsEachWeaponsFuseToItsOwnLimit) {
    const YVector farWall(0, -1, 0), zero(0, 0, 0);
    for (const WeaponCase& c : kWeapons) {
        SCOPED_TRACE(c.name);
        YThrownWeapon* w = c.make();
        const std::function<void()> touches[] = {
            [&] { EXPECT_FALSE(w->BumpSingle(nullptr, &zero, &zero, &zero, &zero)); },
            [&] { EXPECT_FALSE(w->BumpSetItem(nullptr, nullptr, &zero, &zero, &zero, &zero)); },
            [&] { w->OnContact(nullptr, nullptr, &zero, &zero, &zero, &farWall, 0.0f); },
        };
        for (const auto& touch : touches) {
            w->fuse = 2.0f;
            touch();
            EXPECT_FLOAT_EQ(w->fuse, c.fuseCut);
        }
    }
}

TEST_F(Weapons, EachWeaponFliesAtItsOwnSpeed) {
    racket->aimAngle = 0.0f;
    racket->tilt = 0.0f;
    for (const WeaponCase& c : kWeapons) {
        SCOPED_TRACE(c.name);
        YThrownWeapon* w = c.make();
        Place(w, 0, 0, 1);
        w->Release(true);
        for (int i = 0; i < 30 && w->throwTimer != -1.0f; ++i) w->Update(0.01f);
        ASSERT_EQ(w->throwTimer, -1.0f);
        YVector v;
        w->body.GetLinearVel(&v);
        EXPECT_NEAR(std::sqrt(v.Dot(v)), c.speed * g_PhysicsWorld.ballSpeedFactor, 1e-3f);
        delete w;
    }
}

TEST_F(Weapons, EachWeaponBlastsWithItsOwnReachStrengthAndSound) {
    for (const WeaponCase& c : kWeapons) {
        SCOPED_TRACE(c.name);
        // A unit box whose near face is `gap` from the blast: inside the reach and just beyond it.
        for (const float gap : {0.5f * c.radius, c.radius + 0.1f}) {
            Heard().clear();
            BlastEar ear;
            const YVector half(0.5f, 0.5f, 0.5f);
            YRigidBox box(&half, false);
            const YMatrix at = At(0.0f, gap + 0.5f, 1.0f);
            box.SetMatrix(&at);
            box.listener = &ear;
            YThrownWeapon* w = c.make();
            Place(w, 0, 0, 1);
            c.explode(w);
            EXPECT_EQ(HeardOf(c.name), 1);
            if (gap < c.radius) {
                ASSERT_EQ(ear.forces.size(), 1u);
                const float f = (1.0f - gap / c.radius) * (1.0f - gap / c.radius) * c.strength;
                EXPECT_NEAR(std::sqrt(ear.forces[0].Dot(ear.forces[0])), f, 0.01f * f);
            } else {
                EXPECT_TRUE(ear.forces.empty());
            }
            // The weapon goes at the next deletion tick.
            YZDelete::TickAll(0.02f);
            EXPECT_TRUE(TackedList().empty());
            box.listener = nullptr;
        }
    }
}

} // namespace
