#include "shell/game_framework.h"

#include "core/console.h"
#include "core/file_list.h"
#include "core/frame_hooks.h"
#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "core/number_text.h"
#include "platform/sys/clock.h"
#include "platform/sys/crt_rand.h"
#include "platform/window/message_queue.h"
#include "platform/window/win_messages.h"
#include "render/camera.h"
#include "render/console_drawer.h"
#include "render/draw_list.h"
#include "render/font.h"
#include "render/font_loader.h"
#include "render/framework_start.h"
#include "render/mesh/mesh_draw.h"
#include "render/render.h"
#include "render/render_hooks.h"
#include "render/scene/environment_box.h"
#include "render/scene/particles.h"
#include "render/scene/shadow_volume.h"
#include "render/scene/splash_show.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "shell/ui/ui_layout_registry.h"
#include "sound/music_player.h"
#include "sound/sound_device.h"
#include "sound/sound_fx.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_specials.h"
#include "world/level/level_loader.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/racket_link.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/racket/racket.h"
#include "world/table/table.h"
#include "world/table/table_materials.h"

namespace {

constexpr const char* PRODUCT_NAME = "Korvelin";
constexpr float MIN_FRAME_STEP = 0.01f;
constexpr float MAX_FRAME_STEP = 0.05f;

} // namespace

GameFramework::GameFramework(const char* exePath)
    : exePath_(exePath ? exePath : ""), music_(std::make_unique<YMusicPlayer>()) {
    plat::CrtSrand(plat::TimeMs());
    console_ = CreateGameConsole(this);
    InstallSoundHooks();
    // The game modes (read with the first configuration file) register their tip pages.
    InstallLayoutRegistryHooks();
    YFrameworkStartSteps steps;
    steps.loadData = [this] {
        ParseSoundFile("data\\sound_fx.yml");
        LoadTableMaterials("data\\env.yml");
        table_ = std::make_unique<YTable>();
    };
    steps.beforeConfig = [this] {
        systemFont_ = FindFont("sysfont");
        ParseShaderFile("splash\\shaders.yml");
        GetInit().Load("splash\\config.yml");
    };
    StartFramework(*this, console_, steps);
    Init& init = GetInit();
    LoadPages();
    // The hero: parked until the scene's level is loaded, then serving.
    racket_ = std::make_unique<YRacket>(nullptr);
    racket_->Park();

    music_->AddFolder("music");
    SetListenerScale(0.02f);
    SetSoundVolume(init.soundVolume);
    SetMusicVolume(init.musicVolume);

    maximized_ = init.maximize;
    CreateMainWindow();
    g_EnvironmentBox.SetEnvironment("");
    ShowTableView();
    StartSceneLevel();
    racket_->NewGame();
    music_->PlayTrack(0, 0.5f);
    lastTime_ = plat::TimeMs();
}

GameFramework::~GameFramework() {
    DeleteAllBlocks(); // while the physics world still holds their bodies
    racket_.reset();
    table_.reset();
    DestroyRenderer();
    music_.reset();
}

void GameFramework::LoadPages() { GetLocale().Load((GetInit().GetLanguagePath() + "\\locale.yml").c_str()); }

void GameFramework::CreateMainWindow() {
    Init& init = GetInit();
    if (init.fullscreen)
        CreateFullscreen(PRODUCT_NAME, VideoMode());
    else
        CreateWindowed(PRODUCT_NAME, init.windowWidth, init.windowHeight);
}

void GameFramework::Quit() {
    GetInit().Save();
    if (music_) music_->FadeOutAll();
    YFramework::Quit();
}

bool GameFramework::Frame() {
    const uint32_t now = plat::TimeMs();
    accumulated_ += static_cast<float>(now - lastTime_) * 0.001f;
    lastTime_ = now;
    if (accumulated_ < MIN_FRAME_STEP) {
        // No sleep while input waits: the next pass handles it at once.
        if (!plat::MessagesWaiting()) plat::SleepMs(5);
        return false;
    }
    frameTime_ = accumulated_ < MAX_FRAME_STEP ? accumulated_ : MAX_FRAME_STEP;
    accumulated_ = 0.0f;

    UpdateSound();
    AnimateShaders(frameTime_);
    if (console_) console_->Update(frameTime_);

    if (!g_Render || !g_Render->IsDeviceReady()) return false;
    if (state_ == State::Splash) {
        g_SplashShow.Update(frameTime_);
        g_Render->BeginFrame(false);
        if (!g_SplashShow.Draw()) state_ = State::Scene;
    } else {
        YZDelete::TickAll(frameTime_);
        g_PhysicsWorld.PhysicsStep(frameTime_);
        BlockWorldUpdate(frameTime_, false);
        if (MouseX() != lastMouseX_ && ClientWidth() > 0) {
            lastMouseX_ = MouseX();
            racket_->MoveTo(2.0f * static_cast<float>(MouseX()) / static_cast<float>(ClientWidth()) - 1.0f);
        }
        racket_->RacketUpdate(frameTime_);
        g_Render->BeginFrame(true);
        DrawScene();
    }
    DrawOverlay();
    g_Render->EndFrame();
    return true;
}

