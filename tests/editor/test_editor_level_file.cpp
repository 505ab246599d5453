#include "editor/editor_level_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <string>
#include <vector>

#include "core/log.h"
#include "editor/editor_console.h"
#include "editor/editor_data_scene.h"
#include "editor/editor_headless.h"
#include "editor/editor_level.h"
#include "editor/editor_matrix.h"
#include "editor/fake_scene.h"
#include "support/temp_dir.h"
#include "world/level/level_file.h"

namespace {

class EditorLevelFileTest : public ::testing::Test {
protected:
    EditorLevelFileTest() {
        level.scene = &scene;
        level.curMaterial = "stone";
        dir.MakeDir("levels");
        LogReopen("");
        SetLogConsole(nullptr);
    }

    std::vector<std::string> Run(const std::string& line) { return editor.Run(line); }

    // A level with two groups (the second turned and moved), bonuses and counts above placed.
    void BuildSample() {
        Run("cell=1.5x1x0.5 table=30x40 tm=marble env=night");
        Run("size [1,0,0] action x move [0,1,0] m=glass g=12 action x");
        Run("move [0,-1,0] mode=bonus b=3 action x bc=5 b=7 bc=2");
        Run("new_group x mode=new m=wood action x rotateGroup [0,0,90] moveGroup [2,0,0]");
    }

