// The menu comets seen by the menu camera on the OpenGL device: after a second of flight each
// comet shows as a bright star with a trail in its own colour (red, orange, blue) over a black
// background. Runs under Xvfb (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/render.h"
#include "render/render_resource.h"
#include "render/scene/particles.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"
#include "shell/menu_comets.h"
#include "shell/scene_camera.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

class CometsGlTest : public glscene::GlSceneTest<CometsGlTest> {
protected:
    static void SetUpTestSuite() {
        if (!OpenScene("comets test", kWidth, kHeight,
                       {"data/shaders.yml", "textures/particles/star.png", "textures/particles/glow.png"}))
            return;
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        if (!MakeDevice()) return;
        ParseShaderFile("data\\shaders.yml");
        RestoreRenderResources(RESOURCE_ALL);
    }
};

struct Hues {
    int red = 0, orange = 0, blue = 0;
};

Hues CountHues(const plat::Image& img) {
    Hues h;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const glscene::Rgb c = glscene::ColourAt(img, x, y);
            if (c.Brightness() < 40) continue;
            if (c.b > c.r + 40)
                ++h.blue;
            else if (c.r > c.b + 60 && c.g < c.r * 0.45)
                ++h.red;
            else if (c.r > c.b + 60 && c.g > c.r * 0.5)
                ++h.orange;
        }
    }
    return h;
}

TEST_F(CometsGlTest, EachCometShowsItsStarAndTrailInItsColour) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    const YCamera saved = g_Camera;
    plat::CrtSrand(11);
    g_ParticleSystem.Clear();
    YSceneCamera camera;
    camera.moveListener = nullptr;
    const float dt = 0.02f;
    plat::Image shot;
    for (int frame = 0; frame < 50; ++frame) {
        camera.Update(dt, 2, 10.0f, 10.0f);
        UpdateMenuComets(dt);
        g_ParticleSystem.Update(dt);
        auto draw = [&] {
            render_->BeginFrame(true);
            render_->SetPerspective(g_Camera.fov, 4.0f / 3.0f, 5.0f, 650.0f);
            render_->SetWorldMatrix(&g_Camera.view);
            DrawBlendedQueue();
            render_->SetShader(nullptr, true);
        };
        if (frame < 49) {
            draw();
            render_->EndFrame();
        } else {
            shot = Capture("comets.bmp", kWidth, kHeight, draw);
        }
    }
    g_ParticleSystem.Clear();
    g_Camera = saved;
    ASSERT_FALSE(shot.Empty());
    if (const char* keep = std::getenv("KORVELIN_KEEP_SHOTS"))
        plat::SavePng(std::string(keep) + "/comets.png", shot, false);

    const Hues h = CountHues(shot);
    EXPECT_GT(h.red, 100) << "no red comet";
    EXPECT_GT(h.orange, 100) << "no orange comet";
    EXPECT_GT(h.blue, 100) << "no blue comet";
    // Three small lights, not a screen full of colour.
    EXPECT_LT(h.red + h.orange + h.blue, kWidth * kHeight / 10);
}

} // namespace
