#include "shell/game_framework.h"

#include <sstream>

#include "core/console.h"
#include "core/frame_hooks.h"
#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "platform/sys/clock.h"
#include "platform/window/win_messages.h"
#include "render/render_hooks.h"

namespace {

constexpr const char* PRODUCT_NAME = "Korvelin";
constexpr float MIN_FRAME_STEP = 0.01f;
constexpr float MAX_FRAME_STEP = 0.05f;

} // namespace

GameFramework::GameFramework(const char* exePath) : exePath_(exePath ? exePath : "") {
    console_ = CreateGameConsole(this);
    InstallRenderHooks();
    CreateRenderer();

    Init& init = GetInit();
    init.Load("splash\\config.yml");
    init.Load("config.yml");
    LoadPages();

    maximized_ = init.maximize;
    CreateMainWindow();
    lastTime_ = plat::TimeMs();
}

GameFramework::~GameFramework() { DestroyRenderer(); }

void GameFramework::LoadPages() {
    GetLocale().Load((GetInit().GetLanguagePath() + "\\locale.yml").c_str());
}

void GameFramework::CreateMainWindow() {
    Init& init = GetInit();
    if (init.fullscreen)
        CreateFullscreen(PRODUCT_NAME, init.videoMode.c_str());
    else
        CreateWindowed(PRODUCT_NAME, init.windowWidth, init.windowHeight);
}

void GameFramework::Quit() {
    GetInit().Save();
    YFramework::Quit();
}

bool GameFramework::Frame() {
    const uint32_t now = plat::TimeMs();
    accumulated_ += static_cast<float>(now - lastTime_) * 0.001f;
    lastTime_ = now;
    if (accumulated_ < MIN_FRAME_STEP) {
        plat::SleepMs(5);
        return false;
    }
    frameTime_ = accumulated_ < MAX_FRAME_STEP ? accumulated_ : MAX_FRAME_STEP;
    accumulated_ = 0.0f;

    if (console_) console_->Update(frameTime_);
    return YFramework::Frame();
}

void GameFramework::KeyDown(int key) {
    if (key == plat::VK_OEM_3 && IsKeyDown(plat::VK_SHIFT) && IsKeyDown(plat::VK_CONTROL) && IsKeyDown(plat::VK_MENU)) {
        if (console_) console_->shown = !console_->shown;
        ignoreNextChar_ = true;
        return;
    }
    ignoreNextChar_ = false;
    if (console_ && console_->shown) {
        if (key == plat::VK_PRIOR) {
            console_->Scroll(true);
            return;
        }
        if (key == plat::VK_NEXT) {
            console_->Scroll(false);
            return;
        }
    }
    YFramework::KeyDown(key);
}

void GameFramework::Char(int code) {
    if (ignoreNextChar_) {
        ignoreNextChar_ = false;
        return;
    }
    if (console_ && console_->shown) console_->OnChar(code);
}

void GameFramework::RunCommand(int id) {
    Init& init = GetInit();
    switch (id) {
    case GAME_CMD_EXIT:
        console_->Print(console_->GetNameText() + " ok.");
        Quit();
        break;
    case GAME_CMD_OPEN_ALL_LEVELS:
        init.CurrentGameMode().openLevels = 10000;
        init.Save();
        console_->Print(console_->GetNameText() + " ok.");
        break;
    default:
        break;
    }
}

void GameFramework::SetVariable(int id) {
    Init& init = GetInit();
    const std::string& name = console_->GetNameText();
    switch (id) {
    case GAME_VAR_FPS:
        init.fps = console_->GetBool();
        console_->Print(name + BoolToString(init.fps));
        break;
    case GAME_VAR_FULLSCREEN: {
        const bool value = console_->GetBool();
        if (value != IsFullScreen()) {
            init.fullscreen = value;
            DestroyFrameWindow();
            CreateMainWindow();
        }
        console_->Print(name + BoolToString(value));
        break;
    }
    case GAME_VAR_VIDEO_MODE:
        init.videoMode = console_->GetValueText();
        DestroyFrameWindow();
        CreateMainWindow();
        console_->Print(name + init.videoMode);
        break;
    case GAME_VAR_SOUND_VOLUME:
    case GAME_VAR_MUSIC_VOLUME: {
        const float value = ClampVolume(console_->GetFloat());
        (id == GAME_VAR_SOUND_VOLUME ? init.soundVolume : init.musicVolume) = value;
        std::ostringstream text;
        text << value;
        console_->Print(name + text.str());
        break;
    }
    case GAME_VAR_SHADOWS:
        init.shadows = console_->GetBool();
        console_->Print(name + BoolToString(init.shadows));
        break;
    case GAME_VAR_SHOWTIPS:
        init.showTips = console_->GetBool();
        console_->Print(name + BoolToString(init.showTips));
        break;
    default:
        break;
    }
}
