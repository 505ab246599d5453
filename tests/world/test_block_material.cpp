// Block materials: defaults and "default" inheritance, block types, caches, redefinition.
#include <gtest/gtest.h>

#include <string>

#include "core/log.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "support/temp_dir.h"
#include "world/blocks/block_material.h"
#include "world/blocks/level_state.h"

namespace {

class BlockMaterialTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetBlockMaterials();
        g_Level.scale = {1, 1, 1};
        LogReopen(dir_.File("log.txt"));
    }
    void TearDown() override {
        LogReopen("");
        ResetBlockMaterials();
        g_Level.scale = {1, 1, 1};
    }
    void Load(const std::string& text) {
        dir_.Write("blocks.yml", text);
        LoadBlockMaterials(dir_.File("blocks.yml").c_str());
    }
    std::string Log() { return dir_.Read("log.txt"); }

    testsupport::TempDir dir_;
};

TEST_F(BlockMaterialTest, AMaterialNamingOnlyItsNameTakesEveryDefault) {
    Load(R"(<material name="plain"/>)");
    YBlockMaterial* m = FindBlockMaterial("plain");
    ASSERT_NE(m, nullptr);
    EXPECT_FLOAT_EQ(m->mass, 1.0f);
    EXPECT_FLOAT_EQ(m->health, 200.0f);
    EXPECT_EQ(m->shader->name, "block");
    EXPECT_EQ(m->inShader->name, "in_block");
    EXPECT_EQ(m->scores, 25);
    EXPECT_EQ(m->soundStroke->name, "def_stroke");
    EXPECT_EQ(m->soundDestroy->name, "def_destroy");
    EXPECT_EQ(m->special, nullptr);
}

TEST_F(BlockMaterialTest, DefaultTagsSetWhatLaterMaterialsLeaveOutAndResetEachOther) {
    Load(R"(<default health="500"/>
            <material name="a"/><material name="b" scores="7"/>
            <default scores="3"/>
            <material name="c"/>)");
    ASSERT_EQ(BlockMaterials().size(), 3u);
    EXPECT_FLOAT_EQ(FindBlockMaterial("a")->health, 500.0f);
    EXPECT_FLOAT_EQ(FindBlockMaterial("b")->health, 500.0f);
    EXPECT_EQ(FindBlockMaterial("b")->scores, 7);
    // The second default names only scores: health is back at the built-in 200.
    EXPECT_FLOAT_EQ(FindBlockMaterial("c")->health, 200.0f);
    EXPECT_EQ(FindBlockMaterial("c")->scores, 3);
}

TEST_F(BlockMaterialTest, TypeOfTwoByOneByThree) {
    Load(R"(<material name="m" mass="1"/>)");
    YBlockType* t = FindBlockType("m", 2, 1, 3);
    ASSERT_NE(t, nullptr);
    EXPECT_FLOAT_EQ(t->mass, 6.0f);
    EXPECT_FLOAT_EQ(t->halfExtents.x, 1.0f);
    EXPECT_FLOAT_EQ(t->halfExtents.y, 0.5f);
    EXPECT_FLOAT_EQ(t->halfExtents.z, 1.5f);
    EXPECT_NEAR(t->inertia.x, 5.0f, 1e-5);
    EXPECT_NEAR(t->inertia.y, 6.5f, 1e-5);
    EXPECT_NEAR(t->inertia.z, 2.5f, 1e-5);
    const uint32_t faces[6] = {3, 3, 6, 6, 2, 2};
    for (int f = 0; f < 6; ++f) EXPECT_EQ(t->cellCounts[f], faces[f]) << f;
}

TEST_F(BlockMaterialTest, TypesAreCachedUntilClearedAndThenTakeTheNewScale) {
    Load(R"(<material name="m"/>)");
    YBlockType* t = FindBlockType("m", 1, 1, 1);
    EXPECT_EQ(FindBlockType("m", 1, 1, 1), t);
    EXPECT_NE(FindBlockType("m", 1, 1, 2), t);
    g_Level.scale = {2, 2, 2};
    ClearBlockTypeCaches();
    YBlockType* u = FindBlockType("m", 1, 1, 1);
    ASSERT_NE(u, nullptr);
    EXPECT_FLOAT_EQ(u->halfExtents.x, 1.0f);
}

TEST_F(BlockMaterialTest, NamesAreCaseSensitiveAndUnknownNamesOrSizesGiveNoType) {
    Load(R"(<material name="Stone" health="1"/><material name="stone" health="2"/>)");
    EXPECT_FLOAT_EQ(FindBlockType("Stone", 1, 1, 1)->health, 1.0f);
    EXPECT_FLOAT_EQ(FindBlockType("stone", 1, 1, 1)->health, 2.0f);
    EXPECT_EQ(FindBlockType("STONE", 1, 1, 1), nullptr);
    EXPECT_EQ(FindBlockType("stone", 0, 1, 1), nullptr);
    EXPECT_EQ(FindBlockType("stone", 1, BLOCK_SIZE_MAX + 1, 1), nullptr);
}

TEST_F(BlockMaterialTest, ARedefinitionKeepsPlaceAndScores) {
    Load(R"(<material name="a" scores="10" health="50"/><material name="b"/>
            <material name="a" scores="99" health="70" shader="other"/>)");
    ASSERT_EQ(BlockMaterials().size(), 2u);
    EXPECT_EQ(BlockMaterials()[0]->name, "a");
    EXPECT_EQ(BlockMaterials()[0]->scores, 10);
    EXPECT_FLOAT_EQ(BlockMaterials()[0]->health, 70.0f);
    EXPECT_EQ(BlockMaterials()[0]->shader->name, "other");
}

TEST_F(BlockMaterialTest, MassesThatAreNotAboveZeroAreLoggedAndTakenAsOne) {
    Load(R"(<material name="zero" mass="0"/><material name="text" mass="heavy"/>
            <material name="neg" mass="-2"/><bogus/>)");
    for (const char* name : {"zero", "text", "neg"}) {
        YBlockType* t = FindBlockType(name, 1, 1, 1);
        ASSERT_NE(t, nullptr) << name;
        EXPECT_FLOAT_EQ(t->mass, 1.0f) << name;
    }
    const std::string log = Log();
    EXPECT_NE(log.find("Block Marterial Loader error, mass of material \"zero\""), std::string::npos) << log;
    EXPECT_NE(log.find("Block Marterial Loader error, Unknown tag: bogus"), std::string::npos) << log;
}

} // namespace
