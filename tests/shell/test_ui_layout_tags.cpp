// What each tag of a page file builds through its opening and its closing handler, and the faults a
// load keeps as values: their kind, the line the log names and the logged text.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/log.h"
#include "page_outline.h"
#include "shell/ui/ui_layout.h"
#include "ui_test_support.h"

// Fault kinds in failure messages: the fixed text, or the number of a kind without one.
void PrintTo(UILayoutFault fault, std::ostream* os) {
    const std::string text = UILayoutFaultText(fault);
    *os << (text.empty() ? "fault " + std::to_string(static_cast<int>(fault)) : text);
}

namespace {

struct LogCatcher : YLogEcho {
    std::vector<std::string> lines;
    void Print(const std::string& text) override { lines.push_back(text); }
};

struct TagPage : UILayout {
    int protectFailures = 0;
    void OnProtectFailure() override { ++protectFailures; }
};

class LayoutTags : public uitest::UiTest {
protected:
    void SetUp() override {
        uitest::UiTest::SetUp();
        SetLogConsole(&log);
    }
    void TearDown() override { SetLogConsole(nullptr); }

    // Each load on a new page: a reader keeps the text after its last tag into its next parse.
    void Load(const std::string& markup, bool protect = false) {
        log.lines.clear();
        pagePtr = std::make_unique<TagPage>();
        pagePtr->EnableProtect(protect);
        pagePtr->LoadLayoutText("tags.yml", markup, true);
    }
    TagPage& Page() { return *pagePtr; }
    // The messages of the log's error lines, in order.
    std::vector<std::string> LoggedMessages() const {
        std::vector<std::string> out;
        const std::string prefix = "Layout parser error, file: tags.yml, line ";
        for (const std::string& l : log.lines)
            if (l.rfind(prefix, 0) == 0) out.push_back(l.substr(l.find(", ", prefix.size()) + 2));
        return out;
    }

