#include "core/file_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

using Names = std::vector<std::string>;

// A game folder: language folders made in reverse order, level files of mixed case and a few
// near misses.
class FileListTest : public ::testing::Test {
protected:
    testsupport::TempDir dir{true};

    void SetUp() override {
        for (const char* name : {"zeta", "english", "en.old", "_x", "Alpha"}) dir.MakeDir(std::string("ui/") + name);
        dir.Write("ui/readme.txt", "x");
        dir.MakeDir("levels/sub.lev");
        for (const char* name : {"b.lev", "A.LEV", "a.levx", "c.txt", "1.lev"})
            dir.Write(std::string("levels/") + name, "x");
    }
};

TEST_F(FileListTest, ListFilesFiltersByKindAndSortsByteWise) {
    struct Case {
        const char* pattern;
        bool directories;
        Names expected;
    };
    const Case cases[] = {
        {"ui\\*", true, {"Alpha", "_x", "en.old", "english", "zeta"}},
        {"ui\\*", false, {"readme.txt"}},
        {"levels\\*.lev", false, {"1.lev", "A.LEV", "b.lev"}},
        {"levels\\*.lev", true, {"sub.lev"}},
        {"LEVELS\\?.LEV", false, {"1.lev", "A.LEV", "b.lev"}},
        {"levels\\*.lev?", false, {"a.levx"}},
        {"nowhere\\*", true, {}},
        {"ui\\nothing*", true, {}},
        {"", false, {}},
    };
    for (const Case& c : cases) {
        Names names{"stale"};
        ListFiles(names, c.pattern, c.directories);
        EXPECT_EQ(names, c.expected) << c.pattern << " directories=" << c.directories;
    }
}

TEST_F(FileListTest, FileExistsNeedsTheRightKind) {
    struct Case {
        const char* path;
        bool directory;
        bool expected;
    };
    const Case cases[] = {
        {"ui\\english", true, true},    {"ui\\english", false, false},
        {"levels\\b.lev", false, true}, {"levels\\b.lev", true, false},
        {"UI\\ENGLISH", true, true},    {"levels\\B.LEV", false, true},
        {"ui\\french", true, false},    {"ui", true, true},
        {"nowhere\\x", false, false},
    };
    for (const Case& c : cases) EXPECT_EQ(FileExists(c.path, c.directory), c.expected) << c.path << " " << c.directory;
}

TEST_F(FileListTest, ScanKeepsTheFolderPartAndNamesStopAtTheFirstDot) {
    YFileList list;
    list.Scan("ui\\*", true);
    EXPECT_EQ(list.directory, "ui\\");
    ASSERT_EQ(list.entries, (Names{"Alpha", "_x", "en.old", "english", "zeta"}));
    EXPECT_EQ(list.GetNames(), (Names{"Alpha", "_x", "en", "english", "zeta"}));
    EXPECT_EQ(list.GetPath(2), "ui\\en.old");

    EXPECT_EQ(list.IndexOf("en", -1), 2); // the folder "en.old" is known as "en"
    EXPECT_EQ(list.IndexOf("english", -1), 3);
    EXPECT_EQ(list.IndexOf("ZETA", 7), 7); // names compare exactly
    EXPECT_EQ(list.IndexOf("", 7), 7);
}

TEST_F(FileListTest, PatternWithoutFolderGivesBarePaths) {
    YFileList list;
    list.Scan("u*", true);
    EXPECT_EQ(list.directory, "");
    ASSERT_EQ(list.entries, Names{"ui"});
    EXPECT_EQ(list.GetPath(0), "ui");
}

TEST_F(FileListTest, EmptyListGivesEmptyTextsForAnyIndex) {
    YFileList list;
    list.Scan("nowhere\\*", true);
    EXPECT_TRUE(list.entries.empty());
    EXPECT_EQ(list.IndexOf("english", 0), 0);
    // The fallback index of an empty list must not reach outside it.
    EXPECT_EQ(list.GetPath(0), "");
    EXPECT_EQ(list.GetName(0), "");
    EXPECT_EQ(list.GetName(-1), "");
}

} // namespace
