#include "shell/game_console_commands.h"

#include <string>

#include "core/console.h"
#include "core/init.h"

namespace {

// Opens more levels than any level list holds.
constexpr int ALL_LEVELS = 10000;

std::string Answer(const YConsole& console, bool saved) { return console.GetNameText() + (saved ? " ok." : " fail."); }

} // namespace

void RunGameConsoleCommand(YConsole& console, Init& init, int id, const std::function<bool()>& saveAndQuit) {
    switch (id) {
        case GAME_CMD_EXIT: {
            const bool saved = saveAndQuit();
            console.Print(Answer(console, saved));
            break;
        }
        case GAME_CMD_OPEN_ALL_LEVELS:
            init.CurrentGameMode().openLevels = ALL_LEVELS;
            console.Print(Answer(console, init.Save()));
            break;
        default: break;
    }
}
