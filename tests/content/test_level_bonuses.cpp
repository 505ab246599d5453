// The starter levels' bonuses: every level file counts the bonuses placed on its blocks among its
// totals, and a level loaded with the shipped materials hands out exactly its totals (or one per
// ten blocks when they hold fewer), the placed bonuses on their own blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "content/content_files.h"
#include "core/init.h"
#include "core/log.h"
#include "support/temp_dir.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_set.h"
#include "world/level/level_file.h"
#include "world/level/level_loader.h"
#include "world/physics/physics_world.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"

namespace {

std::string LevelPath(const std::string& name) { return std::string(KORVELIN_GAME_DIR) + "/levels/" + name; }

TEST(LevelBonuses, EveryStarterLevelCountsItsPlacedBonuses) {
    const std::vector<std::string> levels = content::ShippedLevels();
    ASSERT_FALSE(levels.empty());
    int withPlaced = 0;
    for (const std::string& path : levels) {
        SCOPED_TRACE(path);
        YLevelData data;
        std::string error;
        ASSERT_TRUE(ReadLevelFile(path.c_str(), data, error)) << error;
        std::vector<int32_t> placed(BONUS_KIND_COUNT, 0);
        for (const YLevelSet& set : data.sets)
            for (const YLevelBlock& b : set.blocks)
                if (b.bonus >= 0) ++placed[static_cast<std::size_t>(b.bonus)];
        bool any = false;
        for (std::size_t k = 0; k < BONUS_KIND_COUNT; ++k) {
            const int32_t count = k < data.bonusCounts.size() ? data.bonusCounts[k] : 0;
            EXPECT_GE(count, placed[k]) << "kind " << k;
            any = any || placed[k] > 0;
        }
        withPlaced += any;
    }
    EXPECT_GT(withPlaced, 0) << "no starter level places a bonus on a block";
}

class StarterLevelHandOut : public testing::Test {
protected:
    void SetUp() override {
        LogReopen(dir_.File("log.txt"));
        PhysicsInit();
        ASSERT_TRUE(SetUpWorld(HeadlessWorldOutside()));
        ResetBlockMaterials();
        LoadBlockMaterials(content::GamePath("data\\blocks.yml").c_str());
        savedProbabilities_ = GetInit().CurrentGameMode().probabilities;
        GetInit().CurrentGameMode().probabilities.assign(BONUS_KIND_COUNT, 1.0f / BONUS_KIND_COUNT);
    }
    void TearDown() override {
        GetInit().CurrentGameMode().probabilities = savedProbabilities_;
        DeleteAllBlocks();
        YZDelete::TickAll(1.0f);
        ResetBlockMaterials();
        PhysicsShutdown();
        TearDownWorld();
        LogReopen("");
    }

    // Loads the level and returns how many of its items received each kind; `placedKept` tells
    // whether every item placed with a kind in the file still carries it.
    std::map<int32_t, int> LoadAndCount(const std::string& name, bool& placedKept) {
        std::map<int32_t, int> given;
        placedKept = true;
        YLevelData data;
        std::string error;
        EXPECT_TRUE(ReadLevelFile(LevelPath(name).c_str(), data, error)) << error;
        std::size_t fileBlocks = 0;
        std::map<int32_t, int> placed;
        for (const YLevelSet& set : data.sets) {
            fileBlocks += set.blocks.size();
            for (const YLevelBlock& b : set.blocks)
                if (b.bonus >= 0) ++placed[b.bonus];
        }
        EXPECT_TRUE(LoadLevel(LevelPath(name)));
        std::size_t items = 0;
        for (const YBlockSet* set : LevelSets()) {
            for (const YBlockItem* item : set->items) {
                ++items;
                if (item->bonusKind >= 0) ++given[item->bonusKind];
            }
        }
        EXPECT_EQ(items, fileBlocks) << "every block of the file is an item of the level's sets";
        for (const auto& [kind, n] : placed) placedKept = placedKept && given[kind] >= n;
        return given;
    }

    testsupport::TempDir dir_;
    std::vector<float> savedProbabilities_;
};

int Total(const std::map<int32_t, int>& given) {
    int n = 0;
    for (const auto& [kind, count] : given) n += count;
    return n;
}

TEST_F(StarterLevelHandOut, TheFirstLevelHandsOutItsCountsWithThePlacedOneAmongThem) {
    // 26 blocks; the file counts kinds 0 and 10 once each and kind 2 once, placed on a block.
    bool placedKept = false;
    const std::map<int32_t, int> given = LoadAndCount("01_first_steps.lev", placedKept);
    EXPECT_TRUE(placedKept);
    EXPECT_EQ(Total(given), 3);
    EXPECT_EQ(given, (std::map<int32_t, int>{{0, 1}, {2, 1}, {10, 1}}));
}

TEST_F(StarterLevelHandOut, TheDominoesLevelCountsOneBonusPerTenBlocksSoNoneIsDrawn) {
    // 30 blocks, each domino a set of its own: at least three bonuses. The file counts kinds 2 and
    // 18 and the placed kind 19, which is enough: nothing is drawn by the mode's weights, so no
    // kind the level did not ask for (a Next that ends it early) turns up.
    bool placedKept = false;
    const std::map<int32_t, int> given = LoadAndCount("03_dominoes.lev", placedKept);
    EXPECT_TRUE(placedKept);
    EXPECT_EQ(Total(given), 3);
    EXPECT_EQ(given, (std::map<int32_t, int>{{2, 1}, {18, 1}, {19, 1}}));
}

} // namespace
