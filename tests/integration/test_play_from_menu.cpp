// A player's way into a level: past the slide show, "Easy game" on the main menu, Enter on the
// level choice; the game then shows the table over the whole window instead of the menus' band.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "integration/game_checks.h"

namespace itest {
namespace {

// Whether the band above the menus' 3D view (the top and bottom 15 % of the window, black in the
// menus apart from the page) shows the scene in its lower left corner: the game view fills the
// window only in play.
bool ShowsTheGameView(const Picture& p) {
    int lit = 0, total = 0;
    for (int y = p.height * 93 / 100; y < p.height; y += 2)
        for (int x = 0; x < p.width / 5; x += 2, ++total) lit += p.Lit(x, y);
    return lit * 2 > total;
}

// The first level's wooden blocks stand in the far half of the table (warm brown, where the table's
// marble is green and white), and the hero waits at the near edge under the mouse in his blue
// shirt (no blue anywhere on the table).
bool ShowsBlocksAndHero(const Picture& p) {
    const auto warm = [](int r, int g, int b) { return r > b + 40 && r > g + 15; };
    const auto blue = [](int r, int g, int b) { return b > r + 40 && b > g + 20; };
    const auto blocks = CountPixels(p, 0.3f, 0.7f, 0.2f, 0.45f, warm);
    const auto hero = CountPixels(p, 0.3f, 0.7f, 0.75f, 0.95f, blue);
    return blocks.first * 20 > blocks.second && hero.first >= 10;
}

void Send(GameProcess& game, const std::vector<std::string>& args) { SendXdotool(game, args); }

TEST_F(GameTest, EasyGameFromTheMainMenuStartsTheFirstLevel) {
    const std::filesystem::path folder = scratch.NewGameFolder("play");
    WriteWindowedConfig(folder);
    auto game = Start(folder, {});
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << game->Describe();
    const std::filesystem::path shot = scratch.Root() / "shot.ppm";

    // Each step waits for the picture of the state it leads to (frames are slow on a software
    // renderer, and slower still in a sanitizer build), then takes the next.
    ASSERT_TRUE(ReachTheMainMenu(*game, window, shot)) << "the main menu never showed; " << game->Describe();

    Send(*game, {"mousemove", "--window", window, "400", "280"});
    Send(*game, {"click", "--window", window, "1"}); // "Easy game"
    ASSERT_TRUE(WaitForPicture(*game, window, shot, ShowsTheLevelChoice))
        << "the level choice never showed; " << game->Describe();

    Send(*game, {"key", "--window", window, "Return"}); // the first level
    ASSERT_TRUE(WaitForPicture(*game, window, shot, ShowsTheGameView))
        << "the game view never filled the window; " << game->Describe();
    EXPECT_TRUE(WaitForPicture(*game, window, shot, ShowsBlocksAndHero)) << "no blocks or no hero on the table in play";
    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
}

} // namespace
} // namespace itest
