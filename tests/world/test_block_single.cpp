// Single blocks and splinters: damage, popups, death and destruction, the arena test, the reach
// test, the few-blocks timer.
#include "world/block_fixture.h"

#include <cmath>
#include <vector>

#include "world/blocks/block_faces.h"
#include "world/blocks/splinter.h"

namespace {

using blocktest::BlockWorldTest;

TEST(BlockStroke, VolumeFollowsStrengthOverMass) {
    EXPECT_FLOAT_EQ(StrokeVolume(5, 10), 0.05f); // below 0.1: not played
    EXPECT_FLOAT_EQ(StrokeVolume(200, 10), 1.0f);
    EXPECT_FLOAT_EQ(StrokeVolume(50, 10), 0.5f);
}

TEST_F(BlockWorldTest, HealthTenHitBySixSixSix) {
    const YBlockType* t = FindBlockType("opaque", 1, 1, 1);
    auto* b = new YBlockSingle(t, nullptr, OnFloor(t, 0, 0));
    const YVector p(0, 0, 0.5f);
    ASSERT_TRUE(g_ParticleSystem.Texts().empty()) << "texts of an earlier test";
    struct Step {
        bool killed;
        float health;
        bool dying;
        std::size_t popups;
    } steps[] = {{false, 4, false, 1}, {true, 0, true, 1}, {false, 0, true, 1}};
    for (const Step& s : steps) {
        EXPECT_EQ(b->Damage(6, p), s.killed);
        EXPECT_FLOAT_EQ(b->health, s.health);
        EXPECT_EQ(b->Dying(), s.dying);
        EXPECT_EQ(g_ParticleSystem.Texts().size(), s.popups);
    }
    EXPECT_EQ(g_ParticleSystem.Texts()[0].text, "6");
    // Deleted within 0.1375..0.1625 s, with its score.
    Frames(6, 0.02f);
    EXPECT_TRUE(IsBlockAlive(b));
    Frames(3, 0.02f);
    EXPECT_FALSE(IsBlockAlive(b));
    ASSERT_EQ(record.scores.size(), 1u);
    EXPECT_EQ(record.scores[0], 5);
}

TEST_F(BlockWorldTest, ALevelOfIndestructibleBlocksIsClearedAtOnce) {
    const YBlockType* t = FindBlockType("hard", 1, 1, 1);
    auto* b = new YBlockSingle(t, nullptr, OnFloor(t, 0, 0));
    EXPECT_FALSE(b->Damage(1000, {0, 0, 0.5f}));
    EXPECT_FALSE(b->Dying());
    Frames(1);
    EXPECT_TRUE(AllBlocksCleared());
}

TEST_F(BlockWorldTest, OffTableDestructionScoresButGivesNoBonus) {
    const YBlockType* t = FindBlockType("opaque", 1, 1, 1);
    auto* on = new YBlockSingle(t, new blocktest::RecordingBonus(&record), OnFloor(t, 0, 0));
    auto* off = new YBlockSingle(t, new blocktest::RecordingBonus(&record), OnFloor(t, 0, 0));
    YMatrix far = OnFloor(t, 12.0f, 0);
    off->Place(far);
    on->ScheduleDeath();
    off->ScheduleDeath();
    YZDelete::TickAll(1.0f);
    EXPECT_EQ(record.scores.size(), 2u);
    EXPECT_EQ(record.bonusesRun, 1);
}

TEST_F(BlockWorldTest, DeleteAllBlocksHasNoEffects) {
    const YBlockType* t = FindBlockType("opaque", 1, 1, 1);
    for (int i = 0; i < 5; ++i)
        new YBlockSingle(t, new blocktest::RecordingBonus(&record), OnFloor(t, i * 2.0f - 4, 0));
    g_ParticleSystem.Clear();
    DeleteAllBlocks();
    EXPECT_TRUE(g_BlockWorld.blocks.empty());
    EXPECT_TRUE(record.scores.empty());
    EXPECT_EQ(record.bonusesRun, 0);
    EXPECT_TRUE(g_ParticleSystem.Particles().empty());
    EXPECT_TRUE(BlockEffectsEnabled);
}

TEST_F(BlockWorldTest, FewBlocksTimerDropsWithinItsWindowAndRearmsOnChange) {
    const YBlockType* t = FindBlockType("opaque", 1, 1, 1);
    for (int i = 0; i < 4; ++i) new YBlockSingle(t, nullptr, OnFloor(t, i * 2.0f - 4, 0));
    float elapsed = 0;
    while (record.nextBonusDrops == 0 && elapsed < 20.0f) {
        BlockWorldUpdate(0.05f, true);
        elapsed += 0.05f;
    }
    EXPECT_EQ(g_BlockWorld.blocksInPlay, 4u);
    EXPECT_GE(elapsed, 13.5f - 0.06f);
    EXPECT_LE(elapsed, 16.5f + 0.06f);
    // Four seconds on the timer runs below 13.45 s; a change of the count re-arms it to 13.5 s or more.
    for (int i = 0; i < 81; ++i) BlockWorldUpdate(0.05f, true);
    EXPECT_LT(g_BlockWorld.fewBlocksTimer, 13.45f);
    delete g_BlockWorld.blocks.back();
    BlockWorldUpdate(0.05f, true);
    EXPECT_EQ(g_BlockWorld.blocksInPlay, 3u);
    EXPECT_GE(g_BlockWorld.fewBlocksTimer, 13.45f);
}

TEST_F(BlockWorldTest, ArenaTestCountsFourCornersInsideAndDeletesABlockWithNone) {
    const YBlockType* t = FindBlockType("opaque", 2, 2, 2);
    auto* edge = new YBlockSingle(t, nullptr, OnFloor(t, 10.0f, 0)); // half its corners beyond x = 10
    auto* gone = new YBlockSingle(t, nullptr, OnFloor(t, 0, 0));
    YMatrix below = OnFloor(t, 0, 0);
    below.m[14] = -5.0f;
    gone->Place(below);
    edge->body.SetEnabled(false);
    gone->body.SetEnabled(false);
    BlockWorldUpdate(0.0f, false);
    EXPECT_EQ(g_BlockWorld.blocksInPlay, 1u);
    EXPECT_TRUE(gone->Dying());
    EXPECT_GE(gone->countdown, 0.325f - 1e-4f);
    EXPECT_LE(gone->countdown, 0.775f + 1e-4f);
    EXPECT_FALSE(edge->Dying());
}

TEST_F(BlockWorldTest, ADeletedBlockLeavesTheListAndTheLastTakesItsPlace) {
    const YBlockType* t = FindBlockType("hard", 1, 1, 1);
    struct Case {
        const char* what;
        std::vector<int> deleted; // indexes into the blocks as made, deleted in this order
        std::vector<int> left;    // the list afterwards
    };
    const Case cases[] = {
        {"the last", {4}, {0, 1, 2, 3}},
        {"the first", {0}, {4, 1, 2, 3}},
        {"a middle one, then the one moved into its place", {1, 4}, {0, 3, 2}},
        {"every one, first to last", {0, 1, 2, 3, 4}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<YBlock*> made;
        for (int i = 0; i < 5; ++i) made.push_back(new YBlockSingle(t, nullptr, OnFloor(t, -6.0f + 3.0f * i, 0)));
        BlockEffectsEnabled = false; // no splinters: they would join the list
        for (int i : c.deleted) delete made[static_cast<std::size_t>(i)];
        BlockEffectsEnabled = true;
        std::vector<YBlock*> want;
        for (int i : c.left) want.push_back(made[static_cast<std::size_t>(i)]);
        EXPECT_EQ(g_BlockWorld.blocks, want);
        DeleteAllBlocks();
        EXPECT_TRUE(g_BlockWorld.blocks.empty());
    }
}

TEST_F(BlockWorldTest, TheReachTestSkipsTargetedAndIndestructibleBlocks) {
    const YBlockType* t = FindBlockType("opaque", 1, 1, 1);
    const YBlockType* h = FindBlockType("hard", 1, 1, 1);
    auto* b = new YBlockSingle(t, nullptr, OnFloor(t, 0, 3));
    auto* metal = new YBlockSingle(h, nullptr, OnFloor(h, 3, 3));
    const YVector from(0, -2, 0.52f);
    EXPECT_EQ(b->ReachTest(1, from, 7.0f), b);
    EXPECT_EQ(b->ReachTest(1, from, 2.0f), nullptr); // out of reach
    b->targeted = true;
    EXPECT_EQ(b->ReachTest(1, from, 7.0f), nullptr);
    EXPECT_EQ(metal->ReachTest(1, from, 7.0f), nullptr);
}

TEST_F(BlockWorldTest, ASplinterIsScheduledOnceNinetyPercentOfItsLifeHasPassed) {
    const YBlockType* t = FindBlockType("opaque", 1, 1, 1);
    const float splits[8] = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    auto* s = new YSplinter(t, OnFloor(t, 0, 0), 0, splits, 1.0f, nullptr);
    for (int i = 0; i < 44; ++i) s->Update(0.02f); // 0.88 s
    EXPECT_FALSE(s->Dying());
    s->Update(0.03f); // 0.91 s
    EXPECT_TRUE(s->Dying());
}

TEST_F(BlockWorldTest, SplinterOctantZeroShowsTheOuterShaderOnItsOuterFaces) {
    const YBlockType* t = FindBlockType("glass", 1, 1, 1); // blended: every face is built
    const float splits[8] = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    auto* s = new YSplinter(t, OnFloor(t, 0, 0), 0, splits, 1.0f, nullptr);
    BlockFaceList().clear();
    s->Update(0.0f);
    // Faces are built in face order -x, +x, -y, +y, -z, +z.
    ASSERT_EQ(BlockFaceList().size(), 6u);
    const bool outer[6] = {true, false, true, false, true, false};
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(BlockFaceList()[f].shader, outer[f] ? glass->shader : glass->inShader) << f;
    }
}

TEST_F(BlockWorldTest, BlocksBreakingTogetherLeaveSplintersWithinTheBudget) {
    // Blocks destroyed in one frame, as a chain of blasts destroys them: up to 16 leave all their
    // eight pieces; a hundred leave fewer and fewer, never more than the limit together.
    const YBlockType* t = FindBlockType("opaque", 1, 1, 1);
    struct Row {
        int blocks;
        int splinters;
    };
    for (const Row row : {Row{1, 8}, Row{16, 128}, Row{100, -1}}) {
        SCOPED_TRACE(row.blocks);
        for (int i = 0; i < row.blocks; ++i)
            SpawnBlockDebris(t, OnFloor(t, static_cast<float>(i % 10) * 1.5f - 7.0f, static_cast<float>(i / 10) - 5.0f),
                             nullptr);
        const int live = YSplinter::LiveCount();
        if (row.splinters >= 0)
            EXPECT_EQ(live, row.splinters);
        else
            EXPECT_GT(live, YSplinter::SPLINTER_SHARE_FROM);
        EXPECT_LE(live, YSplinter::SPLINTER_LIMIT);
        EXPECT_EQ(live, static_cast<int>(g_BlockWorld.blocks.size()));
        DeleteAllBlocks();
        EXPECT_EQ(YSplinter::LiveCount(), 0);
    }
}

} // namespace
