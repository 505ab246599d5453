// The world's links to the HUD once the game has installed them: a racket reset clears the
// captions, and the indicator column shows the icon of each bonus kind's record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/shader.h"
#include "shell/hud.h"
#include "shell/hud_caption.h"
#include "shell/hud_links.h"
#include "shell/hud_painter.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/physics_fixture.h"
#include "world/play/world_setup.h"
#include "world/racket/hero_model.h"
#include "world/racket/racket.h"

namespace {

// The shaders of the quads drawn.
struct QuadShaders : YHudPainter {
    std::vector<YShaderBase*> shaders;
    void Strip(YShaderBase*, const YTexVertex*, int) override {}
    void Quad(YShaderBase* shader, const YTexVertex[4]) override { shaders.push_back(shader); }
    void Text(const YFont*, const float[4], float, float, float, const char*) override {}
    bool Drew(YShaderBase* shader) const {
        for (YShaderBase* s : shaders)
            if (s == shader) return true;
        return false;
    }
};

class HudLinks : public PhysicsTest {
protected:
    void SetUp() override {
        PhysicsTest::SetUp();
        std::vector<YBonusConfig>& configs = BonusConfigs();
        configs.assign(static_cast<std::size_t>(BonusRegistrySize()), YBonusConfig());
        for (std::size_t k = 0; k < configs.size(); ++k) configs[k].name = "hud_link_icon_" + std::to_string(k);
        g_HeroMeshFile = "test\\no_hero_here.ams";
        InstallHudIconLookup();
        ASSERT_TRUE(SetUpWorld(HudWorldOutside()));
        ClearHudCaptions();
    }
    void TearDown() override {
        TearDownWorld();
        SetHudIconLookup(nullptr);
        ClearHudCaptions();
        BonusConfigs().clear();
        g_HeroMeshFile = "mesh\\hero.ams";
        PhysicsTest::TearDown();
    }
};

TEST_F(HudLinks, ACaughtBonusCaptionShowsUntilTheRacketResets) {
    YRacket racket(nullptr);
    g_BonusCaptionHook("Gloves: +30", YColor{0.25f, 0.5f, 0.75f, 1.0f});
    ASSERT_EQ(HudCaptions().size(), 1u);
    EXPECT_EQ(HudCaptions()[0].text, "Gloves: +30");
    EXPECT_FLOAT_EQ(HudCaptions()[0].colour[0], 0.25f);
    EXPECT_FLOAT_EQ(HudCaptions()[0].colour[2], 0.75f);
    racket.Park();
    EXPECT_TRUE(HudCaptions().empty());
}

TEST_F(HudLinks, TheColumnShowsTheIconsOfTheBonusRecords) {
    YHudValues values;
    values.ballMode = 3;
    values.lives = 2;
    values.glovesTime = 4.0f;
    values.grenadeCharges = 2;
    values.frostTime = 1.0f;
    QuadShaders painter;
    DrawHudValues(values, false, painter);
    for (int kind : {3, HUD_KIND_GLOVES, HUD_KIND_GRENADE, HUD_KIND_FROST}) {
        EXPECT_TRUE(painter.Drew(FindShader("hud_link_icon_" + std::to_string(kind)))) << kind;
    }
    // Effects that do not run show no icon.
    EXPECT_FALSE(painter.Drew(FindShader("hud_link_icon_" + std::to_string(HUD_KIND_SLUMBER))));
}

} // namespace
