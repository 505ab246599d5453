// The game's level loader: layouts, the old layout's centring, empty sets, the teleport stand-in,
// the bonus hand-out, and refused files that leave a playable, uncleared world.
#include <cmath>
#include <cstring>
#include <string>

#include "world/block_fixture.h"
#include "world/level/level_file.h"
#include "world/level/level_loader.h"

namespace {

class LevelLoaderTest : public blocktest::BlockWorldTest {
protected:
    void SetUp() override {
        BlockWorldTest::SetUp();
        BuildBlockMaterial("teleport", 1, -1, "test_opaque", "in_block", 0, "def_stroke", "def_destroy", "");
        BuildBlockMaterial("gl2", 1, 200, "test_opaque", "in_block", 0, "def_stroke", "def_destroy", "");
        GetInit().CurrentGameMode().probabilities.assign(34, 1.0f / 34.0f);
    }
    std::string Save(const YLevelData& level, const char* name = "test.lev") {
        std::string error;
        const std::string path = dir_.File(name);
        EXPECT_TRUE(WriteLevelFile(path.c_str(), level, error)) << error;
        return path;
    }
    static YLevelData Level() {
        YLevelData level;
        level.bonusCounts.assign(34, 0);
        return level;
    }
    std::string Log() { return dir_.Read("log.txt"); }
};

TEST_F(LevelLoaderTest, TheOldLayoutsCentredSetMovesByHalfItsSpan) {
    YLevelData level = Level();
    level.oldLayout = true;
    level.centreFlag = 1;
    level.sets.resize(1);
    for (int32_t x = 0; x <= 8; x += 2) level.sets[0].blocks.push_back({x, 0, 0, 2, 1, 1, "opaque", 35, -1});
    ASSERT_TRUE(LoadLevel(Save(level)));
    ASSERT_EQ(LevelSets().size(), 1u);
    YBlockSet* set = LevelSets()[0];
    float lo = 1e9f, hi = -1e9f;
    for (YBlockItem* item : set->items) {
        const float x = set->model.TransformPoint(item->position).x;
        lo = std::min(lo, x);
        hi = std::max(hi, x);
    }
    EXPECT_NEAR(lo, -4.0f, 1e-4);
    EXPECT_NEAR(hi, 4.0f, 1e-4);
}

TEST_F(LevelLoaderTest, AnEmptySetIsDroppedAndTheOthersStand) {
    YLevelData level = Level();
    level.sets.resize(3);
    level.sets[1].blocks.push_back({0, 0, 0, 1, 1, 1, "opaque", 35, -1});
    level.sets[2].blocks.push_back({3, 0, 0, 1, 1, 1, "opaque", 35, -1});
    ASSERT_TRUE(LoadLevel(Save(level)));
    EXPECT_EQ(LevelSets().size(), 2u);
    Frames(1);
    EXPECT_EQ(g_BlockWorld.blocksLeft, 2u);
    EXPECT_EQ(g_BlockWorld.blocksInPlay, 2u);
    EXPECT_FALSE(AllBlocksCleared());
}

TEST_F(LevelLoaderTest, TeleportsBecomeGl2WhenTheModeHasNone) {
    YLevelData level = Level();
    level.sets.resize(1);
    level.sets[0].blocks.push_back({0, 0, 0, 1, 1, 1, "teleport", 35, -1});
    const std::string path = Save(level);
    for (bool teleports : {false, true}) {
        GetInit().CurrentGameMode().teleports = teleports;
        ASSERT_TRUE(LoadLevel(path));
        ASSERT_EQ(LevelSets().size(), 1u);
        EXPECT_EQ(LevelSets()[0]->items[0]->type->material->name, teleports ? "teleport" : "gl2");
    }
}

TEST_F(LevelLoaderTest, FortyItemsWithNoCountsGetFourBonuses) {
    YLevelData level = Level();
    level.sets.resize(1);
    for (int32_t x = 0; x < 8; ++x)
        for (int32_t z = 0; z < 5; ++z) level.sets[0].blocks.push_back({x - 4, 0, z, 1, 1, 1, "opaque", 35, -1});
    ASSERT_TRUE(LoadLevel(Save(level)));
    EXPECT_EQ(record.bonusesMade.size(), 4u);
    int carried = 0;
    for (YBlockItem* item : LevelSets()[0]->items) carried += item->bonus != nullptr;
    EXPECT_EQ(carried, 4);
}

// The count list follows the kinds; a shorter one loads, is logged, and its missing kinds count 0.
TEST_F(LevelLoaderTest, ACountListShorterThanTheKindsIsLoggedAndLoads) {
    for (int counts : {BONUS_KIND_COUNT, BONUS_KIND_COUNT - 1, 0}) {
        SCOPED_TRACE(counts);
        YLevelData level = Level();
        level.bonusCounts.assign(static_cast<std::size_t>(counts), 0);
        if (counts > 0) level.bonusCounts[0] = 2;
        level.sets.resize(1);
        for (int32_t x = 0; x < 4; ++x) level.sets[0].blocks.push_back({x - 2, 0, 0, 1, 1, 1, "opaque", 35, -1});
        const std::string path = Save(level, ("counts" + std::to_string(counts) + ".lev").c_str());
        record.bonusesMade.clear();
        ASSERT_TRUE(LoadLevel(path));
        EXPECT_EQ(LevelSets()[0]->items.size(), 4u);
        EXPECT_EQ(Log().find("Level \"" + path + "\" counts bonuses of") != std::string::npos,
                  counts != BONUS_KIND_COUNT)
            << Log();
        if (counts > 0) {
            EXPECT_EQ(record.bonusesMade, (std::vector<int32_t>{0, 0})) << "the two counted bonuses of kind 0";
        }
    }
}

TEST_F(LevelLoaderTest, ALevelOfIndestructibleBlocksIsClearedAtOnce) {
    YLevelData level = Level();
    level.sets.resize(1);
    level.sets[0].blocks.push_back({0, 0, 0, 1, 1, 1, "hard", 35, -1});
    ASSERT_TRUE(LoadLevel(Save(level)));
    EXPECT_FALSE(AllBlocksCleared()); // not before the first block step
    Frames(1);
    EXPECT_TRUE(AllBlocksCleared());
}

TEST_F(LevelLoaderTest, BadFilesLoadNothingAreLoggedAndNeverCountAsCleared) {
    YLevelData good = Level();
    good.sets.resize(1);
    good.sets[0].blocks.push_back({0, 0, 0, 1, 1, 1, "opaque", 35, -1});
    std::string bytes;
    {
        const std::string path = Save(good, "good.lev");
        bytes = dir_.Read("good.lev");
    }
    YLevelData unknown = good;
    unknown.sets[0].blocks[0].material = "unobtainium";
    Save(unknown, "unknown.lev");
    struct Case {
        const char* name;
        std::string content;
    };
    std::string bigN = bytes;
    const uint32_t n35 = 35;
    std::memcpy(bigN.data() + 4 + 4 + 12 + 8 + 2 + 7 + 2, &n35, 4);
    const Case cases[] = {
        {"missing.lev", ""},
        {"empty.lev", std::string()},
        {"truncated.lev", bytes.substr(0, bytes.size() - 3)},
        {"n35.lev", bigN},
        {"noise.lev", std::string(5000, '\xA5')},
    };
    for (const Case& c : cases) {
        if (std::string(c.name) != "missing.lev") dir_.Write(c.name, c.content);
    }
    for (const char* name : {"missing.lev", "empty.lev", "truncated.lev", "n35.lev", "noise.lev", "unknown.lev"}) {
        ASSERT_TRUE(LoadLevel(dir_.File("good.lev")));
        EXPECT_FALSE(LoadLevel(dir_.File(name))) << name;
        EXPECT_TRUE(g_BlockWorld.blocks.empty()) << name;
        Frames(2);
        EXPECT_FALSE(AllBlocksCleared()) << name;
        EXPECT_NE(Log().find(std::string("Level \"") + dir_.File(name)), std::string::npos) << name;
    }
    EXPECT_NE(Log().find("material \"unobtainium\" is unknown"), std::string::npos);
    // And the world still plays: a good level loads again.
    EXPECT_TRUE(LoadLevel(dir_.File("good.lev")));
    Frames(1);
    EXPECT_EQ(g_BlockWorld.blocksLeft, 1u);
}

} // namespace
