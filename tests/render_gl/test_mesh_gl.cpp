// The shipped models on the OpenGL device, drawn as a game frame draws its scene: the sky box
// first, then a floor, then the registered drawables through the draw queues, then the shadows.
// The hero ("mesh\hero.ams", scaled and set up as the racket does) walks in mid-stride with a
// planar shadow; a ball ("mesh\ball_norm.mes") casts a stencil shadow. Pixels of the capture are
// probed: the figure and the ball show their own colours, the sky its blue, and the floor is
// darker in both shadows than in the light. Runs under Xvfb (label "gl"); without a display the
// test skips.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/mesh/hero_channels.h"
#include "render/mesh/mesh.h"
#include "render/mesh/mesh_draw.h"
#include "render/mesh/mesh_instance.h"
#include "render/mesh/skel_channels.h"
#include "render/mesh/skel_instance.h"
#include "render/mesh/skel_mesh.h"
#include "render/render.h"
#include "render/render_resource.h"
#include "render/scene/environment_box.h"
#include "render/scene/shadow_volume.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"

namespace {

namespace fs = std::filesystem;
using glscene::Pixel;
using glscene::Rgb;

constexpr int kCapture = 256;
constexpr float kFov = 45.0f;

// Lit by the scene's light, untextured, with the renderer's default states (culling included).
struct LitShader : YShaderBase {
    LitShader(float r, float g, float b) {
        const float colour[4] = {r, g, b, 1.0f};
        for (int i = 0; i < 4; ++i) {
            material.diffuse[i] = colour[i];
            material.ambient[i] = i < 3 ? colour[i] * 0.7f : 1.0f;
        }
    }
};

// Where the picture shows: the eye 8 units from the point (0, 0, 0.9), looking along +y and 10
// degrees down; the light comes from the left, a little from the eye's side, so shadows fall to
// the right of the figure and of the ball, where the eye sees them.
const YVector kLight(1.0f, 0.3f, -1.0f);
const YVector kHeroAt(-1.1f, 0.0f, 0.0f);
const YVector kBallAt(1.4f, 0.4f, 0.5f); // resting on the floor (radius 0.5)

Pixel ScreenPixel(const YVector& world) { return glscene::ScreenPixel(world, kCapture, kFov); }

// Where the light puts the shadow of `p` on the floor.
YVector FloorShadow(const YVector& p) { return p - kLight * (p.z / kLight.z); }

// The mean colour of the 3 x 3 pixels round p.
Rgb At(const plat::Image& img, Pixel p) {
    Rgb sum{0, 0, 0};
    if (p.x < 1 || p.y < 1 || p.x + 1 >= img.width || p.y + 1 >= img.height) {
        ADD_FAILURE() << "probe " << p.x << "," << p.y << " is outside the picture";
        return sum;
    }
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const Rgb c = glscene::ColourAt(img, p.x + dx, p.y + dy);
            sum.r += c.r, sum.g += c.g, sum.b += c.b;
        }
    return {sum.r / 9, sum.g / 9, sum.b / 9};
}

class MeshGlTest : public glscene::GlShadowSceneTest<MeshGlTest> {
protected:
    static void SetUpTestSuite() {
        // The back buffer's depth-stencil serves the capture, so the window must cover it.
        if (!OpenScene("mesh test", 320, 320, {"data/shaders.yml", "mesh/hero.ams"})) return;
        // Loading a model writes its cache beside it, so the models load from a scratch copy.
        dir_->MakeDir("mesh");
        for (const char* file : {"hero.ams", "ball_norm.mes"})
            fs::copy_file(fs::path(KORVELIN_GAME_DIR) / "mesh" / file, dir_->Path() / "mesh" / file);
        if (!MakeDevice()) return;
        RestoreRenderResources(RESOURCE_ALL);
        {
            glscene::WorkingDir scratch(dir_->Path());
            hero_ = GetSkelMesh("mesh\\hero.ams");
            ball_ = GetMesh("mesh\\ball_norm.mes");
        }
        // Shaders and the sky box's pictures are named relative to the game folder, where the
        // game runs. The box lists the environments of the folder it is made in.
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        ParseShaderFile("data\\shaders.yml");
        ParseShaderFile("data\\shaders_env.yml");
        sky_ = new YEnvironmentBox();
        sky_->SetEnvironment("");
    }
    static void TearDownTestSuite() {
        delete sky_;
        sky_ = nullptr;
        delete hero_;
        hero_ = nullptr;
        delete ball_;
        ball_ = nullptr;
        GlShadowSceneTest::TearDownTestSuite();
    }

    static inline YSkelMesh* hero_ = nullptr;
    static inline YMesh* ball_ = nullptr;
    static inline YEnvironmentBox* sky_ = nullptr;
};

