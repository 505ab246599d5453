// A player's way into a level: past the slide show, "Easy game" on the main menu, Enter on the
// level choice; the game then shows the table over the whole window instead of the menus' band.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "integration/game_checks.h"

namespace itest {
namespace {

// A screenshot of the window as a binary PPM; empty when it could not be taken.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    // Whether the pixel is brighter than near-black.
    bool Lit(int x, int y) const {
        const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 3;
        return rgb[i] + rgb[i + 1] + rgb[i + 2] > 30;
    }
};

Picture Shoot(GameProcess& game, const std::string& window, const std::filesystem::path& file) {
    Picture p;
    const CommandResult r = RunCommand({"import", "-window", window, "-depth", "8", file.string()}, game.Display(),
                                       std::chrono::seconds(20));
    if (!r.finished || r.exitCode != 0) return p;
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> p.width >> p.height >> maxValue;
    in.get();
    if (magic != "P6" || p.width <= 0 || p.height <= 0 || maxValue != 255 || p.width > 4096 || p.height > 4096)
        return {};
    p.rgb.resize(static_cast<size_t>(p.width) * static_cast<size_t>(p.height) * 3);
    in.read(reinterpret_cast<char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
    if (!in) return {};
    return p;
}

// Whether the band above the menus' 3D view (the top and bottom 15 % of the window, black in the
// menus apart from the page) shows the scene in its lower left corner: the game view fills the
// window only in play.
bool ShowsTheGameView(const Picture& p) {
    if (p.rgb.empty()) return false;
    int lit = 0, total = 0;
    for (int y = p.height * 93 / 100; y < p.height; y += 2)
        for (int x = 0; x < p.width / 5; x += 2, ++total) lit += p.Lit(x, y);
    return lit * 2 > total;
}

// Pixels in a part of the picture (fractions of its size) that pass a colour test, and how many
// were looked at.
template <typename Test>
std::pair<int, int> Count(const Picture& p, float x0, float x1, float y0, float y1, Test test) {
    int hits = 0, total = 0;
    for (int y = static_cast<int>(y0 * p.height); y < static_cast<int>(y1 * p.height); y += 2)
        for (int x = static_cast<int>(x0 * p.width); x < static_cast<int>(x1 * p.width); x += 2, ++total) {
            const size_t i = (static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)) * 3;
            hits += test(p.rgb[i], p.rgb[i + 1], p.rgb[i + 2]);
        }
    return {hits, total};
}

// The first level's wooden blocks stand in the far half of the table (warm brown, where the table's
// marble is green and white), and the hero waits at the near edge under the mouse in his blue
// shirt (no blue anywhere on the table).
bool ShowsBlocksAndHero(const Picture& p) {
    if (p.rgb.empty()) return false;
    const auto warm = [](int r, int g, int b) { return r > b + 40 && r > g + 15; };
    const auto blue = [](int r, int g, int b) { return b > r + 40 && b > g + 20; };
    const auto blocks = Count(p, 0.3f, 0.7f, 0.2f, 0.45f, warm);
    const auto hero = Count(p, 0.3f, 0.7f, 0.75f, 0.95f, blue);
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

    // Frames are slow on a software renderer and a fade takes a second of game time, so each
    // step waits well past its fade; a picture is taken until play shows or the deadline passes.
    Send(*game, {"key", "--window", window, "Escape"}); // the slide show
    std::this_thread::sleep_for(std::chrono::seconds(3));
    Send(*game, {"mousemove", "--window", window, "400", "280"});
    Send(*game, {"click", "--window", window, "1"}); // "Easy game"
    std::this_thread::sleep_for(std::chrono::seconds(6));
    Send(*game, {"key", "--window", window, "Return"}); // the first level
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    bool inPlay = false;
    while (!inPlay && Clock::now() < deadline && game->Running()) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        inPlay = ShowsTheGameView(Shoot(*game, window, shot));
    }
    EXPECT_TRUE(inPlay) << "the game view never filled the window";
    bool seen = false;
    const auto lookDeadline = Clock::now() + std::chrono::seconds(10);
    while (inPlay && !seen && Clock::now() < lookDeadline && game->Running()) {
        seen = ShowsBlocksAndHero(Shoot(*game, window, shot));
        if (!seen) std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    EXPECT_TRUE(seen) << "no blocks or no hero on the table in play";
    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
}

} // namespace
} // namespace itest
