// Another language chosen on the options page: the apply button's command only asks for it, and
// the game reads every page again from the new language's folder at its next frame, once no
// control of the old pages is running. The game goes on in the main menu, changes back the same
// way, and quits cleanly with the language saved. A page rebuilt under the running button would
// show in a sanitizer build as a use after free, which ends the process with a failure.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "integration/game_checks.h"

namespace itest {
namespace {

// Where the controls lie in the 800 x 600 window (the pages are laid out on an 800 x 600 screen).
constexpr int OPTIONS_ITEM[2] = {400, 394};    // "Options" on the main menu (same place in German)
constexpr int LANGUAGE_SELECT[2] = {571, 293}; // the right arrow of the language selector
constexpr int APPLY_ITEM[2] = {330, 469};      // "Apply" on the options page, in both languages

void Click(GameProcess& game, const std::string& window, const int at[2]) {
    SendXdotool(game, {"mousemove", "--window", window, std::to_string(at[0]), std::to_string(at[1])});
    SendXdotool(game, {"click", "--window", window, "1"});
}

// Whether log.txt holds `line` after the first `after` lines; waits up to PROCESS_TIMEOUT.
bool WaitForLogLine(GameProcess& game, const std::filesystem::path& log, const std::string& line, std::size_t after) {
    const auto deadline = Clock::now() + PROCESS_TIMEOUT;
    while (Clock::now() < deadline && game.Running()) {
        const std::vector<std::string> lines = ReadLines(log);
        for (std::size_t i = after; i < lines.size(); ++i)
            if (lines[i] == line) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return false;
}

TEST_F(GameTest, AnotherLanguageRebuildsThePagesAndIsSaved) {
    const std::filesystem::path folder = scratch.NewGameFolder("language");
    WriteWindowedConfig(folder);
    const std::filesystem::path shot = scratch.Root() / "shot.ppm";
    const std::filesystem::path log = folder / "log.txt";
    // One run per change: the game starts in the language saved last and leaves in the other.
    for (const char* language : {"german", "english"}) {
        SCOPED_TRACE(language);
        auto game = Start(folder, {});
        const std::string window = WaitForWindow(*game, GAME_TITLE);
        ASSERT_FALSE(window.empty()) << game->Describe();
        // The pointer stays where the last run left it, over the main menu's items: it starts
        // from the top band, where no control lies, so only this run's clicks choose anything.
        SendXdotool(*game, {"mousemove", "--window", window, "20", "20"});
        ASSERT_TRUE(ReachTheMainMenu(*game, window, shot)) << "the main menu never showed; " << game->Describe();
        const std::size_t before = ReadLines(log).size();
        Click(*game, window, OPTIONS_ITEM);
        Click(*game, window, LANGUAGE_SELECT); // two languages: the next one is the other
        Click(*game, window, APPLY_ITEM);
        const std::string pages = std::string("ui\\") + language + "\\";
        for (const char* page : {"mainmenu.yml", "options.yml", "about.yml"})
            ASSERT_TRUE(WaitForLogLine(*game, log, "Parse layout " + pages + page, before))
                << page << " was not read again; " << game->Describe() << "\n--- log.txt:\n"
                << ReadFile(log);
        EXPECT_TRUE(WaitForPicture(*game, window, shot, ShowsTheMainMenu))
            << "no main menu after the change; " << game->Describe();
        ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
        ASSERT_EQ(game->ExitCode(), 0) << game->Describe();
        const std::string config = ReadFile(folder / "config.yml");
        EXPECT_NE(config.find(std::string("language=\"") + language + "\""), std::string::npos) << config;
    }
}

} // namespace
} // namespace itest
