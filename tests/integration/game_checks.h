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

    // Ends the test's X server while copies still run on it.
    void StopServer() { server_->Stop(); }

    Scratch scratch;

private:
    std::unique_ptr<XServer> server_; // stopped before the scratch folder goes
    int runs_ = 0;
};

// The lines every start writes before anything else: the system check, then the product line.
// Runs xdotool with these arguments against the game's display.
inline CommandResult SendXdotool(GameProcess& game, const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunCommand(argv, game.Display(), std::chrono::seconds(5));
}

// A config.yml for a window at the back buffer's size, so that window pixels are the game's pixels.
inline void WriteWindowedConfig(const std::filesystem::path& folder) {
    std::ofstream config(folder / "config.yml");
    config << "<video fullscreen=\"0\" mode=\"800x600:32\"/>\n<window width=\"800\" height=\"600\" maximize=\"0\"/>\n";
}

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
