#include "editor/editor_framework.h"

#include "core/console.h"
#include "core/init.h"
#include "core/log.h"
#include "editor/editor_matrix.h"
#include "editor/editor_status.h"
#include "editor/editor_world_scene.h"
#include "platform/sys/clock.h"
#include "platform/window/win_messages.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/font.h"
#include "render/framework_start.h"
#include "render/mesh/mesh_draw.h"
#include "render/render.h"
#include "render/render_hooks.h"
#include "render/scene/environment_box.h"
#include "render/scene/shadow_volume.h"
#include "render/shader.h"
#include "world/play/world_setup.h"
#include "world/table/table.h"

namespace {

constexpr const char* EDITOR_TITLE = "Level Editor";
constexpr const char* KEYBOARD_FILE = "data\\editor_kbd.yml";
constexpr float CAMERA_TILT = -40.0f;
constexpr float SCENE_FOV = 45.0f;

// Table drawing flags: colour, depth only, the rest.
constexpr int TABLE_ALL = TABLE_DRAW_FULL | TABLE_DRAW_BORDER | TABLE_DRAW_OVERLAYS;
constexpr int TABLE_COLOUR = TABLE_DRAW_FULL | TABLE_DRAW_BORDER;
constexpr int TABLE_DEPTH = TABLE_DRAW_BORDER;

// The status lines in the editor's font at size 12.
class FontTextOut : public EditorTextOut {
public:
    explicit FontTextOut(YFont* font) : font_(font) {}
    void Text(float x, float y, const char* text) override {
        if (font_) font_->DrawText(x, y, EDITOR_STATUS_TEXT_SIZE, text);
    }

private:
    YFont* font_;
};

} // namespace

EditorFramework::EditorFramework(const char* exePath) : exePath_(exePath ? exePath : "") {
    LoadKeyboardMacros(KEYBOARD_FILE, keyboard_);
    ResetCamera();
    cameraDistance_ = EDITOR_CAMERA_DISTANCE;

    console_ = CreateEditorConsole(this);
    RegisterEditorConsoleNames(*console_);

    YFrameworkStartSteps steps;
    steps.beforeConfig = [this] { font_ = FindFont("sysfont"); };
    StartFramework(*this, console_, steps);

    // The editor's world has no racket: blocks score for no one, no bonus falls or is caught.
    YWorldOutside outside;
    outside.racket = false;
    SetUpWorld(outside);

    // The table with its materials, the block materials.
    scene_ = std::make_unique<EditorWorldScene>();
    level_.scene = scene_.get();
    handler_ = std::make_unique<EditorConsoleHandler>(*console_, level_, *scene_, *this);
    input_ = std::make_unique<EditorInput>(*console_, keyboard_, level_);

    const std::string first = scene_->FirstMaterial();
    if (!first.empty()) level_.curMaterial = first;
    scene_->SetEnvironment("");

    CreateEditorWindow();
}

EditorFramework::~EditorFramework() {
    level_.scene = nullptr;
    // The blocks go with the scene, while the world is still connected.
    input_.reset();
    handler_.reset();
    scene_.reset();
    TearDownWorld();
    DestroyRenderer();
}

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

void EditorFramework::ApplyVideoModeText(const std::string& text) { ApplyVideoMode(*this, text); }

void EditorFramework::RecreateWindow() {
    DestroyFrameWindow();
    CreateEditorWindow();
}

void EditorFramework::ResetCamera() {
    arcBall_.stored = MatrixRotationXDeg(CAMERA_TILT);
    arcBall_.angle = 0.0f;
    level_.redrawFlag = 1;
}

EditorCameraAxes EditorFramework::CameraAxes() const {
    EditorCameraAxes axes;
    axes.right = g_Camera.right;
    axes.up = g_Camera.up;
    axes.forward = g_Camera.back;
    return axes;
}

void EditorFramework::Quit() { SaveAndQuit(); }

bool EditorFramework::SaveAndQuit() {
    const bool saved = GetInit().Save();
    YFramework::Quit();
    return saved;
}

bool EditorFramework::SaveLevel(const char* name) { return handler_->SaveLevel(name ? name : ""); }

bool EditorFramework::LoadLevelEditor(const char* name) { return handler_->LoadLevelEditor(name ? name : ""); }

