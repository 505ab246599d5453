// Page loading and the page builder: what a layout file makes, what it reports, the checksum and
// where the page goes on the screen.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/game_mode.h"
#include "core/log.h"
#include "core/md5.h"
#include "render/font.h"
#include "render/shader.h"
#include "shell/ui/ui_containers.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_layout.h"
#include "shell/ui/ui_layout_registry.h"
#include "shell/ui/ui_table.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"

namespace {

struct LogCatcher : YLogEcho {
    std::vector<std::string> lines;
    void Print(const std::string& text) override { lines.push_back(text); }
};

// A page whose failed checksum is recorded instead of ending the process.
struct TestPage : UILayout {
    int protectFailures = 0;
    void OnProtectFailure() override { ++protectFailures; }
};

class LayoutTest : public uitest::UiTest {
protected:
    void SetUp() override {
        uitest::UiTest::SetUp();
        SetLogConsole(&log);
    }
    void TearDown() override { SetLogConsole(nullptr); }

    void Load(const std::string& markup, bool doLayout = true) {
        log.lines.clear();
        page.LoadLayoutText("test.yml", markup, doLayout);
    }
    // The file's error messages, without the reader's "Expected '<'." for each character it skips
    // while it recovers.
    std::vector<std::string> Errors() const {
        std::vector<std::string> out;
        const std::string prefix = "Layout parser error, file: test.yml, line ";
        for (const std::string& l : log.lines) {
            if (l.rfind(prefix, 0) != 0) continue;
            std::string m = l.substr(l.find(", ", prefix.size()) + 2);
            if (m != "Expected '<'.") out.push_back(m);
        }
        return out;
    }
    template <class T>
    T* Child(const char* name) {
        return dynamic_cast<T*>(page.FindDescendant(name));
    }

