// A stencil shadow on the OpenGL device with the shipped shadow shaders: a cube hangs over a floor
// in a light that comes from above and to the side; the cube hands its silhouette to the shadow
// volume as it draws, the volume passes count in the stencil buffer and the darkening pass dims
// the floor where the cube's shadow falls. Pixels of the capture are probed: the shadowed floor is
// darker than the lit floor, which stays as drawn. Runs under Xvfb (label "gl"); without a display
// the tests skip.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/init.h"
#include "core/log.h"
#include "platform/gpu/device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/image/image.h"
#include "platform/window/window.h"
#include "render/camera.h"
#include "render/mesh/mesh.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/mesh_instance.h"
#include "render/mesh/mesh_shadow.h"
#include "render/mesh/mesh_text_reader.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/render_resource.h"
#include "render/scene/shadow_volume.h"
#include "render/shader_loader.h"
#include "render/video_mode.h"
#include "render/mesh_fixtures.h"
#include "support/temp_dir.h"

namespace {

constexpr int kCapture = 128;

bool DeviceHasUsableMode() {
    gpu::Direct3DPtr d3d = gpu::Direct3DCreate(gpu::D3D_SDK_VERSION);
    if (!d3d) return false;
    const uint32_t count = d3d->GetAdapterModeCount(gpu::D3DADAPTER_DEFAULT);
    for (uint32_t i = 0; i < count; ++i) {
        gpu::DisplayMode m;
        if (gpu::Failed(d3d->EnumAdapterModes(gpu::D3DADAPTER_DEFAULT, i, &m))) continue;
        const uint32_t bytes = gpu::BytesPerPixel(m.Format);
        if (m.Width >= 640 && m.Height >= 480 && (bytes == 2 || bytes == 4)) return true;
    }
    return false;
}

std::string GameFile(const std::string& relative) { return std::string(KORVELIN_GAME_DIR) + "/" + relative; }

// Untextured, both sides, depth tested and written; the colour is the material's emissive one.
struct SolidShader : YShaderBase {
    SolidShader(float r, float g, float b) {
        renderStates[RS_CULL_MODE] = gpu::D3DCULL_NONE;
        const float colour[4] = {r, g, b, 1.0f};
        for (int i = 0; i < 4; ++i) material.emissive[i] = colour[i];
    }
};

class ShadowGlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testsupport::TempDir();
        LogReopen(dir_->File("log.txt"));
        if (!std::filesystem::exists(GameFile("data/shaders.yml"))) {
            missing_ = true;
            return;
        }
        window_ = new plat::Window();
        plat::WindowDesc desc;
        desc.title = "shadow test";
        desc.width = 200;  // the back buffer's depth-stencil serves the capture, so it must cover it
        desc.height = 200;
        if (!window_->Create(desc) || !DeviceHasUsableMode()) return;
        render_ = new Render_D3D();
        std::vector<YVideoMode> modes;
        render_->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        // The shader file names its textures relative to the game folder, where the game runs.
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(KORVELIN_GAME_DIR);
        if (render_->CreateDevice(window_->NativeHandle(), false, 0)) {
            RestoreRenderResources(RESOURCE_ALL);
            ParseShaderFile("data\\shaders.yml");
        } else {
            delete render_;
            render_ = nullptr;
        }
        std::filesystem::current_path(previous);
    }
    static void TearDownTestSuite() {
        delete render_;
        render_ = nullptr;
        delete window_;
        window_ = nullptr;
        LogReopen("");
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        ASSERT_FALSE(missing_) << "the game folder lacks data/shaders.yml (build the game_data target)";
        if (!render_) GTEST_SKIP() << "no OpenGL display with a usable mode (run under xvfb-run)";
        savedCamera_ = g_Camera;
        savedShadows_ = GetInit().shadows;
        GetInit().shadows = true;
        SetMeshShadowSink(ShadowsEnabled, AddShadowEdge);  // as the volume connects itself at start-up
    }
    void TearDown() override {
        g_ShadowVolume.Begin(0);
        GetInit().shadows = savedShadows_;
        g_Camera = savedCamera_;
    }

    static testsupport::TempDir* dir_;
    static plat::Window* window_;
    static Render_D3D* render_;
    static bool missing_;
    YCamera savedCamera_;
    bool savedShadows_ = true;
};

testsupport::TempDir* ShadowGlTest::dir_ = nullptr;
plat::Window* ShadowGlTest::window_ = nullptr;
Render_D3D* ShadowGlTest::render_ = nullptr;
bool ShadowGlTest::missing_ = false;

// The eye looks at the floor point (4, 0, 0) from 30 units away, tilted 50 degrees from straight
// above towards -y; the light travels along (1, 0, -1), so a point at height h casts onto the
// floor h units further along x.
void SetUpCamera() {
    YMatrix shift, tilt, back;
    shift.MatrixSetTranslation(YVector(-4, 0, 0));
    tilt.SetRotationX(-50.0f);
    back.MatrixSetTranslation(YVector(0, 0, -30));
    const YMatrix view = back * (tilt * shift);  // shift, then tilt, then back
    g_Camera.SetView(&view);
    const YVector light(1, 0, -1);
    g_Camera.SetLightDir(&light);
}

// The capture pixel where the world point shows (45 degree field of view, square picture).
struct Pixel {
    int x, y;
};
Pixel ScreenPixel(const YVector& world) {
    const YVector v = g_Camera.view.TransformPoint(world);
    const float scale = 1.0f / (-v.z * 0.41421356f);  // tan(22.5 degrees)
    return {static_cast<int>((v.x * scale + 1.0f) * 0.5f * kCapture),
            static_cast<int>((1.0f - v.y * scale) * 0.5f * kCapture)};
}

int Brightness(const plat::Image& img, Pixel p) {
    const uint8_t* c = img.Pixel(p.x, p.y);
    return (c[0] + c[1] + c[2]) / 3;
}

TEST_F(ShadowGlTest, CubeDarkensTheFloorWhereItsShadowFalls) {
    ASSERT_TRUE(ShadowsEnabled()) << "the device has no stencil buffer";
    SetUpCamera();

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

        ASSERT_TRUE(render_->BeginCapture(kCapture, kCapture));
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
        const std::string file = dir_->File("shadow.bmp");
        EXPECT_TRUE(render_->SaveCapture(file.c_str()));
        render_->EndCapture();

        plat::Image img;
        ASSERT_TRUE(plat::LoadImage(file, img));
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
