#include "platform/sys/files.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

void WriteRaw(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

} // namespace

TEST(Files, BackslashPathsFallBackToCaseInsensitiveComponents) {
    TempDir tmp;
    WriteRaw(tmp.path() / "Data" / "Modes.YML", "x");
    const std::string root = tmp.path().string();
    struct Case {
        std::string in;
        std::string want;
    };
    const Case cases[] = {
        {root + "\\Data\\Modes.YML", root + "/Data/Modes.YML"},
        {root + "\\data\\modes.yml", root + "/Data/Modes.YML"},
        {root + "\\DATA\\missing.yml", root + "/Data/missing.yml"},
        {root + "\\nothere\\modes.yml", root + "/nothere/modes.yml"},
    };
    for (const Case& c : cases) EXPECT_EQ(plat::NativePath(c.in), c.want) << c.in;
}

TEST(Files, TextModeReadsCrLfAsLfAndStopsAtCtrlZ) {
    TempDir tmp;
    const fs::path p = tmp.path() / "t.txt";
    struct Case {
        std::string bytes;
        bool text;
        std::string want;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", true, "a\nb\n"},
        {"a\r\nb\r\n", false, "a\r\nb\r\n"},
        {"a\rb", true, "a\rb"},
        {"ab\x1A"
         "cd",
         true, "ab"},
        {"", true, ""},
    };
    for (const Case& c : cases) {
        WriteRaw(p, c.bytes);
        std::string out;
        ASSERT_EQ(plat::ReadFile(p.string(), out, 1024, c.text), plat::ReadStatus::Ok);
        EXPECT_EQ(out, c.want);
    }
}

TEST(Files, ReadRefusesMissingFoldersAndOversizedFiles) {
    TempDir tmp;
    WriteRaw(tmp.path() / "big.bin", std::string(5000, 'x'));
    std::string out = "stale";
    EXPECT_EQ(plat::ReadFile((tmp.path() / "none").string(), out, 100, false), plat::ReadStatus::Missing);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(plat::ReadFile(tmp.path().string(), out, 100, false), plat::ReadStatus::Missing);
    EXPECT_EQ(plat::ReadFile((tmp.path() / "big.bin").string(), out, 4999, false), plat::ReadStatus::TooLarge);
    EXPECT_EQ(plat::ReadFile((tmp.path() / "big.bin").string(), out, 5000, false), plat::ReadStatus::Ok);
    EXPECT_EQ(out.size(), 5000u);
}

TEST(Files, AtomicWriteReplacesWholeFileOrLeavesItAlone) {
    TempDir tmp;
    const fs::path p = tmp.path() / "config.yml";
    WriteRaw(p, "old");
    ASSERT_TRUE(plat::WriteFileAtomic(p.string(), "new contents"));
    std::string out;
    plat::ReadFile(p.string(), out, 100, false);
    EXPECT_EQ(out, "new contents");

    {
        plat::AtomicFile f;
        ASSERT_TRUE(f.Open(p.string()));
        f.Write("half", 4);
        // dropped without Commit
    }
    plat::ReadFile(p.string(), out, 100, false);
    EXPECT_EQ(out, "new contents");

    // A folder that does not exist cannot be written: reported, not called success.
    EXPECT_FALSE(plat::WriteFileAtomic((tmp.path() / "no" / "such.yml").string(), "x"));
    // No temporary files are left behind.
    int entries = 0;
    for (auto& e : fs::directory_iterator(tmp.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(Files, ListingMatchesWildcardsIgnoringCase) {
    TempDir tmp;
    WriteRaw(tmp.path() / "levels" / "A.LEV", "");
    WriteRaw(tmp.path() / "levels" / "b.lev", "");
    WriteRaw(tmp.path() / "levels" / "a.levx", "");
    fs::create_directories(tmp.path() / "levels" / "thumb.lev");
    auto list = plat::ListDirectory((tmp.path() / "levels").string() + "\\*.lev");
    std::vector<std::string> names;
    for (auto& e : list) names.push_back(e.name + (e.isDir ? "/" : ""));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"A.LEV", "b.lev", "thumb.lev/"}));
    EXPECT_TRUE(plat::ListDirectory((tmp.path() / "nothere").string() + "\\*").empty());
    auto q = plat::ListDirectory((tmp.path() / "levels").string() + "\\?.lev");
    EXPECT_EQ(q.size(), 2u);
}