    TempDir dir{true};
    FakeScene scene;
    EditorWindowlessHost host;
    EditorLevel level;
    EditorHeadlessConsole editor{level, scene, host};
};

TEST_F(EditorLevelFileTest, ConsoleScriptSavesTheBytesOfItsModel) {
    BuildSample();
    EXPECT_EQ(Run("save=sample.lev"), std::vector<std::string>{"save= ok."});
    YLevelData data;
    std::string error;
    ASSERT_TRUE(ReadLevelFile("levels\\sample.lev", data, error)) << error;
    EXPECT_FALSE(data.oldLayout);
    EXPECT_FLOAT_EQ(data.scale.x, 1.5f);
    EXPECT_FLOAT_EQ(data.scale.z, 0.5f);
    EXPECT_FLOAT_EQ(data.width, 30.0f);
    EXPECT_FLOAT_EQ(data.depth, 40.0f);
    EXPECT_EQ(data.tableMaterial, "marble");
    EXPECT_EQ(data.environment, "night");
    ASSERT_EQ(data.bonusCounts.size(), 34u);
    EXPECT_EQ(data.bonusCounts[3], 5);
    EXPECT_EQ(data.bonusCounts[7], 2);
    ASSERT_EQ(data.sets.size(), 2u);
    ASSERT_EQ(data.sets[0].blocks.size(), 2u);
    const YLevelBlock& glass = data.sets[0].blocks[1];
    EXPECT_EQ(glass.y, 1);
    EXPECT_EQ(glass.sx, 2);
    EXPECT_EQ(glass.material, "glass");
    EXPECT_FLOAT_EQ(glass.glue, 12.0f);
    EXPECT_EQ(data.sets[0].blocks[0].bonus, 3);
    ASSERT_EQ(data.sets[1].blocks.size(), 1u);
    EXPECT_EQ(data.sets[1].blocks[0].material, "wood");
    EXPECT_NEAR(data.sets[1].matrix.m[1], 1.0f, 1e-6f);
    EXPECT_NEAR(data.sets[1].matrix.m[12], 2.0f, 1e-6f);
}

TEST_F(EditorLevelFileTest, SaveLoadSaveGivesTheSameBytes) {
    BuildSample();
    ASSERT_EQ(Run("save first.lev"), std::vector<std::string>{"save ok."});
    Run("clear");
    ASSERT_EQ(level.BlockCount(), 0);
    EXPECT_EQ(Run("load first.lev"), std::vector<std::string>{"load ok."});
    EXPECT_EQ(level.groups.size(), 2u);
    EXPECT_EQ(level.BlockCount(), 3);
    EXPECT_EQ(level.bonusCounts[3].placed, 1);
    EXPECT_EQ(level.bonusCounts[3].count, 5);
    EXPECT_EQ(scene.built.size(), 3u) << "the scene is rebuilt";
    EXPECT_EQ(scene.tableMaterial, "marble");
    ASSERT_EQ(Run("save second.lev"), std::vector<std::string>{"save ok."});
    EXPECT_EQ(dir.Read("levels/first.lev"), dir.Read("levels/second.lev"));
    EXPECT_EQ(Run("reload"), std::vector<std::string>{"reload fail."}) << "no remembered name";
}

TEST_F(EditorLevelFileTest, OldLayoutLoadsIntoOneGroupWithTheIdentity) {
    YLevelData old;
    old.oldLayout = true;
    old.scale = YVector(2, 2, 1);
    old.environment = "sky";
    old.bonusCounts = {0, 0, 1};
    YLevelSet set;
    YLevelBlock b;
    b.x = 4;
    b.material = "stone";
    b.bonus = 2;
    set.blocks = {b, b};
    set.blocks[1].x = 6;
    set.blocks[1].bonus = 2;
    old.sets = {set};
    std::string error;
    ASSERT_TRUE(WriteLevelFile("levels\\old.lev", old, error)) << error;
    Run("new_group");
    EXPECT_EQ(Run("load=old.lev"), std::vector<std::string>{"load= ok."});
    ASSERT_EQ(level.groups.size(), 1u);
    EXPECT_EQ(level.currentGroup, 0);
    const YMatrix identity = MatrixDiagonal(1.0f);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(level.groups[0].matrix.m[i], identity.m[i]) << i;
    EXPECT_EQ(level.groups[0].blocks.size(), 2u);
    EXPECT_EQ(level.bonusCounts[2].placed, 2);
    EXPECT_EQ(level.bonusCounts[2].count, 1) << "counts are read back as written, even below placed";
    EXPECT_FLOAT_EQ(scene.scale.x, 2.0f);
    EXPECT_EQ(level.levelName, "old.lev");
}

TEST_F(EditorLevelFileTest, ASavedCountHoldsAtLeastTheBonusesPlacedOnBlocks) {
    // Written by an older tool: kind 2 placed twice but counted 0, kind 5 placed once and counted 3,
    // kind 9 counted but not placed.
    YLevelData old;
    old.bonusCounts.assign(34, 0);
    old.bonusCounts[5] = 3;
    old.bonusCounts[9] = 2;
    YLevelSet set;
    for (int32_t x : {0, 2, 4, 6}) {
        YLevelBlock b;
        b.x = x;
        b.material = "stone";
        set.blocks.push_back(b);
    }
    set.blocks[0].bonus = 2;
    set.blocks[1].bonus = 5;
    set.blocks[3].bonus = 2;
    old.sets = {set};
    std::string error;
    ASSERT_TRUE(WriteLevelFile("levels\\low.lev", old, error)) << error;
    ASSERT_EQ(Run("load low.lev"), std::vector<std::string>{"load ok."});
    EXPECT_EQ(level.bonusCounts[2].count, 0) << "read as written";
    ASSERT_EQ(Run("save again.lev"), std::vector<std::string>{"save ok."});
    YLevelData saved;
    ASSERT_TRUE(ReadLevelFile("levels\\again.lev", saved, error)) << error;
    std::vector<int32_t> want(34, 0);
    want[2] = 2;
    want[5] = 3;
    want[9] = 2;
    EXPECT_EQ(saved.bonusCounts, want);
}

TEST_F(EditorLevelFileTest, AFileWithNoSetGivesOneEmptyGroup) {
    YLevelData none;
    none.bonusCounts.assign(34, 0);
    std::string error;
    ASSERT_TRUE(WriteLevelFile("levels\\none.lev", none, error)) << error;
    Run("action x new_group");
    EXPECT_EQ(Run("load none.lev"), std::vector<std::string>{"load ok."});
    ASSERT_EQ(level.groups.size(), 1u);
    EXPECT_TRUE(level.groups[0].blocks.empty());
    Run("action"); // the level is editable
    EXPECT_EQ(level.BlockCount(), 1);
}

TEST_F(EditorLevelFileTest, MissingEmptyTruncatedOrBrokenFilesLeaveTheLevelAsItWas) {
    BuildSample();
    ASSERT_EQ(Run("save good.lev"), std::vector<std::string>{"save ok."});
    const std::string good = dir.Read("levels/good.lev");
    dir.Write("levels/empty.lev", "");
    dir.Write("levels/cut.lev", good.substr(0, good.size() - 7));
    std::string wrongCount = good;
    wrongCount[4 + 4 + 12 + 8 + 2 + 6 + 2 + 5] = 99; // N, just after the two names
    dir.Write("levels/badcount.lev", wrongCount);
    const int blocks = level.BlockCount();
    for (const char* name : {"missing.lev", "empty.lev", "cut.lev", "badcount.lev"}) {
        EXPECT_EQ(Run(std::string("load ") + name), std::vector<std::string>{"load fail."}) << name;
        EXPECT_EQ(level.BlockCount(), blocks) << name;
        EXPECT_EQ(level.groups.size(), 2u) << name;
        EXPECT_FLOAT_EQ(scene.scale.x, 1.5f) << name;
    }
}

TEST_F(EditorLevelFileTest, AFailedLoadSaysWhyInTheConsole) {
    BuildSample();
    ASSERT_EQ(Run("save good.lev"), std::vector<std::string>{"save ok."});
    dir.Write("levels/empty.lev", "");
    dir.Write("levels/cut.lev", dir.Read("levels/good.lev").substr(0, 20));
    dir.MakeDir("levels/folder.lev");
    struct Case {
        const char* name;
        const char* reason;
    } cases[] = {
        {"missing.lev", "the file can't be opened"},
        {"folder.lev", "the file can't be opened"},
        {"empty.lev", "empty"},
        {"cut.lev", "past the end of the file"},
    };
    SetLogConsole(&editor.Console()); // the log's lines reach the console, as in the editor
    for (const Case& c : cases) {
        const std::vector<std::string> lines = Run(std::string("load ") + c.name);
        ASSERT_EQ(lines.size(), 2u) << c.name;
        EXPECT_EQ(lines[0].rfind("Load level error, ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(c.reason), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find(std::string("file: levels\\") + c.name), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1], "load fail.");
    }
    SetLogConsole(nullptr);
}

TEST_F(EditorLevelFileTest, AFailedSaveKeepsTheOldFileAndSaysSo) {
    BuildSample();
    ASSERT_EQ(Run("save=keep.lev"), std::vector<std::string>{"save= ok."});
    const std::string before = dir.Read("levels/keep.lev");
    // A material name the level file cannot hold.
    const std::string longName(120, 'q');
    scene.materials.push_back(longName);
    Run("move [0,0,1] m=" + longName + " action x");
    ASSERT_EQ(level.BlockCount(), 4);
    EXPECT_EQ(Run("save"), std::vector<std::string>{"save fail."});
    EXPECT_EQ(dir.Read("levels/keep.lev"), before);
    // No name: "levels\" is a folder.
    level.levelName.clear();
    EXPECT_EQ(Run("save"), std::vector<std::string>{"save fail."});
    // A folder that cannot hold the file.
    std::filesystem::remove_all("levels");
    dir.Write("levels", "not a folder");
    Run("clear");
    EXPECT_EQ(Run("save=keep.lev"), std::vector<std::string>{"save= fail."});
}

// A disk that fills up during the write: the process may write no file beyond a few bytes, as if the
// disk were full. The old level stays whole, the console says so, and no half file is left behind.
TEST_F(EditorLevelFileTest, ASaveOntoAFullDiskKeepsTheOldFileAndSaysSo) {
    BuildSample();
    ASSERT_EQ(Run("save=keep.lev"), std::vector<std::string>{"save= ok."});
    const std::string before = dir.Read("levels/keep.lev");
    ASSERT_GT(before.size(), 64u);
    Run("move [0,0,1] action x");

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = old;
    tight.rlim_cur = 32;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const std::vector<std::string> answer = Run("save");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(answer, std::vector<std::string>{"save fail."});
    EXPECT_EQ(dir.Read("levels/keep.lev"), before);
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path() / "levels")) {
        (void)e;
        ++files;
    }
    EXPECT_EQ(files, 1) << "a temporary file was left beside the level";
}

} // namespace

