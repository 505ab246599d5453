#include "core/console.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "core/console_command.h"

namespace {

// Records every call with the statement's texts; the bool variables answer as the game does.
struct RecordingOwner : YConsoleCommand {
    YConsole* console = nullptr;
    std::vector<std::string> calls;

    void RunCommand(int id) override {
        calls.push_back("run " + std::to_string(id) + " " + console->GetNameText() + "|" + console->GetValueText());
    }
    void SetVariable(int id) override {
        calls.push_back("set " + std::to_string(id) + " " + console->GetNameText() + "|" + console->GetValueText());
        if (id == 0 || id == 5) console->Print(console->GetNameText() + BoolToString(console->GetBool()));
    }
};

// A font 10 units wide per character, except character 1, which has no glyph.
struct FakeDrawer : YConsoleDrawer {
    struct Text {
        float x, y;
        std::string text;
    };
    int panels = 0;
    std::vector<Text> texts;

    float CharWidth(unsigned char c) const override { return c == 1 ? 0.0f : 10.0f; }
    void DrawPanel(const YConsoleVertex (&)[4]) override { ++panels; }
    float DrawText(float x, float y, float, const std::string& text) override {
        texts.push_back({x, y, text});
        return 10.0f * static_cast<float>(text.size());
    }
};

std::vector<std::string> Lines(const YConsole& console) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < console.GetLineCount(); ++i) out.push_back(console.GetLine(i));
    return out;
}

class ConsoleTest : public ::testing::Test {
protected:
    ConsoleTest() : console(&owner) {
        owner.console = &console;
        console.RegisterCommand("exit", 0);
        console.RegisterCommand("open_all_levels", 1);
        console.RegisterCommand("load", 5);
        console.RegisterVariable("fps", 0);
        console.RegisterVariable("video_mode", 2);
        console.RegisterVariable("shadows", 5);
        console.RegisterVariable("load", 7);
    }
    RecordingOwner owner;
    YConsole console;
};

struct LineCase {
    const char* line;
    std::vector<std::string> calls;
    std::vector<std::string> printed;
};

} // namespace

TEST_F(ConsoleTest, ExecutesStatementsOfALine) {
    const LineCase cases[] = {
        {"fps=1", {"set 0 fps=|1"}, {"fps=true"}},
        {"fps = 0", {"set 0 fps=|0"}, {"fps=false"}},
        {"fps=yes", {"set 0 fps=|yes"}, {"? 'yes'.", "fps=false"}},
        {"fps=", {}, {"Error: missing value of variable."}},
        {"fps==1", {}, {"Error: missing value of variable."}},
        {"foo", {}, {"? 'foo'."}},
        {"foo=1", {}, {"? 'foo'."}},
        {"exit=1", {}, {"? 'exit'."}},
        {"exit now", {"run 0 exit|now"}, {}},
        {"  exit  ", {"run 0 exit|"}, {}},
        {"exit fps=1", {"run 0 exit|fps"}, {}},
        {"fps=1 shadows=0", {"set 0 fps=|1", "set 5 shadows=|0"}, {"fps=true", "shadows=false"}},
        {"fps=1 foo shadows=0", {"set 0 fps=|1"}, {"fps=true", "? 'foo'."}},
        {"open_all_levels", {"run 1 open_all_levels|"}, {}},
        {"video_mode=[1 2 3]", {"set 2 video_mode=|[1 2 3]"}, {}},
        {"exit [a b=c]x tail", {"run 0 exit|[a b=c]x"}, {"? 'tail'."}},
        {"exit [open", {"run 0 exit|[open"}, {}},
        {"load x", {"run 5 load|x"}, {}},
        {"load=x", {"set 7 load=|x"}, {}},
        {"Exit", {}, {"? 'Exit'."}},
        {"", {}, {}},
        {"   ", {}, {}},
        {"=5", {}, {}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        owner.calls.clear();
        std::size_t before = console.GetLineCount();
        console.Execute(c.line);
        EXPECT_EQ(owner.calls, c.calls);
        std::vector<std::string> all = Lines(console);
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<long>(before), all.end()), c.printed);
        EXPECT_EQ(console.GetEditLine(), "");
        EXPECT_EQ(console.GetNameText(), "");
        EXPECT_EQ(console.GetValueText(), "");
    }
}

