// A stencil shadow on the OpenGL device with the shipped shadow shaders: a cube hangs over a floor
// in a light that comes from above and to the side; the cube hands its silhouette to the shadow
// volume as it draws, the volume passes count in the stencil buffer and the darkening pass dims
// the floor where the cube's shadow falls. Pixels of the capture are probed: the shadowed floor is
// darker than the lit floor, which stays as drawn. Runs under Xvfb (label "gl"); without a display
// the tests skip.
#include <gtest/gtest.h>

#include <string>

#include "platform/image/image.h"
#include "render/camera.h"
#include "render/mesh/mesh.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/mesh_instance.h"
#include "render/mesh/mesh_text_reader.h"
#include "render/mesh_fixtures.h"
#include "render/render.h"
#include "render/render_resource.h"
#include "render/scene/shadow_volume.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"

namespace {

using glscene::Pixel;
using glscene::SolidShader;

constexpr int kCapture = 128;

class ShadowGlTest : public glscene::GlShadowSceneTest<ShadowGlTest> {
protected:
    static void SetUpTestSuite() {
        // The back buffer's depth-stencil serves the capture, so the window must cover it.
        if (!OpenScene("shadow test", 200, 200, {"data/shaders.yml"})) return;
        // The shader file names its textures relative to the game folder, where the game runs.
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        if (!MakeDevice()) return;
        RestoreRenderResources(RESOURCE_ALL);
        ParseShaderFile("data\\shaders.yml");
    }
};

// The capture pixel where the world point shows (45 degree field of view, square picture).
Pixel ScreenPixel(const YVector& world) { return glscene::ScreenPixel(world, kCapture, 45.0f); }

int Brightness(const plat::Image& img, Pixel p) { return glscene::ColourAt(img, p.x, p.y).Brightness(); }

TEST_F(ShadowGlTest, CubeDarkensTheFloorWhereItsShadowFalls) {
    ASSERT_TRUE(ShadowsEnabled()) << "the device has no stencil buffer";
    // The eye looks at the floor point (4, 0, 0) from 30 units away, tilted 50 degrees from
    // straight above towards -y; the light travels along (1, 0, -1), so a point at height h casts
    // onto the floor h units further along x.
    glscene::LookAt(YVector(4, 0, 0), 50.0f, 30.0f, YVector(1, 0, -1));

    // The fixtures' cube scaled to side 4 and raised to z 2..6: its shadow covers x 0..8 and
    // y -2..2 of the floor.
    YMesh* mesh = new YMesh();
    YMeshTextReader text(meshtest::CubeText(0));
    ASSERT_EQ(ImportMeshText(text, *mesh), YMeshImportResult::Ok);
    mesh->Restore();
    SolidShader floor(0.6f, 0.6f, 0.6f), red(0.8f, 0.1f, 0.1f);
    {
        YMeshInstance cube(mesh, 2.0f, 0);
        cube.shaders.push_back(&red);
        YMatrix place;
        place.MatrixSetTranslation(YVector(0, 0, 4));
        cube.SetTransform(place.m);

        const plat::Image img = Capture("shadow.bmp", kCapture, kCapture, [&] {
            render_->BeginFrame(true);
            render_->SetPerspective(45.0f, 1.0f, 5.0f, 650.0f);
            g_ShadowVolume.Begin(0);

            render_->SetWorldMatrix(&g_Camera.view);
            render_->SetShader(&floor, true);
            const YVector ground[4] = {{-40, -40, 0}, {40, -40, 0}, {40, 40, 0}, {-40, 40, 0}};
            render_->DrawQuad(ground);
            cube.Draw();
            EXPECT_FALSE(g_ShadowVolume.front.empty() && g_ShadowVolume.back.empty());

            render_->SetWorldMatrix(&g_Camera.view);
            g_ShadowVolume.Draw(false);
            render_->EndFrame();
        });
        ASSERT_FALSE(img.Empty());
        const int lit = Brightness(img, ScreenPixel(YVector(-6, 0, 0)));
        EXPECT_NEAR(lit, 153, 3) << "the floor away from the shadow is as drawn";
        struct Probe {
            const char* what;
            YVector floorPoint;
            bool shadowed;
        };
        const Probe probes[] = {
            {"open floor", {5, -5, 0}, false},
            // Seen through the volume: the eye's ray enters it and leaves it again before it
            // reaches the floor, so the two counts cancel.
            {"behind the volume", {5, 5, 0}, false},
            {"behind the volume", {6, 5, 0}, false},
            {"in the shadow", {5, 0, 0}, true},
            {"in the shadow", {7, 0, 0}, true},
            {"in the shadow", {4, -1, 0}, true},
        };
        for (const Probe& p : probes) {
            const Pixel at = ScreenPixel(p.floorPoint);
            SCOPED_TRACE(::testing::Message() << p.what << " at pixel " << at.x << "," << at.y);
            const int brightness = Brightness(img, at);
            if (!p.shadowed) {
                EXPECT_NEAR(brightness, lit, 3);
                continue;
            }
            EXPECT_LT(brightness, lit * 3 / 4) << "the shadow is clearly darker";
            EXPECT_GT(brightness, lit / 4) << "darkened, not blacked out";
        }
    }
    delete mesh;
}

} // namespace
