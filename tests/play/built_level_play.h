#pragma once
// A headless game on levels a test writes itself: the game mode without bonuses, two block
// materials ("weak" breaks at the first hit, "tough" never), the racket without its model, and the
// world connected as the game connects it, with captions on the HUD. StartLifeBonuses lets the
// life bonus be handed out and caught; TearDown puts everything back.
#include <gtest/gtest.h>

#include <string>

#include "core/bonus_kind.h"
#include "core/init.h"
#include "core/log.h"
#include "shell/hud_caption.h"
#include "shell/hud_links.h"
#include "support/temp_dir.h"
#include "world/blocks/block_material.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/level/level_file.h"
#include "world/physics_fixture.h"
#include "world/play/world_setup.h"
#include "world/racket/hero_model.h"

class BuiltLevelPlay : public PhysicsTest {
protected:
    static constexpr int BREAKABLE_SCORE = 25;
    static constexpr int NO_BONUS = -1;
    static constexpr int LIFE_BONUS = static_cast<int>(BonusKind::Life);
    static constexpr int LIFE_SCORE = 40;

    void SetUp() override {
        PhysicsTest::SetUp();
        LogReopen(dir_.File("log.txt"));
        savedMode_ = GetInit().CurrentGameMode();
        YGameMode& mode = GetInit().CurrentGameMode();
        mode.lowBall = false;
        mode.wideRacket = true;
        mode.probabilities.assign(BONUS_KIND_COUNT, 0.0f); // no bonuses unless a test starts them
        ResetBlockMaterials();
        BuildBlockMaterial("weak", 1, 1, "test_opaque", "in_block", BREAKABLE_SCORE, "", "", "");
        BuildBlockMaterial("tough", 1, 1e9f, "test_opaque", "in_block", 5, "", "", "");
        g_HeroMeshFile = "test\\no_hero_here.ams"; // the racket plays without its model
        ASSERT_TRUE(SetUpWorld(HudWorldOutside()));
    }
    void TearDown() override {
        StopBonuses();
        TearDownWorld();
        ClearHudCaptions();
        GetInit().CurrentGameMode() = savedMode_;
        ResetBlockMaterials();
        g_HeroMeshFile = "mesh\\hero.ams";
        LogReopen("");
        PhysicsTest::TearDown();
    }
    // A record for every kind, the life record's text "Life" and score LIFE_SCORE; a life bonus
    // placed on a block is handed out (only kinds the mode allows are).
    static void StartLifeBonuses() {
        std::vector<YBonusConfig>& configs = BonusConfigs();
        configs.assign(static_cast<std::size_t>(BonusRegistrySize()), YBonusConfig());
        configs[LIFE_BONUS].text = "Life";
        configs[LIFE_BONUS].score = LIFE_SCORE;
        GetInit().CurrentGameMode().probabilities[LIFE_BONUS] = 1.0f;
    }
    static void StopBonuses() {
        DeleteAllBonuses();
        BonusConfigs().clear();
        GetInit().CurrentGameMode().probabilities.assign(BONUS_KIND_COUNT, 0.0f);
    }
    // Writes `level` (its bonus counts sized for every kind) to `name` in the test's folder.
    std::string WriteLevel(const char* name, YLevelData level) {
        level.bonusCounts.assign(BONUS_KIND_COUNT, 0);
        std::string error;
        const std::string path = dir_.File(name);
        EXPECT_TRUE(WriteLevelFile(path.c_str(), level, error)) << error;
        return path;
    }

    testsupport::TempDir dir_;
    YGameMode savedMode_;
};
