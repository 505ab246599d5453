// The game window: made from the configuration, re-made when full screen is switched, and the
// size the configuration keeps for the next start.
#include "core/init.h"
#include "shell/game_framework.h"

namespace {

constexpr const char* PRODUCT_NAME = "Korvelin";

} // namespace

void GameFramework::CreateMainWindow() {
    Init& init = GetInit();
    maximized_ = !init.fullscreen && init.maximize;
    if (init.fullscreen)
        CreateFullscreen(PRODUCT_NAME, VideoMode());
    else
        CreateWindowed(PRODUCT_NAME, init.windowWidth, init.windowHeight);
}

void GameFramework::ToggleFullscreen() {
    Init& init = GetInit();
    DestroyFrameWindow();
    init.fullscreen = !IsFullScreen();
    CreateMainWindow();
}

void GameFramework::OnResize(int width, int height) {
    YFramework::OnResize(width, height);
    screen_.Resize(width, height);
    camera_.orbitView.SetWindowSize(width, height);
    if (IsFullScreen()) return;
    Init& init = GetInit();
    init.maximize = IsMaximized();
    if (!IsMaximized()) {
        init.windowWidth = width;
        init.windowHeight = height;
    }
}
