// What a start does to the game folder before the game runs: a second copy leaves the running
// copy's log whole, and temporary files of saves that a kill cut short are removed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "integration/game_checks.h"

namespace itest {
namespace {

TEST_F(GameTest, ASecondCopyInTheSameFolderLeavesTheRunningCopysLogWhole) {
    const std::filesystem::path folder = scratch.NewGameFolder("shared");
    auto first = Start(folder, {});
    const std::string window = WaitForWindow(*first, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << first->Describe();

    auto second = Start(folder, {});
    ASSERT_TRUE(second->WaitExit()) << second->Describe();
    EXPECT_EQ(second->ExitCode(), 0) << second->Describe();

    ASSERT_TRUE(PressUntilExit(*first, window, "F10")) << first->Describe();
    const std::string log = ReadFile(folder / "log.txt");
    EXPECT_EQ(log.find('\0'), std::string::npos) << "the log was cut short under the running copy";
    ExpectStartLines(ReadLines(folder / "log.txt"));
    EXPECT_NE(log.find("Initialization..."), std::string::npos) << log;
}

TEST_F(GameTest, TemporaryFilesOfAKilledSaveAreRemovedAtStart) {
    const std::filesystem::path folder = scratch.NewGameFolder("killed");
    // pid 2^22 + 1 lies beyond every pid this system hands out.
    const std::string stale = "config.yml.tmp4194305_123";
    std::ofstream(folder / stale) << "<config>\n  <video";
    auto game = Start(folder, {});
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << game->Describe();
    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
    EXPECT_FALSE(std::filesystem::exists(folder / stale));
    EXPECT_NE(ReadFile(folder / "log.txt").find("Removed 1 stale temporary files"), std::string::npos);
}

TEST_F(GameTest, TemporaryFilesOfAKilledSaveAreRemovedInEveryFolderTheGameWrites) {
    const std::filesystem::path folder = scratch.NewGameFolder("killed-below");
    // pid 2^22 + 1 lies beyond every pid this system hands out.
    const std::vector<std::string> stale = {
        "levels/level01.lev.tmp4194305_17",       // a level saved from the editor
        "levels/mine/custom.lev.tmp4194305_18",   // one in a folder of the player's
        "levels/thumb/level01.bmp.tmp4194305_19", // a level picture
        "mesh/ball2.meb.tmp4194305_20",           // a mesh cache
        "data/path.cpb.tmp4194305_21",            // the camera path cache
    };
    // The player's own files, named like temporary files but not of the writer's pattern.
    const std::vector<std::string> kept = {
        "levels/mine/custom.lev",
        "levels/mine/custom.lev.tmp",
        "levels/mine/custom.lev.tmp4194305_old",
        "levels/mine/backup.tmp4194305",
    };
    for (const std::vector<std::string>* names : {&stale, &kept}) {
        for (const std::string& name : *names) {
            std::filesystem::create_directories((folder / name).parent_path());
            std::ofstream(folder / name) << "half";
        }
    }
    auto game = Start(folder, {});
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << game->Describe();
    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
    for (const std::string& name : stale) EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    for (const std::string& name : kept) EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    EXPECT_NE(ReadFile(folder / "log.txt").find("Removed 5 stale temporary files"), std::string::npos)
        << ReadFile(folder / "log.txt");
}

TEST_F(GameTest, ALostDisplaySavesTheSettingsAndEndsWithAnErrorCode) {
    const std::filesystem::path folder = scratch.NewGameFolder("lost");
    const std::vector<std::string> before = ListFolder(folder);
    auto game = Start(folder, {});
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << game->Describe();
    StopServer();
    ASSERT_TRUE(game->WaitExit()) << game->Describe();
    EXPECT_EQ(game->ExitCode(), 3) << game->Describe();
    EXPECT_NE(ReadFile(folder / "log.txt").find("Display connection lost"), std::string::npos)
        << ReadFile(folder / "log.txt");
    ExpectConfigSaved(folder, before);
}

TEST_F(GameTest, GarbledWindowSizesAreFittedOnceAndSavedFitted) {
    const std::filesystem::path folder = scratch.NewGameFolder("garbled");
    std::ofstream(folder / "config.yml") << "<config>\n  <video fullscreen=\"0\">\n"
                                            "  <window width=\"-5\" height=\"99999999999\">\n</config>\n";
    auto game = Start(folder, {});
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << game->Describe();
    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
    const std::string config = ReadFile(folder / "config.yml");
    EXPECT_NE(config.find("<window width=\"800\" height=\"600\""), std::string::npos) << config;
}

} // namespace
} // namespace itest
