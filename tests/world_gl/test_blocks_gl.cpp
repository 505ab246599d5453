// A starter level on the OpenGL device: "levels\01_first_steps.lev" loaded onto a 20 x 20 arena
// with the shipped block materials and shaders, settled by the physics, then drawn from a camera in
// front of one plank block. Probes: the block's face shows its textured, lit material (not the
// background), and after a hard hit the crack texture darkens the same face. Runs under Xvfb
// (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include "core/init.h"
#include "render/draw_list.h"
#include "render/render_resource.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_set.h"
#include "world/level/level_loader.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"

namespace {

using glscene::Rgb;

constexpr int kSide = 256;
constexpr float kFov = 45.0f;

class BlocksGlTest : public glscene::GlSceneTest<BlocksGlTest> {
protected:
    static void SetUpTestSuite() {
        if (!OpenScene("blocks test", kSide, kSide,
                       {"data/shaders_blocks.yml", "data/blocks.yml", "levels/01_first_steps.lev", "textures/split.jpg",
                        "textures/planks.jpg"}) ||
            !MakeDevice())
            return;
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        RestoreRenderResources(RESOURCE_ALL);
        ParseShaderFile("data\\shaders.yml");
        ParseShaderFile("data\\shaders_blocks.yml");
        LoadBlockMaterials("data\\blocks.yml");
        PhysicsInit();
        SetUpWorld(HeadlessWorldOutside());
    }
    static void TearDownTestSuite() {
        DeleteAllBlocks();
        YZDelete::TickAll(1.0f);
        PhysicsShutdown();
        TearDownWorld();
        GlSceneTest<BlocksGlTest>::TearDownTestSuite();
    }

    static plat::Image Draw(const char* name) {
        return Capture(name, kSide, kSide, [] {
            render_->BeginFrame(true);
            render_->SetPerspective(kFov, 1.0f, 0.5f, 200.0f);
            render_->SetWorldMatrix(&g_Camera.view);
            BlockWorldUpdate(0.0f, false);
            DrawOpaqueQueue();
            DrawBlendedQueue();
        });
    }
};

TEST_F(BlocksGlTest, AStarterLevelStandsAndAHitBlockShowsItsCracks) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    g_TableSize.Set(20.0f, 20.0f);
    dGeomID backWall = nullptr;
    PhysicsSetArena(&backWall, 20.0f, 20.0f, 3.0f);
    ASSERT_TRUE(LoadLevel("levels\\01_first_steps.lev"));
    for (int i = 0; i < 60; ++i) {
        YZDelete::TickAll(0.02f);
        g_PhysicsWorld.PhysicsStep(0.02f);
        BlockWorldUpdate(0.02f, false);
    }
    EXPECT_GT(g_BlockWorld.blocksInPlay, 5u);

    // The plank standing alone at cell (-1, 1), in front of the wall: a one-item set.
    YBlockSet* plank = nullptr;
    for (YBlockSet* s : LevelSets()) {
        if (s->items.size() == 1 && std::abs(s->matrix.m[12] + 0.5f) < 0.2f && std::abs(s->matrix.m[13] - 1.5f) < 0.2f)
            plank = s;
    }
    ASSERT_NE(plank, nullptr);
    const YVector centre(plank->matrix.m[12], plank->matrix.m[13], plank->matrix.m[14]);
    EXPECT_NEAR(centre.z, 0.52f, 0.05f); // standing on the floor
    const YVector light(-0.1f, 0.5f, -0.8f);
    glscene::LookAt(centre, 60.0f, 5.0f, light);
    const glscene::Pixel face = glscene::ScreenPixel(centre + YVector(0, -0.5f, 0), kSide, kFov);

    const plat::Image whole = Draw("whole.bmp");
    ASSERT_FALSE(whole.Empty());
    const Rgb colour = glscene::ColourAt(whole, face.x, face.y);
    EXPECT_GT(colour.Brightness(), 40) << "the block's face is dark";
    EXPECT_GT(colour.r, colour.b) << "planks are warm brown";
    const Rgb corner = glscene::ColourAt(whole, 2, 2);
    EXPECT_GT(std::abs(colour.Brightness() - corner.Brightness()) + std::abs(colour.r - corner.r), 20)
        << "the block does not stand out of the background";

    // A hard hit leaves it with a sixth of its health: the crack copy for shade 0.1 subtracts
    // almost nothing from the crack lines, which now darken the face.
    YBlockItem* item = plank->items[0];
    plank->DamageItem(item, item->type->health * 0.85f, centre);
    ASSERT_GT(item->health, 0.0f);
    const plat::Image cracked = Draw("cracked.bmp");
    ASSERT_FALSE(cracked.Empty());
    // Crack lines: pixels of the block's face region that turned clearly darker.
    int darkened = 0, region = 0;
    for (int y = face.y - 40; y <= face.y + 10; ++y)
        for (int x = face.x - 25; x <= face.x + 25; ++x) {
            if (x < 0 || y < 0 || x >= kSide || y >= kSide) continue;
            ++region;
            if (glscene::ColourAt(cracked, x, y).Brightness() + 30 < glscene::ColourAt(whole, x, y).Brightness())
                ++darkened;
        }
    EXPECT_GT(darkened, region / 50) << "no cracks show";
    EXPECT_LT(darkened, region / 2) << "the whole face darkened, not cracks";
}

} // namespace
