#include "shell/game_frame.h"

#include "core/console.h"
#include "core/init.h"
#include "platform/sys/clock.h"
#include "platform/window/message_queue.h"
#include "platform/window/win_messages.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/font.h"
#include "render/mesh/mesh_draw.h"
#include "render/render.h"
#include "render/render_hooks.h"
#include "render/scene/environment_box.h"
#include "render/scene/particles.h"
#include "render/scene/shadow_volume.h"
#include "render/scene/splash_show.h"
#include "render/shader.h"
#include "shell/game_framework.h"
#include "shell/hud.h"
#include "shell/hud_caption.h"
#include "shell/menu_comets.h"
#include "shell/ui/ui_layout.h"
#include "sound/sound_device.h"
#include "world/balls/ball.h"
#include "world/blocks/block.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/racket/racket.h"
#include "world/table/table.h"

namespace {

constexpr float MIN_FRAME_STEP = 0.01f;
constexpr float MAX_FRAME_STEP = 0.05f;
constexpr float SKY_FOV = 80.0f;
constexpr float SHADOW_GROUND = -61.3f;
constexpr float MARKER_SIZE = 0.5f;
constexpr int SMALL_BALL_MODE = 8;
constexpr float CURSOR_SIZE = 30.0f;

const float FULL_POS[2] = {0.0f, 0.0f};
const float FULL_SIZE[2] = {1.0f, 1.0f};
const float BAND_POS[2] = {0.0f, 0.15f};
const float BAND_SIZE[2] = {1.0f, 0.7f};

// Corners in the order the overlay quads use: top left, bottom left, bottom right, top right.
void SetQuad(YTexVertex q[4], float x0, float y0, float x1, float y1) {
    const float xs[4] = {x0, x0, x1, x1};
    const float ys[4] = {y0, y1, y1, y0};
    const float us[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    const float vs[4] = {0.0f, 1.0f, 1.0f, 0.0f};
    for (int i = 0; i < 4; ++i) {
        q[i].pos = YVector(xs[i], ys[i], 0.0f);
        q[i].uv = YVector2(us[i], vs[i]);
        q[i].uv2 = YVector2(0.0f, 0.0f);
    }
}

YShader* LogoShader() {
    static YShader* shader = FindShader("logo");
    return shader;
}

YShader* CursorShader() {
    static YShader* shader = FindShader("cursor");
    return shader;
}

YShader* MarkerShader() {
    static YShader* shader = FindShader("ball_pos");
    return shader;
}

YShader* FadeShader() {
    static YShader* shader = FindShader("fade");
    return shader;
}

} // namespace

float YGameFrameClock::Step(uint32_t nowMs) {
    accumulated += static_cast<float>(nowMs - previousMs) * 0.001f;
    previousMs = nowMs;
    if (accumulated < MIN_FRAME_STEP) return 0.0f;
    const float dt = accumulated < MAX_FRAME_STEP ? accumulated : MAX_FRAME_STEP;
    accumulated = 0.0f;
    workElapsedMs = nowMs - lastWorkMs;
    lastWorkMs = nowMs;
    return dt;
}

void GameFramework::UpdateCamera(float dt) {
    if (camera_.Update(dt, GetState(), g_TableSize.halfWidth, g_TableSize.halfDepth)) g_BackgroundDirty = 1;
}

float GameFramework::SetGameViewport() {
    const float aspect = ProjectionAspect() > 0.0f ? ProjectionAspect() : 4.0f / 3.0f;
    if (GetState() & GS_MASK_GAME_VIEW) {
        g_Render->SetViewport(FULL_POS, FULL_SIZE);
        return aspect;
    }
    g_Render->SetViewport(BAND_POS, BAND_SIZE);
    return aspect / 0.7f;
}

bool GameFramework::Frame() {
    if (!g_Render || !g_Render->IsDeviceReady()) return false;
    // A language change asked for during the last messages: the pages are rebuilt here, where no
    // control of theirs is on the call stack.
    if (loadPagesPending_) {
        loadPagesPending_ = false;
        LoadPages();
    }
    const float dt = clock_.Step(plat::TimeMs());
    if (dt <= 0.0f) {
        // Waiting input is handled at once: the loop comes straight back for it instead of sleeping.
        if (!plat::MessagesWaiting()) plat::SleepMs(5);
        return false;
    }

    UpdateSound();
    AnimateShaders(dt);
    if (screen_.page) screen_.page->Update(dt);
    if (console_) console_->Update(dt);

    const int state = GetState();
    bool worldRuns = true;
    switch (state) {
        case GS_PLAY:
            if (KeyState(plat::VK_LEFT))
                SyncCursorToRacket(RacketMoveStep(-1));
            else if (KeyState(plat::VK_RIGHT))
                SyncCursorToRacket(RacketMoveStep(1));
            states_.playTimeMs += static_cast<int>(clock_.workElapsedMs);
            break;
        case GS_SPLASH:
            g_SplashShow.Update(dt);
            g_Render->BeginFrame(false);
            if (!g_SplashShow.Draw()) {
                states_.EndSplash();
            } else if (states_.fadePhase == FADE_OUT) {
                // A request made during the show (F10) still fades and arrives.
                g_Render->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
                const float darkness = states_.AdvanceFade(dt);
                if (darkness >= 0.0f) DrawFade(darkness);
            }
            g_Render->EndFrame();
            return true;
        case GS_MAIN_MENU:
        case GS_ALL_DONE:
        case GS_SCORE_CHECK_LAST: UpdateMenuComets(dt); break;
        case GS_LEVEL_CHOICE:
            // The picker draws its own scene.
            menus_.levelChoice.Update(dt, (MouseButtons() & 1) != 0);
            g_Render->BeginFrame(true);
            menus_.levelChoice.DrawLevelPicker(dt, SetGameViewport());
            worldRuns = false;
            break;
        default: break;
    }
    if (worldRuns) DrawScene(dt);
    DrawOverlay(dt);
    g_Render->EndFrame();
    return true;
}

void GameFramework::DrawScene(float dt) {
    const int state = GetState();
    float worldStep = 0.0f;
    if (!(state & GS_MASK_FROZEN)) {
        YZDelete::TickAll(dt);
        g_PhysicsWorld.PhysicsStep(dt);
        racket_->RacketUpdate(dt);
        UpdateHudCaptions(dt);
        worldStep = dt;
    }
    if (table_) table_->UpdateDecals(worldStep);
    const int border = (state & GS_MASK_BORDER) && GetInit().CurrentGameMode().perimeterBorder ? TABLE_DRAW_BORDER : 0;

    float aspect;
    if (g_Render->HasBackgroundTarget() && (state & GS_MASK_GAME_VIEW)) {
        if (!g_BackgroundDirty && !g_Render->TakeBackgroundLost()) {
            g_Render->BeginFrame(false);
            aspect = SetGameViewport();
            g_Render->RestoreBackground();
        } else {
            g_BackgroundDirty = 0;
            UpdateCamera(dt);
            g_Render->BeginFrame(false);
            g_ShadowVolume.Begin(SHADOW_GROUND);
            g_Render->BeginBackground(true);
            aspect = SetGameViewport();
            g_Render->SetPerspective(SKY_FOV, aspect, 0.1f, 2.0f);
            g_EnvironmentBox.Draw();
            g_Render->SetPerspective(g_Camera.fov, aspect, nearClip_, farClip_);
            g_Render->SetWorldMatrix(&g_Camera.view);
            if (table_) table_->Draw(border | TABLE_DRAW_FULL);
            g_ShadowVolume.Draw(false);
            g_Render->EndBackground();
            SetGameViewport();
        }
        g_ShadowVolume.Begin(0.0f);
        g_Render->SetPerspective(g_Camera.fov, aspect, nearClip_, farClip_);
        g_Render->SetWorldMatrix(&g_Camera.view);
        if (table_) table_->Draw(border | 2 | TABLE_DRAW_OVERLAYS);
    } else {
        UpdateCamera(dt);
        g_Render->BeginFrame(true);
        aspect = SetGameViewport();
        g_ShadowVolume.Begin(SHADOW_GROUND);
        g_Render->SetPerspective(g_Camera.fov, aspect, nearClip_, farClip_);
        g_Render->SetWorldMatrix(&g_Camera.view);
        if (table_) table_->Draw(border | TABLE_DRAW_FULL | 2 | TABLE_DRAW_OVERLAYS);
        // The sky lies at the far plane: drawn after the table it shades only the pixels the
        // table leaves uncovered instead of the whole view under it.
        g_Render->SetPerspective(SKY_FOV, aspect, 0.1f, 2.0f);
        g_EnvironmentBox.Draw();
        g_Render->SetPerspective(g_Camera.fov, aspect, nearClip_, farClip_);
        g_Render->SetWorldMatrix(&g_Camera.view);
        if (state & GS_MASK_SECOND_PASS) {
            g_ShadowVolume.Draw(false);
            g_Render->Clear(false);
            g_ShadowVolume.Begin(0.0f);
            g_Render->SetPerspective(g_Camera.fov, aspect, nearClip_, farClip_);
            g_Render->SetWorldMatrix(&g_Camera.view);
            if (table_) table_->Draw(2);
        } else {
            g_ShadowVolume.Begin(0.0f);
        }
    }

    QueueMeshDraws();
    BlockWorldUpdate(worldStep, state == GS_PLAY);
    g_ParticleSystem.Update(worldStep);
    DrawOpaqueQueue();
    racket_->Draw();
    g_Render->SetWorldMatrix(&g_Camera.view);
    DrawBlendedQueue();
    g_ShadowVolume.Draw(true);
    g_Render->SetWorldMatrix(&g_Camera.view);
    DrawBallMarkers();
}

// A ball hidden from the camera behind something gets a marker drawn over it; small balls never.
void GameFramework::DrawBallMarkers() {
    const YMatrix inverse = g_Camera.view.InverseAffine();
    const YVector eye(inverse.m[12], inverse.m[13], inverse.m[14]);
    for (YBall* ball : BallList()) {
        if (ball->ModeIndex() == SMALL_BALL_MODE) continue;
        YVector p;
        ball->body.GetPosition(&p);
        YVector direction = eye - p;
        const float length = direction.Normalize();
        if (length <= 0.0f || !PhysicsRayCast(&p, &direction, length)) continue;
        g_Render->SetShader(MarkerShader(), true);
        DrawBillboard(&p, MARKER_SIZE);
    }
}

// The two-dimensional overlay on the 800 x 600 virtual screen: the HUD, the page, the logo, the
// cursor, the fade, the console and the frame rate.
void GameFramework::DrawOverlay(float dt) {
    const int state = GetState();
    g_Render->SetViewport(FULL_POS, FULL_SIZE);
    if (state & GS_MASK_HUD) {
        g_Render->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
        DrawHud((state & GS_MASK_SCORE_ONLY) != 0);
    }
    screen_.Render(true);
    g_Render->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
    if (state == GS_MAIN_MENU) {
        static YTexVertex logo[4];
        SetQuad(logo, 175.0f, 0.0f, 625.0f, 225.0f);
        g_Render->SetShader(LogoShader(), true);
        g_Render->DrawTexQuad(logo);
    }
    if (screen_.page && YFramework::ClientWidth() > 0 && YFramework::ClientHeight() > 0) {
        const float x = static_cast<float>(MouseX()) / static_cast<float>(YFramework::ClientWidth()) * 800.0f;
        const float y = static_cast<float>(MouseY()) / static_cast<float>(YFramework::ClientHeight()) * 600.0f;
        YTexVertex cursor[4];
        SetQuad(cursor, x, y, x + CURSOR_SIZE, y + CURSOR_SIZE);
        g_Render->SetShader(CursorShader(), true);
        g_Render->DrawTexQuad(cursor);
    }
    const float darkness = states_.AdvanceFade(dt);
    if (darkness >= 0.0f) DrawFade(darkness);
    if (console_) console_->Draw();
    g_Render->SetShader(nullptr, true);
    if (GetInit().fps && systemFont_) systemFont_->DrawTextf(0.0f, 32.0f, 32.0f, "FPS=%0.1f", FramesPerSecond());
}

void GameFramework::DrawFade(float darkness) {
    static const float xs[4] = {0.0f, 800.0f, 800.0f, 0.0f};
    static const float ys[4] = {0.0f, 0.0f, 600.0f, 600.0f};
    YTexVertex quad[4];
    for (int i = 0; i < 4; ++i) {
        quad[i].pos = YVector(xs[i], ys[i], 0.0f);
        quad[i].uv = YVector2(xs[i] / 800.0f, ys[i] / 600.0f);
        quad[i].uv2 = YVector2(0.0f, 0.0f);
    }
    YMaterial material;
    for (int i = 0; i < 4; ++i) material.diffuse[i] = material.ambient[i] = material.specular[i] = 0.0f;
    material.diffuse[3] = darkness;
    material.emissive[0] = material.emissive[1] = material.emissive[2] = 1.0f - darkness;
    material.emissive[3] = darkness;
    g_Render->SetShader(FadeShader(), false);
    g_Render->SetMaterial(&material, false);
    g_Render->DrawTexQuad(quad);
}
