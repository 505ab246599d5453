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
    // A mode's bonus tag that is not named after the kind at its place.
    {"ModesBonusMisnamed",
     {{"data/modes.yml", "<game name=\"easy\">\n<bonus name=\"ball_heavy\" prob=\"5\"/>\n</game>\n"}},
     "Game mode config loader error, Bonus 0 is named \"ball_heavy\" but sets kind 0"},
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

    StartAndQuit(folder);
    if (HasFatalFailure()) return;

    const std::vector<std::string> log = ReadLines(folder / "log.txt");
    ExpectStartLines(log);
    if (*c.logged) {
        bool found = false;
        for (const std::string& line : log) found = found || line.find(c.logged) != std::string::npos;
        EXPECT_TRUE(found) << "no line with \"" << c.logged << "\" in:\n" << ReadFile(folder / "log.txt");
    }
    ExpectConfigSaved(folder, before);
}

// Shipped files damaged in the game folder: cut to a part of their length, or with one bit flipped.
// Each is named in the log by the path the game knows it by.
struct DamagedFile {
    const char* name;
    const char* path;   // '/' separated, in the game folder
    double keep;        // the part of the file kept
    long flipBit;       // a bit to flip (-1: none)
    const char* logged; // a line of the log holds this
};

const DamagedFile kDamaged[] = {
    {"CompletePageCutInHalf", "ui/english/complete.yml", 0.5, -1,
     "Layout parser error, file: ui\\english\\complete.yml"},
    {"BricksPageCutInHalf", "ui/english/bricks.yml", 0.5, -1, "Layout parser error, file: ui\\english\\bricks.yml"},
    {"TipPageCutInHalf", "ui/english/tip_aim.yml", 0.5, -1, "Layout parser error, file: ui\\english\\tip_aim.yml"},
    {"SoundCutInHalf", "sounds/def_stroke1.wav", 0.5, -1, "Invalid WAV format sounds\\def_stroke1.wav"},
    // Bit 1 of the channel count: a mono effect that says it has three channels.
    {"SoundWithAFlippedHeaderBit", "sounds/def_stroke1.wav", 1.0, 22 * 8 + 1,
     "WAV file sounds\\def_stroke1.wav looks damaged"},
};

void PrintTo(const DamagedFile& c, std::ostream* os) { *os << c.name; }

class DamagedDataFile : public GameTest, public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(DamagedDataFile, IsNamedInTheLogAndTheGameQuitsCleanly) {
    const DamagedFile& c = GetParam();
    const std::filesystem::path folder = scratch.NewGameFolder("game");
    std::string bytes = ReadFile(folder / c.path);
    ASSERT_GT(bytes.size(), 100u) << c.path;
    bytes.resize(static_cast<size_t>(static_cast<double>(bytes.size()) * c.keep));
    if (c.flipBit >= 0) bytes[static_cast<size_t>(c.flipBit / 8)] ^= static_cast<char>(1 << (c.flipBit % 8));
    std::ofstream(folder / c.path, std::ios::binary | std::ios::trunc) << bytes;

    StartAndQuit(folder);
    if (HasFatalFailure()) return;

    bool found = false;
    for (const std::string& line : ReadLines(folder / "log.txt"))
        found = found || line.find(c.logged) != std::string::npos;
    EXPECT_TRUE(found) << "no line with \"" << c.logged << "\" in:\n" << ReadFile(folder / "log.txt");
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedDataFile, ::testing::ValuesIn(kDamaged),
                         [](const ::testing::TestParamInfo<DamagedFile>& info) {
                             return std::string(info.param.name);
                         });

// Started in a folder without its data, the game and the editor say what is missing and end at
// once, instead of opening a window with nothing in it.
TEST_F(GameTest, MissingDataFolderIsToldAndTheProgramEnds) {
    const std::vector<std::vector<std::string>> starts = {{}, {"-e"}};
    for (const std::vector<std::string>& args : starts) {
        SCOPED_TRACE(args.empty() ? "game" : "editor");
        const std::filesystem::path folder = scratch.NewGameFolder(args.empty() ? "game" : "editor");
        std::filesystem::remove_all(folder / "data");
        auto game = Start(folder, args);
        ASSERT_TRUE(game->WaitExit()) << game->Describe();
        EXPECT_EQ(game->ExitCode(), 1) << game->Describe();

        const std::vector<std::string> log = ReadLines(folder / "log.txt");
        const std::string all = ReadFile(folder / "log.txt");
        bool logged = false, told = false, device = false;
        for (const std::string& line : log) {
            logged = logged || line.find("folder data not found") != std::string::npos;
            // With no one to answer it, the message box writes its text to the log.
            told = told || (line.rfind("Message box (Korvelin): ", 0) == 0 &&
                            line.find("folder data was not found") != std::string::npos);
            device = device || line.find("D3D object created") != std::string::npos;
        }
        EXPECT_TRUE(logged) << all;
        EXPECT_TRUE(told) << all;
        EXPECT_FALSE(device) << "the program went on to open its window:\n" << all;
        EXPECT_FALSE(std::filesystem::exists(folder / "config.yml"));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BadDataFile, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BadFiles>& info) { return std::string(info.param.name); });

} // namespace
} // namespace itest
