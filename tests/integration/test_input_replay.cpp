// A recorded session played back: the game run with KORVELIN_RECORD_INPUT writes every input
// message it handled to a file; a run with KORVELIN_REPLAY_INPUT plays that file instead of the
// window's input and reaches the same end (the same settings saved on the same quit).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "integration/game_checks.h"
#include "platform/window/message_recording.h"
#include "platform/window/win_messages.h"

namespace itest {
namespace {

// Sets an environment variable for the copies started while it lives.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) { setenv(name, value.c_str(), 1); }
    ~ScopedEnv() { unsetenv(name_); }

private:
    const char* name_;
};

void Send(GameProcess& game, const std::vector<std::string>& xdotoolArgs) {
    const CommandResult r = SendXdotool(game, xdotoolArgs);
    EXPECT_TRUE(r.finished && r.exitCode == 0) << xdotoolArgs[0] << ": " << r.output;
}

TEST_F(GameTest, ARecordedSessionReplaysToTheSameEnd) {
    const std::filesystem::path recording = scratch.Root() / "session.rec";
    const std::filesystem::path recorded = scratch.NewGameFolder("recorded");
    std::unique_ptr<GameProcess> game;
    {
        ScopedEnv record("KORVELIN_RECORD_INPUT", recording.string());
        game = Start(recorded, {});
    }
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << game->Describe();
    // The console, two settings typed into it, and the mouse.
    Send(*game, {"key", "--window", window, "ctrl+alt+shift+grave"});
    Send(*game, {"type", "--window", window, "shadows=0"});
    Send(*game, {"key", "--window", window, "Return"});
    Send(*game, {"type", "--window", window, "showtips=0"});
    Send(*game, {"key", "--window", window, "Return"});
    Send(*game, {"mousemove", "--window", window, "200", "150"});
    Send(*game, {"click", "--window", window, "1"});
    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
    ASSERT_EQ(game->ExitCode(), 0) << game->Describe();

    const std::string config = ReadFile(recorded / "config.yml");
    ASSERT_NE(config.find("shadows=\"0\""), std::string::npos) << config;
    ASSERT_NE(config.find("showtips=\"0\""), std::string::npos) << config;
    ASSERT_TRUE(std::filesystem::exists(recording)) << ReadFile(recorded / "log.txt");

    // The replay presses nothing: it ends by the recorded F10.
    const std::filesystem::path replayed = scratch.NewGameFolder("replayed");
    std::unique_ptr<GameProcess> replay;
    {
        ScopedEnv play("KORVELIN_REPLAY_INPUT", recording.string());
        replay = Start(replayed, {});
    }
    ASSERT_TRUE(replay->WaitExit()) << replay->Describe();
    EXPECT_EQ(replay->ExitCode(), 0) << replay->Describe();
    EXPECT_EQ(ReadFile(replayed / "config.yml"), config);
    EXPECT_NE(ReadFile(replayed / "log.txt").find("Replaying "), std::string::npos) << ReadFile(replayed / "log.txt");
}

TEST_F(GameTest, ABurstOfTypingDoesNotHoldOffF10) {
    // 20,000 characters typed at once and F10 after them: handled a queue-full per frame, the game
    // quits well inside the process deadline (one frame per character takes over three minutes at
    // the game's most of 100 frames a second).
    std::vector<plat::RecordedMessage> burst;
    for (int i = 0; i < 20000; ++i) burst.push_back({0, {plat::WM_CHAR, static_cast<plat::WPARAM>('a' + i % 26), 1}});
    burst.push_back({0, {plat::WM_SYSKEYDOWN, plat::VK_F10, plat::MakeLParam(1, 0)}});
    const std::filesystem::path recording = scratch.Root() / "burst.rec";
    {
        std::ofstream out(recording, std::ios::binary);
        out << plat::FormatRecording(burst);
    }
    const std::filesystem::path folder = scratch.NewGameFolder("burst");
    std::unique_ptr<GameProcess> game;
    {
        ScopedEnv play("KORVELIN_REPLAY_INPUT", recording.string());
        game = Start(folder, {});
    }
    ASSERT_TRUE(game->WaitExit()) << game->Describe();
    EXPECT_EQ(game->ExitCode(), 0) << game->Describe();
}

TEST_F(GameTest, AnUnreadableRecordingIsLoggedAndTheGameRunsAsUsual) {
    const std::filesystem::path folder = scratch.NewGameFolder("damaged");
    const std::filesystem::path recording = scratch.Root() / "damaged.rec";
    {
        std::ofstream out(recording, std::ios::binary);
        out << "KVINPUT1\x05\x00\x00\x00 cut short";
    }
    std::unique_ptr<GameProcess> game;
    {
        ScopedEnv play("KORVELIN_REPLAY_INPUT", recording.string());
        game = Start(folder, {});
    }
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << game->Describe();
    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
    EXPECT_EQ(game->ExitCode(), 0) << game->Describe();
    EXPECT_NE(ReadFile(folder / "log.txt").find("Input replay not started: "), std::string::npos)
        << ReadFile(folder / "log.txt");
}

} // namespace
} // namespace itest
