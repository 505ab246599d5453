// The level picker drawn with the game's data: the wheels and the level pictures show.
#include <gtest/gtest.h>

#include <set>

#include "menus/menu_test_support.h"
#include "render/render_resource.h"
#include "render/shader_loader.h"
#include "render/texture.h"
#include "render_gl/gl_scene_fixture.h"
#include "shell/level_choice.h"

namespace {

// Pictures come from the renderer's texture cache.
struct PickerHost : menutest::FakeHost {
    YTexture* GetTexture(const std::string& path) override { return ::GetTexture(path.c_str()); }
};

class LevelPickerGl : public glscene::GlSceneTest<LevelPickerGl> {
protected:
    static void SetUpTestSuite() {
        if (!OpenScene("level picker", 320, 240, {"data/shaders.yml", "mesh/wheel1.mes"})) return;
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        if (!MakeDevice()) return;
        RestoreRenderResources(RESOURCE_ALL);
        ParseShaderFile("data\\shaders.yml");
    }
};

TEST_F(LevelPickerGl, WheelsAndPicturesShow) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    PickerHost host;
    Init config;
    menutest::TwoModes(config);
    config.gameModes[0].openLevels = 2;
    LevelChoice choice(host, config);
    choice.SetLevels({"01_first_steps.lev", "02_twin_towers.lev", "03_glass_house.lev", "x.lev", "y.lev"});
    choice.levelScroll = 2.0f;
    choice.levelTarget = 2;
    const plat::Image img = Capture("picker.bmp", 160, 120, [&] {
        render_->BeginFrame(true);
        choice.Update(0.02f, false);
        choice.DrawLevelPicker(0.02f, 160.0f / 120.0f);
        render_->EndFrame();
    });
    ASSERT_FALSE(img.Empty());
    std::set<int> colours;
    int lit = 0;
    for (int y = 0; y < img.height; y += 2) {
        for (int x = 0; x < img.width; x += 2) {
            glscene::Rgb c = glscene::ColourAt(img, x, y);
            colours.insert((c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3));
            lit += c.Max() > 24;
        }
    }
    // Something more than a cleared frame: many shades over a good part of the view.
    EXPECT_GT(colours.size(), 20u);
    EXPECT_GT(lit, img.width * img.height / 4 / 20);
    EXPECT_EQ(choice.base, -2);
}

} // namespace
