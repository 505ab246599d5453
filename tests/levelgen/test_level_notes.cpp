// The levels' notes tool (scripts/level-notes) over runs kept before, as playrun prints them: the
// table's counts and medians, the checks it prints, and the rewrite of the notes file that keeps
// the text outside its markers (or leaves a file with broken markers alone).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

const std::string BEGIN =
    "<!-- level-notes: begin (written by scripts/level-notes; edits between the markers are overwritten) -->";
const std::string END = "<!-- level-notes: end -->";

struct RunEnd {
    const char* outcome;
    int frames;
    int left;
    int hard;
    int ninety; // frame by which nine tenths were broken; -1 never
    bool byNext;
    int lost;
    int caught;
};

class LevelNotes : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.MakeDir("runs");
        dir_.MakeDir("src");
    }
    // playrun's output of the six seeds of `level`.
    void Runs(const std::string& level, const std::vector<RunEnd>& runs) {
        for (std::size_t i = 0; i < runs.size(); ++i) {
            const RunEnd& r = runs[i];
            dir_.Write("runs/" + level + "." + std::to_string(i + 1),
                       std::string("outcome: ") + r.outcome + "\nframes: " + std::to_string(r.frames) +
                           "\nscore: 100\nlives: 3\nblocks left: " + std::to_string(r.left) +
                           "\nballs lost: " + std::to_string(r.lost) + "\nbonuses caught: " + std::to_string(r.caught) +
                           "\nhash: 0123456789abcdef\nblocks at start: 40\nhard blocks left: " +
                           std::to_string(r.hard) + "\nninety percent at frame: " + std::to_string(r.ninety) +
                           "\nended by next bonus: " + (r.byNext ? "yes" : "no") +
                           "\ntable: marble\nsky: dusk\nbonuses: 5\nbonuses placed: 2\n");
        }
    }
    // Runs the tool on the kept runs; its exit code, its output in out_.
    int Tool() {
        const std::string command = "bash '" KORVELIN_SOURCE_DIR "/scripts/level-notes' --runs '" + dir_.File("runs") +
                                    "' --notes '" + dir_.File("README.md") + "' --sources '" + dir_.File("src") +
                                    "' > '" + dir_.File("out.txt") + "' 2>&1";
        const int status = std::system(command.c_str());
        out_ = dir_.Read("out.txt");
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // The table row of `level`.
    std::string Row(const std::string& level) const {
        const std::string notes = dir_.Read("README.md");
        const std::size_t at = notes.find("| " + level + " |");
        if (at == std::string::npos) return "";
        return notes.substr(at, notes.find('\n', at) - at);
    }

    testsupport::TempDir dir_;
    std::string out_;
};

