#include "editor/editor_console.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/console_command.h"
#include "core/init.h"
#include "core/log.h"
#include "editor/editor_console_vars.h"
#include "editor/editor_headless.h"
#include "editor/editor_level.h"
#include "editor/fake_scene.h"

namespace {

struct FakeHost : EditorWindowlessHost {
    int quits = 0;
    bool configSaves = true; // what quitting's save of the configuration answers
    int cameraResets = 0;
    int windows = 0;
    bool fullScreen = false;
    EditorCameraAxes axes;
    bool QuitEditor() override {
        ++quits;
        return configSaves;
    }
    void ResetCamera() override { ++cameraResets; }
    bool IsFullScreenWindow() const override { return fullScreen; }
    void RecreateWindow() override {
        ++windows;
        fullScreen = GetInit().fullscreen;
    }
    EditorCameraAxes CameraAxes() const override { return axes; }
    void ApplyVideoModeText(const std::string& text) override { GetInit().videoMode = text; }
};

class EditorConsoleTest : public ::testing::Test {
public:
    EditorConsoleTest() {
        level.scene = &scene;
        level.curMaterial = "stone";
        LogReopen("");
        SetLogConsole(nullptr); // the answers alone, without the log's echo
    }

    // Runs the line and returns the lines it printed.
    std::vector<std::string> Run(const std::string& line) { return editor.Run(line); }