TEST_F(MeshGlTest, WalkingHeroAndBallOverTheFloorUnderTheSky) {
    ASSERT_TRUE(ShadowsEnabled()) << "the device has no stencil buffer";
    ASSERT_FALSE(sky_->Names().empty()) << "the game folder has no sky box";
    ASSERT_FALSE(hero_->faces.empty());
    ASSERT_FALSE(ball_->faces.empty());
    glscene::LookAt(YVector(0, 0, 0.9f), 80.0f, 8.0f, kLight);

    // The racket's set-up of its figure.
    hero_->Scale(0.02f);
    for (const HeroAnimation& a : HERO_ANIMATIONS) hero_->poseLists.push_back(MakeIntRange(a.firstPose, a.poseCount));
    for (std::size_t c = 0; c < HERO_CHANNELS.size(); ++c) {
        const HeroChannelSetup& ch = HERO_CHANNELS[c];
        hero_->SetChannel(static_cast<int32_t>(c), ch.syncChannel, ch.animation, ch.weight, ch.fadeIn, ch.fadeOut,
                          ch.loop, HERO_CHANNEL_REWIND);
        if (ch.boneWeights) hero_->SetChannelBoneWeights(static_cast<int32_t>(c), ch.boneWeights);
    }
    LitShader clothes(0.75f, 0.12f, 0.1f), skin(0.95f, 0.72f, 0.55f), shoes(0.3f, 0.2f, 0.12f);
    LitShader green(0.15f, 0.75f, 0.2f);
    glscene::SolidShader floor(0.55f, 0.55f, 0.55f);
    {
        YSkelMeshInstance hero(hero_);
        hero.shaders = {&clothes, &skin, &shoes};
        hero.shadowMode = SHADOW_PLANAR;
        hero.drawFlags = 2;
        hero.rate = 100.0f;
        // Walking at 40 % of full speed, as the racket blends it; 0.24 s in, the right foot is
        // furthest forward.
        hero.SetPose(0, false);
        hero.StartChannel(ChannelNumber(HeroChannel::SlowWalk), -1, 0.4f);
        hero.StartChannel(ChannelNumber(HeroChannel::Walk), -1, 0.73f);
        for (int i = 0; i < 12; ++i) {
            hero.UpdateChannels(0.02f);
            hero.UpdatePose();
        }
        YMatrix turn, place;
        turn.SetRotationZ(-35.0f); // facing the eye, turned a little to its right
        place.MatrixSetTranslation(kHeroAt);
        const YMatrix heroWorld = place * turn;
        hero.SetTransform(heroWorld.m);

        YMeshInstance ballShape(ball_, 1.0f, 0);
        YMeshInstanceRef ball(1, &ballShape);
        ball.shaders = {&green};
        YMatrix ballWorld;
        ballWorld.MatrixSetTranslation(kBallAt);
        ball.SetTransform(ballWorld.m);

        const plat::Image img = Capture("hero.bmp", kCapture, kCapture, [&] {
            render_->BeginFrame(true);
            render_->SetPerspective(80.0f, 1.0f, 0.1f, 2.0f);
            sky_->Draw();
            render_->SetPerspective(kFov, 1.0f, 1.0f, 100.0f);
            render_->SetWorldMatrix(&g_Camera.view);
            g_ShadowVolume.Begin(0.0f);
            render_->SetShader(&floor, true);
            const YVector ground[4] = {{-20, -20, 0}, {20, -20, 0}, {20, 20, 0}, {-20, 20, 0}};
            render_->DrawQuad(ground);
            QueueMeshDraws();
            DrawOpaqueQueue();
            DrawBlendedQueue();
            EXPECT_FALSE(g_ShadowVolume.front.empty() && g_ShadowVolume.back.empty()) << "the ball casts no volume";
            g_ShadowVolume.Draw(true);
            render_->EndFrame();
        });
        ASSERT_FALSE(img.Empty());
        EXPECT_TRUE(plat::SavePng(dir_->File("hero.png"), img, false));

        // The figure: the clothes of its belly, the skin of its head.
        const Rgb belly = At(img, ScreenPixel(kHeroAt + YVector(0, 0, 1.15f)));
        EXPECT_GT(belly.r, belly.g + 50) << "clothes " << belly.r << "," << belly.g << "," << belly.b;
        EXPECT_GT(belly.r, belly.b + 50);
        const Rgb head = At(img, ScreenPixel(kHeroAt + YVector(0, 0, 1.73f)));
        EXPECT_GT(head.r, 150) << "skin " << head.r << "," << head.g << "," << head.b;
        EXPECT_GT(head.g, head.b);
        EXPECT_GT(head.r, head.g);
        // The ball, on the side that faces the eye.
        const Rgb ballSide = At(img, ScreenPixel(kBallAt + YVector(0, -0.45f, 0.1f)));
        EXPECT_GT(ballSide.g, ballSide.r + 50) << "ball " << ballSide.r << "," << ballSide.g << "," << ballSide.b;
        EXPECT_GT(ballSide.g, ballSide.b + 50);
        // The sky above the middle of the picture: the environment's blue.
        const Rgb sky = At(img, {kCapture / 2, 12});
        EXPECT_GT(sky.b, 170) << "sky " << sky.r << "," << sky.g << "," << sky.b;
        EXPECT_GT(sky.b, sky.r + 30);
        EXPECT_GT(sky.b, sky.g);

        // The floor as drawn (0.55 grey) where nothing shades it, darker in the shadows: the
        // hero's (planar) cast by its chest, the ball's (stencil) cast by its centre.
        const int lit = At(img, ScreenPixel(YVector(-1.8f, -2.5f, 0))).Brightness();
        EXPECT_NEAR(lit, 140, 4) << "the floor in the light is as drawn";
        const int litRight = At(img, ScreenPixel(YVector(2.0f, -2.5f, 0))).Brightness();
        EXPECT_NEAR(litRight, lit, 4);
        const Pixel heroShadow = ScreenPixel(FloorShadow(kHeroAt + YVector(0, 0, 1.2f)));
        const Pixel ballShadow = ScreenPixel(FloorShadow(kBallAt + YVector(0.2f, 0, 0.2f)));
        for (const Pixel p : {heroShadow, ballShadow}) {
            SCOPED_TRACE(::testing::Message() << "shadow at pixel " << p.x << "," << p.y);
            const Rgb c = At(img, p);
            EXPECT_LT(c.Brightness(), lit * 3 / 4) << "the shadow is clearly darker";
            EXPECT_GT(c.Brightness(), lit / 4) << "darkened, not blacked out";
            EXPECT_NEAR(c.r, c.g, 6) << "the floor's grey, darkened";
        }
    }
}

} // namespace