    LogCatcher log;
    TestPage page;
};

// ---- Snippets: what each makes and reports ----

struct Snippet {
    const char* what;
    const char* markup;
    std::vector<std::string> errors;
    int children; // direct children of the page
};

TEST_F(LayoutTest, SnippetTable) {
    const Snippet cases[] = {
        {"well formed", "<layout><div>Hello <a name='x'>go</a></div></layout>", {}, 1},
        {"colspan 0 rowspan -3", "<layout><table><tr><td colspan='0' rowspan='-3'>a</td></tr></table></layout>", {}, 0},
        {"number type is exact", "<layout><edit name='e' type='Number'/></layout>", {}, 1},
        {"Center is no alignment",
         "<layout><div align='Center'>x</div></layout>",
         {"Unknown align: Center", "Do not closed blocks tag before </layout>."}, // "</div>" closed the root
         0},
        {"three-digit colour",
         "<layout><font color='f00'>x</font></layout>",
         {"Error color format.", "Error tag </font>."},
         0},
        {"stray option",
         "<layout><select name='s'><option>a</option></select><option>b</option></layout>",
         {"Expected <select>.", "Expected <select>."},
         1},
        {"unknown tag and attribute",
         "<layout><blink/><div wide='1'/></layout>",
         {"Unknown tag: blink", "Unknown attribute: wide of tag: div"},
         0},
        {"second layout", "<layout><layout></layout>", {"Tag <layout> must be first in YML."}, 0},
        {"content before layout",
         "<div>x</div><a>y</a><br/><layout></layout>",
         {"Tag outside <layout>.", "Tag outside <layout>.", "Tag outside <layout>.", "Tag outside <layout>.",
          "Tag outside <layout>."},
         0},
        // Split in two: each surplus tag also costs a parser error, and a parse reports only its
        // first ten errors one by one.
        {"surplus closing tags",
         "<layout></div></div></window></page></layout>",
         {"Error tag </div>, </td> or </block>.", "Error tag </window>.", "Error tag </page>.",
          "Do not closed blocks tag before </layout>."},
         0},
        {"more surplus closing tags",
         "<layout></notebook></table></font></layout>",
         {"Error tag </notebook> or </pages>.", "Error tag </table>.", "Error tag </font>.",
          "Do not closed blocks tag before </layout>."},
         0},
        {"tr without table",
         "<layout><tr><td>x</td></tr></layout>",
         {"Expected <table>.", "Expected <table>.", "Do not closed blocks tag before </layout>."},
         0},
        {"page without notebook",
         "<layout><page>x</page></layout>",
         {"Expected <notebook>.", "Do not closed blocks tag before </layout>."},
         0},
        {"empty notebook", "<layout><notebook name='n'></notebook></layout>", {"Notebook or Pages is empty."}, 1},
    };
    for (const Snippet& c : cases) {
        Load(c.markup);
        EXPECT_EQ(Errors(), c.errors) << c.what;
        EXPECT_EQ(static_cast<int>(page.Children().size()), c.children) << c.what;
    }
}

TEST_F(LayoutTest, SpansBelowOneCountAsOne) {
    Load("<layout><table><tr><td colspan='0' rowspan='-3'>a</td></tr></table></layout>");
    auto* t = dynamic_cast<UITable*>(page.RootBlock().blocks.at(0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->RowCount(), 1);
    EXPECT_EQ(t->ColumnCount(), 1);
    EXPECT_EQ(t->CellAt(0, 0)->colspan, 1);
    EXPECT_EQ(t->CellAt(0, 0)->rowspan, 1);
}

TEST_F(LayoutTest, EditTypeMustBeExactlyNumber) {
    Load("<layout><edit name='a' type='Number'/><edit name='b' type='number' maxlength='3' value='12345'/></layout>");
    EXPECT_EQ(dynamic_cast<UIDigitEdit*>(page.FindChild("a")), nullptr);
    ASSERT_NE(Child<UIEdit>("a"), nullptr);
    UIDigitEdit* b = Child<UIDigitEdit>("b");
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(b->GetText(), "123"); // the start value is cut to the field
}

TEST_F(LayoutTest, BareImageIsASixteenSquareThatTakesNoHover) {
    Load("<layout><img/></layout>");
    auto* img = dynamic_cast<UIImage*>(page.Children().at(0));
    ASSERT_NE(img, nullptr);
    EXPECT_FLOAT_EQ(img->w, 16.0f);
    EXPECT_FLOAT_EQ(img->h, 16.0f);
    EXPECT_FALSE(img->enabled);
    page.MouseMove(img->x + 2, img->y + 2);
    EXPECT_EQ(page.HoverChild(), nullptr);
}

TEST_F(LayoutTest, TrackerTakesTheTextSizeAndColour) {
    Load("<layout><font size='24' color='00ff00'><tracker name='t'/></font></layout>");
    UITracker* t = Child<UITracker>("t");
    ASSERT_NE(t, nullptr);
    EXPECT_FLOAT_EQ(t->h, 24.0f);
    EXPECT_FLOAT_EQ(t->colour1[0], 0.0f);
    EXPECT_FLOAT_EQ(t->colour1[1], 1.0f);
    EXPECT_FLOAT_EQ(t->w, 50.0f);
}

TEST_F(LayoutTest, TextIsNormalisedAndDroppedWhereTheFileSaysSo) {
    Load("<layout><div>  one\r\n\ttwo  </div><table>lost<tr>lost too<td>kept</td>lost</tr></table></layout>");
    std::vector<std::string> texts;
    // Every UIText of the tree, depth first.
    std::function<void(const UIMultiBlock&)> walk = [&](const UIMultiBlock& b) {
        for (UIBlockLayout* x : b.blocks) {
            if (auto* t = dynamic_cast<UIText*>(x)) {
                std::string s;
                for (const std::string& w : t->words) s += (s.empty() ? "" : " ") + w;
                texts.push_back(s);
            } else if (auto* m = dynamic_cast<UIMultiBlock*>(x)) {
                walk(*m);
            } else if (auto* tb = dynamic_cast<UITable*>(x)) {
                for (auto& r : tb->rows)
                    for (auto& c : r.cells)
                        if (c.content) walk(*c.content);
            }
        }
    };
    walk(page.RootBlock());
    EXPECT_EQ(texts, (std::vector<std::string>{"one two", "kept"}));
    EXPECT_EQ(NormalizeText("  one\r\n\ttwo  "), "one two");
    EXPECT_EQ(NormalizeText(" \t\n "), "");
    EXPECT_EQ(NormalizeText("a\vb"), "a\vb");
}

TEST_F(LayoutTest, CaptionsComeFromTheTextBeforeTheirClosingTag) {
    Load(
        "<layout><menuitem name='m'>\n  Start   game \n</menuitem><menuitem name='e'/>"
        "<a name='l'>  </a><text name='t' width='100' align='right'>Score</text></layout>");
    ASSERT_NE(Child<UIMenuItem>("m"), nullptr);
    EXPECT_EQ(Child<UIMenuItem>("m")->GetText(), "Start game");
    EXPECT_EQ(Child<UIMenuItem>("e")->GetText(), "");
    EXPECT_EQ(Child<UIHotLink>("l")->text, "");
    UINamedText* t = Child<UINamedText>("t");
    EXPECT_EQ(t->text, "Score");
    EXPECT_EQ(t->align, 1);
    EXPECT_FLOAT_EQ(t->w, 100.0f);
}

TEST_F(LayoutTest, FontsNestAndRestore) {
    Load(
        "<layout><font size='30'><font color='ff0000'><text name='inner'>a</text></font>"
        "<text name='outer'>b</text></font><text name='plain'>c</text></font></layout>");
    EXPECT_FLOAT_EQ(Child<UINamedText>("inner")->style.size, 30.0f);
    EXPECT_FLOAT_EQ(Child<UINamedText>("inner")->style.colour[1], 0.0f);
    EXPECT_FLOAT_EQ(Child<UINamedText>("outer")->style.size, 30.0f);
    EXPECT_FLOAT_EQ(Child<UINamedText>("outer")->style.colour[1], 1.0f);
    EXPECT_FLOAT_EQ(Child<UINamedText>("plain")->style.size, 16.0f);
    EXPECT_EQ(Errors(), (std::vector<std::string>{"Error tag </font>."}));
}

TEST_F(LayoutTest, MenuItemHotFontTakesItsShadersGlow) {
    YFont* hot = FindFont("test_hot");
    hot->shader = FindShader("test_hot_shader");
    hot->shader->material.emissive[0] = 0.25f;
    Load("<layout><menuitem name='m' hotfont='test_hot' visible='0'>x</menuitem></layout>");
    UIMenuItem* m = Child<UIMenuItem>("m");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->focusStyle.font, hot);
    EXPECT_FLOAT_EQ(m->focusStyle.colour[0], 0.25f);
    EXPECT_FALSE(m->visible);
}

TEST_F(LayoutTest, SelectOptionsInFileOrder) {
    Load("<layout><select name='s' buttons='0'> junk <option>One</option><option> Two </option>junk</select></layout>");
    UISelect* s = Child<UISelect>("s");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->options, (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(s->arrowShader, nullptr);
    Load("<layout><select name='s'><option>x</option></select></layout>");
    EXPECT_EQ(Child<UISelect>("s")->arrowShader, FindShader("ui_select"));
}

TEST_F(LayoutTest, RowspanAndColspanBackReferences) {
    Load("<layout><table><tr><td rowspan='2' colspan='3'>a</td></tr><tr></tr></table></layout>");
    auto* t = dynamic_cast<UITable*>(page.RootBlock().blocks.at(0));
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->RowCount(), 2);
    EXPECT_EQ(t->ColumnCount(), 3);
    const int want[2][3][2] = {{{2, 3}, {0, -1}, {0, -2}}, {{-1, 0}, {-1, -1}, {-1, -2}}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(t->CellAt(r, c)->rowspan, want[r][c][0]) << r << "," << c;
            EXPECT_EQ(t->CellAt(r, c)->colspan, want[r][c][1]) << r << "," << c;
        }
}

TEST_F(LayoutTest, CellsNextToASpanSkipItsColumns) {
    Load(
        "<layout><table><tr><td rowspan='2'>a</td><td>b</td></tr><tr><td><text name='c'>c</text></td></tr>"
        "</table></layout>");
    auto* t = dynamic_cast<UITable*>(page.RootBlock().blocks.at(0));
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->ColumnCount(), 2);
    EXPECT_NE(t->CellAt(1, 1)->content, nullptr); // "c" went beside the span, not under it
    EXPECT_EQ(t->CellAt(1, 0)->content, nullptr);
}

