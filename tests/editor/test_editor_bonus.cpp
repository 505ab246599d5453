// Bonuses in the editor through its real console: the statements "b=", "bc=", the bonus action and
// "bonusMin" change the blocks and counts, the rebuilt blocks carry builders made by the game's
// bonus registry, and the saved file holds the same bonuses and counts.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/log.h"
#include "editor/editor_headless.h"
#include "editor/editor_level.h"
#include "editor/fake_scene.h"
#include "support/temp_dir.h"
#include "world/level/level_file.h"

namespace {

using Lines = std::vector<std::string>;

class EditorBonusTest : public ::testing::Test {
protected:
    EditorBonusTest() {
        dir.MakeDir("levels");
        LogReopen("");
        SetLogConsole(nullptr);
        Reset();
    }

    void Reset() {
        level = EditorLevel();
        scene = FakeScene();
        level.scene = &scene;
        level.curMaterial = "stone";
    }

    Lines Run(const std::string& line) { return editor.Run(line); }

    // The registry kinds the scene's blocks carry, in build order.
    std::vector<int> BuiltKinds() const {
        std::vector<int> kinds;
        for (const FakeScene::Built& b : scene.built) kinds.push_back(b.bonus);
        return kinds;
    }

    testsupport::TempDir dir{true};
    FakeScene scene;
    EditorWindowlessHost host;
    EditorLevel level;
    EditorHeadlessConsole editor{level, scene, host};
};

TEST_F(EditorBonusTest, StatementsReachTheBlocksTheBuildersAndTheSavedFile) {
    struct Case {
        std::string line;
        Lines answer;
        std::vector<int> bonuses;               // the blocks' kinds, in order
        std::map<int, EditorBonusCount> counts; // every other kind stays {0, 0}
    };
    const Case cases[] = {
        {"mode=bonus b=3 action x", {"mode=bonus", "b=3"}, {3, -1}, {{3, {1, 1}}}},
        {"mode=bonus b=24 action x", {"mode=bonus", "b=24"}, {24, -1}, {{24, {1, 1}}}},
        {"mode=bonus b=25 action x", {"mode=bonus", "b=25"}, {25, -1}, {{25, {1, 1}}}},
        {"mode=bonus b=40 action x", {"mode=bonus", "b=33"}, {33, -1}, {{33, {1, 1}}}},
        {"mode=bonus b=22 action x move [1,0,0] action x", {"mode=bonus", "b=22"}, {22, 22}, {{22, {2, 2}}}},
        {"mode=bonus b=3 action x b=-7 action x", {"mode=bonus", "b=3", "b=-1"}, {-1, -1}, {{3, {0, 1}}}},
        {"b=5 bc=4", {"b=5", "bc=4"}, {-1, -1}, {{5, {0, 4}}}},
        {"mode=bonus b=5 action x bc=0", {"mode=bonus", "b=5", "bc=1"}, {5, -1}, {{5, {1, 1}}}},
        {"b=1 bonuscount=-5", {"b=1", "bonuscount=0"}, {-1, -1}, {}},
        {"b=2 bc=100001", {"b=2", "bc=100000"}, {-1, -1}, {{2, {0, 100000}}}},
        {"b=-1 bc=3", {"b=-1", "bc=clear mode"}, {-1, -1}, {}},
        {"b=5 bc=4 mode=bonus action x bonusMin", {"b=5", "bc=4", "mode=bonus", "bonusMin"}, {5, -1}, {{5, {1, 1}}}},
        // The last block moves into the deleted one's place; its bonus goes from placed, not count.
        {"mode=bonus b=9 action x mode=del action x", {"mode=bonus", "b=9", "mode=del"}, {-1}, {{9, {0, 1}}}},
        {"mode=bonus b=9 move [0,1,0] action x", {"mode=bonus", "b=9"}, {-1, -1}, {}},
        {"b=9 move [0,1,0] action x", {"b=9"}, {-1, -1, -1}, {}},
        {"mode=bonus b=33 action x bc=7 clear", {"mode=bonus", "b=33", "bc=7", "clear"}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Reset();
        // Two blocks side by side, the cursor on the first.
        Run("action x move [1,0,0] action x move [-1,0,0]");
        EXPECT_EQ(Run(c.line), c.answer);

        std::vector<int> bonuses;
        for (const EditorBlock& b : level.CurrentGroup().blocks) bonuses.push_back(b.bonus);
        EXPECT_EQ(bonuses, c.bonuses);
        EXPECT_EQ(BuiltKinds(), c.bonuses) << "each block carries a builder of its own kind";
        for (int k = 0; k < BONUS_KIND_COUNT; ++k) {
            const auto it = c.counts.find(k);
            const EditorBonusCount want = it == c.counts.end() ? EditorBonusCount{} : it->second;
            EXPECT_EQ(level.bonusCounts[static_cast<std::size_t>(k)].placed, want.placed) << "kind " << k;
            EXPECT_EQ(level.bonusCounts[static_cast<std::size_t>(k)].count, want.count) << "kind " << k;
        }

        ASSERT_EQ(Run("save=case.lev"), Lines{"save= ok."});
        YLevelData data;
        std::string error;
        ASSERT_TRUE(ReadLevelFile("levels\\case.lev", data, error)) << error;
        ASSERT_EQ(data.sets.size(), 1u);
        std::vector<int> saved;
        for (const YLevelBlock& b : data.sets[0].blocks) saved.push_back(b.bonus);
        EXPECT_EQ(saved, c.bonuses);
        ASSERT_EQ(data.bonusCounts.size(), static_cast<std::size_t>(BONUS_KIND_COUNT));
        for (int k = 0; k < BONUS_KIND_COUNT; ++k)
            EXPECT_EQ(data.bonusCounts[static_cast<std::size_t>(k)],
                      level.bonusCounts[static_cast<std::size_t>(k)].count)
                << "kind " << k;
    }
}

// Every kind of the registry survives save and load, and the loaded blocks carry fresh builders of
// their kinds; saving again gives the same bytes.
TEST_F(EditorBonusTest, EveryKindRoundTripsWithItsBuilder) {
    Run("mode=new");
    for (int k = 0; k < BONUS_KIND_COUNT; ++k)
        Run("mode=new action x mode=bonus b=" + std::to_string(k) + " action x move [1,0,0]");
    std::vector<int> all;
    for (int k = 0; k < BONUS_KIND_COUNT; ++k) all.push_back(k);
    ASSERT_EQ(BuiltKinds(), all);
    Run("b=14 bc=6");
    ASSERT_EQ(Run("save=every.lev"), Lines{"save= ok."});

    Run("clear");
    ASSERT_TRUE(scene.built.empty());
    ASSERT_EQ(Run("load=every.lev"), Lines{"load= ok."});
    EXPECT_EQ(BuiltKinds(), all);
    for (int k = 0; k < BONUS_KIND_COUNT; ++k) {
        EXPECT_EQ(level.bonusCounts[static_cast<std::size_t>(k)].placed, 1) << k;
        EXPECT_EQ(level.bonusCounts[static_cast<std::size_t>(k)].count, k == 14 ? 6 : 1) << k;
    }
    ASSERT_EQ(Run("save=again.lev"), Lines{"save= ok."});
    EXPECT_EQ(dir.Read("levels/again.lev"), dir.Read("levels/every.lev"));
}

// A block hidden by "show_all=0" is not built, so it carries no builder, but its bonus is still
// counted and saved.
TEST_F(EditorBonusTest, HiddenGroupsKeepTheirBonuses) {
    Run("action x mode=bonus b=11 action x new_group x mode=new action x show_all=0");
    EXPECT_EQ(BuiltKinds(), std::vector<int>{-1});
    EXPECT_EQ(level.bonusCounts[11].placed, 1);
    Run("show_all=1");
    EXPECT_EQ(BuiltKinds(), (std::vector<int>{11, -1}));
}

} // namespace
