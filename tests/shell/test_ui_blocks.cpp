// Layout blocks with the fixed-width font (8 units per character at size 16): flow lines, word
// wrap, alignment, breaks, controls in the flow and tables.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "shell/ui/ui_blocks.h"
#include "shell/ui/ui_containers.h"
#include "shell/ui/ui_table.h"
#include "ui_test_support.h"

namespace {

class BlocksTest : public uitest::UiTest {
protected:
    UITextStyle style = UITextStyle::Default();
    UIControl owner; // owns the controls the blocks place

    UIControl* Box(float w, float h) {
        auto* c = new UIControl(nullptr, 0, 0, w, h);
        owner.AddChild(c);
        return c;
    }
    // Measure, lay out in `width`, place at the origin.
    void Run(UIMultiBlock& root, float width) {
        float mn = 0, mx = 0;
        root.Measure(mn, mx);
        root.LayoutContent(width);
        root.Place(0, 0);
    }
};

struct RunWant {
    std::string text;
    float x, y;
};

// One case: a flow built by `build`, laid out in `width`; the runs and total height wanted.
struct FlowCase {
    const char* what;
    int align;
    float width;
    std::function<void(UIMultiBlock&, const UITextStyle&)> build;
    std::vector<RunWant> runs;
    float height;
};

TEST_F(BlocksTest, FlowEdgeCases) {
    const FlowCase cases[] = {
        {"wrap of a b where only a fits",
         0,
         12,
         [](UIMultiBlock& b, const UITextStyle& s) { b.Append(new UIText("a b", s)); },
         {{"a", 0, 16}, {"b", 0, 32}},
         32},
        {"one line",
         0,
         200,
         [](UIMultiBlock& b, const UITextStyle& s) { b.Append(new UIText("ab cd", s)); },
         {{"ab cd", 0, 16}},
         16},
        {"centre shift",
         2,
         100,
         [](UIMultiBlock& b, const UITextStyle& s) { b.Append(new UIText("abcd", s)); },
         {{"abcd", 34, 16}},
         16},
        {"right shift",
         1,
         100,
         [](UIMultiBlock& b, const UITextStyle& s) { b.Append(new UIText("abcd", s)); },
         {{"abcd", 68, 16}},
         16},
        {"two breaks after a line add only their heights",
         0,
         200,
         [](UIMultiBlock& b, const UITextStyle& s) {
             b.Append(new UIText("ab", s));
             b.Append(new UIBR(10));
             b.Append(new UIBR(7));
             b.Append(new UIText("cd", s));
         },
         {{"ab", 0, 16}, {"cd", 0, 49}},
         49},
        {"break on an empty line",
         0,
         200,
         [](UIMultiBlock& b, const UITextStyle& s) {
             b.Append(new UIBR(5));
             b.Append(new UIText("ab", s));
         },
         {{"ab", 0, 21}},
         21},
        {"spacer joins the line",
         0,
         200,
         [](UIMultiBlock& b, const UITextStyle& s) {
             b.Append(new UISpacer(30, 40));
             b.Append(new UIText("ab", s));
         },
         {{" ab", 30, 40}}, // a run that does not start its line starts with the space
         40},
    };
    for (const FlowCase& c : cases) {
        UIMultiBlock root(c.align);
        c.build(root, style);
        Run(root, c.width);
        std::vector<RunWant> got;
        for (const UITextRun& r : root.runs)
            if (!r.text.empty()) got.push_back({r.text, r.x, r.y});
        ASSERT_EQ(got.size(), c.runs.size()) << c.what;
        for (std::size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].text, c.runs[i].text) << c.what;
            EXPECT_FLOAT_EQ(got[i].x, c.runs[i].x) << c.what << " run " << i;
            EXPECT_FLOAT_EQ(got[i].y, c.runs[i].y) << c.what << " run " << i;
        }
        EXPECT_FLOAT_EQ(root.height, c.height) << c.what;
    }
}

TEST_F(BlocksTest, TallControlMovesTheTextDownToTheLineBottom) {
    UIMultiBlock root;
    root.Append(new UIText("ab", style));
    UIControl* c = Box(20, 40);
    root.Append(new UIControlBlock(c));
    Run(root, 400);
    ASSERT_EQ(root.runs.size(), 1u);
    EXPECT_FLOAT_EQ(root.runs[0].y, 40.0f); // 16 + 24
    EXPECT_FLOAT_EQ(c->x, 16.0f);           // right after "ab"
    EXPECT_FLOAT_EQ(c->y, 0.0f);
}

TEST_F(BlocksTest, InvisibleControlTakesNoSpace) {
    UIMultiBlock root;
    UIControl* hidden = Box(50, 50);
    hidden->visible = false;
    UIControl* shown = Box(10, 10);
    root.Append(new UIControlBlock(hidden));
    root.Append(new UIControlBlock(shown));
    Run(root, 400);
    EXPECT_FLOAT_EQ(shown->x, 0.0f);
    EXPECT_FLOAT_EQ(root.height, 10.0f);
}

TEST_F(BlocksTest, ControlsWrapAndForcedSizesApply) {
    UIMultiBlock root(2);
    UIControl* a = Box(60, 10);
    UIControl* b = Box(60, 10);
    root.Append(new UIControlBlock(a));
    root.Append(new UIControlBlock(b, 30, 20));
    Run(root, 80);
    EXPECT_FLOAT_EQ(a->x, 10.0f); // centred alone on the first line
    EXPECT_FLOAT_EQ(a->y, 0.0f);
    EXPECT_FLOAT_EQ(b->w, 30.0f);
    EXPECT_FLOAT_EQ(b->h, 20.0f);
    EXPECT_FLOAT_EQ(b->x, 25.0f); // wrapped: 60 + 30 > 80
    EXPECT_FLOAT_EQ(b->y, 10.0f);
}