TEST_F(LayoutTest, ColumnKeepsTheWidestFixedWidth) {
    Load("<layout><table><tr><td width='40'>a</td></tr><tr><td width='70'>b</td></tr></table></layout>");
    auto* t = dynamic_cast<UITable*>(page.RootBlock().blocks.at(0));
    ASSERT_NE(t, nullptr);
    EXPECT_FLOAT_EQ(t->columns.at(0).fixedWidth, 70.0f);
}

TEST_F(LayoutTest, NotebookShowsTheFirstPageAndTabsSwitch) {
    Load(
        "<layout><notebook name='nb' width='400' height='200'>"
        "<page name='p1' caption='One'><menuitem name='a'>A</menuitem></page>"
        "<page name='p2' caption='Two'><menuitem name='b'>B</menuitem></page>"
        "</notebook></layout>");
    EXPECT_TRUE(Errors().empty());
    UINotebook* nb = Child<UINotebook>("nb");
    ASSERT_NE(nb, nullptr);
    ASSERT_EQ(nb->PageCount(), 2);
    EXPECT_TRUE(nb->Page(0)->visible);
    EXPECT_FALSE(nb->Page(1)->visible);
    EXPECT_EQ(nb->Page(1)->name, "p2");
    // Click the second tab.
    UIHotLink* tab = nb->tabs.at(1);
    const float px = nb->x + tab->x + 2, py = nb->y + tab->y + 2;
    page.MouseDown(1, px, py);
    EXPECT_FALSE(nb->Page(0)->visible);
    EXPECT_TRUE(nb->Page(1)->visible);
    EXPECT_TRUE(Child<UIMenuItem>("b")->focused);
    nb->SelectPage(7);
    EXPECT_EQ(nb->CurrentPage(), 1);
    EXPECT_FLOAT_EQ(nb->w, 400.0f);
}