    FakeScene scene;
    FakeHost host;
    EditorLevel level;
    EditorHeadlessConsole editor{level, scene, host};
};

using Lines = std::vector<std::string>;

TEST_F(EditorConsoleTest, StatementsAnswerAndChangeTheModel) {
    struct Case {
        std::string setup; // run first, answers ignored
        std::string line;
        Lines answer;
        std::function<void(const EditorConsoleTest&)> check;
    };
    const Case cases[] = {
        {"", "mode=2", {"mode=bonus"}, [](auto& t) { EXPECT_EQ(t.level.editMode, EDIT_MODE_BONUS); }},
        {"", "mode=bonus", {"mode=bonus"}, [](auto& t) { EXPECT_EQ(t.level.editMode, EDIT_MODE_BONUS); }},
        {"mode=mat", "mode=7", {"mode=mat"}, [](auto& t) { EXPECT_EQ(t.level.editMode, EDIT_MODE_MAT); }},
        {"mode=mat", "mode=Del", {"mode=mat"}, nullptr},
        {"", "n", {"n mode=new ok."}, [](auto& t) { EXPECT_EQ(t.level.editMode, EDIT_MODE_NEW); }},
        {"", "d", {"d mode=del ok."}, [](auto& t) { EXPECT_EQ(t.level.editMode, EDIT_MODE_DEL); }},
        {"", "del", {"del mode=del ok."}, nullptr},
        {"", "n action", {"n mode=new ok."}, [](auto& t) { EXPECT_EQ(t.level.BlockCount(), 0); }},
        {"", "action", {}, [](auto& t) { EXPECT_EQ(t.level.BlockCount(), 1); }},
        {"", "glue=0.5", {"glue=1"}, [](auto& t) { EXPECT_FLOAT_EQ(t.level.curGlue, 1.0f); }},
        {"", "g=12.25", {"g=12.25"}, [](auto& t) { EXPECT_FLOAT_EQ(t.level.curGlue, 12.25f); }},
        {"", "glue=nan", {"glue=1"}, nullptr},
        {"", "b=-7", {"b=-1"}, [](auto& t) { EXPECT_EQ(t.level.curBonus, -1); }},
        {"", "b=40", {"b=33"}, [](auto& t) { EXPECT_EQ(t.level.curBonus, 33); }},
        {"", "bonus=4", {"bonus=4"}, nullptr},
        {"b=-1", "bc=3", {"bc=clear mode"}, [](auto& t) { EXPECT_EQ(t.level.bonusCounts[0].count, 0); }},
        {"b=2", "bc=3", {"bc=3"}, [](auto& t) { EXPECT_EQ(t.level.bonusCounts[2].count, 3); }},
        {"b=2 action x mode=bonus action x", "bonuscount=0", {"bonuscount=1"}, nullptr},
        {"",
         "table=5x500",
         {"table=10x100"},
         [](auto& t) {
             EXPECT_FLOAT_EQ(t.scene.width, 10.0f);
             EXPECT_FLOAT_EQ(t.scene.depth, 100.0f);
         }},
        {"", "table=42.5x33", {"table=42.5x33"}, nullptr},
        {"", "table=40", {"table=20x30"}, [](auto& t) { EXPECT_EQ(t.scene.tableBuilds, 0); }},
        {"", "table=nanx50", {"table=10x50"}, nullptr},
        {"",
         "cell=0.1x2x20",
         {"cell=0.25x2x10"},
         [](auto& t) {
             EXPECT_FLOAT_EQ(t.scene.scale.y, 2.0f);
             EXPECT_EQ(t.scene.cacheClears, 1);
         }},
        {"action",
         "cell=2x3",
         {"cell=1x1x1"},
         [](auto& t) {
             EXPECT_EQ(t.scene.cacheClears, 1) << "the scene is rebuilt even without a change";
             EXPECT_EQ(t.scene.built.size(), 1u);
         }},
        {"", "m=wood", {"m=wood"}, [](auto& t) { EXPECT_EQ(t.level.curMaterial, "wood"); }},
        {"", "material=marble", {"material=stone"}, [](auto& t) { EXPECT_EQ(t.level.curMaterial, "stone"); }},
        {"", "mat=Wood", {"mat=stone"}, nullptr},
        {"",
         "tm=grass",
         {"tm="},
         [](auto& t) {
             EXPECT_EQ(t.level.tableMaterial, "grass");
             EXPECT_EQ(t.scene.tableMaterial, "grass");
             EXPECT_FLOAT_EQ(t.scene.width, 20.0f);
         }},
        {"",
         "table_mat=" + std::string(100, 'x'),
         {"table_mat= fail."},
         [](auto& t) { EXPECT_EQ(t.level.tableMaterial, "default"); }},
        {"", "env=night", {"env="}, [](auto& t) { EXPECT_EQ(t.scene.environment, "night"); }},
        {"env=night", "env=nowhere", {"env="}, [](auto& t) { EXPECT_EQ(t.scene.environment, "sky"); }},
        {"", "group=0", {"group= fail."}, nullptr},
        {"new_group", "group=1", {"group=1"}, [](auto& t) { EXPECT_EQ(t.level.currentGroup, 0); }},
        {"", "group=2", {"group= fail."}, [](auto& t) { EXPECT_EQ(t.level.currentGroup, 0); }},
        {"", "new_group", {"new_group ok."}, [](auto& t) { EXPECT_EQ(t.level.groups.size(), 2u); }},
        {"new_group",
         "del_group",
         {"del_group ok."},
         [](auto& t) {
             EXPECT_EQ(t.level.groups.size(), 1u);
             EXPECT_EQ(t.level.currentGroup, 0);
         }},
        {"new_group", "del_group 3", {"del_group fail."}, [](auto& t) { EXPECT_EQ(t.level.groups.size(), 2u); }},
        {"new_group", "del_group 1", {"del_group ok."}, [](auto& t) { EXPECT_EQ(t.level.currentGroup, 0); }},
        {"", "show_all=0", {"show_all=false"}, [](auto& t) { EXPECT_FALSE(t.level.showAll); }},
        {"show_all=0", "show_all=true", {"show_all=true"}, [](auto& t) { EXPECT_TRUE(t.level.showAll); }},
        {"", "show_all=maybe", {"? 'maybe'.", "show_all=false"}, nullptr},
        {"",
         "move [1,0,0] move [0,1,0] move [0,0,-1]",
         {},
         [](auto& t) {
             EXPECT_EQ(t.level.cursor, (EditorCell{1, 1, -1}));
         }},
        {"",
         "move [1,0",
         {},
         [](auto& t) {
             EXPECT_EQ(t.level.cursor, (EditorCell{0, 0, 0}));
         }},
        {"",
         "size [1,0,0] size [0,1,0]",
         {},
         [](auto& t) {
             EXPECT_EQ(t.level.cursorSize, (EditorCell{2, 2, 1}));
         }},
        {"move [1,0,0] size [1,0,0]",
         "resetMove x resetSize",
         {"resetMove", "resetSize"},
         [](auto& t) {
             EXPECT_EQ(t.level.cursor, (EditorCell{0, 0, 0}));
             EXPECT_EQ(t.level.cursorSize, (EditorCell{1, 1, 1}));
         }},
        {"", "moveGroup [0,0,2.5]", {}, [](auto& t) { EXPECT_FLOAT_EQ(t.level.groups[0].matrix.m[14], 2.5f); }},
        {"moveGroup [0,0,2.5]",
         "resetMoveGroup",
         {"resetMoveGroup"},
         [](auto& t) { EXPECT_FLOAT_EQ(t.level.groups[0].matrix.m[14], 0.0f); }},
        {"", "rotateGroup [0,0,90]", {}, [](auto& t) { EXPECT_NEAR(t.level.groups[0].matrix.m[1], 1.0f, 1e-6f); }},
        {"rotateGroup [0,0,90]",
         "resetRotateGroup x",
         {"resetRotateGroup"},
         [](auto& t) { EXPECT_FLOAT_EQ(t.level.groups[0].matrix.m[0], 1.0f); }},
        {"", "resetCamera", {"resetCamera ok."}, [](auto& t) { EXPECT_EQ(t.host.cameraResets, 1); }},
        {"action", "clear", {"clear"}, [](auto& t) { EXPECT_EQ(t.level.BlockCount(), 0); }},
        {"action",
         "center",
         {"center"},
         [](auto& t) {
             EXPECT_FLOAT_EQ(t.level.groups[0].matrix.m[12], -0.5f);
             EXPECT_FLOAT_EQ(t.level.groups[0].matrix.m[14], 0.0f);
         }},
        {"g=50 action x g=20",
         "glueMax",
         {"glueMax"},
         [](auto& t) { EXPECT_FLOAT_EQ(t.level.groups[0].blocks[0].glue, 20.0f); }},
        {"b=1 bc=5", "bonusMin", {"bonusMin"}, [](auto& t) { EXPECT_EQ(t.level.bonusCounts[1].count, 0); }},
        {"", "fps=1", {"fps=true"}, [](auto&) { EXPECT_TRUE(GetInit().fps); }},
        {"fps=1", "fps=false", {"fps=false"}, [](auto&) { EXPECT_FALSE(GetInit().fps); }},
        {"", "shadows=0", {"shadows=false"}, [](auto&) { EXPECT_FALSE(GetInit().shadows); }},
        {"", "fullscreen=1", {"fullscreen=true"}, [](auto& t) { EXPECT_EQ(t.host.windows, 1); }},
        {"", "fullscreen=0", {"fullscreen=false"}, [](auto& t) { EXPECT_EQ(t.host.windows, 0); }},
        {"", "video_mode=640x480:32", {"video_mode=640x480:32"}, [](auto& t) { EXPECT_EQ(t.host.windows, 1); }},
        {"", "load nothing_here", {"load fail."}, nullptr},
        {"action",
         "load=nothing_here",
         {"load= fail."},
         [](auto& t) {
             EXPECT_EQ(t.level.BlockCount(), 1) << "the level stays";
             EXPECT_EQ(t.level.levelName, "nothing_here");
         }},
        {"load=nothing_here", "reload", {"reload fail."}, nullptr},
        {"", "exit", {"exit ok."}, [](auto& t) { EXPECT_EQ(t.host.quits, 1); }},
        {"", "nosuch", {"? 'nosuch'."}, nullptr},
    };
    for (const Case& c : cases) {
        // A fresh editor state per case.
        level = EditorLevel();
        level.scene = &scene;
        level.curMaterial = "stone";
        scene = FakeScene();
        host = FakeHost();
        GetInit().fps = false;
        GetInit().shadows = true;
        GetInit().fullscreen = false;
        if (!c.setup.empty()) Run(c.setup);
        scene.tableBuilds = 0;
        scene.cacheClears = 0;
        EXPECT_EQ(Run(c.line), c.answer) << c.line;
        if (c.check) {
            SCOPED_TRACE(c.line);
            c.check(*this);
        }
    }
}

TEST_F(EditorConsoleTest, ExitAnswersFailWhenTheConfigurationIsNotSaved) {
    host.configSaves = false;
    EXPECT_EQ(Run("exit"), Lines{"exit fail."});
    EXPECT_EQ(host.quits, 1); // the editor ends all the same
}

TEST_F(EditorConsoleTest, ValuesAreReadAsTheirTypeAndHeldToTheirRange) {
    const struct {
        std::string line;
        Lines answer;
    } cases[] = {
        // Numbers at and beyond the ends of a range.
        {"b=33", {"b=33"}},
        {"b=-1", {"b=-1"}},
        {"b=34", {"b=33"}},
        {"glue=1", {"glue=1"}},
        {"glue=0.999", {"glue=1"}},
        // A range without an upper end takes an infinite value as no value; one with an upper end
        // holds it there.
        {"g=1e39", {"g=1"}},
        {"g=-1e39", {"g=1"}},
        {"table=1e39x-1e39", {"table=100x10"}},
        {"cell=0x11x5", {"cell=0.25x10x5"}},
        // Values that are not of the variable's type.
        {"b=two", {"b=0"}},
        {"g=lots", {"g=1"}},
        {"fps=yes", {"? 'yes'.", "fps=false"}},
        {"fullscreen=on", {"? 'on'.", "fullscreen=false"}},
        {"cell=1x2", {"cell=1x1x1"}},
        {"group=first", {"group= fail."}},
        // Names that are no variable.
        {"nosuch=1", {"? 'nosuch'."}},
        {"Fps=1", {"? 'Fps'."}},
    };
    for (const auto& c : cases) {
        level = EditorLevel();
        level.scene = &scene;
        scene = FakeScene();
        EXPECT_EQ(Run(c.line), c.answer) << c.line;
    }
    // A text up to the longest a level file holds is taken.
    EXPECT_EQ(Run("tm=" + std::string(99, 't')), Lines{"tm="});
    EXPECT_EQ(level.tableMaterial, std::string(99, 't'));
}

// Records which variable the console hands over.
struct VariableEar : YConsoleCommand {
    int variable = -1;
    void RunCommand(int) override {}
    void SetVariable(int id) override { variable = id; }
};

TEST(EditorConsoleVariables, EveryNameOfTheTableReachesItsVariable) {
    VariableEar ear;
    YConsole console(&ear);
    RegisterEditorConsoleNames(console);
    const auto table = EditorConsoleVariables();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(EDITOR_VAR_COUNT));
    std::size_t names = 0;
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].id, static_cast<int>(i)) << "the table is in id order";
        EXPECT_NE(table[i].help, nullptr);
        for (const char* name : table[i].names) {
            if (!name) continue;
            ++names;
            ear.variable = -1;
            console.Execute(std::string(name) + "=1");
            EXPECT_EQ(ear.variable, table[i].id) << name;
        }
    }
    EXPECT_EQ(names, 23u) << "17 variables, 6 aliases";
}

} // namespace
