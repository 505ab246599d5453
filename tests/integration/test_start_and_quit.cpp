// The executable as a player meets it: start, the single-copy rule and its switches, the editor,
// and every way of quitting that saves the configuration.
#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "integration/game_checks.h"

namespace itest {
namespace {

TEST_F(GameTest, StartsLogsItsStartAndQuitsOnF10) {
    const std::filesystem::path folder = scratch.NewGameFolder("game");
    const std::vector<std::string> before = ListFolder(folder);
    auto game = Start(folder, {});
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << "no game window; " << game->Describe();

    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
    EXPECT_EQ(game->ExitCode(), 0) << game->Describe();
    ExpectStartLines(ReadLines(folder / "log.txt"));
    ExpectConfigSaved(folder, before);
}

TEST_F(GameTest, SecondCopyEndsAtOnceUnlessStartedWithTwo) {
    const std::filesystem::path firstFolder = scratch.NewGameFolder("first");
    auto first = Start(firstFolder, {});
    const std::string firstWindow = WaitForWindow(*first, GAME_TITLE);
    ASSERT_FALSE(firstWindow.empty()) << first->Describe();

    const std::filesystem::path secondFolder = scratch.NewGameFolder("second");
    auto second = Start(secondFolder, {});
    ExpectEndedAtOnce(*second, secondFolder);

    // "-2" runs a game whatever other copy runs; and while it runs, it too keeps a copy without a
    // switch from starting, also after the first copy has gone.
    const std::filesystem::path twoFolder = scratch.NewGameFolder("two");
    const std::vector<std::string> twoBefore = ListFolder(twoFolder);
    auto two = Start(twoFolder, {"-2"});
    const std::string twoWindow = WaitForWindow(*two, GAME_TITLE);
    ASSERT_FALSE(twoWindow.empty()) << two->Describe();

    ASSERT_TRUE(PressUntilExit(*first, firstWindow, "F10")) << first->Describe();
    EXPECT_EQ(first->ExitCode(), 0) << first->Describe();

    const std::filesystem::path thirdFolder = scratch.NewGameFolder("third");
    auto third = Start(thirdFolder, {});
    ExpectEndedAtOnce(*third, thirdFolder);

    ASSERT_TRUE(PressUntilExit(*two, twoWindow, "F10")) << two->Describe();
    EXPECT_EQ(two->ExitCode(), 0) << two->Describe();
    ExpectConfigSaved(twoFolder, twoBefore);
}

TEST_F(GameTest, EditorSwitchStartsTheLevelEditorBeforeTheSingleCopyRule) {
    const std::filesystem::path folder = scratch.NewGameFolder("editor");
    const std::vector<std::string> before = ListFolder(folder);
    auto editor = Start(folder, {"-e"});
    const std::string window = WaitForWindow(*editor, EDITOR_TITLE);
    ASSERT_FALSE(window.empty()) << "no editor window; " << editor->Describe();

    // The editor holds the single-copy lock: a game without a switch ends at once...
    const std::filesystem::path gameFolder = scratch.NewGameFolder("game");
    auto game = Start(gameFolder, {});
    ExpectEndedAtOnce(*game, gameFolder);
    // ...while another editor starts.
    const std::filesystem::path otherFolder = scratch.NewGameFolder("other");
    auto other = Start(otherFolder, {"-E"});
    EXPECT_FALSE(WaitForWindow(*other, EDITOR_TITLE).empty()) << other->Describe();
    other->Signal(SIGINT);
    ASSERT_TRUE(other->WaitExit()) << other->Describe();

    // The editor leaves F10 to its own keys and quits by its console or by closing its window;
    // the close request is what an interrupt becomes.
    editor->Signal(SIGINT);
    ASSERT_TRUE(editor->WaitExit()) << editor->Describe();
    EXPECT_EQ(editor->ExitCode(), 0) << editor->Describe();
    ExpectStartLines(ReadLines(folder / "log.txt"));
    ExpectConfigSaved(folder, before);
}

class QuitBySignal : public GameTest, public ::testing::WithParamInterface<int> {};

TEST_P(QuitBySignal, ClosesTheGameAndSavesTheConfiguration) {
    const std::filesystem::path folder = scratch.NewGameFolder("game");
    const std::vector<std::string> before = ListFolder(folder);
    auto game = Start(folder, {});
    ASSERT_FALSE(WaitForWindow(*game, GAME_TITLE).empty()) << game->Describe();

    game->Signal(GetParam());
    ASSERT_TRUE(game->WaitExit()) << game->Describe();
    EXPECT_EQ(game->ExitCode(), 0) << game->Describe();
    ExpectConfigSaved(folder, before);
}

INSTANTIATE_TEST_SUITE_P(TermAndInt, QuitBySignal, ::testing::Values(SIGTERM, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT");
                         });

} // namespace
} // namespace itest