TEST_F(LayoutTest, WindowHoldsItsWidgetsAndDrawsItsRuleWithGaps) {
    Load("<layout><window name='w' caption='abcd' width='300'><menuitem name='a'>A</menuitem></window></layout>");
    UIWindow* w = Child<UIWindow>("w");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(page.FindChild("a"), nullptr);
    EXPECT_EQ(w->FindChild("a"), Child<UIMenuItem>("a"));
    EXPECT_FLOAT_EQ(w->w, 300.0f);
    float seg[4];
    w->RuleSegments(seg);
    const float titleX = (300.0f - 32.0f) * 0.5f;
    EXPECT_FLOAT_EQ(seg[0], 4.0f);
    EXPECT_FLOAT_EQ(seg[1], titleX - 4.0f);
    EXPECT_FLOAT_EQ(seg[2], titleX + 32.0f + 4.0f);
    EXPECT_FLOAT_EQ(seg[3], 296.0f);
    EXPECT_TRUE(w->arrowNavigation);
    // The item sits inside the margins (left 5, top 5 * 0.5 + 16).
    EXPECT_FLOAT_EQ(Child<UIMenuItem>("a")->x, 5.0f);
    EXPECT_FLOAT_EQ(Child<UIMenuItem>("a")->y, 18.5f);
}