namespace {

// The shipped starter levels (kept as the level reader's fuzz corpus) open in the editor and save
// back byte for byte; the old-layout one comes back in the current layout and then stays put.
TEST(EditorShippedLevels, LoadThenSaveGivesTheSameBytes) {
    namespace fs = std::filesystem;
    const fs::path corpus = fs::path(KORVELIN_SOURCE_DIR) / "fuzz" / "corpus" / "level_file";
    TempDir dir(true);
    dir.MakeDir("levels");
    LogReopen("");
    int checked = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(corpus)) {
        const std::string name = e.path().filename().string();
        fs::copy_file(e.path(), dir.path() / "levels" / name);
        YLevelData data;
        std::string error;
        if (!ReadLevelFile(("levels\\" + name).c_str(), data, error)) continue; // a broken sample
        EditorDataScene scene;
        EditorLevel level;
        level.scene = &scene;
        ASSERT_TRUE(LoadEditorLevel(level, scene, "levels\\" + name, error)) << name << ": " << error;
        ASSERT_TRUE(SaveEditorLevel(level, scene, "levels\\again_" + name, error)) << name << ": " << error;
        if (data.oldLayout) {
            ASSERT_TRUE(LoadEditorLevel(level, scene, "levels\\again_" + name, error)) << name;
            ASSERT_TRUE(SaveEditorLevel(level, scene, "levels\\third_" + name, error)) << name;
            EXPECT_EQ(dir.Read("levels/again_" + name), dir.Read("levels/third_" + name)) << name;
        } else {
            EXPECT_EQ(dir.Read("levels/" + name), dir.Read("levels/again_" + name)) << name;
        }
        ++checked;
    }
    EXPECT_GE(checked, 10);
}

} // namespace
