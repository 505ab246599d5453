// The renderer on the OpenGL device, the way the game uses it: a window from the window layer, the
// device made for it, frames begun, cleared and presented, a level-thumbnail capture saved as BMP,
// and a textured quad from a PNG file drawn through a shader. Pictures are checked by probing
// pixels of the saved captures. Runs under Xvfb (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include <string>

#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "render/render.h"
#include "render/render_resource.h"
#include "render/texture.h"
#include "render_gl/gl_scene_fixture.h"

namespace {

using glscene::ExpectPixel;

constexpr int kCapture = 32;
constexpr int kTolerance = 2; // per channel

// One stage that shows its texture as it is, or no stage at all (the lit material colour).
struct FlatShader : YShaderBase {
    explicit FlatShader(YTexture* texture) {
        renderStates[RS_CULL_MODE] = gpu::D3DCULL_NONE;
        renderStates[RS_DEPTH_ENABLE] = gpu::D3DZB_FALSE;
        if (!texture) return;
        auto* stage = new YShaderStageBase();
        stage->texture = texture;
        stage->states[SS_COLOR_OP] = gpu::D3DTOP_SELECTARG1;
        stage->states[SS_COLOR_ARG1] = gpu::D3DTA_TEXTURE;
        stage->states[SS_ALPHA_OP] = gpu::D3DTOP_SELECTARG1;
        stage->states[SS_ALPHA_ARG1] = gpu::D3DTA_TEXTURE;
        stages.push_back(stage);
    }
    ~FlatShader() override {
        for (YShaderStageBase* s : stages) delete s;
    }
};

class RenderGlTest : public glscene::GlSceneTest<RenderGlTest> {
protected:
    static void SetUpTestSuite() {
        if (OpenScene("render test", 160, 120)) MakeDevice();
    }

    // Draws `scene` into a capture of kCapture x kCapture pixels in one frame, saves it as BMP and
    // reads it back.
    template <class Scene>
    plat::Image Capture(const char* name, Scene scene) {
        EXPECT_TRUE(render_->IsDeviceReady());
        return GlSceneTest::Capture(name, kCapture, kCapture, scene);
    }

    static void SetFlatColour(float r, float g, float b) {
        const float colour[4] = {r, g, b, 1.0f};
        YMaterial m;
        for (int i = 0; i < 4; ++i) m.emissive[i] = colour[i];
        render_->SetMaterial(&m, true);
    }
};

TEST_F(RenderGlTest, FramesBeginClearAndPresentInTheWindow) {
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(render_->IsDeviceReady());
        render_->BeginFrame(true);
        render_->EndFrame();
    }
    EXPECT_EQ(render_->Presentation().BackBufferWidth, 160u); // the window's client size
    EXPECT_EQ(render_->Presentation().BackBufferHeight, 120u);
    EXPECT_GE(render_->DeviceStageCount(), 2);
}

TEST_F(RenderGlTest, CapturedFrameIsClearedToBlackUnderWhatIsDrawn) {
    FlatShader flat(nullptr);
    const plat::Image img = Capture("clear.bmp", [&] {
        // A green frame first, so a clear that did not happen would show.
        render_->BeginFrame(true);
        render_->SetShader(&flat, false);
        SetFlatColour(0, 1, 0);
        render_->DrawFullScreenQuad();
        render_->EndFrame();
        const std::string green = dir_->File("green.bmp");
        ASSERT_TRUE(render_->SaveCapture(green.c_str()));
        plat::Image before;
        ASSERT_TRUE(plat::LoadImage(green, before));
        ExpectPixel(before, 28, 16, {0, 255, 0}, kTolerance);

        render_->BeginFrame(true);
        render_->SetShader(&flat, false);
        SetFlatColour(1, 0, 0);
        render_->Set2D(0, 0, kCapture, kCapture);
        const YVector left[4] = {{0, 0, 0}, {16, 0, 0}, {16, 32, 0}, {0, 32, 0}};
        render_->DrawQuad(left);
        render_->EndFrame();
    });
    ExpectPixel(img, 4, 16, {255, 0, 0}, kTolerance);
    ExpectPixel(img, 28, 16, {0, 0, 0}, kTolerance); // the clear colour
}

TEST_F(RenderGlTest, ACaptureLargerThanTheWindowIsDrawnWhole) {
    FlatShader flat(nullptr);
    // The window is 160 x 120; the capture twice as wide and high.
    const plat::Image img = GlSceneTest::Capture("large.bmp", 320, 240, [&] {
        render_->BeginFrame(true);
        render_->SetShader(&flat, false);
        SetFlatColour(1, 0, 0);
        render_->DrawFullScreenQuad();
        render_->EndFrame();
    });
    ASSERT_EQ(img.width, 320);
    ASSERT_EQ(img.height, 240);
    const int probes[][2] = {{2, 2}, {317, 2}, {160, 120}, {2, 237}, {317, 237}};
    for (const auto& p : probes) ExpectPixel(img, p[0], p[1], {255, 0, 0}, kTolerance);
}

TEST_F(RenderGlTest, TexturedQuadFromAPngFile) {
    const std::string file = dir_->File("quarters.png");
    plat::Image quarters;
    quarters.Allocate(2, 2);
    const uint8_t texels[4][4] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 4; ++c) quarters.Pixel(i % 2, i / 2)[c] = texels[i][c];
    ASSERT_TRUE(plat::SavePng(file, quarters, false));
    YTexture* texture = GetTexture(file.c_str());
    ASSERT_TRUE(texture->deviceTexture);

    FlatShader textured(texture);
    const plat::Image img = Capture("textured.bmp", [&] {
        render_->BeginFrame(true);
        render_->SetShader(&textured, true);
        render_->Set2D(0, 0, kCapture, kCapture);
        YTexVertex quad[4];
        const float corners[4][4] = {{0, 0, 0, 0}, {32, 0, 1, 0}, {32, 32, 1, 1}, {0, 32, 0, 1}};
        for (int k = 0; k < 4; ++k) {
            quad[k].pos = YVector(corners[k][0], corners[k][1], 0);
            quad[k].uv = quad[k].uv2 = YVector2(corners[k][2], corners[k][3]);
        }
        render_->DrawTexQuad(quad);
        render_->EndFrame();
    });
    ExpectPixel(img, 8, 8, {255, 0, 0}, kTolerance);
    ExpectPixel(img, 24, 8, {0, 255, 0}, kTolerance);
    ExpectPixel(img, 8, 24, {0, 0, 255}, kTolerance);
    ExpectPixel(img, 24, 24, {255, 255, 255}, kTolerance);
    delete texture;
}

} // namespace
