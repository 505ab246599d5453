#include "render/framework_start.h"

#include "core/framework.h"
#include "core/init.h"
#include "core/log.h"
#include "core/window_sizing.h"
#include "render/console_drawer.h"
#include "render/font_loader.h"
#include "render/render_hooks.h"
#include "render/shader_loader.h"
#include "render/video_mode.h"

void ApplyVideoMode(YFramework& framework, const std::string& modeText) {
    const YVideoMode mode = g_VideoModes.Resolve(modeText);
    // A size (or a depth) that is not offered gives way to another mode, which is then saved over
    // the text: say which text was given up, or the player's setting vanishes without a trace.
    const YVideoMode wanted = YVideoMode::FromString(modeText.c_str());
    if (wanted.width != mode.width || wanted.height != mode.height || (wanted.depth != 0 && wanted.depth != mode.depth))
        LogPrintf(g_Log, "Video mode \"%.80s\" is not available, using %s", modeText.c_str(), mode.ToString().c_str());
    framework.SetVideoMode(mode);
    // With no mode list (no renderer) the text is kept as written.
    GetInit().videoMode = g_VideoModes.Modes().empty() ? modeText : mode.ToString();
}

void StartFramework(YFramework& framework, YConsole* console, const YFrameworkStartSteps& steps) {
    InstallRenderHooks();
    CreateRenderer();
    ParseFontFile("data\\fonts.yml");
    ParseShaderFile("data\\shaders.yml");
    ParseShaderFile("data\\shaders_env.yml");
    ParseShaderFile("data\\shaders_blocks.yml");
    if (steps.loadData) steps.loadData();
    InstallConsoleDrawer(console);
    if (steps.beforeConfig) steps.beforeConfig();

    Init& init = GetInit();
    LogLine("Initialization...");
    init.Load("config.yml");

    ApplyVideoMode(framework, init.videoMode);
    int screenWidth = 0, screenHeight = 0;
    framework.Window().GetScreenSize(screenWidth, screenHeight);
    const YWindowSize size = FitWindowSize(init.windowWidth, init.windowHeight, screenWidth, screenHeight);
    init.windowWidth = size.width;
    init.windowHeight = size.height;
}