TEST_F(ConsoleTest, ValueReadersConvertLikeTheCLibrary) {
    struct Case {
        const char* value;
        int asInt;
        float asFloat;
    };
    const Case cases[] = {
        {"12", 12, 12.0f},
        {"-3", -3, -3.0f},
        {"0.5", 0, 0.5f},
        {"12abc", 12, 12.0f},
        {"abc", 0, 0.0f},
        {"+2.5", 2, 2.5f},
        {"99999999999", 2147483647, 99999999999.0f},
    };
    struct Reader : YConsoleCommand {
        YConsole* console = nullptr;
        int i = 0;
        float f = 0.0f;
        void RunCommand(int) override {}
        void SetVariable(int) override {
            i = console->GetInt();
            f = console->GetFloat();
        }
    } reader;
    YConsole own(&reader);
    reader.console = &own;
    own.RegisterVariable("v", 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        own.Execute(std::string("v=") + c.value);
        EXPECT_EQ(reader.i, c.asInt);
        EXPECT_FLOAT_EQ(reader.f, c.asFloat);
    }
}

TEST_F(ConsoleTest, TypingStopsAtTheWidthLimit) {
    FakeDrawer drawer;
    console.SetDrawer(&drawer);
    console.OnChar(8); // backspace on an empty line
    EXPECT_EQ(console.GetEditLine(), "");
    for (int i = 0; i < 76; ++i) console.OnChar('a');
    EXPECT_EQ(console.GetEditLine().size(), 76u); // 760 units: still fits
    console.OnChar('b');
    EXPECT_EQ(console.GetEditLine(), std::string(76, 'a'));
    console.OnChar(1);   // no glyph
    console.OnChar(300); // not a character of the font
    EXPECT_EQ(console.GetEditLine().size(), 76u);
    console.OnChar(8);
    console.OnChar('b');
    EXPECT_EQ(console.GetEditLine(), std::string(75, 'a') + "b");
}

TEST_F(ConsoleTest, ReturnRunsTheTypedLine) {
    FakeDrawer drawer;
    console.SetDrawer(&drawer);
    for (char c : std::string("exit now")) console.OnChar(c);
    console.OnChar(13);
    EXPECT_EQ(owner.calls, std::vector<std::string>{"run 0 exit|now"});
    EXPECT_EQ(console.GetEditLine(), "");
}

TEST_F(ConsoleTest, WithoutAFontNothingCanBeTyped) {
    console.OnChar('a');
    EXPECT_EQ(console.GetEditLine(), "");
}

TEST(ConsolePrint, SplitsAtLineFeeds) {
    struct Case {
        const char* text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\nb", {"a", "b"}}, {"a\n", {"a", ""}}, {"", {""}}, {"\n\n", {"", "", ""}}, {"one line", {"one line"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        YConsole console(nullptr);
        console.Print(c.text);
        EXPECT_EQ(Lines(console), c.lines);
        EXPECT_EQ(console.GetScrollIndex(), -1);
    }
}

TEST(ConsolePrint, EchoesTheLogWhileItExists) {
    LogReopen("");
    {
        YConsole console(nullptr);
        EXPECT_EQ(GetConsole(), &console);
        EXPECT_EQ(GetLogConsole(), &console);
        LogLine("from the log");
        EXPECT_EQ(Lines(console), std::vector<std::string>{"from the log"});
    }
    EXPECT_EQ(GetConsole(), nullptr);
    EXPECT_EQ(GetLogConsole(), nullptr);
}

TEST(ConsolePrint, LinesFromAnotherThreadWhileDrawing) {
    FakeDrawer drawer;
    YConsole console(nullptr);
    console.SetDrawer(&drawer);
    console.position = 300.0f;
    constexpr int kLines = 20000;
    std::thread printer([&] {
        for (int i = 0; i < kLines; ++i) console.Print("line " + std::to_string(i));
    });
    while (console.GetLineCount() < kLines) {
        drawer.texts.clear();
        console.Draw();
        console.Scroll(true);
        // Whatever was drawn is a whole line that was printed.
        for (std::size_t i = 3; i < drawer.texts.size(); ++i) ASSERT_EQ(drawer.texts[i].text.rfind("line ", 0), 0u);
    }
    printer.join();
    EXPECT_EQ(console.GetLine(kLines - 1), "line " + std::to_string(kLines - 1));
}

TEST(ConsoleScroll, PagesThroughTheLines) {
    struct Case {
        int lines;
        float position;
        const char* keys; // U: Page Up, D: Page Down
        int index;
    };
    // At position 300 a page is 300 / 20 - 3 = 12 lines.
    const Case cases[] = {
        {100, 300.0f, "U", 87}, // from the newest line, not from index -1
        {100, 300.0f, "UU", 75},
        {100, 300.0f, "UUUUUUUUU", 12}, // never above the first full page
        {100, 300.0f, "UUUUUUUUUD", 24},
        {100, 300.0f, "UD", 99},
        {100, 300.0f, "D", 99},
        {5, 300.0f, "U", 4},
        {0, 300.0f, "U", -1},
        {0, 300.0f, "D", -1},
        {100, 79.9f, "U", -1}, // sliding in below 80: less than one line to page
        {100, 80.0f, "U", 98},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.keys) + " with " + std::to_string(c.lines) + " lines at " +
                     std::to_string(c.position));
        YConsole console(nullptr);
        for (int i = 0; i < c.lines; ++i) console.Print(std::to_string(i));
        console.position = c.position;
        for (const char* k = c.keys; *k; ++k) console.Scroll(*k == 'U');
        EXPECT_EQ(console.GetScrollIndex(), c.index);
    }
}