TEST_F(LayoutTest, DeepNestingIsRefusedAndClosesCleanly) {
    std::string deep = "<layout>";
    for (int i = 0; i < 2000; ++i) deep += "<div><table><tr><td>";
    for (int i = 0; i < 2000; ++i) deep += "</td></tr></table></div>";
    deep += "<menuitem name='after'>x</menuitem></layout>";
    Load(deep);
    EXPECT_NE(Child<UIMenuItem>("after"), nullptr);
    bool refused = false;
    for (const std::string& e : Errors()) refused |= e == "Blocks nested too deeply.";
    EXPECT_TRUE(refused);
}

// ---- Backing panels ----

// The fixed font makes a character half the text size wide, so the numbers below are exact.
TEST_F(LayoutTest, PanelsCoverWhatTheirFlowShowsAndFollowVisibility) {
    Load(
        "<layout alignment='left' panel='1'><font size='20'>abcd</font><br/>"
        "<div panel='1'><menuitem name='m'>xy</menuitem></div>"
        "<table><tr><td>" +
        std::string(45, 'c') +
        "</td></tr></table>"
        "<block left='300' top='400' width='100'>far</block></layout>");
    ASSERT_TRUE(Errors().empty()) << ::testing::PrintToString(Errors());
    ASSERT_EQ(page.Panels().size(), 2u);
    EXPECT_EQ(page.Panels()[0].block, &page.RootBlock());
    EXPECT_NE(page.Panels()[0].shader, nullptr);

    // The page's panel: from the first text's top left to the right end of the table cell's text
    // (45 characters of 8) and down to the bottom of the far block's text.
    float r[4];
    ASSERT_TRUE(UILayout::PanelRect(page.Panels()[0], r));
    EXPECT_FLOAT_EQ(r[0], -UI_PANEL_PAD_X);
    EXPECT_FLOAT_EQ(r[1], -UI_PANEL_PAD_Y);
    EXPECT_FLOAT_EQ(r[2], 45 * 8.0f + UI_PANEL_PAD_X);
    EXPECT_FLOAT_EQ(r[3], 400.0f + 16.0f + UI_PANEL_PAD_Y);

    // The div's panel is the menu item's rectangle with the padding around it.
    const UIMenuItem* m = Child<UIMenuItem>("m");
    ASSERT_NE(m, nullptr);
    ASSERT_TRUE(UILayout::PanelRect(page.Panels()[1], r));
    EXPECT_FLOAT_EQ(r[0], m->x - UI_PANEL_PAD_X);
    EXPECT_FLOAT_EQ(r[1], m->y - UI_PANEL_PAD_Y);
    EXPECT_FLOAT_EQ(r[2], m->x + m->w + UI_PANEL_PAD_X);
    EXPECT_FLOAT_EQ(r[3], m->y + m->h + UI_PANEL_PAD_Y);
    EXPECT_GT(m->y, 20.0f); // below the first line, so the page's panel starts above it

    // A hidden control takes its panel with it; a flow that shows nothing has none.
    page.FindChild("m")->visible = false;
    EXPECT_FALSE(UILayout::PanelRect(page.Panels()[1], r));
    EXPECT_TRUE(UILayout::PanelRect(page.Panels()[0], r));
}

TEST_F(LayoutTest, PanelsOnlyWhereTheFileAsksAndNoneLeftFromAnEarlierLoad) {
    Load("<layout panel='1'><block left='0' top='0' width='50' panel='1'>x</block>y</layout>");
    EXPECT_EQ(page.Panels().size(), 2u);
    for (const char* markup : {"<layout>x</layout>", "<layout panel='0'><div panel='0'>x</div></layout>",
                               "<layout panel=''>x<block>y</block></layout>"}) {
        Load(markup);
        EXPECT_TRUE(page.Panels().empty()) << markup;
    }
    // A panel on a block that the file could not open is not kept either.
    Load("<layout><div align='middle' panel='1'>x</div></layout>");
    EXPECT_TRUE(page.Panels().empty());
}

