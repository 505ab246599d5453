#pragma once
// The start-up sequence that the game's and the editor's frameworks share, in its order:
//   1. the renderer's hooks, the renderer and its mode list (render_hooks.h);
//   2. the render data: "data\fonts.yml", "data\shaders.yml", "data\shaders_env.yml" and
//      "data\shaders_blocks.yml", then the framework's own data files (`loadData`);
//   3. the console's drawer;
//   4. what the framework reads before the configuration (`beforeConfig`: the game's splash show);
//   5. "Initialization..." in the log, then "config.yml";
//   6. the configured video mode resolved against the mode list, and the window size fitted to the
//      screen, both once: the framework keeps the mode as a value (YFramework::VideoMode) and the
//      configuration the resolved text and size, which it saves as they are.
#include <functional>
#include <string>

class YConsole;
class YFramework;

struct YFrameworkStartSteps {
    std::function<void()> loadData;
    std::function<void()> beforeConfig;
};

void StartFramework(YFramework& framework, YConsole* console, const YFrameworkStartSteps& steps);

// The mode text resolved against the renderer's list and given to the framework and the
// configuration, as step 6 does (the console's video-mode variable uses it too).
void ApplyVideoMode(YFramework& framework, const std::string& modeText);
