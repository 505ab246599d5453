// The menu comets: particles at their rate whatever the frame times, and comets made once that
// carry on from where they were.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/draw_list.h"
#include "render/scene/particles.h"
#include "shell/menu_comets.h"

namespace {

class MenuCometTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::CrtSrand(3);
        g_ParticleSystem.Clear();
    }
    void TearDown() override {
        // Nothing renders here: the queued stars are drawn without a renderer.
        DrawBlendedQueue();
        g_ParticleSystem.Clear();
    }
};

const float ORANGE[4] = {1.0f, 0.6f, 0.2f, 1.0f};

TEST_F(MenuCometTest, EmitsThirtyParticlesPerSecondAtOneHundredFramesPerSecond) {
    YMenuComet comet(120.0f, ORANGE);
    int framesWithEmission = 0;
    for (int i = 0; i < 100; ++i) {
        const std::size_t before = g_ParticleSystem.Particles().size();
        comet.Update(0.01f);
        const std::size_t emitted = g_ParticleSystem.Particles().size() - before;
        EXPECT_LE(emitted, 1u);
        framesWithEmission += static_cast<int>(emitted);
    }
    EXPECT_NEAR(static_cast<int>(g_ParticleSystem.Particles().size()), 30, 1);
    EXPECT_EQ(framesWithEmission, static_cast<int>(g_ParticleSystem.Particles().size()));
}

TEST_F(MenuCometTest, ALongFrameEmitsOneAndCarriesTheRest) {
    YMenuComet comet(0.0f, ORANGE);
    comet.Update(0.05f);
    ASSERT_EQ(g_ParticleSystem.Particles().size(), 1u);
    EXPECT_NEAR(comet.emissionTimer, 0.05f - 1.0f / 30.0f, 1e-5f);
    // The carried time makes the next short frame emit.
    comet.Update(0.02f);
    EXPECT_EQ(g_ParticleSystem.Particles().size(), 2u);
}

TEST_F(MenuCometTest, ParticlesLeaveTheCometAtSpeedTwoInItsColour) {
    YMenuComet comet(0.0f, ORANGE);
    comet.Update(0.1f);
    ASSERT_EQ(g_ParticleSystem.Particles().size(), 3u);
    for (const YParticle& p : g_ParticleSystem.Particles()) {
        EXPECT_NEAR(std::sqrt(p.velocity.Dot(p.velocity)), 2.0f, 1e-4f);
        EXPECT_EQ(p.position.x, comet.orbit.position.x);
        EXPECT_EQ(p.colourStart[1], 0.6f);
        EXPECT_EQ(p.colourEnd[3], 0.75f);
        EXPECT_FLOAT_EQ(p.lifetime, 0.8f);
    }
}

TEST_F(MenuCometTest, PhaseSpeedsAreDrawnWithinTheirSpread) {
    for (int i = 0; i < 20; ++i) {
        YMenuComet comet(0.0f, ORANGE);
        EXPECT_GE(comet.orbit.radiusPhaseSpeed, 30.5f);
        EXPECT_LE(comet.orbit.radiusPhaseSpeed, 35.5f);
        EXPECT_GE(comet.orbit.heightPhaseSpeed, 14.5f);
        EXPECT_LE(comet.orbit.heightPhaseSpeed, 19.5f);
    }
}

TEST_F(MenuCometTest, CometsAreMadeOnceAndGoOnFromWhereTheyStopped) {
    YMenuComet* comets = MenuComets();
    UpdateMenuComets(0.5f);
    YVector where[MENU_COMET_COUNT];
    for (int i = 0; i < MENU_COMET_COUNT; ++i) where[i] = comets[i].orbit.position;
    // Another state runs a while without them.
    ASSERT_EQ(MenuComets(), comets);
    for (int i = 0; i < MENU_COMET_COUNT; ++i) EXPECT_EQ(comets[i].orbit.position.x, where[i].x);
    UpdateMenuComets(0.001f);
    for (int i = 0; i < MENU_COMET_COUNT; ++i) {
        const YVector d = comets[i].orbit.position - where[i];
        EXPECT_LT(std::sqrt(d.Dot(d)), 0.1f) << i;
        // They circle over the table at their height.
        EXPECT_GE(comets[i].orbit.position.z, 1.5f - 1e-4f);
        EXPECT_LE(comets[i].orbit.position.z, 4.5f + 1e-4f);
    }
    // Three comets queued twice for blended drawing.
    EXPECT_EQ(BlendedDrawQueue().Count(), 2 * MENU_COMET_COUNT);
}

} // namespace