// ---- Placement ----

TEST_F(LayoutTest, PlacementTable) {
    struct Case {
        const char* layoutAttrs;
        float contentHeight;
        float y;
    } cases[] = {
        {"valign='center'", 200, 200}, {"valign='bottom'", 100, 500}, {"valign='top'", 100, 0},
        {"valign='left'", 100, 0},     {"align='right'", 10, 0},
    };
    for (const Case& c : cases) {
        const std::string markup = std::string("<layout ") + c.layoutAttrs + "><spacer width='10' height='" +
                                   std::to_string(static_cast<int>(c.contentHeight)) + "'/></layout>";
        TestPage p;
        p.LoadLayoutText("place.yml", markup, true);
        EXPECT_FLOAT_EQ(p.y, c.y) << c.layoutAttrs;
        EXPECT_FLOAT_EQ(p.x, 0.0f) << c.layoutAttrs;
        EXPECT_FLOAT_EQ(p.w, 800.0f) << c.layoutAttrs;
        EXPECT_FLOAT_EQ(p.h, c.contentHeight) << c.layoutAttrs;
    }
}

TEST_F(LayoutTest, CodeLeftKeepsThePreviousPosition) {
    page.y = 123;
    Load("<layout valign='left'><spacer height='10'/></layout>");
    EXPECT_FLOAT_EQ(page.y, 123.0f);
}

TEST_F(LayoutTest, SecondLoadLeavesOneSetOfWidgets) {
    const char* markup = "<layout><div><menuitem name='a'>A</menuitem><window><a>x</a></window></div></layout>";
    Load(markup);
    Child<UIMenuItem>("a")->TakeFocus();
    page.MouseMove(3, 3);
    Load(markup);
    EXPECT_EQ(page.Children().size(), 2u);
    EXPECT_EQ(page.FocusChild(), nullptr);
    page.MouseMove(4, 4);
    page.KeyDown(plat::VK_TAB);
}

TEST_F(LayoutTest, MissingFileGivesAnEmptyPage) {
    Load("<layout><menuitem>A</menuitem></layout>");
    page.LoadLayout("ui\\nowhere\\missing.yml", true);
    EXPECT_TRUE(page.Children().empty());
    EXPECT_FLOAT_EQ(page.h, 0.0f);
}

TEST_F(LayoutTest, TruncatedAndBinaryFilesAreLoggedNotFatal) {
    const std::string cases[] = {
        "<layout><div><menuitem name='x'>abc",
        "<layout><table><tr><td colspan='99999999' rowspan='99999999'>x</td></tr></table></layout>",
        std::string("<layout>\0\xff\xfe<<<>>>&amp;&bogus;", 30),
        "<layout><spacer width='1e39' height='nan'/><font size='-1e30'>x</font></layout>",
        "<layout><block left='1e9' top='-1e9'>x</block></layout>",
        // "</page>" takes the page itself off the parent stack: containers after it have no parent
        // and must be refused without leaking (ASan's leak check).
        "<layout><div></page><notebook><page>a</page></notebook><pages></pages><window>b</window></layout>",
    };
    for (const std::string& c : cases) {
        Load(c);
        page.Update(0.02f);
        page.Draw();
    }
    SUCCEED();
}

// ---- Checksum ----

std::string Hex(const std::string& text) {
    uint8_t d[16];
    GetMD5(text.data(), text.size(), d);
    char out[33];
    for (int i = 0; i < 16; ++i) std::snprintf(out + 2 * i, 3, "%02x", d[i]);
    return out;
}

