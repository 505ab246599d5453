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
#include "shell/ui/ui_quad.h"
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

    // The page drawn over black, or over white (the brightest table or sky there can be).
    plat::Image Draw(const char* name, UILayout& page, bool overWhite = false) {
        UIScreen screen;
        screen.Init(800, 600, nullptr, nullptr);
        screen.Resize(kWidth, kHeight);
        screen.page = &page;
        AnimateShaders(0.0f); // as every game frame does: fixed texture turns take effect
        plat::Image shot = Capture(name, kWidth, kHeight, [&] {
            render_->BeginFrame(true);
            if (overWhite) {
                render_->Set2D(0.0f, 0.0f, 800.0f, 600.0f);
                YMatrix identity;
                identity.MatrixSetTranslation(YVector(0.0f, 0.0f, 0.0f));
                render_->SetWorldMatrix(&identity);
                static const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
                render_->SetShaderColor(FindShader("ui_line"), white);
                YTexVertex q[4];
                SetUIQuad(q, 0.0f, 0.0f, 800.0f, 600.0f);
                render_->DrawTexQuad(q);
            }
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

// Every page file of a language, and the fonts and shaders its pages name.
constexpr const char* SHIPPED_PAGES[] = {
    "mainmenu.yml", "pause.yml", "complete.yml", "scores.yml",  "options.yml",     "controls.yml",    "bonuses.yml",
    "bricks.yml",   "about.yml", "lev.yml",      "tip_aim.yml", "tip_bonuses.yml", "tip_controls.yml"};

void LoadLanguage(const char* lang) {
    ParseFontFile((std::string("ui\\") + lang + "\\fonts.yml").c_str());
    ParseShaderFile((std::string("ui\\") + lang + "\\shaders.yml").c_str());
}

// Every page of both languages draws its content: lit pixels over the page's area, none far
// outside it. The options page is drawn with its first selector focused, so the skins show.
TEST_F(PageGlTest, EveryShippedPageDrawsItsContent) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    for (const char* lang : {"english", "german"}) {
        LoadLanguage(lang);
        for (const char* file : SHIPPED_PAGES) {
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

// Every page of both languages drawn over white: inside each backing panel, next to the edges
// and behind the title's letters, the picture is dark; beside the panel it stays white; the title
// is drawn on top of its panel, not under it.
TEST_F(PageGlTest, BackingPanelsDarkenTheSceneBehindTheText) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    for (const char* lang : {"english", "german"}) {
        LoadLanguage(lang);
        for (const char* file : SHIPPED_PAGES) {
            SCOPED_TRACE(std::string(lang) + "/" + file);
            UILayout page;
            page.LoadLayout(std::string("ui\\") + lang + "\\" + file, true);
            ASSERT_FALSE(page.Panels().empty());
            const std::string shot = std::string(lang) + "_panel_" + file + ".bmp";
            const plat::Image img = Draw(shot.c_str(), page, true);
            ASSERT_FALSE(img.Empty());
            auto at = [&](float x, float y) {
                return glscene::ColourAt(img, std::clamp(static_cast<int>(x), 0, kWidth - 1),
                                         std::clamp(static_cast<int>(y + page.y), 0, kHeight - 1));
            };
            for (const UILayout::Panel& p : page.Panels()) {
                float r[4];
                ASSERT_TRUE(UILayout::PanelRect(p, r));
                for (const float x : {r[0] + 4.0f, r[2] - 4.0f}) {
                    EXPECT_LT(at(x, r[1] + 4.0f).Brightness(), 90) << "panel top at x " << x;
                    EXPECT_LT(at(x, r[3] - 4.0f).Brightness(), 90) << "panel bottom at x " << x;
                }
                if (r[0] >= 8.0f) {
                    EXPECT_GT(at(r[0] - 6.0f, (r[1] + r[3]) * 0.5f).Brightness(), 200) << "left of it";
                }
            }
            if (page.RootBlock().runs.empty()) continue;
            const UITextRun& title = page.RootBlock().runs.front();
            const float x0 = title.x,
                        x1 = title.x + title.style.font->GetTextWidth(title.text.c_str()) * title.style.size;
            const float y0 = title.y - title.style.size, y1 = title.y;
            int dark = 0, lit = 0, all = 0;
            for (float y = y0; y < y1; y += 1.0f)
                for (float x = x0; x < x1; x += 1.0f, ++all) {
                    const int b = at(x, y).Brightness();
                    dark += b < 90;
                    lit += b > 150;
                }
            EXPECT_GT(dark * 10, all * 3) << "the title's background is not dark";
            EXPECT_GT(lit, 30) << "the title's letters are not drawn over the panel";
        }
    }
}

// The level choice's start button, disabled with the grey look, shows none of its green.
TEST_F(PageGlTest, DisabledStartButtonIsDrawnGrey) {
    glscene::WorkingDir game(KORVELIN_GAME_DIR);
    ParseFontFile("ui\\english\\fonts.yml");
    ParseShaderFile("ui\\english\\shaders.yml");
    UILayout page;
    page.LoadLayout("ui\\english\\lev.yml", true);
    auto* start = dynamic_cast<UIImage*>(page.FindChild("onStartGame"));
    ASSERT_NE(start, nullptr);
    auto count = [&](const plat::Image& img, bool green) {
        int n = 0;
        for (int y = static_cast<int>(page.y + start->y); y < static_cast<int>(page.y + start->y + start->h); ++y)
            for (int x = static_cast<int>(start->x); x < static_cast<int>(start->x + start->w); ++x) {
                const glscene::Rgb c = glscene::ColourAt(img, x, y);
                const bool isGreen = c.g > 90 && c.g - c.r > 40 && c.g - c.b > 20;
                const bool isGrey = c.Brightness() > 60 && std::abs(c.r - c.g) < 16 && std::abs(c.g - c.b) < 24;
                n += green ? isGreen : isGrey;
            }
        return n;
    };
    const plat::Image normal = Draw("lev_start_enabled.bmp", page);
    ASSERT_FALSE(normal.Empty());
    EXPECT_GT(count(normal, true), 40) << "the enabled button is not green";
    start->SetEnabled(false);
    start->greyWhenDisabled = true;
    const plat::Image greyed = Draw("lev_start_disabled.bmp", page);
    EXPECT_EQ(count(greyed, true), 0) << "green left on the disabled button";
    EXPECT_GT(count(greyed, false), 40) << "the disabled button is not drawn grey";
}

} // namespace
