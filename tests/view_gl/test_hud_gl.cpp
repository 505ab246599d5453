// The in-game HUD drawn by the real renderer on the OpenGL device with the shipped fonts, shaders
// and pictures, on the 800 x 600 overlay. The probes look for the bar's warm rim round the score,
// the score's letters on it, the red heart of the lives, the needle, and a caption's letters at
// the bottom. Runs under Xvfb (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "render/font_loader.h"
#include "render/render.h"
#include "render/render_resource.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"
#include "shell/hud.h"
#include "shell/hud_caption.h"
#include "shell/hud_painter.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

class HudGlTest : public glscene::GlSceneTest<HudGlTest> {
protected:
    static void SetUpTestSuite() {
        if (!OpenScene("hud test", kWidth, kHeight,
                       {"data/fonts.yml", "data/shaders.yml", "fonts/mainfont.dat", "textures/hud/bar.png",
                        "textures/hud/heart.png", "textures/hud/needle.png"}))
            return;
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        if (!MakeDevice()) return;
        ParseFontFile("data\\fonts.yml");
        ParseShaderFile("data\\shaders.yml");
        RestoreRenderResources(RESOURCE_ALL);
    }

    static plat::Image Draw(const char* name, const YHudValues& values, bool scoreOnly) {
        YRenderHudPainter painter;
        plat::Image shot = Capture(name, kWidth, kHeight, [&] {
            render_->BeginFrame(true);
            render_->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
            DrawHudValues(values, scoreOnly, painter);
            render_->SetShader(nullptr, true);
        });
        if (const char* keep = std::getenv("KORVELIN_KEEP_SHOTS"))
            plat::SavePng(std::string(keep) + "/" + name + ".png", shot, false);
        return shot;
    }
};

struct Box {
    int x0, y0, x1, y1;
};

template <class Test>
int Count(const plat::Image& img, Box b, Test test) {
    int n = 0;
    for (int y = std::max(0, b.y0); y < std::min(kHeight, b.y1); ++y)
        for (int x = std::max(0, b.x0); x < std::min(kWidth, b.x1); ++x) n += test(glscene::ColourAt(img, x, y));
    return n;
}

bool IsWarm(const glscene::Rgb& c) { return c.r > 150 && c.r > c.b + 80; }
bool IsRed(const glscene::Rgb& c) { return c.r > 150 && c.g < 90 && c.b < 90; }
bool IsLit(const glscene::Rgb& c) { return c.Brightness() > 60; }

TEST_F(HudGlTest, ScoreBarHeartNeedleAndCaptionShow) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    ClearHudCaptions();
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    AddHudCaption("FIREBALL", white);
    for (int i = 0; i < 100; ++i) UpdateHudCaptions(0.01f); // resting in the middle
    YHudValues v;
    v.score = 98765;
    v.lives = 3;
    v.aimAngle = 30.0f;
    const plat::Image shot = Draw("hud_full", v, false);
    ASSERT_FALSE(shot.Empty());

    // The bar at the top right carries the score in warm letters.
    EXPECT_GT(Count(shot, {620, 0, 800, 53}, IsWarm), 300) << "no bar rim or score";
    EXPECT_GT(Count(shot, {600, 0, 780, 35}, IsLit), 200) << "no score letters";
    // The heart above the lives' count, in the column's first place.
    EXPECT_GT(Count(shot, {735, 455, 795, 515}, IsRed), 800) << "no heart";
    // The needle over the ball-mode place.
    EXPECT_GT(Count(shot, {735, 520, 795, 580}, IsWarm), 40) << "no needle";
    // The caption's letters at the bottom middle, nothing far left of them.
    EXPECT_GT(Count(shot, {200, 540, 600, 580}, IsLit), 300) << "no caption";
    glscene::ExpectPixel(shot, 100, 300, {0, 0, 0}, 8);
    ClearHudCaptions();
}

TEST_F(HudGlTest, ScoreOnlyLeavesThePanelsOut) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    YHudValues v;
    v.score = 42;
    v.lives = 3;
    const plat::Image shot = Draw("hud_score_only", v, true);
    ASSERT_FALSE(shot.Empty());
    EXPECT_GT(Count(shot, {700, 0, 780, 35}, IsLit), 50) << "no score";
    EXPECT_EQ(Count(shot, {735, 455, 795, 515}, IsRed), 0) << "a heart in score-only mode";
    EXPECT_EQ(Count(shot, {620, 36, 700, 53}, IsWarm), 0) << "a bar in score-only mode";
}

} // namespace
