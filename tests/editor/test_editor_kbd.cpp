#include "editor/editor_kbd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/console.h"
#include "core/console_command.h"
#include "core/log.h"
#include "editor/editor_headless.h"
#include "editor/editor_input.h"
#include "editor/editor_level.h"
#include "editor/fake_scene.h"
#include "platform/window/win_messages.h"
#include "support/temp_dir.h"

namespace {

EditorKeyboard Parse(const std::string& markup) {
    EditorKeyboard kb;
    YEditorKbdLoader loader(kb, "kbd.yml");
    XMLParser& parser = loader;
    parser.Parse(markup);
    return kb;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(EditorKbd, KeyNamesResolveOnlyWhenDefinedEarlierWithACode) {
    const EditorKeyboard kb = Parse(
        "<key name=\"Left\" value=\"25\"/>\n"
        "<key name=\"Esc\" value=\"1b\"/>\n"
        "<key name=\"Zero\" value=\"\"/>\n"
        "<key name=\"Zero\" value=\"30\"/>\n"
        "<key name=\"Bad\" value=\"xyz\"/>\n"
        "<macro key=\"Left\">move [-1,0,0]</macro>\n"
        "<macro key=\"Esc\">a</macro>\n"
        "<macro key=\"Zero\">b</macro>\n"  // the first Zero has code 0: first character 'Z'
        "<macro key=\"Later\">c</macro>\n" // defined below: first character 'L'
        "<macro key=\"A\">d</macro>\n"
        "<macro key=\"1\">e</macro>\n"
        "<macro key=\"\">f</macro>\n"
        "<macro key=\"left\">g</macro>\n" // names are case-sensitive
        "<key name=\"Later\" value=\"70\"/>\n");
    ASSERT_EQ(kb.keyNames.size(), 6u);
    EXPECT_EQ(kb.keyNames[0].code, 0x25);
    EXPECT_EQ(kb.keyNames[1].code, 27);
    EXPECT_EQ(kb.keyNames[2].code, 0);
    EXPECT_EQ(kb.keyNames[4].code, 0);
    const int expected[] = {0x25, 27, 'Z', 'L', 'A', '1', 0, 'l'};
    ASSERT_EQ(kb.macros.size(), std::size(expected));
    for (std::size_t i = 0; i < kb.macros.size(); ++i) EXPECT_EQ(kb.macros[i].key, expected[i]) << i;
    EXPECT_EQ(kb.macros[0].text, "move [-1,0,0]");
}

TEST(EditorKbd, ModifierFlagsAreIntegersAboveZero) {
    const EditorKeyboard kb = Parse(
        "<macro key=\"A\" control=\"1\" alt=\"2\" shift=\"0\">x</macro>"
        "<macro key=\"A\" control=\"true\" alt=\"-1\" shift=\"1\">y</macro>");
    ASSERT_EQ(kb.macros.size(), 2u);
    EXPECT_TRUE(kb.macros[0].control);
    EXPECT_TRUE(kb.macros[0].alt);
    EXPECT_FALSE(kb.macros[0].shift);
    EXPECT_FALSE(kb.macros[1].control);
    EXPECT_FALSE(kb.macros[1].alt);
    EXPECT_TRUE(kb.macros[1].shift);
}

TEST(EditorKbd, HexValuesAsStrtolReadsThem) {
    struct Case {
        const char* text;
        int code;
    } cases[] = {{"1b", 27},  {"1B", 27},       {"0x25", 0x25}, {"", 0},
                 {"zz", 0},   {"26junk", 0x26}, {" 7b", 0x7b},  {"ffffffffffffffff", 2147483647},
                 {"-10", -16}};
    for (const Case& c : cases) EXPECT_EQ(ParseKeyCode(c.text), c.code) << c.text;
}

TEST(EditorKbd, MalformedMarkupIsLoggedAndReadingGoesOn) {
    testsupport::TempDir dir;
    const std::string log = (dir.path() / "log.txt").string();
    LogReopen(log);
    const EditorKeyboard kb = Parse(
        "<macro key=\"A\">one</macro>\n"
        "</macro>\n" // closes nothing
        "<bogus/>\n" // unknown tag
        "<macro key=\"B\" colour=\"1\">two</macro>\n"
        "<macro key=\"C\">three</macro>\n"
        "<macro key=\"D\">cut off"); // truncated
    LogReopen("");
    ASSERT_GE(kb.macros.size(), 2u);
    EXPECT_EQ(kb.macros.front().text, "one");
    EXPECT_EQ(kb.macros.back().text, "three");
    const std::string text = ReadFile(log);
    EXPECT_NE(text.find("Keyboard parser error, Expected <macro>., file: kbd.yml, line: 2"), std::string::npos) << text;
    EXPECT_NE(text.find("Keyboard parser error, Unknown tag: bogus, file: kbd.yml, line: 3"), std::string::npos)
        << text;
}

TEST(EditorKbd, LoadLogsTheFileAndSurvivesAMissingOne) {
    testsupport::TempDir dir;
    const std::string log = (dir.path() / "log.txt").string();
    const std::string file = (dir.path() / "kbd.yml").string();
    {
        std::ofstream out(file);
        out << "<key name=\"F2\" value=\"71\"/><macro key=\"F2\">mode=new</macro>";
    }
    LogReopen(log);
    EditorKeyboard kb;
    LoadKeyboardMacros(file.c_str(), kb);
    LoadKeyboardMacros((dir.path() / "none.yml").string().c_str(), kb);
    LogReopen("");
    ASSERT_EQ(kb.macros.size(), 1u);
    EXPECT_EQ(kb.macros[0].key, 0x71);
    EXPECT_NE(ReadFile(log).find("Parse keydoard macro from file, " + file), std::string::npos);
}

// Records the statements the console runs.
struct RecordingOwner : YConsoleCommand {
    YConsole* console = nullptr;
    std::vector<std::string> lines;
    void RunCommand(int) override { lines.push_back(console->GetNameText() + " " + console->GetValueText()); }
    void SetVariable(int) override { lines.push_back(console->GetNameText() + console->GetValueText()); }
};

struct WideDrawer : YConsoleDrawer {
    float CharWidth(unsigned char) const override { return 1.0f; }
    void DrawPanel(const YConsoleVertex (&)[4]) override {}
    float DrawText(float, float, float, const std::string&) override { return 0.0f; }
};

class EditorInputTest : public ::testing::Test {
protected:
    EditorInputTest() : console(&owner), input(console, keyboard, level) {
        owner.console = &console;
        console.SetDrawer(&drawer);
        console.RegisterCommand("move", 1);
        console.RegisterCommand("size", 2);
        console.RegisterVariable("mode", 3);
        keyboard = Parse(
            "<key name=\"Left\" value=\"25\"/><key name=\"F2\" value=\"71\"/>"
            "<macro key=\"Left\">move [-1,0,0]</macro>"
            "<macro key=\"Left\" shift=\"1\">size [-1,0,0]</macro>"
            "<macro key=\"Left\" control=\"1\">moveGroup [-1,0,0]</macro>"
            "<macro key=\"F2\">mode=new</macro>"
            "<macro key=\"F2\">move [0,0,1]</macro>"
            "<macro key=\"A\">move [0,1,0]</macro>");
        level.redrawFlag = 0;
    }
    RecordingOwner owner;
    WideDrawer drawer;
    YConsole console;
    EditorKeyboard keyboard;
    EditorLevel level;
    EditorInput input;
};

TEST_F(EditorInputTest, ChordsRunExactlyMatchingMacrosInFileOrder) {
    struct Case {
        int key;
        bool ctrl, alt, shift;
        std::vector<std::string> lines;
    } cases[] = {
        {plat::VK_LEFT, false, false, false, {"move [-1,0,0]"}},
        {plat::VK_LEFT, false, false, true, {"size [-1,0,0]"}},
        {plat::VK_LEFT, true, false, false, {}}, // moveGroup is not registered here: "? 'moveGroup'."
        {plat::VK_LEFT, false, true, false, {}},
        {plat::VK_LEFT, true, false, true, {}},
        {plat::VK_F2, false, false, false, {"mode=new", "move [0,0,1]"}},
        {'A', false, false, false, {"move [0,1,0]"}},
        {plat::VK_RIGHT, false, false, false, {}},
    };
    for (const Case& c : cases) {
        owner.lines.clear();
        input.KeyDown(c.key, c.ctrl, c.alt, c.shift);
        EXPECT_EQ(owner.lines, c.lines) << c.key << " " << c.ctrl << c.alt << c.shift;
    }
}

TEST_F(EditorInputTest, AKeyThatRanAMacroIsNotTyped) {
    input.KeyDown('A', false, false, false);
    EXPECT_TRUE(input.KeyConsumed());
    EXPECT_EQ(level.redrawFlag, 1);
    input.Char('a');
    EXPECT_EQ(console.GetEditLine(), "");
    input.KeyDown('B', false, false, false);
    EXPECT_FALSE(input.KeyConsumed());
    input.Char('b');
    EXPECT_EQ(console.GetEditLine(), "b");
}

TEST_F(EditorInputTest, TheShownConsoleTakesTypingAndOnlyPageKeys) {
    input.KeyDown(plat::VK_OEM_3, false, false, false);
    EXPECT_TRUE(console.shown);
    input.Char('`');
    EXPECT_EQ(console.GetEditLine(), "") << "the toggle key is not typed";
    owner.lines.clear();
    input.KeyDown('A', false, false, false);
    EXPECT_TRUE(owner.lines.empty()) << "no macros while the console is shown";
    input.Char('a');
    EXPECT_EQ(console.GetEditLine(), "a");
    EXPECT_EQ(input.KeyDown(plat::VK_F8, false, false, false), EditorKeyResult::None);
    input.KeyDown(plat::VK_OEM_3, false, false, false);
    EXPECT_FALSE(console.shown);
    EXPECT_EQ(input.KeyDown(plat::VK_F8, false, false, false), EditorKeyResult::ToggleFullscreen);
    EXPECT_EQ(input.KeyDown(plat::VK_F10, false, false, false), EditorKeyResult::None);
}

TEST_F(EditorInputTest, EnterRunsTheLineAndAsksForARedraw) {
    for (char c : std::string("mode=del")) input.Char(c);
    input.Char(13);
    EXPECT_EQ(owner.lines, std::vector<std::string>{"mode=del"});
    EXPECT_EQ(level.redrawFlag, 1);
}

// The shipped keyboard file played key by key against the editor's real statements: what a level
// maker's keys do to the level.
class ShippedKeyboardTest : public ::testing::Test {
protected:
    ShippedKeyboardTest() {
        level.scene = &scene;
        level.curMaterial = "stone";
        level.curBonus = 3;
        LoadKeyboardMacros((std::string(KORVELIN_SOURCE_DIR) + "/assets/data/editor_kbd.yml").c_str(), keyboard);
    }
    void Press(int key) { input.KeyDown(key, false, false, false); }

    FakeScene scene;
    EditorWindowlessHost host;
    EditorLevel level;
    EditorHeadlessConsole editor{level, scene, host};
    EditorKeyboard keyboard;
    EditorInput input{editor.Console(), keyboard, level};
};

TEST_F(ShippedKeyboardTest, InsertAfterDeletePlacesABlock) {
    using plat::VK_DELETE, plat::VK_INSERT, plat::VK_LEFT, plat::VK_RIGHT, plat::VK_F3, plat::VK_F4;
    struct Case {
        std::vector<int> keys;
        int blocks;
        int mode;
        int bonuses; // blocks carrying a bonus
    } cases[] = {
        {{VK_INSERT}, 1, EDIT_MODE_NEW, 0},
        {{VK_INSERT, VK_DELETE}, 0, EDIT_MODE_NEW, 0},
        {{VK_INSERT, VK_DELETE, VK_INSERT}, 1, EDIT_MODE_NEW, 0},
        {{VK_DELETE, VK_INSERT}, 1, EDIT_MODE_NEW, 0}, // Delete on an empty cell
        {{VK_INSERT, VK_RIGHT, VK_INSERT, VK_DELETE, VK_INSERT, VK_LEFT, VK_DELETE, VK_INSERT}, 2, EDIT_MODE_NEW, 0},
        // The chosen modes still act on Insert, and Delete still deletes in any of them.
        {{VK_INSERT, VK_F3, VK_INSERT}, 0, EDIT_MODE_DEL, 0},
        {{VK_INSERT, VK_F4, VK_INSERT}, 1, EDIT_MODE_BONUS, 1},
        {{VK_INSERT, VK_F4, VK_DELETE, VK_INSERT}, 1, EDIT_MODE_NEW, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.keys));
        for (const char* line : {"clear", "resetMove", "mode=new"}) editor.Run(line);
        for (int key : c.keys) Press(key);
        EXPECT_EQ(level.BlockCount(), c.blocks);
        EXPECT_EQ(level.editMode, c.mode);
        int bonuses = 0;
        for (const EditorGroup& g : level.groups)
            for (const EditorBlock& b : g.blocks) bonuses += b.bonus >= 0;
        EXPECT_EQ(bonuses, c.bonuses);
    }
}

TEST(EditorWheel, DistanceStaysWithinFiveAndNinety) {
    EXPECT_FLOAT_EQ(WheelCameraDistance(30.0f, 120), 31.2f);
    EXPECT_FLOAT_EQ(WheelCameraDistance(30.0f, -120), 28.8f);
    EXPECT_FLOAT_EQ(WheelCameraDistance(5.5f, -120), 5.0f);
    EXPECT_FLOAT_EQ(WheelCameraDistance(89.5f, 240), 90.0f);
    EXPECT_FLOAT_EQ(WheelCameraDistance(30.0f, -1000000), 5.0f);
}

} // namespace