    LogCatcher log;
    std::unique_ptr<TagPage> pagePtr = std::make_unique<TagPage>();
};

// A page laid out from the top left, so that positions read directly. Text before "</layout>" is
// not shown (the page's closing tag makes no text), so the cases end their text with a break.
std::string OnPage(const std::string& body) { return "<layout align='left' alignment='left'>" + body + "</layout>"; }

// Each tag once at least, built by its own handlers with its own defaults. The fixed font makes a
// character half the text size wide: 8 units at the default size 16.
TEST_F(LayoutTags, EachTagBuildsItsPart) {
    struct Case {
        const char* what;
        std::string markup;
        std::string outline;
    } cases[] = {
        {"div aligns its text", OnPage("<div align='right'>ab</div>"), " 'ab'@784.00,16.00"},
        {"font styles its content only", OnPage("<font size='32'>ab</font>cd<br/>"),
         " 'ab'@0.00,32.00 ' cd'@32.00,32.00"},
        {"br ends the line", OnPage("ab<br/>cd<br/>"), " 'ab'@0.00,16.00 'cd'@0.00,48.00"},
        {"spacer takes its room", OnPage("<spacer width='40' height='10'/>ab<br/>"), " ' ab'@40.00,16.00"},
        {"table rows and cells", OnPage("<table><tr><td>ab</td><td>cd</td></tr><tr><td>ef</td></tr></table>"),
         " 'ab'@0.00,16.00 'cd'@17.00,16.00 'ef'@0.00,32.00"},
        {"menu item from its text", OnPage("<menuitem name='m' visible='0'> Go \n on </menuitem>"),
         "UIMenuItem:m(0.00,0.00,40.00,16.00)'Go on'~"},
        {"image of its size", OnPage("<img name='i' width='20' height='10'/>"), "UIImage:i(0.00,0.00,20.00,10.00)"},
        {"link from its text", OnPage("<a name='l'>go</a>"), "UIHotLink:l(0.00,0.00,16.00,16.00)'go'"},
        {"select with its options", OnPage("<select name='s'><option>x</option><option> y </option></select>"),
         "UISelect:s(0.00,0.00,30.40,16.00)[x][y]"},
        {"tracker", OnPage("<tracker name='t' width='80'/>"), "UITracker:t(0.00,0.00,80.00,16.00)"},
        {"edit and number edit",
         OnPage("<edit name='e' value='hi'/><edit name='n' type='number' maxlength='2' value='123'/>"),
         "UIEdit:e(0.00,0.00,50.00,16.00)'hi' UIDigitEdit:n(50.00,0.00,50.00,16.00)'12'"},
        {"text from its text", OnPage("<text name='t' width='100' align='right'>Score</text>"),
         "UINamedText:t(0.00,0.00,100.00,16.00)'Score'"},
        {"window holds its widgets", OnPage("<window name='w' caption='c' width='100'><a name='x'>go</a></window>"),
         "UIWindow:w(0.00,0.00,100.00,39.50){UIHotLink:x(5.00,18.50,16.00,16.00)'go'}"},
        {"notebook shows its first page",
         OnPage("<notebook name='n'><page name='p' caption='A'>ab</page><page name='q' caption='B'>cd</page>"
                "</notebook>"),
         "UINotebook:n(0.00,0.00,800.00,30.00){UIHotLink:(10.00,3.00,8.00,16.00)'A' "
         "UIContainer:p(5.00,25.00,790.00,16.00) "
         "UIHotLink:(30.00,3.00,8.00,16.00)'B' UIContainer:q(5.00,25.00,790.00,16.00)~} 'ab'@0.00,16.00 "
         "'cd'@0.00,16.00"},
        {"pages", OnPage("<pages name='ps'><page name='p'><a name='x'>go</a></page></pages>"),
         "UIPages:ps(0.00,0.00,800.00,0.00){UIContainer:p(0.00,0.00,800.00,16.00){UIHotLink:x(0.00,0.00,16.00,16.00)'"
         "go'}}"},
        {"block placed where it says", OnPage("<block left='100' top='50' width='60'>ab</block>"),
         " 'ab'@100.00,66.00"},
        {"check box", OnPage("<checkbox name='c' text='tick' checked='1'/>"),
         "UICheckBox:c(0.00,0.00,48.00,16.00)'tick'"},
    };
    for (const Case& c : cases) {
        Load(c.markup);
        EXPECT_TRUE(Page().Faults().empty()) << c.what << ": " << Page().Faults().front().message;
        EXPECT_EQ(uitest::OutlinePage(Page()), c.outline) << c.what;
    }
}

// The faults of a load, in order, with their kind and line; the log names the same messages in
// the same order. The reader's own complaints while it skips to the next tag are left out.
TEST_F(LayoutTags, FaultsAreKeptWithTheirKindAndLine) {
    using F = UILayoutFault;
    struct Case {
        const char* what;
        std::string markup;
        std::vector<std::pair<F, int>> faults;
    } cases[] = {
        {"bad align, then </layout> with the root closed",
         "<layout>\n<div align='up'></div>\n</layout>",
         {{F::UnknownAlign, 2}, {F::BlocksLeftOpen, 3}}},
        {"bad colour pushes no style",
         "<layout><font color='f00'></font></layout>",
         {{F::BadColour, 1}, {F::StrayFontClose, 1}}},
        // "</window>" takes the page's own block and the page off their stacks.
        {"surplus closing tags",
         "<layout>\n</table>\n</font>\n</window></window></layout>",
         {{F::StrayTableClose, 2}, {F::StrayFontClose, 3}, {F::StrayWindowClose, 4}, {F::BlocksLeftOpen, 4}}},
        {"surplus flow and page closers",
         "<layout></div></div></page></layout>",
         {{F::StrayFlowClose, 1}, {F::StrayPageClose, 1}, {F::BlocksLeftOpen, 1}}},
        {"surplus notebook closer", "<layout></notebook></layout>", {{F::StrayPagesClose, 1}, {F::BlocksLeftOpen, 1}}},
        {"option and select without select",
         "<layout><option></option></select></layout>",
         {{F::ExpectedSelect, 1}, {F::ExpectedSelect, 1}, {F::ExpectedSelect, 1}}},
        {"row and page without their containers",
         "<layout><tr/><page></page></layout>",
         {{F::ExpectedTable, 1}, {F::ExpectedNotebook, 1}, {F::BlocksLeftOpen, 1}}},
        {"empty notebook", "<layout><notebook></notebook></layout>", {{F::EmptyPages, 1}}},
        {"content before the page",
         "<a>x</a><layout><layout></layout>",
         {{F::OutsideLayout, 1}, {F::LayoutNotFirst, 1}}},
        {"unknown tag", "<layout>\n\n<blink/></layout>", {{F::Markup, 3}}},
        {"file ends inside the page", "<layout>\n<div>", {{F::EndsBeforeLayoutClose, 2}}},
    };
    for (const Case& c : cases) {
        Load(c.markup);
        std::vector<std::pair<F, int>> got;
        std::vector<std::string> messages;
        for (const UILayoutError& f : Page().Faults()) {
            if (f.fault == F::Markup && f.message == "Expected '<'.") continue;
            got.emplace_back(f.fault, f.line);
        }
        for (const UILayoutError& f : Page().Faults()) messages.push_back(f.message);
        EXPECT_EQ(got, c.faults) << c.what;
        EXPECT_EQ(messages, LoggedMessages()) << c.what;
    }
}

TEST_F(LayoutTags, FixedTextsAreTheLoggedOnes) {
    Load("<layout><tr/><option/></table></layout>");
    ASSERT_GE(Page().Faults().size(), 3u);
    EXPECT_EQ(Page().Faults()[0].message, "Expected <table>.");
    EXPECT_EQ(Page().Faults()[1].message, "Expected <select>.");
    EXPECT_EQ(Page().Faults()[2].message, "Error tag </table>.");
    Load("<layout><div align='Left'></div></layout>");
    ASSERT_FALSE(Page().Faults().empty());
    EXPECT_EQ(Page().Faults()[0].message, "Unknown align: Left");
    EXPECT_STREQ(Page().Faults()[0].what(), "Unknown align: Left");
}

TEST_F(LayoutTags, ChecksumFailureAndDepthAreFaultsToo) {
    Load("<layout protect='00'>x</layout>", true);
    ASSERT_EQ(Page().Faults().size(), 1u);
    EXPECT_EQ(Page().Faults()[0].fault, UILayoutFault::ProtectError);
    EXPECT_EQ(Page().protectFailures, 1);

    std::string deep = "<layout>";
    for (std::size_t i = 0; i < UI_LAYOUT_MAX_DEPTH + 2; ++i) deep += "<div>";
    for (std::size_t i = 0; i < UI_LAYOUT_MAX_DEPTH + 2; ++i) deep += "</div>";
    Load(deep + "<a name='after'>x</a></layout>");
    ASSERT_FALSE(Page().Faults().empty());
    EXPECT_EQ(Page().Faults()[0].fault, UILayoutFault::NestedTooDeeply);
    EXPECT_NE(Page().FindChild("after"), nullptr); // the refused closers did not close the page
    EXPECT_EQ(Page().Faults().back().fault, UILayoutFault::NestedTooDeeply);
}

// A file of junk logs every fault the reader hands over, but the page keeps only so many.
TEST_F(LayoutTags, KeptFaultsAreBoundedAndStartAfreshEachLoad) {
    std::string junk = "<layout>";
    for (int i = 0; i < 200; ++i) junk += "</table>";
    Load(junk);
    EXPECT_LE(Page().Faults().size(), UI_LAYOUT_MAX_FAULTS);
    EXPECT_FALSE(Page().Faults().empty());
    Load(OnPage("ab"));
    EXPECT_TRUE(Page().Faults().empty());
}

} // namespace