TEST(Files, StaleTemporaryFilesOfEndedProcessesAreRemovedAndNoOthers) {
    testsupport::TempDir dir;
    // A process that has ended: its pid names no running process now.
    const pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) _exit(0);
    int status = 0;
    ASSERT_EQ(waitpid(ended, &status, 0), ended);
    const std::string dead = std::to_string(ended);
    const std::string mine = std::to_string(getpid());
    const std::vector<std::string> names = {
        "config.yml.tmp" + dead + "_12", // removed
        "scores.dat.tmp" + dead + "_7",  // removed
        "config.yml.tmp" + mine + "_5",  // this process: may be writing it
        "config.yml.tmp1_3",             // a running process
        "config.yml.tmp",                // not of the pattern
        "notes.tmp" + dead,              //
        "config.yml.tmp" + dead + "_x",  //
        "config.yml",                    //
    };
    for (const std::string& name : names) std::ofstream(dir.File(name)) << "x";
    fs::create_directory(dir.File("levels.tmp" + dead + "_1")); // a folder is left alone

    EXPECT_EQ(plat::RemoveStaleTempFiles(dir.Path().string()), 2);
    for (std::size_t i = 0; i < names.size(); ++i) EXPECT_EQ(fs::exists(dir.File(names[i])), i >= 2) << names[i];
    EXPECT_TRUE(fs::exists(dir.File("levels.tmp" + dead + "_1")));
    EXPECT_EQ(plat::RemoveStaleTempFiles(dir.File("missing")), 0);
}

TEST(Files, StaleTemporaryFilesAreRemovedInTheFoldersBelowDownToTheDepthGiven) {
    testsupport::TempDir dir;
    const pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) _exit(0);
    int status = 0;
    ASSERT_EQ(waitpid(ended, &status, 0), ended);
    const std::string dead = std::to_string(ended);
    const std::string mine = std::to_string(getpid());
    struct Entry {
        std::string path;
        bool removed;
    };
    const std::vector<Entry> entries = {
        {"config.yml.tmp" + dead + "_1", true},
        {"levels/my.lev.tmp" + dead + "_2", true},
        {"levels/thumb/my.bmp.tmp" + dead + "_3", true},
        {"mesh/ball.meb.tmp" + dead + "_4", true},
        {"data/path.cpb.tmp" + dead + "_5", true},
        {"a/b/c/deep.tmp" + dead + "_6", false}, // below the depth given
        {"levels/my.lev", false},
        {"levels/mine.lev.tmp" + mine + "_7", false}, // a running process
        {"levels/notes.tmp", false},
        {"levels/notes.tmp" + dead + "_x", false},
        {"levels/thumb/my.bmp", false},
    };
    for (const Entry& e : entries) WriteRaw(dir.File(e.path), "x");
    // A linked folder is not entered: what it holds belongs to another place.
    testsupport::TempDir elsewhere;
    WriteRaw(elsewhere.File("other.lev.tmp" + dead + "_8"), "x");
    fs::create_directory_symlink(elsewhere.Path(), dir.File("linked"));
    // A link named like a temporary file is not one.
    fs::create_symlink(dir.File("levels/my.lev"), dir.File("levels/link.lev.tmp" + dead + "_9"));

    EXPECT_EQ(plat::RemoveStaleTempFilesBelow(dir.Path().string(), 2), 5);
    for (const Entry& e : entries) EXPECT_EQ(fs::exists(dir.File(e.path)), !e.removed) << e.path;
    EXPECT_TRUE(fs::exists(elsewhere.File("other.lev.tmp" + dead + "_8")));
    EXPECT_TRUE(fs::is_symlink(dir.File("levels/link.lev.tmp" + dead + "_9")));

    EXPECT_EQ(plat::RemoveStaleTempFilesBelow(dir.Path().string(), 3), 1); // the deep one
    EXPECT_EQ(plat::RemoveStaleTempFilesBelow(dir.File("missing"), 3), 0);
}

TEST(Files, InPlaceWriteReplacesTheContentOfAnExistingFileOnly) {
    testsupport::TempDir dir;
    std::ofstream(dir.File("config.yml")) << "a longer old content that must go";
    EXPECT_TRUE(plat::WriteFileInPlace(dir.File("config.yml"), "new"));
    std::string back;
    ASSERT_EQ(plat::ReadFile(dir.File("config.yml"), back, 100, false), plat::ReadStatus::Ok);
    EXPECT_EQ(back, "new");
    EXPECT_FALSE(plat::WriteFileInPlace(dir.File("none.yml"), "x"));
    EXPECT_FALSE(fs::exists(dir.File("none.yml")));
}
