// The drawers of things placed in world coordinates (block faces, wall flashes, ball crowns, blast
// lines) are queued behind mesh drawers, which leave the identity as the world transform. Each
// must draw through the camera's view whatever the drawer before it left.
#include <functional>

#include "render/camera.h"
#include "render/scene_fixture.h"
#include "render/shader.h"
#include "world/balls/ball_effects.h"
#include "world/balls/ball_mode.h"
#include "world/balls/ball_mode_info.h"
#include "world/blocks/block_faces.h"
#include "world/physics/wall_contacts.h"

namespace {

using WorldDrawers = scenetest::SceneTest;

// A view that is neither the identity nor symmetric, so a transposed or missing view shows.
void LookFromTheSide() {
    YMatrix yaw, pitch, move;
    yaw.SetRotationZ(-30.0f);
    pitch.SetRotationX(-60.0f);
    move.MatrixSetTranslation(YVector(-10.0f, 20.0f, -15.0f));
    const YMatrix view = pitch * (yaw * move);
    g_Camera.SetView(&view);
}

TEST_F(WorldDrawers, EachDrawsThroughTheCameraAfterAMeshLeftTheIdentity) {
    gpu::NullDevice& device = MakeDevice();
    LookFromTheSide();
    YShader* shader = FindShader("test_world_drawer");
    shader->Reset();
    shader->AddStage();

    const float offsets[2] = {0, 0};
    YBlockFace face;
    BuildBlockFace(&face, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, shader, -1.0f, offsets);
    YWallContact flash{{0.0f, 5.0f, 1.0f}, 0.1f, false};
    YBallMode ball(BALL_PHANTOM);
    YDrawBallCrown crown(shader, 1.5f);
    LightningSegment bolt{{0, 0, 1}, {2, 0, 1}, {0, 0.2f, 0}};

    struct Row {
        const char* what;
        std::function<void()> draw;
    };
    const Row rows[] = {
        {"block face",
         [&] {
             g_DrawBlockFace.Draw(&face);
             g_DrawBlockFace.Flush();
         }},
        {"wall flash", [&] { g_WallContactDraw.Draw(&flash); }},
        {"ball crown", [&] { crown.Draw(&ball); }},
        {"blast line", [&] { BlastLineDrawer()->Draw(&bolt); }},
    };
    const YMatrix identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        g_Render->SetWorldMatrix(&identity); // what a mesh drawer leaves
        device.ClearTrace();
        r.draw();
        int draws = 0;
        for (const gpu::NullCall& c : device.Calls()) {
            if (c.text.rfind("Draw", 0) != 0) continue;
            ++draws;
            for (int i = 0; i < 16; ++i) EXPECT_EQ(c.world.m[i], g_Camera.view.m[i]) << c.text << " [" << i << "]";
        }
        EXPECT_GT(draws, 0);
    }
}

} // namespace