void EditorFramework::OnResize(int width, int height) {
    if (!IsFullScreen()) {
        Init& init = GetInit();
        init.maximize = IsMaximized();
        if (!init.maximize) {
            init.windowWidth = width;
            init.windowHeight = height;
        }
    }
    arcBall_.SetWindowSize(width, height);
}

void EditorFramework::MouseMove(int x, int y) {
    if (!arcBall_.dragging) return;
    arcBall_.Drag(x, y);
    level_.redrawFlag = 1;
}

void EditorFramework::MouseDown(int, int x, int y) { arcBall_.BeginDrag(x, y); }

void EditorFramework::MouseUp(int, int x, int y) { arcBall_.EndDrag(x, y); }

void EditorFramework::MouseWheel(int delta) {
    cameraDistance_ = WheelCameraDistance(cameraDistance_, delta);
    level_.redrawFlag = 1;
}

void EditorFramework::KeyDown(int key) {
    // F10 does not end the editor: the base handling is not run.
    const EditorKeyResult result =
        input_->KeyDown(key, KeyState(plat::VK_CONTROL), KeyState(plat::VK_MENU), KeyState(plat::VK_SHIFT));
    if (result == EditorKeyResult::ToggleFullscreen) ToggleFullscreen();
}

void EditorFramework::Char(int code) { input_->Char(code); }

void EditorFramework::RunCommand(int id) {
    if (handler_) handler_->RunCommand(id);
}

void EditorFramework::SetVariable(int id) {
    if (handler_) handler_->SetVariable(id);
}

bool EditorFramework::Frame() {
    if (!g_Render || !g_Render->IsDeviceReady()) return false;

    // Camera: the trackball's rotation, then back by the distance.
    YMatrix rotation;
    arcBall_.GetMatrix(rotation.m);
    YMatrix back;
    back.MatrixSetTranslation(YVector(0.0f, 0.0f, -cameraDistance_));
    const YMatrix view = back * rotation;
    g_Camera.SetView(&view);

    const float dt = clock_.Step(plat::TimeMs());
    console_->Update(dt);
    AnimateShaders(dt);
    g_Render->BeginFrame(false);

    const float aspect = ProjectionAspect() > 0.0f ? ProjectionAspect() : 4.0f / 3.0f;
    if (!g_Render->HasBackgroundTarget()) {
        g_Render->SetPerspective(100.0f, aspect, 0.1f, 5000.0f);
        g_EnvironmentBox.Draw();
        g_Render->SetPerspective(SCENE_FOV, aspect, 0.1f, 1000.0f);
        g_Render->SetWorldMatrix(&view);
        scene_->DrawTable(TABLE_ALL);
    } else {
        const bool lost = g_Render->TakeBackgroundLost();
        if (level_.redrawFlag || lost) {
            level_.redrawFlag = 0;
            g_Render->BeginBackground(false);
            g_Render->SetPerspective(100.0f, aspect, 0.1f, 5000.0f);
            g_EnvironmentBox.Draw();
            g_Render->SetPerspective(SCENE_FOV, aspect, 0.1f, 1000.0f);
            g_Render->SetWorldMatrix(&view);
            scene_->DrawTable(TABLE_COLOUR);
            g_Render->EndBackground();
        } else {
            g_Render->RestoreBackground();
        }
        g_Render->SetPerspective(SCENE_FOV, aspect, 0.1f, 1000.0f);
        g_Render->SetWorldMatrix(&view);
        scene_->DrawTable(TABLE_DEPTH);
    }

    g_ShadowVolume.Begin(0.0f);
    scene_->UpdateBlocks(dt);
    frameDraw_.DrawEditLines(level_, *scene_, view, dt);

    QueueMeshDraws();
    DrawOpaqueQueue();
    g_ShadowVolume.Begin(-61.3f);
    g_Render->SetWorldMatrix(&view);
    DrawBlendedQueue();
    g_ShadowVolume.Draw(true);

    g_Render->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
    if (GetInit().fps && font_) font_->DrawTextf(0.0f, 32.0f, 32.0f, "FPS=%0.1f", FramesPerSecond());
    if (!console_->shown) {
        frameDraw_.DrawPanels();
        FontTextOut out(font_);
        DrawStatusLines(level_, *scene_, out);
    }
    frameDraw_.DrawMouseCursor(MouseX(), MouseY(), ClientWidth(), ClientHeight());
    console_->Draw();
    g_Render->SetShader(nullptr, false);
    g_Render->EndFrame();
    return true;
}