TEST_F(LayoutTest, ChecksumTextFollowsTheReadersOrder) {
    page.EnableProtect(true);
    Load("<layout protect='x'>Hi</layout>");
    EXPECT_EQ(page.CollectedText(), "Hi</llayout>");
    EXPECT_EQ(Hex(page.CollectedText()), "929dd32a989904e91d1bf9ff45826c40");
    Load("<layout protect='x'>\n  Hello <br/> world\n</layout>");
    EXPECT_EQ(page.CollectedText(), "Hello<bbbr///>world</llayout>");
    EXPECT_EQ(Hex(page.CollectedText()), "e2aabd85b7460fe625c37ba88eedde35");
}

TEST_F(LayoutTest, DigestPassesInEitherCaseAndFailsOnChanges) {
    page.EnableProtect(true);
    const std::string digest = "e2aabd85b7460fe625c37ba88eedde35";
    std::string upper = digest;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    struct Case {
        std::string markup;
        bool passes;
    } cases[] = {
        {"<layout protect='" + digest + "'>\n  Hello <br/> world\n</layout>", true},
        {"<layout protect='" + upper + "'>Hello\t\t<br/>\n\nworld</layout>", true}, // blanks between tags
        {"junk <layout protect='" + digest + "'>Hello <br/> world</layout>", true}, // text before layout
        {"<layout protect='" + digest + "'>Hello <br /> world</layout>", false},    // blank inside a tag
        {"<layout protect='" + digest + "'>Hullo <br/> world</layout>", false},     // a visible change
        {"<layout protect=''>Hello <br/> world</layout>", false},                   // no digest
        {"<layout protect='" + digest + "00'>Hello <br/> world</layout>", true},    // longer: cut at 32
    };
    for (const Case& c : cases) {
        page.protectFailures = 0;
        Load(c.markup);
        EXPECT_EQ(page.protectFailures, c.passes ? 0 : 1) << c.markup;
        if (!c.passes) {
            ASSERT_FALSE(Errors().empty());
            EXPECT_EQ(Errors().back(), "Protect error.");
        }
    }
}

TEST_F(LayoutTest, ChecksumIsTestedAlsoWhenTheFileIsMissing) {
    TestPage fresh;
    fresh.EnableProtect(true);
    fresh.LoadLayout("ui\\nowhere\\about.yml", true);
    EXPECT_EQ(fresh.protectFailures, 1);
}

TEST(LayoutProtectDeathTest, FailedChecksumEndsTheProcessWithAFailureCode) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            UILayout p;
            p.EnableProtect(true);
            p.LoadLayoutText("about.yml", "<layout protect='00'>x</layout>", true);
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "");
}

// ---- Registry ----

TEST(LayoutRegistryTest, NewNamesGiveNewEmptyPagesOnce) {
    UILayout* a = FindLayout("tip_test_a.yml");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(FindLayout("tip_test_a.yml"), a);
    EXPECT_NE(GetLayoutSlot("TIP_TEST_A.yml"), a); // case matters
    EXPECT_TRUE(a->Children().empty());
    std::size_t count = 0;
    for (const UILayoutSlot& s : LayoutRegistry()) count += s.name == "tip_test_a.yml";
    EXPECT_EQ(count, 1u);
}

} // namespace

namespace {

TEST(LayoutRegistryTest, GameModesRegisterTheirTipPages) {
    InstallLayoutRegistryHooks();
    std::vector<YGameMode> modes;
    YGameModeLoader loader(modes);
    loader.Parse(
        "<game name='a'><tip filename='tip_reg_x.yml' hits='2'/></game>"
        "<game name='b'><tip filename='tip_reg_x.yml'/><tip filename='tip_reg_y.yml'/></game>");
    GameModeHooks().registerTipPage = nullptr;
    std::size_t x = 0, y = 0;
    for (const UILayoutSlot& s : LayoutRegistry()) {
        x += s.name == "tip_reg_x.yml";
        y += s.name == "tip_reg_y.yml";
    }
    EXPECT_EQ(x, 1u); // named twice, registered once
    EXPECT_EQ(y, 1u);
}

} // namespace
