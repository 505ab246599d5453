// The menu scene as the game draws it after the start-up slide show (the default sky box, the
// particle and draw queues, the stencil shadow pass with shadows on and nothing casting) on the
// OpenGL device in an 800 x 600 window, read back from the back buffer before it is presented.
// The probes hold the colours this scene showed before the frame was made cheaper (the shadow
// darkening skipped when nothing cast a shadow, client-memory draws streamed through a vertex
// buffer, the back buffer drawn straight into the window): the picture must not change. Runs
// under Xvfb (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "core/init.h"
#include "core/log.h"
#include "platform/gpu/device.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/render_d3d.h"
#include "render/render_resource.h"
#include "render/scene/environment_box.h"
#include "render/scene/shadow_volume.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "render/video_mode.h"
#include "render_gl/gl_scene_fixture.h"
#include "support/temp_dir.h"

namespace {

using glscene::Rgb;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kTolerance = 3; // per channel

// An 800 x 600 picture read from the back buffer: rows top first, X8R8G8B8.
struct Picture {
    std::vector<uint32_t> pixels;
    Rgb At(int x, int y) const {
        const uint32_t p = pixels[static_cast<size_t>(y) * kWidth + x];
        return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
    }
};

class MenuSceneGlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testsupport::TempDir();
        LogReopen(dir_->File("log.txt"));
        if (!std::filesystem::exists(glscene::GameFile("data/shaders_env.yml"))) {
            missing_ = true;
            return;
        }
        // As in the game: the renderer (and with it the device layer) first, then the window.
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        render_ = new Render_D3D();
        window_ = new plat::Window();
        plat::WindowDesc desc;
        desc.title = "menu scene test";
        desc.width = kWidth;
        desc.height = kHeight;
        if (!window_->Create(desc) || !glscene::DeviceHasUsableMode()) return Drop();
        std::vector<YVideoMode> modes;
        render_->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        if (!render_->CreateDevice(window_->NativeHandle(), false, 0)) return Drop();
        RestoreRenderResources(RESOURCE_ALL);
        ParseShaderFile("data\\shaders.yml");
        ParseShaderFile("data\\shaders_env.yml");
        box_ = new YEnvironmentBox(); // lists "env" of the game folder
        box_->SetEnvironment("");
    }
    static void Drop() {
        delete render_;
        render_ = nullptr;
    }
    static void TearDownTestSuite() {
        delete box_;
        box_ = nullptr;
        Drop();
        delete window_;
        window_ = nullptr;
        LogReopen("");
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        ASSERT_FALSE(missing_) << "the game folder lacks data/shaders_env.yml (build the game_data target)";
        if (!render_) GTEST_SKIP() << "no OpenGL display with a usable mode (run under xvfb-run)";
        savedShadows_ = GetInit().shadows;
        GetInit().shadows = true;
    }
    void TearDown() override {
        g_ShadowVolume.Begin(0);
        GetInit().shadows = savedShadows_;
    }

    // One frame of the menu scene, read back before it is presented.
    static Picture Frame() {
        static const float FULL_POS[2] = {0.0f, 0.0f};
        static const float FULL_SIZE[2] = {1.0f, 1.0f};
        render_->BeginFrame(true);
        render_->SetViewport(FULL_POS, FULL_SIZE);
        g_ShadowVolume.Begin(-61.3f);
        render_->SetPerspective(80.0f, 4.0f / 3.0f, 0.1f, 2.0f);
        box_->Draw();
        render_->SetPerspective(g_Camera.fov, 4.0f / 3.0f, 5.0f, 650.0f);
        render_->SetWorldMatrix(&g_Camera.view);
        g_ShadowVolume.Begin(0.0f);
        DrawOpaqueQueue();
        DrawBlendedQueue();
        g_ShadowVolume.Draw(true);
        Picture picture = ReadBackBuffer();
        render_->EndFrame();
        return picture;
    }

    static Picture ReadBackBuffer() {
        Picture picture;
        gpu::IDevice* device = render_->Device();
        gpu::SurfacePtr back, copy;
        if (gpu::Failed(device->GetBackBuffer(0, 0, &back)) ||
            gpu::Failed(device->CreateImageSurface(kWidth, kHeight, gpu::D3DFMT_X8R8G8B8, &copy)) ||
            gpu::Failed(device->CopyRects(back.get(), nullptr, 0, copy.get(), nullptr))) {
            ADD_FAILURE() << "the back buffer cannot be read";
            return picture;
        }
        gpu::LockedRect locked;
        if (gpu::Failed(copy->LockRect(&locked, nullptr, 0))) {
            ADD_FAILURE() << "the copy cannot be locked";
            return picture;
        }
        picture.pixels.resize(static_cast<size_t>(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(&picture.pixels[static_cast<size_t>(y) * kWidth],
                        static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch, kWidth * 4);
        copy->UnlockRect();
        return picture;
    }

    static inline testsupport::TempDir* dir_ = nullptr;
    static inline plat::Window* window_ = nullptr;
    static inline Render_D3D* render_ = nullptr;
    static inline YEnvironmentBox* box_ = nullptr;
    static inline bool missing_ = false;
    bool savedShadows_ = true;
};

// What the scene showed before: pixels spread over the picture, and the mean colour.
struct Probe {
    glscene::Pixel at;
    Rgb colour;
};
const Probe kProbes[] = {
    {{10, 15}, {188, 195, 205}},   {{400, 15}, {208, 213, 221}},  {{790, 15}, {213, 213, 219}},
    {{270, 110}, {139, 155, 177}}, {{660, 110}, {152, 163, 183}}, {{10, 205}, {232, 231, 229}},
    {{140, 300}, {121, 134, 153}}, {{660, 300}, {236, 235, 233}}, {{140, 395}, {167, 170, 176}},
    {{400, 490}, {218, 218, 210}}, {{10, 585}, {153, 165, 184}},  {{790, 585}, {197, 204, 214}},
};
const double kMean[3] = {201.988, 205.580, 210.927};

TEST_F(MenuSceneGlTest, ThePictureIsTheOneBeforeTheFrameGotCheaper) {
    Frame(); // the first frame uploads; the second is a steady one
    const Picture p = Frame();
    ASSERT_EQ(p.pixels.size(), static_cast<size_t>(kWidth) * kHeight);
    for (const Probe& probe : kProbes) {
        const Rgb got = p.At(probe.at.x, probe.at.y);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(got[c], probe.colour[c], kTolerance)
                << "channel " << c << " at " << probe.at.x << "," << probe.at.y;
    }
    double sum[3] = {};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c) sum[c] += p.At(x, y)[c];
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(sum[c] / (kWidth * kHeight), kMean[c], 0.5) << "mean of channel " << c;
}

