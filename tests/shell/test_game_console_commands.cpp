// The game console's commands end in a save of the configuration; their answer says whether the
// save worked.
#include "shell/game_console_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/console.h"
#include "core/console_command.h"
#include "core/init.h"
#include "core/log.h"
#include "support/temp_dir.h"

namespace {

// Runs the game's commands as the game does, on a configuration of its own; quitting saves it.
struct GameCommands : YConsoleCommand {
    explicit GameCommands(Init& config) : init(config) {
        console.RegisterCommand("exit", GAME_CMD_EXIT);
        console.RegisterCommand("open_all_levels", GAME_CMD_OPEN_ALL_LEVELS);
    }
    void RunCommand(int id) override {
        RunGameConsoleCommand(console, init, id, [this] {
            ++quits;
            return init.Save();
        });
    }
    void SetVariable(int) override {}

    std::vector<std::string> Run(const std::string& line) {
        const std::size_t before = console.GetLineCount();
        console.Execute(line);
        std::vector<std::string> printed;
        for (std::size_t i = before; i < console.GetLineCount(); ++i) printed.push_back(console.GetLine(i));
        return printed;
    }

    Init& init;
    YConsole console{this};
    int quits = 0;
};

class GameConsoleCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogReopen("log.txt");
        dir.MakeDir("data");
        dir.Write("data/modes.yml", "<game name=\"classic\"></game>\n");
    }
    void TearDown() override {
        SetLogConsole(nullptr);
        LogReopen("");
    }

    // The commands on a new configuration read from `file`.
    GameCommands& Commands(const char* file) {
        init = std::make_unique<Init>();
        init->Load(file);
        commands = std::make_unique<GameCommands>(*init);
        SetLogConsole(nullptr); // the answers alone, without the log's echo
        return *commands;
    }
    std::string Log() const { return dir.Read("log.txt"); }

    testsupport::TempDir dir{true};
    std::unique_ptr<Init> init;
    std::unique_ptr<GameCommands> commands;
};

// Where the configuration goes: a file that can be written, a folder in its place, a folder
// that does not exist.
struct Target {
    const char* name;
    const char* file;
    bool makeFolder; // config.yml is made a folder, which no file can replace
    bool saves;
};
const Target kTargets[] = {
    {"writable", "config.yml", false, true},
    {"a folder in the way", "config.yml", true, false},
    {"no such folder", "gone\\config.yml", false, false},
};

TEST_F(GameConsoleCommandsTest, OpenAllLevelsAnswersWhetherTheSaveWorked) {
    for (const Target& t : kTargets) {
        SCOPED_TRACE(t.name);
        std::filesystem::remove_all(dir.File("config.yml"));
        if (t.makeFolder) dir.MakeDir("config.yml");
        LogReopen("log.txt");
        GameCommands& game = Commands(t.file);
        EXPECT_EQ(game.Run("open_all_levels"),
                  std::vector<std::string>{t.saves ? "open_all_levels ok." : "open_all_levels fail."});
        EXPECT_EQ(init->FindGameMode("classic")->openLevels, 10000); // opened for this run all the same
        EXPECT_EQ(game.quits, 0);
        if (t.saves) {
            EXPECT_NE(dir.Read("config.yml")
                          .find("<game name=\"classic\" level=\"-1\" scores=\"0\" lives=\"0\" player=\"\" "
                                "openLevels=\"10000\">"),
                      std::string::npos)
                << dir.Read("config.yml");
        } else {
            EXPECT_NE(Log().find("Configuration not saved"), std::string::npos) << Log();
        }
    }
}

TEST_F(GameConsoleCommandsTest, ExitQuitsAndAnswersWhetherTheSaveWorked) {
    for (const Target& t : kTargets) {
        SCOPED_TRACE(t.name);
        std::filesystem::remove_all(dir.File("config.yml"));
        if (t.makeFolder) dir.MakeDir("config.yml");
        GameCommands& game = Commands(t.file);
        EXPECT_EQ(game.Run("exit"), std::vector<std::string>{t.saves ? "exit ok." : "exit fail."});
        EXPECT_EQ(game.quits, 1);
    }
}

} // namespace
