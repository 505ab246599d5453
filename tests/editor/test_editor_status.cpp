#include "editor/editor_status.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/editor_level.h"
#include "editor/fake_scene.h"

namespace {

struct RecordingText : EditorTextOut {
    struct Line {
        float x, y;
        std::string text;
    };
    std::vector<Line> lines;
    void Text(float x, float y, const char* text) override { lines.push_back({x, y, text}); }

    std::vector<std::string> Column(float x) const {
        std::vector<std::string> out;
        for (const Line& l : lines)
            if (l.x == x) out.push_back(std::to_string(static_cast<int>(l.y)) + " " + l.text);
        return out;
    }
};

class EditorStatusTest : public ::testing::Test {
protected:
    EditorStatusTest() {
        level.scene = &scene;
        level.curMaterial = "stone";
        level.levelName = "first.lev";
        scene.scale = YVector(1.5f, 1, 0.5f);
        // Two groups: three blocks and one, one glass block, one block with bonus 2.
        level.cursorSize = {2, 1, 1};
        level.AddBlockAtCursor();
        level.cursor = {2, 0, 0};
        level.curMaterial = "glass";
        level.curGlue = 40.0f;
        level.AddBlockAtCursor();
        level.NewGroup();
        level.cursor = {0, 0, 0};
        level.cursorSize = {1, 1, 1};
        level.curMaterial = "stone";
        level.curGlue = 35.0f;
        level.AddBlockAtCursor();
        level.curBonus = 2;
        level.SetBlockBonusAtCursor();
        level.SetBonusCount(4);
        level.curBonus = 0;
    }
    FakeScene scene;
    EditorLevel level;
    RecordingText out;
};

TEST_F(EditorStatusTest, RightColumnShowsTheLevelAndEndsWithTheBuildLineAt562) {
    DrawStatusLines(level, scene, out);
    const std::vector<std::string> right = out.Column(680.0f);
    ASSERT_EQ(right.size(), 7u + 34u + 1u);
    const std::vector<std::string> head(right.begin(), right.begin() + 7);
    EXPECT_EQ(head, (std::vector<std::string>{"70 first.lev", "82 t=20.00x30.00", "94 tm=default", "106 env=sky",
                                              "118 c=1.50x1.00x0.50", "130 group= 2/ 2", "142 blocks=1/3"}));
    EXPECT_EQ(right[7], "154  0  0/ 0 Normal Ball");
    EXPECT_EQ(right[9], "178  2  1/ 4 Through Ball");
    EXPECT_EQ(right[7 + 23], "430 23  0/ 0 Next Level");
    EXPECT_EQ(right[7 + 33], "550 33  0/ 0 [Universal Ball]");
    EXPECT_EQ(right.back(), "562 st 2/3,b4,g40.0");
}

TEST_F(EditorStatusTest, LeftColumnFollowsTheMode) {
    struct Case {
        int mode;
        EditorCell cursor;
        std::vector<std::string> lines;
    } cases[] = {
        {EDIT_MODE_NEW,
         {0, 0, 0},
         {"70 mode=new", "86 [0x0x0]", "98 size=1x1x1", "110 material=stone", "122 glue=35.0"}},
        {EDIT_MODE_DEL,
         {0, 0, 0},
         {"70 mode=del", "86 [0x0x0]", "98 size=1x1x1", "110 material=stone", "122 glue=35.0", "134 bonus=2"}},
        {EDIT_MODE_DEL, {5, 0, 0}, {"70 mode=del"}},
        {EDIT_MODE_BONUS,
         {0, 0, 0},
         {"70 mode=bonus", "86 curBonus=0", "102 [0x0x0]", "114 size=1x1x1", "126 material=stone", "138 glue=35.0",
          "150 bonus=2"}},
        {EDIT_MODE_MAT, {3, 3, 3}, {"70 mode=mat", "86 curMaterial=stone"}},
        {EDIT_MODE_GLUE, {3, 3, 3}, {"70 mode=glue", "86 curGlue=35.0"}},
    };
    for (const Case& c : cases) {
        level.editMode = c.mode;
        level.cursor = c.cursor;
        out.lines.clear();
        DrawStatusLines(level, scene, out);
        EXPECT_EQ(out.Column(5.0f), c.lines) << EditorModeName(c.mode);
    }
}

TEST_F(EditorStatusTest, LongNamesAreCutNotOverrun) {
    level.levelName = std::string(5000, 'n');
    DrawStatusLines(level, scene, out);
    ASSERT_FALSE(out.lines.empty());
    EXPECT_LT(out.lines[0].text.size(), 5000u);
    EXPECT_EQ(out.lines[0].text[0], 'n');
}

} // namespace
