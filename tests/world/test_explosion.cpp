// The explosion: who is pushed and how hard, listeners that destroy bodies during the blast, and
// the effects it leaves.
#include <memory>
#include <vector>

#include "render/scene/particles.h"
#include "tests/world/physics_fixture.h"
#include "world/effects/explosion.h"
#include "world/table/table.h"

namespace {

struct Hits : YBumpEvent {
    std::vector<YBumpEvent*> others;
    std::vector<YVector> forces, torques, normals;
    std::vector<float> depths;
    void OnContact(void*, YBumpEvent* other, const YVector* force, const YVector* torque, const YVector*,
                   const YVector* normal, float depth) override {
        others.push_back(other);
        forces.push_back(*force);
        torques.push_back(*torque);
        normals.push_back(*normal);
        depths.push_back(depth);
    }
};

class ExplosionTest : public PhysicsTest {
protected:
    void SetUp() override {
        PhysicsTest::SetUp();
        g_ParticleSystem.Clear();
    }
    void TearDown() override {
        g_ParticleSystem.Clear();
        PhysicsTest::TearDown();
    }

    // A unit box whose face nearest the origin lies `gap` along +y from the blast centre (0, 0, 1).
    std::unique_ptr<YRigidBox> BoxAt(float gap, Hits* listener) {
        const YVector half(0.5f, 0.5f, 0.5f);
        auto box = std::make_unique<YRigidBox>(&half, false);
        const YVector inertia(1.0f / 6, 1.0f / 6, 1.0f / 6);
        box->SetMassDiagonal(1.0f, &inertia, true);
        const YMatrix at = At(0.0f, gap + 0.5f, 1.0f);
        box->SetMatrix(&at);
        box->listener = listener;
        return box;
    }
};

TEST_F(ExplosionTest, PushFallsOffWithDistanceAndStopsAtTheRadius) {
    const YVector centre(0.0f, 0.0f, 1.0f);
    struct Case {
        float gap;
        bool hit;
        float force; // expected strength
    };
    const float r = 2.75f, strength = 500.0f;
    const Case cases[] = {
        {1.0f, true, (1 - 1.0f / r) * (1 - 1.0f / r) * strength},
        {2.0f, true, (1 - 2.0f / r) * (1 - 2.0f / r) * strength},
        {2.75f, false, 0.0f}, // exactly at the radius
        {4.0f, false, 0.0f},
    };
    for (const Case& c : cases) {
        Hits hits;
        auto box = BoxAt(c.gap, &hits);
        SpawnExplosion(&centre, r, strength, 0);
        ASSERT_EQ(hits.others.size(), c.hit ? 1u : 0u) << c.gap;
        if (c.hit) {
            EXPECT_EQ(hits.others[0], &hits) << "a blast reports the listener as its own partner";
            EXPECT_NEAR(Length(hits.forces[0]), c.force, 0.01f * c.force) << c.gap;
            EXPECT_GT(hits.forces[0].y, 0.0f) << "away from the centre";
            EXPECT_EQ(Length(hits.torques[0]), 0.0f);
            EXPECT_EQ(hits.depths[0], 0.0f);
        }
        g_PhysicsWorld.PhysicsStep(0.025f);
        if (c.hit)
            EXPECT_GT(VelocityOf(*box).y, 0.5f) << c.gap;
        else
            EXPECT_NEAR(VelocityOf(*box).y, 0.0f, 1e-4f) << c.gap;
    }
}

TEST_F(ExplosionTest, CentreInsideABodyPushesAlongTheNormalAtFullStrength) {
    Hits hits;
    const YVector half(1.0f, 1.0f, 1.0f);
    YRigidBox box(&half, false);
    box.listener = &hits;
    const YMatrix at = At(0.0f, 0.0f, 1.0f);
    box.SetMatrix(&at);
    const YVector centre(0.0f, 0.0f, 1.0f);
    SpawnExplosion(&centre, 2.75f, 500.0f, 0);
    ASSERT_EQ(hits.forces.size(), 1u);
    EXPECT_NEAR(Length(hits.forces[0]), 500.0f, 0.5f);
}

TEST_F(ExplosionTest, TableAndBallsAreNotPushed) {
    PhysicsSetArena(nullptr, 20.0f, 20.0f, 3.0f);
    Hits hits;
    YRigidBall ball(0.5f, 0, 10.0f);
    ball.listener = &hits;
    const YMatrix at = At(1.0f, 0.0f, 0.6f);
    ball.SetMatrix(&at);
    const YVector still(0.0f, 0.0f, 0.0f);
    ball.SetLinearVel(&still);
    const YVector centre(0.0f, 0.0f, 0.5f);
    SpawnExplosion(&centre, 5.0f, 1500.0f, 0);
    EXPECT_TRUE(hits.others.empty());
    EXPECT_NEAR(VelocityOf(ball).x, 0.0f, 1e-6f);
}

// A block that breaks up at the first blast report: its body and geoms go at once.
struct Fragile : YBumpEvent {
    std::unique_ptr<YRigidBody>* owner;
    int calls = 0;
    void OnContact(void*, YBumpEvent*, const YVector*, const YVector*, const YVector*, const YVector*, float) override {
        ++calls;
        owner->reset();
    }
};

TEST_F(ExplosionTest, BodiesDestroyedDuringTheBlastAreSkipped) {
    // A set of three boxes in the radius and a single box: each listener destroys its own body on
    // the first report. ASan catches any later use of the destroyed geoms.
    std::unique_ptr<YRigidBody> set = std::make_unique<YRigidBoxSet>();
    Fragile setListener;
    setListener.owner = &set;
    set->listener = &setListener;
    const YVector half(0.4f, 0.4f, 0.4f);
    YRigidBoxSet* s = static_cast<YRigidBoxSet*>(set.get());
    for (int i = 0; i < 3; ++i) {
        dGeomID b = s->AddBox(&half, nullptr, false);
        const YVector offset(-1.0f + i, 0.0f, 0.0f);
        s->SetBoxOffset(b, &offset);
    }
    const YMatrix setAt = At(0.0f, 1.0f, 1.0f);
    set->SetMatrix(&setAt);
    std::unique_ptr<YRigidBody> single = std::make_unique<YRigidBox>(&half, false);
    Fragile singleListener;
    singleListener.owner = &single;
    single->listener = &singleListener;
    const YMatrix singleAt = At(0.0f, -1.0f, 1.0f);
    single->SetMatrix(&singleAt);

    const YVector centre(0.0f, 0.0f, 1.0f);
    SpawnExplosion(&centre, 2.75f, 500.0f, 0);
    EXPECT_EQ(setListener.calls, 1);
    EXPECT_EQ(singleListener.calls, 1);
    EXPECT_EQ(set, nullptr);
    EXPECT_EQ(single, nullptr);
    EXPECT_EQ(geomDestroyHook, nullptr) << "the hook is only set during the walk";
}

TEST_F(ExplosionTest, EffectsWithAndWithoutSparks) {
    YTable table;
    for (int sparks : {0, 25}) {
        g_ParticleSystem.Clear();
        table.decals.clear();
        const YVector centre(2.0f, 3.0f, 0.5f);
        SpawnExplosion(&centre, 2.75f, 500.0f, sparks);
        EXPECT_EQ(g_ParticleSystem.Particles().size(), 1u + sparks);
        ASSERT_EQ(table.decals.size(), 2u);
        EXPECT_FLOAT_EQ(table.decals[0].sizeEnd, 2.75f * 1.5f);
        EXPECT_FLOAT_EQ(table.decals[1].lifetime, 1.0f);
        for (std::size_t i = 1; i < g_ParticleSystem.Particles().size(); ++i) {
            const YParticle& p = g_ParticleSystem.Particles()[i];
            const float speed = Length(p.velocity) * p.lifetime;
            EXPECT_GE(speed, 1.5f * 2.75f + 2.0f - 0.5f - 1e-3f);
            EXPECT_LE(speed, 1.5f * 2.75f + 2.0f + 0.5f + 1e-3f);
            EXPECT_GE(p.lifetime, 1.375f);
            EXPECT_LE(p.lifetime, 1.625f);
        }
    }
}

TEST_F(ExplosionTest, AChainOfBlastsKeepsTheNewestDecals) {
    YTable table;
    // Four blasts a tenth of a second apart keep all their decals; a chain of forty keeps the
    // newest, the oldest going first.
    struct Row {
        int blasts;
        std::size_t decals;
    };
    for (const Row row : {Row{1, 2}, Row{4, 8}, Row{40, BLAST_DECAL_LIMIT}}) {
        SCOPED_TRACE(row.blasts);
        table.decals.clear();
        for (int i = 0; i < row.blasts; ++i) {
            const YVector centre(-5.0f + 0.25f * static_cast<float>(i), 0.0f, 0.5f);
            SpawnExplosion(&centre, 5.0f, 1500.0f, 0);
            table.UpdateDecals(0.1f);
        }
        ASSERT_EQ(table.decals.size(), row.decals);
        // The survivors are the last few blasts' (a decal lives 0.75 or 1 s, so the first blasts'
        // would still be there if the newest were refused).
        for (const YTableDecal& d : table.decals) EXPECT_LE(d.age, 0.1f * (BLAST_DECAL_LIMIT / 2 + 2) + 1e-4f);
    }
}

} // namespace
