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

} // namespace
} // namespace itest
