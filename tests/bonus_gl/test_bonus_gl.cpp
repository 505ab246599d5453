// A falling bonus on the OpenGL device with the shipped shaders, icons and disk: the preview of a
// block's bonus faces the camera and shows its kind's icon over the coin. Probes: the ring of the
// icon has the kind's colour (green for a life, red for a lost life), so the second pass with the
// kind's own shader draws over the gold coin. Runs under Xvfb (label "gl"); without a display the
// tests skip.
#include <gtest/gtest.h>

#include <memory>

#include "render/draw_list.h"
#include "render/mesh/mesh_draw.h"
#include "render/render_resource.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"
#include "world/bonus/bonus_builders.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"

namespace {

constexpr int kSide = 256;
constexpr float kFov = 45.0f;

class BonusGlTest : public glscene::GlSceneTest<BonusGlTest> {
protected:
    static void SetUpTestSuite() {
        if (!OpenScene("bonus test", kSide, kSide,
                       {"data/shaders.yml", "data/bonuses.yml", "mesh/disk.mes", "textures/bonus/life.png",
                        "textures/bonus/death.png"}) ||
            !MakeDevice())
            return;
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        RestoreRenderResources(RESOURCE_ALL);
        ParseShaderFile("data\\shaders.yml");
        LoadBonusConfigs("data\\bonuses.yml");
    }

    static plat::Image Draw(const char* name) {
        return Capture(name, kSide, kSide, [] {
            render_->BeginFrame(true);
            render_->SetPerspective(kFov, 1.0f, 0.5f, 200.0f);
            render_->SetWorldMatrix(&g_Camera.view);
            QueueMeshDraws();
            DrawOpaqueQueue();
            DrawBlendedQueue();
        });
    }
};

TEST_F(BonusGlTest, ABonusShowsItsKindsIconOverTheCoin) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    struct Case {
        int kind;
        bool green; // else red
    } cases[] = {{14, true}, {15, false}};
    const YVector centre(0.0f, 0.0f, 3.0f);
    const YVector light(-0.1f, 0.5f, -0.8f);
    glscene::LookAt(centre, 60.0f, 5.0f, light);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        std::unique_ptr<YBonusBuilder> builder(CreateBonusBuilder(c.kind));
        YMatrix at;
        at.MatrixSetTranslation(centre);
        builder->Draw(&at); // the preview faces the camera
        // The icon's ring lies 0.46 from the centre across the coin's face.
        const glscene::Pixel ring = glscene::ScreenPixel(centre + g_Camera.right * 0.46f, kSide, kFov);
        const plat::Image picture = Draw(c.green ? "life.bmp" : "death.bmp");
        ASSERT_FALSE(picture.Empty());
        const glscene::Rgb colour = glscene::ColourAt(picture, ring.x, ring.y);
        if (c.green) {
            EXPECT_GT(colour.g, colour.r + 40) << "the life ring is not green";
        } else {
            EXPECT_GT(colour.r, colour.g + 40) << "the death ring is not red";
        }
        EXPECT_GT(colour.Brightness(), 60);
    }
    BonusConfigs().clear();
}

} // namespace
