#pragma once
// What the game's own tests share: a fixture that gives each test its scratch folder and X server
// (skipping when Xvfb or xdotool is missing) and starts copies of the game there, and the checks
// of what every clean run leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "integration/game_runner.h"

namespace itest {

constexpr const char* GAME_TITLE = "Korvelin";
constexpr const char* EDITOR_TITLE = "Level Editor";
constexpr const char* PRODUCT_LINE = "Korvelin v1.73";

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = ToolsUnavailableReason();
        if (!why.empty()) GTEST_SKIP() << why;
        server_ = std::make_unique<XServer>(scratch.Root() / "xvfb.log");
        ASSERT_TRUE(server_->Ok()) << server_->Error();
    }

    // Starts the game in `folder` on the test's X server.
    std::unique_ptr<GameProcess> Start(const std::filesystem::path& folder, const std::vector<std::string>& args) {
        const std::filesystem::path output =
            scratch.Root() / (folder.filename().string() + "-" + std::to_string(++runs_) + ".out");
        auto process = std::make_unique<GameProcess>(folder, scratch.RuntimeDir(), server_->Display(), args, output);
        EXPECT_TRUE(process->Started());
        return process;
    }

    // Starts the game in `folder`, waits for its window and quits with F10, expecting a clean end.
    void StartAndQuit(const std::filesystem::path& folder) {
        auto game = Start(folder, {});
        const std::string window = WaitForWindow(*game, GAME_TITLE);
        ASSERT_FALSE(window.empty()) << "no game window; " << game->Describe() << "\n--- log.txt:\n"
                                     << ReadFile(folder / "log.txt");
        ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
        EXPECT_EQ(game->ExitCode(), 0) << game->Describe();
    }

    // Ends the test's X server while copies still run on it.
    void StopServer() { server_->Stop(); }

    Scratch scratch;

private:
    std::unique_ptr<XServer> server_; // stopped before the scratch folder goes
    int runs_ = 0;
};

// Runs xdotool with these arguments against the game's display.
inline CommandResult SendXdotool(GameProcess& game, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunCommand(argv, game.Display(), COMMAND_TIMEOUT);
}

// A config.yml for a window at the back buffer's size, so that window pixels are the game's pixels.
inline void WriteWindowedConfig(const std::filesystem::path& folder) {
    std::ofstream config(folder / "config.yml");
    config << "<video fullscreen=\"0\" mode=\"800x600:32\"/>\n<window width=\"800\" height=\"600\" maximize=\"0\"/>\n";
}

// Pixels in a part of the picture (fractions of its size) that pass a colour test, and how many
// were looked at (every second pixel of every second row).
template <typename Test>
std::pair<int, int> CountPixels(const Picture& p, float x0, float x1, float y0, float y1, Test test) {
    int hits = 0, total = 0;
    for (int y = static_cast<int>(y0 * p.height); y < static_cast<int>(y1 * p.height); y += 2)
        for (int x = static_cast<int>(x0 * p.width); x < static_cast<int>(x1 * p.width); x += 2, ++total) {
            const unsigned char* c = p.At(x, y);
            hits += test(c[0], c[1], c[2]);
        }
    return {hits, total};
}

// The menus draw the 3D scene in the middle band of the window only (the top and bottom 15 % stay
// black apart from the page) and the slide show draws its pictures centred on black: the scene at
// the left edge of the middle band shows that a menu state is on screen.
inline bool ShowsTheMenuScene(const Picture& p) {
    const auto lit = CountPixels(p, 0.0f, 0.08f, 0.3f, 0.7f, [](int r, int g, int b) { return r + g + b > 30; });
    return lit.first * 2 > lit.second;
}

// The page's text is light grey-blue (e8ecf4); the level choice's title above the picker is gold.
inline bool PageText(int r, int g, int b) { return r > 190 && g > 190 && b > 200; }
inline bool GoldText(int r, int g, int b) { return r > 200 && g > 150 && b < 110 && r > b + 120; }

// The main menu, faded in: its scene, its first item ("Easy game", centred at 400, 280 of 800 x
// 600) in full brightness, and no level-choice title.
inline bool ShowsTheMainMenu(const Picture& p) {
    const auto item = CountPixels(p, 0.42f, 0.58f, 0.43f, 0.5f, PageText);
    const auto title = CountPixels(p, 0.2f, 0.8f, 0.02f, 0.09f, GoldText);
    return ShowsTheMenuScene(p) && item.first >= 20 && title.first < 10;
}

// The level choice, faded in: its scene and its gold title.
inline bool ShowsTheLevelChoice(const Picture& p) {
    const auto title = CountPixels(p, 0.2f, 0.8f, 0.02f, 0.09f, GoldText);
    return ShowsTheMenuScene(p) && title.first >= 20;
}

// Past the slide show into the main menu, faded in; false when it does not show within
// PROCESS_TIMEOUT. Escape ends the slide show and, in the main menu, shows the main menu again, so
// it is sent until the menu shows: that also covers a key that arrived before the window took
// input.
inline bool ReachTheMainMenu(GameProcess& game, const std::string& window, const std::filesystem::path& shot) {
    const auto deadline = Clock::now() + PROCESS_TIMEOUT;
    while (Clock::now() < deadline && game.Running()) {
        SendXdotool(game, {"key", "--window", window, "Escape"});
        if (ShowsTheMainMenu(Shoot(game, window, shot))) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    return false;
}

// The lines every start writes before anything else: the system check, then the product line.
inline void ExpectStartLines(const std::vector<std::string>& log) {
    ASSERT_GE(log.size(), 3u) << "log.txt holds too few lines";
    EXPECT_EQ(log[0].rfind("System version: ", 0), 0u) << log[0];
    EXPECT_EQ(log[1], "DirectX v8.1 installed");
    EXPECT_EQ(log[2], PRODUCT_LINE);
}

// A quit that saved the configuration: "config.yml" complete, and nothing in the game folder but
// it and "log.txt" that was not there before (a save leaves no temporary file behind).
inline void ExpectConfigSaved(const std::filesystem::path& folder, const std::vector<std::string>& before) {
    const std::string config = ReadFile(folder / "config.yml");
    EXPECT_EQ(config.rfind("<config>\n", 0), 0u) << config;
    const std::string end = "</config>\n";
    EXPECT_TRUE(config.size() >= end.size() && config.compare(config.size() - end.size(), end.size(), end) == 0)
        << config;
    EXPECT_NE(config.find("<game name="), std::string::npos) << config;
    for (const std::string& name : ListFolder(folder)) {
        const bool known = std::find(before.begin(), before.end(), name) != before.end();
        EXPECT_TRUE(known || name == "config.yml" || name == "log.txt") << "left behind: " << name;
    }
}

// A copy that ended at once: exit code 0, the start lines alone in its log, nothing saved.
inline void ExpectEndedAtOnce(GameProcess& process, const std::filesystem::path& folder) {
    ASSERT_TRUE(process.WaitExit()) << process.Describe();
    EXPECT_EQ(process.ExitCode(), 0) << process.Describe();
    const std::vector<std::string> log = ReadLines(folder / "log.txt");
    ExpectStartLines(log);
    EXPECT_EQ(log.size(), 3u) << "more than the start lines: " << ReadFile(folder / "log.txt");
    EXPECT_FALSE(std::filesystem::exists(folder / "config.yml"));
}

} // namespace itest