TEST(ConsoleUpdate, SlidesThePanel) {
    struct Case {
        float hidden, start;
        bool shown;
        std::vector<float> steps;
        float position;
    };
    const Case cases[] = {
        {0, 0, true, {0.5f}, 200},          {0, 0, true, {0.5f, 0.5f}, 300}, {0, 300, false, {0.25f}, 200},
        {0, 300, false, {0.25f, 1.0f}, 0},  {45, 600, false, {1.0f}, 200}, // the editor's console at start
        {45, 600, false, {1.0f, 1.0f}, 45}, {45, 600, true, {1.0f}, 600},  // shown above 300: stays
        {45, 45, false, {1.0f}, 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.hidden) + " " + std::to_string(c.start) + (c.shown ? " shown" : " hidden"));
        YConsole console(nullptr);
        console.hiddenPosition = c.hidden;
        console.position = c.start;
        console.shown = c.shown;
        for (float dt : c.steps) console.Update(dt);
        EXPECT_FLOAT_EQ(console.position, c.position);
    }
}

TEST(ConsoleUpdate, QuadFollowsThePanelAndHidingShowsTheNewestLine) {
    YConsole console(nullptr);
    const YConsoleVertex(&quad)[4] = YConsole::GetQuad();
    EXPECT_FLOAT_EQ(quad[1].v, 1.0f);
    EXPECT_FLOAT_EQ(quad[3].u, 1.0f);
    console.shown = true;
    console.Update(0.25f);
    EXPECT_FLOAT_EQ(quad[0].y, 100.0f - 600.0f);
    EXPECT_FLOAT_EQ(quad[1].y, 100.0f);
    EXPECT_FLOAT_EQ(quad[2].x, 800.0f);
    EXPECT_FLOAT_EQ(quad[3].y, 100.0f - 600.0f);

    for (int i = 0; i < 50; ++i) console.Print("x");
    console.Update(1.0f);
    console.Scroll(true);
    ASSERT_NE(console.GetScrollIndex(), -1);
    console.shown = false;
    console.Update(0.5f); // still sliding up
    EXPECT_NE(console.GetScrollIndex(), -1);
    console.Update(0.5f);
    EXPECT_FLOAT_EQ(console.position, 0.0f);
    EXPECT_EQ(console.GetScrollIndex(), -1);
}

TEST(ConsoleUpdate, CursorBlinks) {
    YConsole console(nullptr);
    console.Update(1.0f); // at rest at 0: no blinking
    EXPECT_TRUE(console.IsCursorOn());
    console.position = 300.0f;
    console.shown = true;
    const std::pair<float, bool> steps[] = {{0.2f, true}, {0.2f, false}, {0.2f, false}, {0.25f, true}};
    for (const auto& [dt, on] : steps) {
        console.Update(dt);
        EXPECT_EQ(console.IsCursorOn(), on);
    }
}

TEST(ConsoleDraw, DrawsNothingWhileAtTheTop) {
    FakeDrawer drawer;
    YConsole console(nullptr);
    console.SetDrawer(&drawer);
    console.Print("a");
    console.Draw();
    EXPECT_EQ(drawer.panels, 0);
    EXPECT_TRUE(drawer.texts.empty());
}

TEST(ConsoleDraw, WalksTheLinesDownToTheFirst) {
    struct Case {
        int lines;
        float position;
        std::vector<std::string> drawn; // lines below the prompt, lowest first
    };
    const Case cases[] = {
        {0, 300.0f, {}},
        {2, 300.0f, {"1", "0"}},
        {10, 100.0f, {"9", "8", "7", "6"}}, // y 72, 52, 32, 12: the next would be off the top
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines);
        FakeDrawer drawer;
        YConsole console(nullptr);
        console.SetDrawer(&drawer);
        for (int i = 0; i < c.lines; ++i) console.Print(std::to_string(i));
        console.position = c.position;
        console.Draw();
        EXPECT_EQ(drawer.panels, 1);
        ASSERT_GE(drawer.texts.size(), 3u);
        EXPECT_EQ(drawer.texts[0].text, "=>");
        EXPECT_FLOAT_EQ(drawer.texts[0].x, 3.0f);
        EXPECT_FLOAT_EQ(drawer.texts[0].y, c.position - 4.0f);
        EXPECT_FLOAT_EQ(drawer.texts[1].x, 26.0f); // after the prompt's 20 units and 6 more
        EXPECT_EQ(drawer.texts[2].text, "_");
        EXPECT_FLOAT_EQ(drawer.texts[2].x, 27.0f);
        std::vector<std::string> drawn;
        for (std::size_t i = 3; i < drawer.texts.size(); ++i) {
            drawn.push_back(drawer.texts[i].text);
            EXPECT_FLOAT_EQ(drawer.texts[i].x, 5.0f);
            EXPECT_FLOAT_EQ(drawer.texts[i].y, c.position - 28.0f - 20.0f * static_cast<float>(i - 3));
        }
        EXPECT_EQ(drawn, c.drawn);
        EXPECT_EQ(console.GetScrollIndex(), c.lines - 1);
    }
}

