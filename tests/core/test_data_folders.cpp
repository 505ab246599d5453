#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/data_folders.h"
#include "core/log.h"
#include "platform/sys/files.h"
#include "support/temp_dir.h"

namespace {

using testsupport::TempDir;

struct FolderCase {
    const char* name;
    std::vector<const char*> folders; // made in the game folder
    std::vector<const char*> files;   // plain files made in the game folder
    std::vector<std::string> missing;
};

TEST(DataFolders, MissingFoldersAreFound) {
    const FolderCase cases[] = {
        {"complete", {"data", "ui", "sounds"}, {}, {}}, {"empty", {}, {}, {"data", "ui"}},
        {"no data", {"ui", "levels"}, {}, {"data"}},    {"no ui", {"data"}, {}, {"ui"}},
        {"data is a file", {"ui"}, {"data"}, {"data"}}, {"names in other case", {"Data", "UI"}, {}, {}},
    };
    for (const FolderCase& c : cases) {
        TempDir tmp;
        for (const char* f : c.folders) std::filesystem::create_directory(tmp.path() / f);
        for (const char* f : c.files) std::ofstream(tmp.path() / f) << "x";
        EXPECT_EQ(MissingDataFolders(tmp.path().string()), c.missing) << c.name;
    }
}

TEST(DataFolders, MissingDataIsLoggedAndShown) {
    TempDir tmp;
    std::filesystem::create_directory(tmp.path() / "ui");
    const std::string logPath = (tmp.path() / "log.txt").string();
    LogReopen(logPath);
    std::vector<std::string> boxes;
    const bool ok =
        CheckDataFolders([&](const char* text, const char* title) { boxes.push_back(text); }, tmp.path().string());
    LogReopen("");
    std::string log;
    plat::ReadFile(logPath, log, 1 << 20, false);
    EXPECT_FALSE(ok);
    EXPECT_NE(log.find("folder data not found"), std::string::npos) << log;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("folder data was not found"), std::string::npos) << boxes[0];

    std::filesystem::create_directory(tmp.path() / "data");
    boxes.clear();
    EXPECT_TRUE(CheckDataFolders([&](const char* text, const char*) { boxes.push_back(text); }, tmp.path().string()));
    EXPECT_TRUE(boxes.empty());
}

} // namespace
