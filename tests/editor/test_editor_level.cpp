#include "editor/editor_level.h"

#include <gtest/gtest.h>

#include "editor/fake_scene.h"

namespace {

EditorBlock Block(int x, int y, int z, int sx, int sy, int sz, const std::string& material = "stone", int bonus = -1) {
    EditorBlock b;
    b.x = x, b.y = y, b.z = z, b.sx = sx, b.sy = sy, b.sz = sz;
    b.material = material;
    b.bonus = bonus;
    return b;
}

class EditorLevelTest : public ::testing::Test {
protected:
    EditorLevelTest() {
        level.scene = &scene;
        level.curMaterial = "stone";
    }
    void PlaceAt(int x, int y, int z) {
        level.cursor = {x, y, z};
        level.AddBlockAtCursor();
    }
    FakeScene scene;
    EditorLevel level;
};

TEST(EditorOverlap, HalfOpenCellRanges) {
    struct Case {
        EditorBlock block;
        EditorCell pos, size;
        bool hit;
    } cases[] = {
        {Block(0, 0, 0, 1, 1, 1), {0, 0, 0}, {1, 1, 1}, true},
        {Block(0, 0, 0, 1, 1, 1), {1, 0, 0}, {1, 1, 1}, false},   // touching faces
        {Block(0, 0, 0, 1, 1, 1), {-1, 0, 0}, {1, 1, 1}, false},  // touching from the other side
        {Block(0, 0, 0, 2, 1, 1), {1, 0, 0}, {1, 1, 1}, true},    // inside a long block
        {Block(0, 0, 0, 2, 2, 2), {-1, -1, -1}, {2, 2, 2}, true}, // one corner cell shared
        {Block(0, 0, 0, 2, 2, 2), {-2, 0, 0}, {2, 2, 2}, false},
        {Block(3, 0, 0, 1, 1, 1), {0, 0, 0}, {3, 1, 1}, false}, // box ends where the block begins
        {Block(3, 0, 0, 1, 1, 1), {0, 0, 0}, {4, 1, 1}, true},
        {Block(0, 0, 5, 1, 1, 1), {0, 0, 0}, {1, 1, 5}, false},
        {Block(0, 0, 5, 1, 1, 1), {0, 0, 0}, {1, 1, 6}, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EditorLevel::Overlaps(c.block, c.pos, c.size), c.hit)
            << "block at " << c.block.x << "," << c.block.y << "," << c.block.z << " box at " << c.pos.x << ","
            << c.pos.y << "," << c.pos.z << " size " << c.size.x << "," << c.size.y << "," << c.size.z;
    }
}

TEST_F(EditorLevelTest, CursorBoxIsTheCursorSizeOnlyInModeNew) {
    level.CurrentGroup().blocks.push_back(Block(2, 0, 0, 1, 1, 1));
    level.cursor = {0, 0, 0};
    level.cursorSize = {3, 1, 1};
    level.editMode = EDIT_MODE_NEW;
    EXPECT_EQ(level.FindBlockAtCursor(), 0);
    for (int mode : {EDIT_MODE_DEL, EDIT_MODE_BONUS, EDIT_MODE_MAT, EDIT_MODE_GLUE}) {
        level.editMode = mode;
        EXPECT_EQ(level.FindBlockAtCursor(), -1) << EditorModeName(mode);
    }
}

TEST_F(EditorLevelTest, PlacingNeedsEveryCellOfTheNewBoxFree) {
    level.cursorSize = {2, 2, 1};
    PlaceAt(0, 0, 0);
    ASSERT_EQ(level.CurrentGroup().blocks.size(), 1u);
    const int rebuilds = scene.deletes;
    PlaceAt(1, 1, 0); // shares cell (1,1,0)
    EXPECT_EQ(level.CurrentGroup().blocks.size(), 1u);
    EXPECT_EQ(scene.deletes, rebuilds) << "a refused placement rebuilds nothing";
    PlaceAt(2, 0, 0); // touching faces
    PlaceAt(0, 0, 1); // on top
    ASSERT_EQ(level.CurrentGroup().blocks.size(), 3u);
    const EditorBlock& b = level.CurrentGroup().blocks[1];
    EXPECT_EQ(b.x, 2);
    EXPECT_EQ(b.sx, 2);
    EXPECT_EQ(b.sy, 2);
    EXPECT_EQ(b.bonus, -1);
    EXPECT_EQ(b.material, "stone");
    EXPECT_FLOAT_EQ(b.glue, 35.0f);
    EXPECT_EQ(scene.built.size(), 3u);
}

TEST_F(EditorLevelTest, DeletingTheFirstOfThreeMovesTheLastIntoItsPlace) {
    PlaceAt(0, 0, 0);
    PlaceAt(1, 0, 0);
    PlaceAt(2, 0, 0);
    level.editMode = EDIT_MODE_DEL;
    level.cursor = {0, 0, 0};
    level.DoAction();
    ASSERT_EQ(level.CurrentGroup().blocks.size(), 2u);
    EXPECT_EQ(level.CurrentGroup().blocks[0].x, 2);
    EXPECT_EQ(level.CurrentGroup().blocks[1].x, 1);
    EXPECT_EQ(scene.built.size(), 2u);
}

TEST_F(EditorLevelTest, BonusActionSetsAndClearsAndCountsNeverDropBelowPlaced) {
    PlaceAt(0, 0, 0);
    PlaceAt(1, 0, 0);
    level.editMode = EDIT_MODE_BONUS;
    level.curBonus = 5;
    level.cursor = {0, 0, 0};
    level.DoAction();
    level.cursor = {1, 0, 0};
    level.DoAction();
    EXPECT_EQ(level.bonusCounts[5].placed, 2);
    EXPECT_EQ(level.bonusCounts[5].count, 2);
    EXPECT_EQ(scene.built[0].bonus, 5);

    level.curBonus = -1;
    level.DoAction();
    EXPECT_EQ(level.CurrentGroup().blocks[1].bonus, -1);
    EXPECT_EQ(level.bonusCounts[5].placed, 1);
    EXPECT_EQ(level.bonusCounts[5].count, 2) << "a recount only raises counts";

    level.curBonus = 5;
    EXPECT_EQ(level.SetBonusCount(0), 1) << "a count never goes below the blocks that carry the kind";
    EXPECT_EQ(level.SetBonusCount(7), 7);
    level.curBonus = -1;
    EXPECT_EQ(level.SetBonusCount(7), -1);
}

TEST_F(EditorLevelTest, DeletingABonusBlockRecountsPlaced) {
    PlaceAt(0, 0, 0);
    level.editMode = EDIT_MODE_BONUS;
    level.curBonus = 3;
    level.DoAction();
    level.editMode = EDIT_MODE_DEL;
    level.DoAction();
    EXPECT_EQ(level.bonusCounts[3].placed, 0);
    EXPECT_EQ(level.bonusCounts[3].count, 1);
}

TEST_F(EditorLevelTest, MaterialAndGlueActionsChangeOnlyTheHitBlock) {
    PlaceAt(0, 0, 0);
    PlaceAt(1, 0, 0);
    level.cursor = {1, 0, 0};
    level.curMaterial = "wood";
    level.curGlue = 3.0f;
    level.editMode = EDIT_MODE_MAT;
    level.DoAction();
    level.editMode = EDIT_MODE_GLUE;
    level.DoAction();
    EXPECT_EQ(level.CurrentGroup().blocks[0].material, "stone");
    EXPECT_EQ(level.CurrentGroup().blocks[1].material, "wood");
    EXPECT_FLOAT_EQ(level.CurrentGroup().blocks[1].glue, 3.0f);
    EXPECT_FLOAT_EQ(level.CurrentGroup().blocks[0].glue, 35.0f);
    level.cursor = {5, 5, 5}; // nothing there: nothing happens
    level.DoAction();
    EXPECT_EQ(level.BlockCount(), 2);
}

TEST_F(EditorLevelTest, DeleteGroupCases) {
    struct Case {
        int groups, current, n;
        bool ok;
        int groupsAfter, currentAfter;
    } cases[] = {
        {3, 1, 0, true, 2, 1},  // 0 deletes the current group
        {3, 1, -4, true, 2, 1}, // so does any n below 1
        {3, 2, 0, true, 2, 1},  // the last one: the current index steps back
        {3, 0, 3, true, 2, 0},  // group 3 by number
        {3, 0, 4, false, 3, 0}, // past the end
        {1, 0, 0, true, 1, 0},  // the only group: one new empty group
        {1, 0, 1, true, 1, 0},
    };
    for (const Case& c : cases) {
        EditorLevel l;
        l.scene = &scene;
        l.curMaterial = "stone";
        for (int i = 1; i < c.groups; ++i) l.NewGroup();
        for (int i = 0; i < c.groups; ++i) {
            l.currentGroup = i;
            l.cursor = {i, 0, 0};
            l.AddBlockAtCursor();
        }
        l.currentGroup = c.current;
        EXPECT_EQ(l.DeleteGroup(c.n), c.ok) << c.groups << " " << c.current << " " << c.n;
        EXPECT_EQ(static_cast<int>(l.groups.size()), c.groupsAfter) << c.groups << " " << c.current << " " << c.n;
        EXPECT_EQ(l.currentGroup, c.currentAfter) << c.groups << " " << c.current << " " << c.n;
    }
    // Deleting the only group leaves an empty one with the identity matrix.
    EditorLevel l;
    l.CurrentGroup().matrix.m[12] = 4.0f;
    l.CurrentGroup().blocks.push_back(Block(0, 0, 0, 1, 1, 1));
    EXPECT_TRUE(l.DeleteGroup(1));
    ASSERT_EQ(l.groups.size(), 1u);
    EXPECT_TRUE(l.groups[0].blocks.empty());
    EXPECT_EQ(l.groups[0].matrix.m[12], 0.0f);
}

TEST_F(EditorLevelTest, SelectGroupIsOneBased) {
    level.NewGroup();
    EXPECT_EQ(level.currentGroup, 1);
    EXPECT_FALSE(level.SelectGroup(0));
    EXPECT_FALSE(level.SelectGroup(3));
    EXPECT_EQ(level.currentGroup, 1);
    EXPECT_TRUE(level.SelectGroup(1));
    EXPECT_EQ(level.currentGroup, 0);
}

TEST_F(EditorLevelTest, ClearLevelLeavesOneEmptyGroupAndZeroCounts) {
    PlaceAt(0, 0, 0);
    level.NewGroup();
    PlaceAt(0, 0, 0);
    level.bonusCounts[4] = {1, 3};
    level.cursor = {2, 3, 4};
    level.ClearLevel();
    EXPECT_TRUE(scene.built.empty());
    ASSERT_EQ(level.groups.size(), 1u);
    EXPECT_TRUE(level.groups[0].blocks.empty());
    EXPECT_EQ(level.currentGroup, 0);
    for (const EditorBonusCount& c : level.bonusCounts) {
        EXPECT_EQ(c.placed, 0);
        EXPECT_EQ(c.count, 0);
    }
    EXPECT_EQ(level.status.built, 0);
    EXPECT_EQ(level.cursor, (EditorCell{2, 3, 4})) << "the tools stay";
}

TEST_F(EditorLevelTest, ShowAllFalseBuildsAndCountsOnlyTheCurrentGroup) {
    PlaceAt(0, 0, 0);
    PlaceAt(1, 0, 0);
    level.NewGroup();
    level.curMaterial = "glass";
    level.curGlue = 80.0f;
    PlaceAt(0, 0, 0);
    EXPECT_EQ(level.status.built, 3);
    EXPECT_EQ(level.status.solid, 2);
    EXPECT_FLOAT_EQ(level.status.maxGlue, 80.0f);
    level.SetShowAll(false);
    EXPECT_EQ(scene.built.size(), 1u);
    EXPECT_EQ(level.status.built, 1);
    EXPECT_EQ(level.status.solid, 0);
    level.SelectGroup(1);
    EXPECT_EQ(scene.built.size(), 2u);
    EXPECT_EQ(level.status.solid, 2);
}

TEST_F(EditorLevelTest, BlocksStandAtTheirCentreTimesScaleThenTheGroupMatrix) {
    scene.scale = YVector(2.0f, 1.0f, 0.5f);
    level.CurrentGroup().matrix.m[12] = 10.0f; // the group sits 10 along x
    level.cursor = {1, 2, 3};
    level.cursorSize = {3, 1, 2};
    level.AddBlockAtCursor();
    ASSERT_EQ(scene.built.size(), 1u);
    const YMatrix& w = scene.built[0].world;
    EXPECT_FLOAT_EQ(w.m[12], (1 + 1.5f) * 2.0f + 10.0f);
    EXPECT_FLOAT_EQ(w.m[13], (2 + 0.5f) * 1.0f);
    EXPECT_FLOAT_EQ(w.m[14], (3 + 1.0f) * 0.5f);
    EXPECT_EQ(scene.built[0].sx, 3);
    EXPECT_EQ(scene.built[0].sz, 2);
}

TEST_F(EditorLevelTest, BlocksOfAnUnknownMaterialAreLeftOutOfTheSceneButKept) {
    level.curMaterial = "gone";
    PlaceAt(0, 0, 0);
    level.curMaterial = "stone";
    PlaceAt(1, 0, 0);
    EXPECT_EQ(level.BlockCount(), 2);
    EXPECT_EQ(scene.built.size(), 1u);
    EXPECT_EQ(level.status.built, 1);
}

TEST_F(EditorLevelTest, GroupResetsAndGlueAndCountClamps) {
    YMatrix& m = level.CurrentGroup().matrix;
    m.m[0] = 0.0f, m.m[1] = 1.0f, m.m[4] = -1.0f, m.m[5] = 0.0f; // turned
    m.m[12] = 3.0f, m.m[13] = 4.0f, m.m[14] = 5.0f;
    level.ResetGroupRotation();
    EXPECT_EQ(m.m[0], 1.0f);
    EXPECT_EQ(m.m[1], 0.0f);
    EXPECT_EQ(m.m[13], 4.0f);
    level.ResetGroupMove();
    EXPECT_EQ(m.m[12], 0.0f);
    EXPECT_EQ(m.m[14], 0.0f);

    level.curGlue = 50.0f;
    PlaceAt(0, 0, 0);
    level.curGlue = 20.0f;
    PlaceAt(1, 0, 0);
    level.curGlue = 30.0f;
    level.ClampGlueToCurrent();
    EXPECT_FLOAT_EQ(level.CurrentGroup().blocks[0].glue, 30.0f);
    EXPECT_FLOAT_EQ(level.CurrentGroup().blocks[1].glue, 20.0f);

    level.bonusCounts[2] = {1, 5};
    level.ResetBonusCounts();
    EXPECT_EQ(level.bonusCounts[2].count, 1);
}

} // namespace