TEST_F(BlocksTest, AbsBlockIsPlacedAtItsPositionOutsideTheFlow) {
    UIMultiBlock root(2);
    auto* abs = new UIAbsBlock(100, 200, 50, 0);
    abs->Append(new UIText("ab", style));
    root.Append(abs);
    root.Append(new UIText("cd", style));
    Run(root, 400);
    ASSERT_EQ(abs->runs.size(), 1u);
    EXPECT_FLOAT_EQ(abs->runs[0].x, 100.0f);
    EXPECT_FLOAT_EQ(abs->runs[0].y, 216.0f);
    EXPECT_FLOAT_EQ(root.height, 16.0f); // takes no room in the flow
}

// A table of `rows` x `cols` cells, each holding a fixed-size box.
struct TableFixture {
    UITable* table;
    std::vector<UIControl*> boxes;
};

TEST_F(BlocksTest, TableWiderThanTheRestOfTheLineStartsANewLine) {
    UIMultiBlock root;
    root.Append(new UIText("abcdefghij", style)); // 80 wide
    auto* t = new UITable(0, 0, 0);
    t->currentRow = 0;
    t->EnsureGrid(1, 1);
    t->NextCell()->content = new UIMultiBlock();
    UIControl* box = Box(60, 10);
    t->CellAt(0, 0)->content->Append(new UIControlBlock(box));
    root.Append(t);
    Run(root, 120);
    EXPECT_FLOAT_EQ(box->x, 0.0f);
    EXPECT_FLOAT_EQ(box->y, 16.0f);
    EXPECT_FLOAT_EQ(root.height, 26.0f);
}

TEST_F(BlocksTest, TableHeightStretchesRowsButNeverShrinksThem) {
    for (float heightAttr : {100.0f, 10.0f}) {
        UIMultiBlock root;
        auto* t = new UITable(0, 0, heightAttr);
        UIControl* boxes[2];
        for (int r = 0; r < 2; ++r) {
            t->EnsureGrid(r + 1, 1);
            t->currentRow = r;
            t->currentColumn = -1;
            UITable::Cell* cell = t->NextCell();
            cell->content = new UIMultiBlock();
            boxes[r] = Box(20, r == 0 ? 10 : 30);
            cell->content->Append(new UIControlBlock(boxes[r]));
        }
        root.Append(t);
        Run(root, 400);
        if (heightAttr > 40) {
            EXPECT_FLOAT_EQ(t->rows[0].height, 25.0f);
            EXPECT_FLOAT_EQ(t->rows[1].height, 75.0f);
            EXPECT_FLOAT_EQ(boxes[1]->y, 25.0f);
        } else {
            EXPECT_FLOAT_EQ(t->rows[0].height, 10.0f);
            EXPECT_FLOAT_EQ(t->rows[1].height, 30.0f);
        }
    }
}

TEST_F(BlocksTest, ColspanWidensBothColumnsInProportion) {
    UIMultiBlock root;
    auto* t = new UITable(0, 0, 0);
    // Row 0: two cells of 20 and 60; row 1: one cell spanning both that needs 160.
    t->EnsureGrid(1, 2);
    t->currentRow = 0;
    UIControl* a = Box(20, 10);
    UIControl* b = Box(60, 10);
    UIControl* wide = Box(160, 10);
    UITable::Cell* c0 = t->NextCell();
    c0->content = new UIMultiBlock();
    c0->content->Append(new UIControlBlock(a));
    UITable::Cell* c1 = t->NextCell();
    c1->content = new UIMultiBlock();
    c1->content->Append(new UIControlBlock(b));
    t->EnsureGrid(2, 2);
    t->currentRow = 1;
    t->currentColumn = -1;
    UITable::Cell* s = t->NextCell();
    s->colspan = 2;
    t->CellAt(1, 1)->colspan = -1;
    t->CellAt(1, 1)->rowspan = 0;
    s = t->CellAt(1, 0);
    s->content = new UIMultiBlock();
    s->content->Append(new UIControlBlock(wide));
    root.Append(t);
    Run(root, 400);
    EXPECT_FLOAT_EQ(t->columns[0].min, 40.0f); // 20 x 160 / 80
    EXPECT_FLOAT_EQ(t->columns[1].min, 120.0f);
    EXPECT_FLOAT_EQ(b->x, 40.0f);
    EXPECT_FLOAT_EQ(wide->y, 10.0f);
}

TEST_F(BlocksTest, ContainerWithFixedWidthMeasuresThatWidth) {
    struct Case {
        float fixed;
        float content;
        float want;
    } cases[] = {{300, 100, 300}, {300, 400, 410}, {0, 100, 110}};
    for (const Case& c : cases) {
        UIContainer box;
        box.marginLeft = box.marginRight = 5;
        UIControl* inner = new UIControl(nullptr, 0, 0, c.content, 10);
        box.AddChild(inner);
        box.Flow()->fixedWidth = c.fixed;
        box.Flow()->Append(new UIControlBlock(inner));
        float mn = 0, mx = 0;
        box.Flow()->Measure(mn, mx);
        EXPECT_FLOAT_EQ(mn, c.want) << c.fixed << " / " << c.content;
        EXPECT_FLOAT_EQ(mx, c.want) << c.fixed << " / " << c.content;
    }
}

} // namespace
