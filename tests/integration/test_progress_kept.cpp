// The player's progress in "config.yml" outlives a run in which "data\modes.yml" could not be read:
// quitting writes the progress of the modes it did not know back as it was read, and once the
// modes file is whole again the game takes that progress up.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "integration/game_checks.h"

namespace itest {
namespace {

struct BrokenModes {
    const char* name;
    std::optional<std::string> content; // none: the file is removed
};

const BrokenModes kCases[] = {
    {"Missing", std::nullopt},
    {"Empty", std::string()},
    {"Garbage", std::string("\x01\x02garbage<<<>>>\"\"\"\n<game name=\"")},
    {"CutInsideTheFirstMode", std::string("<game name=\"easy\" bonusMode=\"2\" lowBall=\"1")},
    {"OnlyTheFirstMode", std::string("<game name=\"easy\"></game>\n<gme name=\"original\"></gme>\n")},
};

void PrintTo(const BrokenModes& c, std::ostream* os) { *os << c.name; }

const char* const kProgress[] = {
    "<game name=\"easy\" level=\"3\" scores=\"4500\" lives=\"2\" player=\"Ann\" openLevels=\"6\">",
    "<game name=\"original\" level=\"1\" scores=\"120\" lives=\"4\" player=\"Bo\" openLevels=\"2\">",
};

class ProgressKept : public GameTest, public ::testing::WithParamInterface<BrokenModes> {
protected:
    static void ExpectProgress(const std::filesystem::path& folder) {
        const std::string config = ReadFile(folder / "config.yml");
        for (const char* line : kProgress) {
            const std::string entry = std::string("  ") + line + "\n";
            const std::size_t at = config.find(entry);
            ASSERT_NE(at, std::string::npos) << "lost: " << line << "\n--- config.yml:\n" << config;
            EXPECT_EQ(config.find(line, at + entry.size()), std::string::npos) << "twice: " << line << "\n" << config;
        }
    }
};

TEST_P(ProgressKept, QuittingWithABrokenModesFileKeepsTheProgress) {
    const BrokenModes& c = GetParam();
    const std::filesystem::path folder = scratch.NewGameFolder("progress");
    const std::filesystem::path modes = folder / "data" / "modes.yml";
    const std::string whole = ReadFile(modes);
    ASSERT_NE(whole.find("<game name=\"original\""), std::string::npos) << "the shipped modes changed";
    {
        std::ofstream config(folder / "config.yml");
        config << "<config>\n  <video fullscreen=\"0\" mode=\"800x600:32\">\n"
                  "  <window width=\"800\" height=\"600\" maximize=\"0\">\n";
        for (const char* line : kProgress) config << "  " << line << "\n";
        config << "</config>\n";
    }
    if (c.content)
        std::ofstream(modes, std::ios::binary | std::ios::trunc) << *c.content;
    else
        std::filesystem::remove(modes);

    StartAndQuit(folder);
    if (HasFatalFailure()) return;
    ExpectProgress(folder);

    // The modes file mended: the game reads the progress into its modes and saves it from there.
    std::ofstream(modes, std::ios::binary | std::ios::trunc) << whole;
    StartAndQuit(folder);
    if (HasFatalFailure()) return;
    ExpectProgress(folder);
    EXPECT_EQ(ReadFile(folder / "log.txt").find("Game mode config loader error"), std::string::npos)
        << ReadFile(folder / "log.txt");
}

INSTANTIATE_TEST_SUITE_P(Modes, ProgressKept, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<BrokenModes>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace itest