// Frames after the first show the same picture: nothing of one frame leaks into the next.
TEST_F(MenuSceneGlTest, EveryFrameShowsTheSamePicture) {
    const Picture first = Frame();
    for (int i = 0; i < 3; ++i) Frame();
    const Picture later = Frame();
    ASSERT_EQ(first.pixels.size(), later.pixels.size());
    size_t differing = 0;
    for (size_t i = 0; i < first.pixels.size(); ++i)
        differing += (first.pixels[i] & 0xFFFFFF) != (later.pixels[i] & 0xFFFFFF);
    EXPECT_EQ(differing, 0u);
}

// The sky box lies at the far plane: drawn after opaque geometry it fills exactly the pixels that
// geometry left uncovered, the picture of the sky drawn first with the geometry over it.
TEST_F(MenuSceneGlTest, TheSkyDrawnAfterTheSceneShowsWhatItShowedDrawnFirst) {
    static const float FULL_POS[2] = {0.0f, 0.0f};
    static const float FULL_SIZE[2] = {1.0f, 1.0f};
    YShader* plain = FindShader("sky_order_test_plain"); // untextured, lit, writes depth
    for (int i = 0; i < 4; ++i) plain->material.emissive[i] = plain->material.diffuse[i] = i == 3 ? 1.0f : 0.3f;
    // A quad over the left part of the view, at depth 0.5.
    const YVector left[4] = {{0, 0, 0}, {300, 0, 0}, {300, 600, 0}, {0, 600, 0}};
    auto frame = [&](bool skyFirst) {
        render_->BeginFrame(true);
        render_->SetViewport(FULL_POS, FULL_SIZE);
        auto sky = [] {
            render_->SetPerspective(80.0f, 4.0f / 3.0f, 0.1f, 2.0f);
            box_->Draw();
        };
        if (skyFirst) sky();
        render_->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
        render_->SetShader(plain, true);
        render_->DrawQuad(left);
        if (!skyFirst) sky();
        Picture picture = ReadBackBuffer();
        render_->EndFrame();
        return picture;
    };
    frame(true);
    const Picture first = frame(true);
    const Picture after = frame(false);
    ASSERT_EQ(first.pixels.size(), static_cast<size_t>(kWidth) * kHeight);
    ASSERT_EQ(after.pixels.size(), first.pixels.size());
    size_t differing = 0;
    for (size_t i = 0; i < first.pixels.size(); ++i)
        differing += (first.pixels[i] & 0xFFFFFF) != (after.pixels[i] & 0xFFFFFF);
    EXPECT_EQ(differing, 0u);
    // The quad covers its part, the sky the rest (its picture, not the cleared black).
    const Rgb quad = after.At(100, 300), sky = after.At(600, 400);
    EXPECT_NE(quad.Brightness(), sky.Brightness());
    EXPECT_GT(sky.Max(), 40);
}

} // namespace
