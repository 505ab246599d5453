#include "shell/thumbnail_host.h"

#include "core/file_list.h"
#include "platform/sys/files.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/mesh/mesh_draw.h"
#include "render/render.h"
#include "render/scene/environment_box.h"
#include "render/scene/shadow_volume.h"
#include "render/texture.h"
#include "shell/scene_camera.h"
#include "world/blocks/block.h"
#include "world/level/level_loader.h"
#include "world/physics/table_size.h"
#include "world/racket/racket.h"
#include "world/table/table.h"

namespace {

constexpr float SKY_FOV = 80.0f;
constexpr float SHADOW_GROUND = -61.3f;
constexpr float NEAR_CLIP = 5.0f;
constexpr float FAR_CLIP = 650.0f;
// The table with its decoration and overlays, without the border.
constexpr int TABLE_SHOT_FLAGS = TABLE_DRAW_FULL | 2 | TABLE_DRAW_OVERLAYS;
// Drawables drawn directly in a shot (not through the draw queues).
constexpr int SHOT_DRAW_FLAGS = 1;

} // namespace

GameThumbnailHost::GameThumbnailHost(YSceneCamera& camera, float aspect)
    : camera_(camera), aspect_(aspect > 0.0f ? aspect : 4.0f / 3.0f) {}

bool GameThumbnailHost::FileExists(const std::string& path) { return ::FileExists(path.c_str(), false); }

bool GameThumbnailHost::MakeFolder(const std::string& path) { return plat::MakeDirectory(path); }

bool GameThumbnailHost::BeginCapture(int width, int height) {
    return g_Render && g_Render->BeginCapture(width, height);
}

bool GameThumbnailHost::LoadLevel(const std::string& path) { return ::LoadLevel(path); }

void GameThumbnailHost::RenderStillView() {
    if (!g_Render) return;
    // The hero stays out of the picture.
    const bool heroShown = g_Racket && g_Racket->HeroShown();
    if (g_Racket) g_Racket->ShowHero(false);

    g_Render->BeginFrame(false);
    camera_.Update(0.0f, 0, g_TableSize.halfWidth, g_TableSize.halfDepth);
    g_ShadowVolume.Begin(SHADOW_GROUND);
    g_Render->SetPerspective(SKY_FOV, aspect_, 0.1f, 2.0f);
    g_EnvironmentBox.Draw();
    g_Render->SetPerspective(g_Camera.fov, aspect_, NEAR_CLIP, FAR_CLIP);
    g_Render->SetWorldMatrix(&g_Camera.view);
    if (g_Table) g_Table->Draw(TABLE_SHOT_FLAGS);
    BlockWorldUpdate(0.0f, false);
    DrawOpaqueQueue();
    for (YMeshDraw* drawable : MeshDrawRegistry())
        if (drawable->drawFlags == SHOT_DRAW_FLAGS && drawable->visible) drawable->Draw();
    g_Render->SetWorldMatrix(&g_Camera.view);
    DrawBlendedQueue();
    g_ShadowVolume.Draw(true);
    g_Render->SetShader(nullptr, true);
    g_Render->EndFrame();

    if (g_Racket) g_Racket->ShowHero(heroShown);
}

bool GameThumbnailHost::SaveCapture(const std::string& path) { return g_Render && g_Render->SaveCapture(path.c_str()); }

void GameThumbnailHost::EndCapture() {
    if (g_Render) g_Render->EndCapture();
}

void GameThumbnailHost::RestoreDefaults() {
    if (g_Table) g_Table->BuildDefault();
    g_EnvironmentBox.SetDefault();
}
