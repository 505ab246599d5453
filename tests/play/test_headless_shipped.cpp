// The headless run plays the game's world: on the shipped levels, with the shipped block
// materials and bonus records, blocks that hold bonuses drop them when they break.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "content/content_files.h"
#include "core/init.h"
#include "core/log.h"
#include "support/temp_dir.h"
#include "world/blocks/block_material.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/physics_fixture.h"
#include "world/play/headless_run.h"
#include "world/play/world_setup.h"
#include "world/racket/hero_model.h"

namespace {

std::size_t g_mostBonuses = 0;

// Watches every physics step for the number of bonuses falling at once.
void CountFalling(float) { g_mostBonuses = std::max(g_mostBonuses, BonusList().size()); }

class ShippedHeadless : public PhysicsTest {
protected:
    void SetUp() override {
        PhysicsTest::SetUp();
        LogReopen(dir_.File("log.txt"));
        savedMode_ = GetInit().CurrentGameMode();
        GetInit().CurrentGameMode().probabilities.assign(static_cast<std::size_t>(BonusRegistrySize()),
                                                         1.0f / static_cast<float>(BonusRegistrySize()));
        g_HeroMeshFile = "test\\no_hero_here.ams"; // the racket plays without its model
        YWorldOutside outside = HeadlessWorldOutside();
        outside.stepObserver = CountFalling;
        ASSERT_TRUE(SetUpWorld(outside));
        ResetBlockMaterials();
        LoadBlockMaterials(content::GamePath("data\\blocks.yml").c_str());
        LoadBonusConfigs(content::GamePath("data\\bonuses.yml").c_str(), BonusRegistrySize());
        ASSERT_EQ(static_cast<int>(BonusConfigs().size()), BonusRegistrySize());
    }
    void TearDown() override {
        DeleteAllBonuses();
        BonusConfigs().clear();
        ResetBlockMaterials();
        TearDownWorld();
        GetInit().CurrentGameMode() = savedMode_;
        g_HeroMeshFile = "mesh\\hero.ams";
        LogReopen("");
        PhysicsTest::TearDown();
    }

    testsupport::TempDir dir_;
    YGameMode savedMode_;
};

TEST_F(ShippedHeadless, BonusesFallFromBrokenBlocks) {
    const std::vector<std::string> levels = content::ShippedLevels();
    ASSERT_FALSE(levels.empty());
    constexpr int FRAMES = 3000;
    std::string fellOn;
    for (const std::string& level : levels) {
        g_mostBonuses = 0;
        const YPlayOutcome out = RunHeadless(level, MakeSeededScript(1, FRAMES), FRAMES);
        ASSERT_NE(out.result, YPlayResult::LevelRefused) << level;
        if (g_mostBonuses > 0) {
            fellOn = level;
            break;
        }
    }
    EXPECT_FALSE(fellOn.empty()) << "no bonus fell on any shipped level";
    // The run ends with nothing left falling.
    EXPECT_TRUE(BonusList().empty());
}

} // namespace
