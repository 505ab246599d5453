// Block sets: neighbour lists and hidden faces, glue and damage, static contacts, splitting into
// connected parts (a table of shapes), mass conservation, shared diagonal edges, wide faces, and
// what a destroyed set leaves: single blocks, and the score and debris of each item.
#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "world/block_fixture.h"
#include "world/blocks/block_faces.h"
#include "world/blocks/splinter.h"

namespace {

using blocktest::BlockWorldTest;

struct Cell {
    int32_t x, y, z, sx = 1, sy = 1, sz = 1;
};

class BlockSetTest : public BlockWorldTest {
protected:
    YBlockSet* Make(const std::vector<Cell>& cells, const char* material = "opaque", float glue = 35.0f) {
        YBlockSet* set = new YBlockSet;
        YMatrix m;
        m.MatrixSetTranslation({0, 0, 0.02f});
        set->Place(m);
        for (const Cell& c : cells) {
            set->AddItem(FindBlockType(material, c.sx, c.sy, c.sz), c.x, c.y, c.z, glue, -1);
        }
        set->BuildEdges();
        set->Finish();
        PrepareBlockSet(set, true);
        return set;
    }
    static YBlockItem* At(YBlockSet* set, int32_t x, int32_t y, int32_t z = 0) {
        for (YBlockItem* i : set->items) {
            if (i->cell[0] == x && i->cell[1] == y && i->cell[2] == z) return i;
        }
        return nullptr;
    }
    // Sizes of the live sets, sorted, and the number of single blocks.
    static std::vector<std::size_t> SetSizes() {
        std::vector<std::size_t> sizes;
        for (YBlock* b : g_BlockWorld.blocks) {
            if (auto* s = dynamic_cast<YBlockSet*>(b)) sizes.push_back(s->items.size());
        }
        std::sort(sizes.begin(), sizes.end());
        return sizes;
    }
    static int Singles() {
        int n = 0;
        for (YBlock* b : g_BlockWorld.blocks) n += dynamic_cast<YBlockSingle*>(b) != nullptr;
        return n;
    }
};

TEST_F(BlockSetTest, TwoItemsSideBySideSeeEachOtherAndHideTheirInnerFacesWhenOpaque) {
    YBlockSet* set = Make({{0, 0, 0}, {1, 0, 0}});
    YBlockItem* a = At(set, 0, 0);
    YBlockItem* b = At(set, 1, 0);
    ASSERT_EQ(a->faces[1].neighbours, std::vector<YBlockItem*>{b});
    ASSERT_EQ(b->faces[0].neighbours, std::vector<YBlockItem*>{a});
    EXPECT_FALSE(a->faces[1].visible);
    EXPECT_FALSE(b->faces[0].visible);
    EXPECT_TRUE(a->faces[0].visible);
    for (int f = 2; f < 6; ++f) EXPECT_TRUE(a->faces[f].visible);

    YBlockSet* clear = Make({{0, 3, 0}, {1, 3, 0}}, "glass");
    EXPECT_TRUE(At(clear, 0, 3)->faces[1].visible);
    EXPECT_TRUE(At(clear, 1, 3)->faces[0].visible);
}

TEST_F(BlockSetTest, TakingOutTheMiddleOfThreeLeavesASingleAndAOneItemSet) {
    YBlockSet* set = Make({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    ASSERT_NE(DetachItem(set, At(set, 1, 0), true), nullptr);
    EXPECT_EQ(Singles(), 2); // the middle one and the first, split off alone
    EXPECT_EQ(SetSizes(), std::vector<std::size_t>{1});
    EXPECT_EQ(set->items.size(), 1u);
    EXPECT_NE(At(set, 2, 0), nullptr);
}

TEST_F(BlockSetTest, GlueTakesAHitFirstAndTheExcessGoesToTheBrokenOffBlock) {
    BuildBlockMaterial("strong", 1, 200, "test_opaque", "in_block", 5, "def_stroke", "def_destroy", "");
    YBlockSet* set = Make({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, "strong", 60.0f);
    YBlockItem* end = At(set, 2, 0);
    EXPECT_FALSE(set->DamageItem(end, 50, {2.5f, 0.5f, 0.5f}));
    EXPECT_FLOAT_EQ(end->glue, 10.0f);
    EXPECT_EQ(set->items.size(), 3u);
    const std::size_t before = g_BlockWorld.blocks.size();
    EXPECT_FALSE(set->DamageItem(end, 50, {2.5f, 0.5f, 0.5f}));
    ASSERT_EQ(g_BlockWorld.blocks.size(), before + 1);
    auto* single = dynamic_cast<YBlockSingle*>(g_BlockWorld.blocks.back());
    ASSERT_NE(single, nullptr);
    EXPECT_FLOAT_EQ(single->health, 200.0f - 40.0f);
    EXPECT_EQ(set->items.size(), 2u);
}

TEST_F(BlockSetTest, AStaticContactBreaksAnItemOffFrom350) {
    YBlockSet* set = Make({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    YBlockItem* end = At(set, 2, 0);
    const YVector zero(0, 0, 0), p(2.5f, 0.5f, 0.5f), n(1, 0, 0);
    const YVector weak(349, 0, 0), strong(0, 350, 0);
    set->OnContact(end, nullptr, &weak, &zero, &p, &n, 0);
    EXPECT_EQ(set->items.size(), 3u);
    EXPECT_FLOAT_EQ(end->glue, 35.0f);
    set->OnContact(end, nullptr, &strong, &zero, &p, &n, 0);
    EXPECT_EQ(set->items.size(), 2u);
    EXPECT_EQ(Singles(), 1);
    // A later contact of the same step still names the item that broke off (and is gone): ignored.
    set->OnContact(end, nullptr, &strong, &zero, &p, &n, 0);
    EXPECT_EQ(set->items.size(), 2u);
    EXPECT_EQ(Singles(), 1);
}

TEST_F(BlockSetTest, RemovingAnItemSplitsTheRestIntoItsConnectedParts) {
    struct Case {
        const char* name;
        std::vector<Cell> cells;
        Cell removed;
        std::vector<std::size_t> sets; // sizes of the sets left, sorted
        int singles;                   // the removed item included
    };
    const Case cases[] = {
        {"bar of six, third out",
         {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}},
         {2, 0, 0},
         {2, 3},
         1},
        {"plus, centre out", {{1, 1, 0}, {0, 1, 0}, {2, 1, 0}, {1, 0, 0}, {1, 2, 0}}, {1, 1, 0}, {1}, 4},
        {"ring of eight, one out",
         {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}, {0, 2, 0}, {0, 1, 0}},
         {1, 0, 0},
         {7},
         1},
        {"two towers on a beam, beam out",
         {{0, 0, 0, 4, 1, 1}, {0, 0, 1}, {0, 0, 2}, {3, 0, 1}, {3, 0, 2}},
         {0, 0, 0},
         {2, 2},
         1},
        {"T, stem base out", {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {1, 0, 0}}, {1, 0, 0}, {3}, 1},
        {"stack, middle out", {{0, 0, 0}, {0, 0, 1}, {0, 0, 2}, {0, 0, 3}}, {0, 0, 1}, {2}, 2},
    };
    for (const Case& c : cases) {
        YBlockSet* set = Make(c.cells);
        ASSERT_EQ(SetSizes(), std::vector<std::size_t>{c.cells.size()}) << c.name;
        YBlockItem* item = At(set, c.removed.x, c.removed.y, c.removed.z);
        ASSERT_NE(item, nullptr) << c.name;
        ASSERT_NE(DetachItem(set, item, true), nullptr) << c.name;
        EXPECT_EQ(SetSizes(), c.sets) << c.name;
        EXPECT_EQ(Singles(), c.singles) << c.name;
        DeleteAllBlocks();
    }
}

// Mass and the mass-weighted sum of world centres of everything in the world.
void MassAndMoment(float& mass, YVector& moment) {
    mass = 0;
    moment = {0, 0, 0};
    for (YBlock* b : g_BlockWorld.blocks) {
        if (auto* s = dynamic_cast<YBlockSet*>(b)) {
            mass += s->mass;
            moment = moment + YVector(s->matrix.m[12], s->matrix.m[13], s->matrix.m[14]) * s->mass;
        } else if (auto* single = dynamic_cast<YBlockSingle*>(b)) {
            mass += single->type->mass;
            moment = moment + single->GetPosition() * single->type->mass;
        }
    }
}

TEST_F(BlockSetTest, SplittingAnLShapeKeepsItsMassAndCentre) {
    YBlockSet* set = Make({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {0, 0, 1}, {0, 0, 2}});
    float mass0, mass1;
    YVector moment0, moment1;
    MassAndMoment(mass0, moment0);
    ASSERT_NE(DetachItem(set, At(set, 2, 0), true), nullptr);
    EXPECT_EQ(SetSizes(), (std::vector<std::size_t>{2, 4}));
    MassAndMoment(mass1, moment1);
    EXPECT_FLOAT_EQ(mass1, mass0);
    EXPECT_NEAR(moment1.x, moment0.x, 1e-3);
    EXPECT_NEAR(moment1.y, moment0.y, 1e-3);
    EXPECT_NEAR(moment1.z, moment0.z, 1e-3);
}

TEST_F(BlockSetTest, ADiagonalEdgeLeftBetweenTwoPartsIsSharedByCopying) {
    // Two pairs joined by one connector; after it goes, the lattice edge at (1, 1) along z borders
    // the cell (0, 0) of one part and (1, 1) of the other: mask 9, kept in both as a corner edge.
    YBlockSet* set = Make({{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {2, 1, 0}});
    ASSERT_NE(DetachItem(set, At(set, 1, 0), true), nullptr);
    ASSERT_EQ(SetSizes(), (std::vector<std::size_t>{2, 2}));
    std::vector<int> masks;
    for (YBlock* b : g_BlockWorld.blocks) {
        auto* s = dynamic_cast<YBlockSet*>(b);
        if (!s) continue;
        for (const YBlockEdge* e : s->edges) {
            if (e->axis == 2 && e->position.x == 1.0f && e->position.y == 1.0f && e->position.z == 0.0f &&
                (e->mask & 15) != 0)
                masks.push_back(e->mask & 15);
        }
    }
    std::sort(masks.begin(), masks.end());
    EXPECT_EQ(masks, (std::vector<int>{1, 8}));
    int f1, f2;
    for (int m : masks) EXPECT_TRUE(SetCornerEdgeFaces(static_cast<uint8_t>(m), 2, f1, f2));
}

TEST_F(BlockSetTest, ALargeFaceBesideManySmallItemsListsThemAll) {
    std::vector<Cell> cells{{0, 0, 0, 1, 4, 4}};
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t z = 0; z < 4; ++z) cells.push_back({1, y, z});
    YBlockSet* set = Make(cells);
    YBlockItem* wall = At(set, 0, 0, 0);
    ASSERT_EQ(wall->faces[1].neighbours.size(), 16u);
    EXPECT_FALSE(wall->faces[1].visible); // covered in full
    ASSERT_NE(DetachItem(set, At(set, 1, 2, 2), true), nullptr);
    EXPECT_EQ(wall->faces[1].neighbours.size(), 15u);
    EXPECT_TRUE(wall->faces[1].visible);
    EXPECT_EQ(SetSizes(), std::vector<std::size_t>{16});
}

// A projectile whose hits damage blocks as a ball's do.
class Hammer : public YBumpEvent {
public:
    bool BumpSingle(YBlockSingle* block, const YVector* force, const YVector*, const YVector* position,
                    const YVector*) override {
        return block->Damage(std::sqrt(force->Dot(*force)), *position);
    }
    bool BumpSetItem(YBlockSet* set, YBlockItem* item, const YVector* force, const YVector*, const YVector* position,
                     const YVector*) override {
        return set->DamageItem(item, std::sqrt(force->Dot(*force)), *position);
    }
};

TEST_F(BlockSetTest, ABlockHitHardBreaksWithinABoundedTime) {
    BuildBlockMaterial("target", 1, 60, "test_opaque", "in_block", 5, "def_stroke", "def_destroy", "");
    YBlockSet* set = Make({{0, 4, 0}, {1, 4, 0}, {0, 4, 1}}, "target", 20.0f);
    const std::size_t items = set->items.size();
    Hammer hammer;
    const YVector half(0.3f, 0.3f, 0.3f);
    YRigidBox projectile(&half, false);
    projectile.listener = &hammer;
    const YVector inertia(0.1f, 0.1f, 0.1f);
    projectile.SetMassDiagonal(2.0f, &inertia, false);
    YMatrix start;
    start.MatrixSetTranslation({0.5f, -2.0f, 0.6f});
    projectile.SetMatrix(&start);
    const YVector v(0, 25, 0);
    projectile.SetLinearVel(&v);
    float t = 0;
    while (record.scores.empty() && t < 5.0f) {
        Frames(1, 0.02f);
        t += 0.02f;
    }
    EXPECT_FALSE(record.scores.empty()) << "nothing broke within 5 s";
    EXPECT_LT(t, 2.0f);
    EXPECT_TRUE(Singles() > 0 || set->items.size() < items || !IsBlockAlive(set));
}

// A set of three items of three materials (5, 7 and 11 points), each item carrying a bonus, with
// its grid origin at (x, 0).
class DestroyedSetTest : public BlockSetTest {
protected:
    YBlockSet* MakeThree(float x) {
        for (const auto& [name, points] : {std::pair<const char*, int32_t>{"five", 5}, {"seven", 7}, {"eleven", 11}})
            BuildBlockMaterial(name, 1, 10, "test_opaque", "in_block", points, "def_stroke", "def_destroy", "");
        YBlockSet* set = new YBlockSet;
        YMatrix m;
        m.MatrixSetTranslation({x, 0, 0.02f});
        set->Place(m);
        const char* names[] = {"five", "seven", "eleven"};
        for (int32_t i = 0; i < 3; ++i) {
            YBlockItem* item = set->AddItem(FindBlockType(names[i], 1, 1, 1), i, 0, 0, 35.0f, -1);
            item->bonus = new blocktest::RecordingBonus(&record);
        }
        set->BuildEdges();
        set->Finish();
        PrepareBlockSet(set, true);
        return set;
    }
    static int Splinters() {
        int n = 0;
        for (YBlock* b : g_BlockWorld.blocks) n += dynamic_cast<YSplinter*>(b) != nullptr;
        return n;
    }
    // Points of the materials of the single blocks alive.
    static std::vector<int32_t> SinglePoints() {
        std::vector<int32_t> points;
        for (YBlock* b : g_BlockWorld.blocks)
            if (auto* s = dynamic_cast<YBlockSingle*>(b)) points.push_back(s->type->material->scores);
        return points;
    }
};

TEST_F(DestroyedSetTest, ASetDestroyedOnTheTableLeavesAllButOneItemAsSingleBlocks) {
    YBlockSet* set = MakeThree(-1.5f);
    set->Schedule(0.0f);
    YZDelete::TickAll(0.02f);
    ASSERT_FALSE(IsBlockAlive(set));
    // One item went as a destroyed block: its score, its debris, its bonus run on the table.
    ASSERT_EQ(record.scores.size(), 1u);
    EXPECT_EQ(Splinters(), 8);
    EXPECT_EQ(record.bonusesRun, 1);
    // The two others broke off as single blocks that keep their bonus, standing where they were.
    std::vector<int32_t> all = SinglePoints();
    ASSERT_EQ(all.size(), 2u);
    for (YBlock* b : g_BlockWorld.blocks) {
        auto* s = dynamic_cast<YBlockSingle*>(b);
        if (!s) continue;
        EXPECT_NE(s->bonus, nullptr);
        EXPECT_GT(s->health, 0.0f);
        const YVector p = s->GetPosition();
        EXPECT_GT(p.x, -1.5f);
        EXPECT_LT(p.x, 1.5f);
        EXPECT_NEAR(p.z, 0.52f, 0.01f);
    }
    all.push_back(record.scores[0]);
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<int32_t>{5, 7, 11}));
}

TEST_F(DestroyedSetTest, ASetThatLeavesTheTableScoresEveryItemWithItsOwnDebris) {
    MakeThree(12.0f);              // beyond the right edge of the 20-wide table
    std::map<int32_t, int> debris; // splinters made, by the points of their material
    const float dt = 0.02f;
    for (int frame = 0; frame < 250 && !g_BlockWorld.blocks.empty(); ++frame) {
        YZDelete::TickAll(dt);
        // Splinters made by this tick's destructions have not aged yet.
        for (YBlock* b : g_BlockWorld.blocks)
            if (auto* s = dynamic_cast<YSplinter*>(b); s && s->life == s->initialLife)
                debris[s->type->material->scores]++;
        g_PhysicsWorld.PhysicsStep(dt);
        BlockWorldUpdate(dt, false);
    }
    std::vector<int32_t> scores = record.scores;
    std::sort(scores.begin(), scores.end());
    EXPECT_EQ(scores, (std::vector<int32_t>{5, 7, 11}));
    EXPECT_EQ(debris, (std::map<int32_t, int>{{5, 8}, {7, 8}, {11, 8}}));
    EXPECT_EQ(record.bonusesRun, 0) << "off the table no bonus drops";
    EXPECT_TRUE(g_BlockWorld.blocks.empty()) << "every block and splinter is gone within 5 s";
}

} // namespace
