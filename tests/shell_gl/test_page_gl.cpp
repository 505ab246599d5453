// A shipped menu page drawn by the real renderer on the OpenGL device: the English pause page is
// read with the game's fonts and shaders, laid out on the 800 x 600 virtual screen and drawn into
// an 800 x 600 capture. The probes look for the title's gold letters where its text run lies, and
// for the gold glow that a focused menu item has and an unfocused one lacks. Runs under Xvfb
// (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "render/font.h"
#include "render/font_loader.h"
#include "render/render.h"
#include "render/render_resource.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_layout.h"
#include "shell/ui/ui_screen.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

class PageGlTest : public glscene::GlSceneTest<PageGlTest> {
protected:
    static void SetUpTestSuite() {
        if (!OpenScene("page test", kWidth, kHeight,
                       {"data/fonts.yml", "data/shaders.yml", "ui/english/fonts.yml", "ui/english/shaders.yml",
                        "ui/english/pause.yml", "fonts/default.dat", "textures/fonts/default.png"}))
            return;
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        if (!MakeDevice()) return;
        RestoreRenderResources(RESOURCE_ALL);
        ParseFontFile("data\\fonts.yml");
        ParseShaderFile("data\\shaders.yml");
        ParseFontFile("ui\\english\\fonts.yml");
        ParseShaderFile("ui\\english\\shaders.yml");
    }

    plat::Image Draw(const char* name, UILayout& page) {
        UIScreen screen;
        screen.Init(800, 600, nullptr, nullptr);
        screen.Resize(kWidth, kHeight);
        screen.page = &page;
        AnimateShaders(0.0f); // as every game frame does: fixed texture turns take effect
        plat::Image shot = Capture(name, kWidth, kHeight, [&] {
            render_->BeginFrame(true);
            screen.Render(true);
        });
        screen.Shutdown();
        if (const char* keep = std::getenv("KORVELIN_KEEP_SHOTS"))
            plat::SavePng(std::string(keep) + "/" + name + ".png", shot, false);
        return shot;
    }
};

bool IsGold(const glscene::Rgb& c) { return c.r > 150 && c.g > 100 && c.r - c.b > 70 && c.g - c.b > 30; }

// Gold pixels within the rectangle (page coordinates offset by the page position).
int CountGold(const plat::Image& img, float x0, float y0, float x1, float y1) {
    int n = 0;
    for (int y = std::max(0, static_cast<int>(y0)); y < std::min(kHeight, static_cast<int>(y1)); ++y)
        for (int x = std::max(0, static_cast<int>(x0)); x < std::min(kWidth, static_cast<int>(x1)); ++x)
            n += IsGold(glscene::ColourAt(img, x, y));
    return n;
}

TEST_F(PageGlTest, PausePageDrawsItsTitleAndTheFocusGlow) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    UILayout page;
    page.LoadLayout("ui\\english\\pause.yml", true);
    ASSERT_FALSE(page.RootBlock().runs.empty());
    auto* item = dynamic_cast<UIMenuItem*>(page.FindChild("onContinue"));
    ASSERT_NE(item, nullptr);

    // The title is the page's first text run: gold letters on its line, black far off the text.
    const UITextRun& title = page.RootBlock().runs.front();
    const float titleW = title.style.font->GetTextWidth(title.text.c_str()) * title.style.size;
    const plat::Image plain = Draw("pause_plain.bmp", page);
    ASSERT_FALSE(plain.Empty());
    const float ty = page.y + title.y;
    EXPECT_GT(CountGold(plain, title.x, ty - title.style.size, title.x + titleW, ty), 30) << "no gold title letters";
    glscene::ExpectPixel(plain, 5, 5, {0, 0, 0}, 8);

    // The item's own text is near white; only the focus glow is gold.
    const float ix0 = item->x - 10, iy0 = page.y + item->y - 10;
    const float ix1 = item->x + item->w + 10, iy1 = page.y + item->y + item->h + 10;
    const int unfocused = CountGold(plain, ix0, iy0, ix1, iy1);
    int white = 0;
    for (int y = static_cast<int>(iy0); y < static_cast<int>(iy1); ++y)
        for (int x = static_cast<int>(ix0); x < static_cast<int>(ix1); ++x)
            white += glscene::ColourAt(plain, x, y).Brightness() > 180;
    EXPECT_GT(white, 30) << "the menu item's text is not drawn";

    item->TakeFocus();
    page.Update(1.0f); // glow phase at its peak
    const plat::Image focused = Draw("pause_focused.bmp", page);
    const int glowing = CountGold(focused, ix0, iy0, ix1, iy1);
    EXPECT_GT(glowing, unfocused + 30) << "no focus glow (" << unfocused << " -> " << glowing << ")";
}

// Every page of both languages draws its content: lit pixels over the page's area, none far
// outside it. The options page is drawn with its first selector focused, so the skins show.
TEST_F(PageGlTest, EveryShippedPageDrawsItsContent) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    const char* pages[] = {"mainmenu.yml", "pause.yml",       "complete.yml",    "scores.yml", "options.yml",
                           "controls.yml", "bonuses.yml",     "bricks.yml",      "about.yml",  "lev.yml",
                           "tip_aim.yml",  "tip_bonuses.yml", "tip_controls.yml"};
    for (const char* lang : {"english", "german"}) {
        ParseFontFile((std::string("ui\\") + lang + "\\fonts.yml").c_str());
        ParseShaderFile((std::string("ui\\") + lang + "\\shaders.yml").c_str());
        for (const char* file : pages) {
            SCOPED_TRACE(std::string(lang) + "/" + file);
            UILayout page;
            page.LoadLayout(std::string("ui\\") + lang + "\\" + file, true);
            if (UIControl* first = page.FindChild("language")) first->TakeFocus();
            const std::string shot = std::string(lang) + "_" + file + ".bmp";
            const plat::Image img = Draw(shot.c_str(), page);
            ASSERT_FALSE(img.Empty());
            int lit = 0;
            for (int y = 0; y < kHeight; y += 2)
                for (int x = 0; x < kWidth; x += 2) lit += glscene::ColourAt(img, x, y).Brightness() > 100;
            EXPECT_GT(lit, 200) << "the page draws next to nothing";
        }
    }
}

} // namespace
