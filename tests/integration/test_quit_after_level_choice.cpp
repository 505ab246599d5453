// Quitting after the level choice was shown: its pictures are made and drawn, and the game must
// still end cleanly (exit code 0, nothing logged as an error, the configuration saved).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "integration/game_checks.h"

namespace itest {
namespace {

void Send(GameProcess& game, const std::vector<std::string>& args) { SendXdotool(game, args); }

TEST_F(GameTest, QuitsCleanlyAfterTheLevelChoice) {
    const std::filesystem::path folder = scratch.NewGameFolder("choice");
    // No pictures yet: the level choice makes every one of them.
    std::filesystem::remove_all(folder / "levels" / "thumb");
    WriteWindowedConfig(folder);
    auto game = Start(folder, {});
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << game->Describe();

    const std::filesystem::path shot = scratch.Root() / "shot.ppm";

    // Each step waits for the picture of the state it leads to.
    ASSERT_TRUE(ReachTheMainMenu(*game, window, shot)) << "the main menu never showed; " << game->Describe();
    Send(*game, {"mousemove", "--window", window, "400", "280"});
    Send(*game, {"click", "--window", window, "1"}); // "Easy game": the level choice
    // The choice on screen: its pictures were made and frames of it drawn.
    ASSERT_TRUE(WaitForPicture(*game, window, shot, ShowsTheLevelChoice))
        << "the level choice never showed; " << game->Describe();
    ASSERT_TRUE(game->Running()) << game->Describe();

    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
    EXPECT_EQ(game->ExitCode(), 0) << game->Describe();
    const std::string log = ReadFile(folder / "log.txt");
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
    EXPECT_NE(log.find("D3D Released."), std::string::npos) << log;
}

} // namespace
} // namespace itest