// The editor's strip: a hidden panel resting 45 units down has room for the edit line and one
// line, which must stay the answer to the last statement while the log goes on writing.
TEST(ConsoleDraw, TheRestingStripKeepsTheLastAnswerInView) {
    struct Owner : YConsoleCommand {
        YConsole* console = nullptr;
        void RunCommand(int id) override {
            if (id == 1) console->Print("answer");
            if (id == 2) {
                LogLine("Load level error, reason");
                console->Print("logs fail.");
            }
            if (id == 4) std::thread([this] { console->Print("from a stream thread"); }).join();
        }
        void SetVariable(int) override {}
    };
    struct Case {
        std::vector<std::string> statements;
        bool shown;
        std::string strip; // the one line under the edit line
    };
    const Case cases[] = {
        {{}, false, "Create mipmap levels: ok"}, // nothing asked yet: the newest line
        {{"answer"}, false, "answer"},
        {{"logs"}, false, "logs fail."},
        {{"answer", "silent"}, false, "answer"},
        {{"answer", "threaded"}, false, "answer"},
        {{"answer", "bogus"}, false, "? 'bogus'."},
        {{"answer"}, true, "Create mipmap levels: ok"}, // a shown console follows the newest line
    };
    LogReopen("");
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.statements) + (c.shown ? " shown" : ""));
        FakeDrawer drawer;
        Owner owner;
        YConsole console(&owner);
        owner.console = &console;
        console.SetDrawer(&drawer);
        console.RegisterCommand("answer", 1);
        console.RegisterCommand("logs", 2);
        console.RegisterCommand("silent", 3);
        console.RegisterCommand("threaded", 4);
        console.hiddenPosition = 45.0f;
        console.position = 45.0f;
        console.shown = c.shown;
        LogLine("Initialization...");
        for (const std::string& statement : c.statements) console.Execute(statement);
        LogLine("Filter texture stone: ok"); // a frame makes the textures of what was placed
        LogLine("Create mipmap levels: ok");
        console.Draw();
        ASSERT_EQ(drawer.texts.size(), 4u);
        EXPECT_EQ(drawer.texts[3].text, c.strip);
        EXPECT_FLOAT_EQ(drawer.texts[3].y, 17.0f);
        EXPECT_EQ(console.GetLine(console.GetLineCount() - 1), "Create mipmap levels: ok") << "every line is kept";
    }
}

TEST(ConsoleCreate, GameConsoleIsBuiltOnceWithTheGameNames) {
    static RecordingOwner owner;
    YConsole* console = CreateGameConsole(&owner);
    owner.console = console;
    EXPECT_EQ(CreateGameConsole(&owner), console);
    console->Execute("exit open_all_levels");
    console->Execute("open_all_levels");
    console->Execute("fps=1 fullscreen=1 video_mode=640x480:32 sound_volume=0.5 music_volume=1 shadows=1 showtips=0");
    EXPECT_EQ(owner.calls, (std::vector<std::string>{
                               "run 0 exit|open_all_levels",
                               "run 1 open_all_levels|",
                               "set 0 fps=|1",
                               "set 1 fullscreen=|1",
                               "set 2 video_mode=|640x480:32",
                               "set 3 sound_volume=|0.5",
                               "set 4 music_volume=|1",
                               "set 5 shadows=|1",
                               "set 6 showtips=|0",
                           }));
    // A framework made after the first one was deleted takes the same console over.
    static RecordingOwner next;
    next.console = console;
    EXPECT_EQ(CreateGameConsole(&next), console);
    console->Execute("exit");
    EXPECT_EQ(owner.calls.size(), 9u);
    EXPECT_EQ(next.calls, (std::vector<std::string>{"run 0 exit|"}));
    SetLogConsole(nullptr);
}

TEST(ConsoleCreate, EditorConsoleRestsLowerAndStartsAtTheBottom) {
    YConsole* console = CreateEditorConsole(nullptr);
    EXPECT_EQ(CreateEditorConsole(nullptr), console);
    EXPECT_FLOAT_EQ(console->hiddenPosition, 45.0f);
    EXPECT_FLOAT_EQ(console->position, 600.0f);
    SetLogConsole(nullptr);
}