TEST_F(LevelNotes, TheTableCountsClearsMediansAndSlogsAndTheChecksNameTheFaults) {
    dir_.Write("src/01_alpha.txt", "# Alpha: a wall to break.\ntable 20 20 marble\n");
    dir_.Write("src/02_beta.txt", "# Beta | two: towers that topple.\n");
    // No description file for the third: its name stands for its title.
    const char* DONE = "level complete";
    Runs("01_alpha", {{DONE, 1000, 0, 0, 900, false, 0, 1},
                      {DONE, 2000, 0, 0, 1500, false, 1, 2},
                      {DONE, 3000, 0, 0, 2500, false, 1, 2},
                      {DONE, 4000, 0, 0, 3900, false, 2, 3},
                      {DONE, 5000, 0, 0, 4500, false, 2, 3},
                      {DONE, 6000, 0, 0, 5500, false, 3, 4}});
    // Two clears by a Next bonus with a few hard blocks standing (slogs), a time-out and a game over.
    Runs("02_beta", {{DONE, 8000, 0, 0, 7000, false, 0, 0},
                     {DONE, 9000, 3, 3, -1, true, 1, 1},
                     {DONE, 10000, 2, 1, 8000, true, 1, 1},
                     {DONE, 11000, 0, 0, 10000, false, 1, 1},
                     {"running", 60000, 30, 2, -1, false, 4, 0},
                     {"game over", 20000, 12, 0, -1, false, 5, 0}});
    // Quicker than the one before it, and one run whose last tenth took most of its time.
    Runs("03_gamma", {{DONE, 4000, 0, 0, 3000, false, 0, 0},
                      {DONE, 4000, 0, 0, 3000, false, 0, 0},
                      {DONE, 4000, 0, 0, 3000, false, 0, 0},
                      {DONE, 5000, 0, 0, 1000, false, 0, 0},
                      {DONE, 5000, 0, 0, 4000, false, 0, 0},
                      {DONE, 5000, 0, 0, 4000, false, 0, 0}});
    dir_.Write("README.md", "# Levels\n\nHow levels are made.\n\n" + BEGIN + "\n| old | table |\n" + END +
                                "\n\nWritten by hand after the table.\n");

    ASSERT_EQ(Tool(), 0) << out_;
    const std::string notes = dir_.Read("README.md");
    EXPECT_EQ(notes.rfind("# Levels\n\nHow levels are made.\n\n" + BEGIN + "\n", 0), 0u) << notes;
    EXPECT_NE(notes.find(END + "\n\nWritten by hand after the table.\n"), std::string::npos) << notes;
    EXPECT_EQ(notes.find("| old | table |"), std::string::npos);

    EXPECT_EQ(Row("01_alpha"),
              "| 01_alpha | Alpha | marble | dusk | 40 | 5 (2 placed) | 6/6 | 0 | 3,500 (70 s) | 1 | 2 |  |  |");
    // Not cleared counts as the whole allowance: 8,000 9,000 10,000 11,000 60,000 60,000.
    EXPECT_EQ(Row("02_beta"),
              "| 02_beta | Beta \\| two | marble | dusk | 40 | 5 (2 placed) | 4/6 | 2 (3, 2 standing) | "
              "10,500 (210 s) | 1 | 0 | seed 5: 30 left (2 hard); seed 6: game over, 12 left (0 hard) | "
              "2/6 |");
    EXPECT_EQ(Row("03_gamma"),
              "| 03_gamma | gamma | marble | dusk | 40 | 5 (2 placed) | 6/6 | 0 | 4,500 (90 s) | 0 | 0 |  | 1/6 |");
    EXPECT_NE(notes.find("- 01_alpha, **Alpha**: a wall to break.\n"), std::string::npos) << notes;

    for (const std::string& check :
         {std::string("- Cleared in at least 5 of 6 seeds: 2 of 3 levels; not: 02_beta (4/6)."),
          std::string("- The median time to clear does not rise through the list (steps back of more than a quarter: "
                      "1); steps back at: 03_gamma (-58%)."),
          std::string("- Ended by a Next bonus with blocks standing (runs of 6): 02_beta (2)."),
          std::string("- Slogs: 02_beta (2 of 6: 2 with few hard blocks left, 0 with a long tail); 03_gamma (1 of "
                      "6: 0 with few hard blocks left, 1 with a long tail).")}) {
        EXPECT_NE(notes.find(check), std::string::npos) << check << "\n" << notes;
        EXPECT_NE(out_.find(check), std::string::npos) << check << "\n" << out_;
    }
}

TEST_F(LevelNotes, NotesWithoutMarkersGetTheTableAtTheEndAndBrokenMarkersAreLeftAlone) {
    const char* DONE = "level complete";
    Runs("01_alpha", std::vector<RunEnd>(6, RunEnd{DONE, 1000, 0, 0, 900, false, 0, 0}));
    struct Case {
        const char* name;
        std::string before; // the notes file; "" none
        int exitCode;
        std::string startsWith; // of the file afterwards
    };
    const Case cases[] = {
        {"no file: a heading and the table", "", 0, "# Levels\n\n" + BEGIN + "\n"},
        {"no markers: the table after the text", "# Notes\n\nText.\n", 0, "# Notes\n\nText.\n\n" + BEGIN + "\n"},
        {"a begin without an end: left alone", "# Notes\n" + BEGIN + "\nmine\n", 1, "# Notes\n" + BEGIN + "\nmine\n"},
        {"an end before the begin: left alone", END + "\n" + BEGIN + "\n", 1, END + "\n" + BEGIN + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir_.File("README.md"));
        if (!c.before.empty()) dir_.Write("README.md", c.before);
        EXPECT_EQ(Tool(), c.exitCode) << out_;
        const std::string notes = dir_.Read("README.md");
        EXPECT_EQ(notes.rfind(c.startsWith, 0), 0u) << notes;
        if (c.exitCode == 0) {
            EXPECT_NE(notes.find("| 01_alpha | alpha |"), std::string::npos) << notes;
        } else {
            EXPECT_EQ(notes, c.before);
        }
        // No temporary file is left beside the notes.
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path()))
            EXPECT_EQ(entry.path().filename().string().rfind(".level-notes", 0), std::string::npos);
    }
    // No runs at all: nothing to write.
    std::filesystem::remove_all(dir_.File("runs"));
    EXPECT_EQ(Tool(), 1) << out_;
}

} // namespace
