// What the block specials do that needs no block: the fire block's flames against the frame rate
// and the face a generator or teleport puts things on.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "world/specials/fire_emission.h"
#include "world/specials/spawn_point.h"

namespace {

TEST(FireBlock, TenFlamesPerSecondPerCellWhateverTheFrameRate) {
    plat::CrtSrand(3);
    YMatrix world;
    world.MatrixSetTranslation(YVector(2, 3, 0.5f));
    for (float dt : {0.016f, 0.05f, 0.3f}) {
        SCOPED_TRACE(dt);
        g_ParticleSystem.Clear();
        float accumulator = 0.0f;
        int emitted = 0;
        for (float t = 0.0f; t < 10.0f - 1e-4f; t += dt) emitted += EmitBlockFlames(&accumulator, dt, world, {1, 1, 1});
        EXPECT_NEAR(emitted, 100, 2);
        EXPECT_EQ(static_cast<int>(g_ParticleSystem.Particles().size()), emitted);
        // Inside the block, kept 0.25 from its faces, rising.
        for (const YParticle& p : g_ParticleSystem.Particles()) {
            EXPECT_LE(std::fabs(p.position.x - 2), 0.25f);
            EXPECT_LE(std::fabs(p.position.z - 0.5f), 0.25f);
            EXPECT_EQ(p.warp, &FireUpdraft);
        }
    }
    // A block of 2 x 1 x 3 cells flames six times as fast; a flat one of no volume not at all.
    g_ParticleSystem.Clear();
    float accumulator = 0.0f;
    EXPECT_EQ(EmitBlockFlames(&accumulator, 1.0f, world, {2, 1, 3}), 60);
    EXPECT_EQ(EmitBlockFlames(&accumulator, 1.0f, world, {2, 0, 3}), 0);
    // A small block still flames now and then.
    accumulator = 0.0f;
    int small = 0;
    for (int i = 0; i < 100; ++i) small += EmitBlockFlames(&accumulator, 0.1f, world, {0.5f, 0.5f, 0.5f});
    EXPECT_NEAR(small, 12, 1);
    g_ParticleSystem.Clear();
}

TEST(SpawnPoint, FirstUsableFaceFromTheStartFace) {
    YMatrix at;
    at.MatrixSetTranslation(YVector(0, 0, 0.5f));
    const YVector half(0.5f, 0.5f, 0.5f);
    struct Row {
        const char* name;
        YMatrix placement;
        unsigned faces;
        int start;
        bool found;
        YVector point;
    };
    YMatrix edge;
    edge.MatrixSetTranslation(YVector(9.5f, 0, 0.5f)); // its +x face lies beyond the table's side
    YMatrix sunk;
    sunk.MatrixSetTranslation(YVector(0, 0, -0.45f)); // its top face lies at z = 0.05
    const Row rows[] = {
        {"start face -x", at, 0x3F, 0, true, {-0.5f, 0, 0.5f}},
        {"start face +z", at, 0x3F, 5, true, {0, 0, 1.0f}},
        {"bottom face is below the table: the next one", at, 0x3F, 4, true, {0, 0, 1.0f}},
        {"hidden faces are skipped", at, 0x08, 0, true, {0, 0.5f, 0.5f}},
        {"beyond the side: the next face", edge, 0x3F, 1, true, {9.5f, -0.5f, 0.5f}},
        {"sunk: even its top face is under 0.1", sunk, 0x3F, 0, false, {}},
        {"no face visible", at, 0, 0, false, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        YVector p;
        const bool found = FindSpawnPoint(r.placement, half, r.faces, r.start, 10, 10, &p);
        ASSERT_EQ(found, r.found);
        if (!found) continue;
        EXPECT_NEAR(p.x, r.point.x, 1e-5f);
        EXPECT_NEAR(p.y, r.point.y, 1e-5f);
        EXPECT_NEAR(p.z, r.point.z, 1e-5f);
    }
}

} // namespace
