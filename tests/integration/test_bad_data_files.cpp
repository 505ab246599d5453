// Damaged or hand-edited data files in the game folder: the game still starts, logs what it could
// not read, and quits cleanly with its configuration saved.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "integration/game_checks.h"

namespace itest {
namespace {

struct BadFiles {
    const char* name;
    // Files written over the game folder's own: path ('/' separated), content.
    std::vector<std::pair<const char*, std::string>> files;
    // A line of the log holds this ("" when the file reads without error).
    const char* logged;
};

const BadFiles kCases[] = {
    {"ConfigOfGarbage", {{"config.yml", "\x01\x02garbage<<<>>>\"\"\"\n<video mode=\""}}, "Init parser error, "},
    {"ConfigCutInsideAValue",
     {{"config.yml", "<config>\n  <video fullscreen=\"1\" mode=\"800x6"}},
     "Markup file config.yml ends inside"},
    {"ModesOfGarbage",
     {{"data/modes.yml", "<game name=\"a\" defaultProb=\"x\">\n<bonus prob=\"1e999\"><tip filename=\"z\">\n<<<\n"}},
     "Game mode config loader error, "},
    // Values that read without error but name no window the screen can have.
    {"WindowSizeUnusable",
     {{"config.yml", "<config>\n<video fullscreen=\"no\">\n<window width=\"-5\" height=\"abc\">\n</config>\n"}},
     ""},
    {"WindowLargerThanTheScreen",
     {{"config.yml", "<config>\n<video fullscreen=\"0\">\n<window width=\"100000\" height=\"100000\">\n</config>\n"}},
     ""},
    {"FullScreenModeNotAMode",
     {{"config.yml", "<config>\n<video fullscreen=\"1\" mode=\"junk\">\n</config>\n"}},
     "Video mode \"junk\" is not available, using "},
    {"FullScreenModeLargerThanTheScreen",
     {{"config.yml", "<config>\n<video fullscreen=\"1\" mode=\"40000x30000:32\">\n</config>\n"}},
     "Video mode \"40000x30000:32\" is not available, using "},
    {"LocaleOfGarbage", {{"ui/english/locale.yml", "<locale><str name=\"x\">unfinished<map incoming=\""}}, ""},
};

// Test names and messages show the case by its name.
void PrintTo(const BadFiles& c, std::ostream* os) { *os << c.name; }

class BadDataFile : public GameTest, public ::testing::WithParamInterface<BadFiles> {};

TEST_P(BadDataFile, GameStartsAndQuitsCleanly) {
    const BadFiles& c = GetParam();
    const std::filesystem::path folder = scratch.NewGameFolder("game");
    for (const auto& [path, content] : c.files) {
        std::ofstream(folder / path, std::ios::binary | std::ios::trunc) << content;
    }
    const std::vector<std::string> before = ListFolder(folder);

    auto game = Start(folder, {});
    const std::string window = WaitForWindow(*game, GAME_TITLE);
    ASSERT_FALSE(window.empty()) << "no game window; " << game->Describe() << "\n--- log.txt:\n"
                                 << ReadFile(folder / "log.txt");
    ASSERT_TRUE(PressUntilExit(*game, window, "F10")) << game->Describe();
    EXPECT_EQ(game->ExitCode(), 0) << game->Describe();

    const std::vector<std::string> log = ReadLines(folder / "log.txt");
    ExpectStartLines(log);
    if (*c.logged) {
        bool found = false;
        for (const std::string& line : log) found = found || line.find(c.logged) != std::string::npos;
        EXPECT_TRUE(found) << "no line with \"" << c.logged << "\" in:\n" << ReadFile(folder / "log.txt");
    }
    ExpectConfigSaved(folder, before);
}

INSTANTIATE_TEST_SUITE_P(Files, BadDataFile, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BadFiles>& info) { return std::string(info.param.name); });

} // namespace
} // namespace itest