void GameFramework::DrawScene() {
    static const float FULL_POS[2] = {0.0f, 0.0f};
    static const float FULL_SIZE[2] = {1.0f, 1.0f};
    const float aspect = ProjectionAspect() > 0.0f ? ProjectionAspect() : 4.0f / 3.0f;
    g_Render->SetViewport(FULL_POS, FULL_SIZE);
    g_ShadowVolume.Begin(-61.3f);
    g_Render->SetPerspective(80.0f, aspect, 0.1f, 2.0f);
    g_EnvironmentBox.Draw();
    g_Render->SetPerspective(g_Camera.fov, aspect, 5.0f, 650.0f);
    g_Render->SetWorldMatrix(&g_Camera.view);
    // The table in the background pass, its steps shadowing the steps below them.
    table_->UpdateDecals(frameTime_);
    table_->Draw(TABLE_DRAW_FULL | TABLE_DRAW_OVERLAYS | TABLE_DRAW_BORDER);
    g_ShadowVolume.Draw(false);
    g_Render->SetWorldMatrix(&g_Camera.view);
    g_ShadowVolume.Begin(0.0f);
    racket_->Draw();
    g_Render->SetWorldMatrix(&g_Camera.view);
    QueueMeshDraws();
    g_ParticleSystem.Update(frameTime_);
    DrawOpaqueQueue();
    DrawBlendedQueue();
    g_ShadowVolume.Draw(true);
}

// Until the scene camera flies, the menu shows the table from behind the racket's side.
void GameFramework::ShowTableView() {
    const YVector eye(0.0f, -31.0f, 25.0f), target(0.0f, 1.5f, -3.0f);
    YVector back = eye - target;
    back.Normalize();
    YVector right(-back.y, back.x, 0.0f); // (0, 0, 1) x back
    right.Normalize();
    const YVector up(back.y * right.z - back.z * right.y, back.z * right.x - back.x * right.z,
                     back.x * right.y - back.y * right.x);
    YMatrix v;
    const YVector axes[3] = {right, up, back};
    for (int c = 0; c < 3; ++c) {
        v.m[c] = axes[c].x;
        v.m[4 + c] = axes[c].y;
        v.m[8 + c] = axes[c].z;
        v.m[12 + c] = -eye.Dot(axes[c]);
    }
    v.m[3] = v.m[7] = v.m[11] = 0.0f;
    v.m[15] = 1.0f;
    g_Camera.SetView(&v);
}

// Until the game's states bring level play, the scene shows the first level of "levels" standing on
// the table (with no racket yet, the table sets no arena: the scene sets it).
void GameFramework::StartSceneLevel() {
    RegisterBlockSpecials();
    LoadBlockMaterials("data\\blocks.yml");
    YFileList levels;
    levels.Scan("levels\\*.lev", false);
    if (levels.entries.empty() || !LoadLevel(levels.GetPath(0))) return;
    if (!g_RacketLink) PhysicsSetArena(&g_Table->frontPlane, g_TableSize.width, g_TableSize.depth, 3.0f);
}

// The two-dimensional overlay on the 800 x 600 virtual screen.
void GameFramework::DrawOverlay() {
    g_Render->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
    if (console_) console_->Draw();
    if (GetInit().fps && systemFont_) systemFont_->DrawTextf(10.0f, 30.0f, 20.0f, "fps: %.1f", FramesPerSecond());
}

void GameFramework::MouseDown(int button, int x, int y) {
    if (state_ == State::Splash)
        g_SplashShow.Skip();
    else if (racket_ && button == 1)
        racket_->ReleaseTacked(true);
    YFramework::MouseDown(button, x, y);
}

void GameFramework::KeyDown(int key) {
    if (state_ == State::Splash) {
        if (key == plat::VK_ESCAPE)
            g_SplashShow.SkipAll();
        else
            g_SplashShow.Skip();
    }
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
    if (key == plat::VK_SPACE && state_ == State::Scene) racket_->ReleaseTacked(true);
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
        default: break;
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
            ApplyVideoMode(*this, console_->GetValueText());
            DestroyFrameWindow();
            CreateMainWindow();
            console_->Print(name + console_->GetValueText());
            break;
        case GAME_VAR_SOUND_VOLUME:
        case GAME_VAR_MUSIC_VOLUME: {
            float& setting = id == GAME_VAR_SOUND_VOLUME ? init.soundVolume : init.musicVolume;
            setting = ClampVolume(console_->GetFloat());
            const float value = setting;
            if (id == GAME_VAR_SOUND_VOLUME)
                SetSoundVolume(value);
            else
                SetMusicVolume(value);
            console_->Print(name + FloatToText(value));
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
        default: break;
    }
}
