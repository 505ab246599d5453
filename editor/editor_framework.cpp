#include "editor/editor_framework.h"

#include "core/console.h"
#include "core/init.h"
#include "core/log.h"
#include "platform/sys/clock.h"
#include "platform/window/win_messages.h"
#include "render/framework_start.h"
#include "render/render.h"
#include "render/render_hooks.h"
#include "render/shader.h"

namespace {

constexpr const char* EDITOR_TITLE = "Level Editor";

} // namespace

EditorFramework::EditorFramework(const char* exePath) : exePath_(exePath ? exePath : "") {
    console_ = CreateEditorConsole(this);
    console_->RegisterCommand("exit", EDITOR_CMD_EXIT);
    StartFramework(*this, console_, YFrameworkStartSteps{});
    CreateEditorWindow();
    lastTime_ = plat::TimeMs();
}

EditorFramework::~EditorFramework() { DestroyRenderer(); }

void EditorFramework::CreateEditorWindow() {
    Init& init = GetInit();
    if (init.fullscreen) {
        maximized_ = false;
        CreateFullscreen(EDITOR_TITLE, VideoMode());
    } else {
        maximized_ = init.maximize;
        CreateWindowed(EDITOR_TITLE, init.windowWidth, init.windowHeight);
    }
}

void EditorFramework::ToggleFullscreen() {
    DestroyFrameWindow();
    Init& init = GetInit();
    init.fullscreen = !IsFullScreen();
    CreateEditorWindow();
}

void EditorFramework::Quit() {
    GetInit().Save();
    YFramework::Quit();
}

bool EditorFramework::Frame() {
    const uint32_t now = plat::TimeMs();
    const float dt = static_cast<float>(now - lastTime_) * 0.001f;
    lastTime_ = now;
    AnimateShaders(dt);
    if (console_) console_->Update(dt);

    if (!g_Render || !g_Render->IsDeviceReady()) return false;
    g_Render->BeginFrame(true);
    g_Render->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
    if (console_) console_->Draw();
    g_Render->EndFrame();
    return true;
}

void EditorFramework::KeyDown(int key) {
    keyConsumed_ = false;
    if (key == plat::VK_OEM_3) {
        if (console_) console_->shown = !console_->shown;
        keyConsumed_ = true;
        return;
    }
    if (console_ && console_->shown) {
        if (key == plat::VK_PRIOR)
            console_->Scroll(true);
        else if (key == plat::VK_NEXT)
            console_->Scroll(false);
        return;
    }
    if (key == plat::VK_F8) ToggleFullscreen();
}

void EditorFramework::Char(int code) {
    if (keyConsumed_) {
        keyConsumed_ = false;
        return;
    }
    if (console_) console_->OnChar(code);
}

void EditorFramework::RunCommand(int id) {
    if (id == EDITOR_CMD_EXIT) {
        console_->Print(console_->GetNameText() + " ok.");
        Quit();
    }
}

void EditorFramework::SetVariable(int) {}
