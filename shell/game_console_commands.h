#pragma once
// The game console's commands ("exit", "open_all_levels"): what each does and the answer it
// prints. Both end in saving the configuration, and the answer says whether that worked: "<name>
// ok." when it was saved, "<name> fail." when not (the log tells why).
#include <functional>

class Init;
class YConsole;

// Runs the command `id` (GAME_CMD_*) of the statement the console is executing. `saveAndQuit`
// saves the configuration, ends the game and returns whether the configuration was saved. Ids that
// name no command do nothing.
void RunGameConsoleCommand(YConsole& console, Init& init, int id, const std::function<bool()>& saveAndQuit);
