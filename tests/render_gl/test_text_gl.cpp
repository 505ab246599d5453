// Text through the real renderer on the OpenGL device with the shipped font: "data\fonts.yml" and
// "data\shaders.yml" of the game folder are read as the game reads them, a line of "sysfont" text
// is drawn on the 2D overlay into a capture, and every pixel that lies inside exactly one glyph
// quad is compared with what the glyph's texels say should be there: lit in the text colour where
// the glyph is inked, dark where its texels are empty, and dark outside every quad. Runs under Xvfb
// (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/image/image.h"
#include "render/font.h"
#include "render/font_loader.h"
#include "render/render.h"
#include "render/render_resource.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"

namespace {

using glscene::GameFile;

constexpr int kWidth = 256;
constexpr int kHeight = 64;

class TextGlTest : public glscene::GlSceneTest<TextGlTest> {
protected:
    static void SetUpTestSuite() {
        if (!OpenScene("text test", 160, 120,
                       {"data/fonts.yml", "data/shaders.yml", "fonts/sysfont.dat", "textures/fonts/sysfont.png"}))
            return;
        // The data files name their files relative to the game folder, as the game runs there.
        glscene::WorkingDir game(KORVELIN_GAME_DIR);
        if (!MakeDevice()) return;
        // As the framework does after making the device: textures from an earlier run of this
        // suite get their device textures again.
        RestoreRenderResources(RESOURCE_ALL);
        ParseFontFile("data\\fonts.yml");
        ParseShaderFile("data\\shaders.yml");
    }
};

// Where one drawn glyph quad lies on the screen and in the atlas.
struct PlacedQuad {
    float x0, y0, x1, y1; // screen
    float u0, v0, u1, v1; // atlas, at (x0, y0) and (x1, y1)
};

// What the atlas holds where a pixel samples it. Ink: the 2 x 2 texels the linear filter blends
// are white and at least fairly opaque, so the pixel is the text colour times an alpha between
// the smallest and largest of theirs. Empty: no texel nearby has any alpha, so the pixel stays
// dark. Mixed (edges, the shadow): left alone.
struct Texels {
    enum Kind { Ink, Empty, Mixed } kind = Mixed;
    float minAlpha = 1.0f, maxAlpha = 0.0f;
};

Texels Around(const plat::Image& atlas, float u, float v) {
    const int cx = static_cast<int>(std::floor(u * atlas.width - 0.5f));
    const int cy = static_cast<int>(std::floor(v * atlas.height - 0.5f));
    Texels t;
    bool empty = true;
    for (int y = cy - 1; y <= cy + 2; ++y)
        for (int x = cx - 1; x <= cx + 2; ++x) {
            if (x < 0 || y < 0 || x >= atlas.width || y >= atlas.height) return t;
            if (atlas.Pixel(x, y)[3] != 0) empty = false;
        }
    if (empty) {
        t.kind = Texels::Empty;
        return t;
    }
    for (int y = cy; y <= cy + 1; ++y)
        for (int x = cx; x <= cx + 1; ++x) {
            const uint8_t* p = atlas.Pixel(x, y);
            if (p[3] < 200 || p[0] < 250 || p[1] < 250 || p[2] < 250) return t;
            t.minAlpha = std::min(t.minAlpha, p[3] / 255.0f);
            t.maxAlpha = std::max(t.maxAlpha, p[3] / 255.0f);
        }
    t.kind = Texels::Ink;
    return t;
}

TEST_F(TextGlTest, ALineOfShippedTextIsLitWhereItsGlyphsAreInked) {
    YFont* font = FindFontInList("sysfont");
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font->shader, nullptr);
    ASSERT_FALSE(font->shader->stages.empty()) << "the font's shader was not defined by data\\shaders.yml";
    for (const std::string& line : {std::string("Font parser error"), std::string("Load font data error")})
        EXPECT_EQ(dir_->Read("log.txt").find(line), std::string::npos) << dir_->Read("log.txt");

    plat::Image atlas;
    ASSERT_TRUE(plat::LoadImage(GameFile("textures/fonts/sysfont.png"), atlas));

    const char* text = "HTgxW#";
    const float x = 6.0f, y = 60.0f, size = 56.0f;
    const float colour[4] = {1.0f, 0.5f, 0.25f, 1.0f};

    float drawn = 0.0f;
    const plat::Image shot = Capture("text.bmp", kWidth, kHeight, [&] {
        render_->BeginFrame(true);
        render_->Set2D(0, 0, kWidth, kHeight);
        render_->SetShaderColor(font->shader, colour);
        drawn = font->DrawText(x, y, size, text);
        render_->EndFrame();
    });
    EXPECT_FLOAT_EQ(drawn, font->GetTextWidth(text) * size);
    ASSERT_EQ(shot.width, kWidth);
    ASSERT_EQ(shot.height, kHeight);

    // The quads as the text drawing places them: corner 3 is the top-left, corner 1 the
    // bottom-right, y measured down from the top of the cell, which is one size above y.
    std::vector<PlacedQuad> quads;
    float pen = 0.0f;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const YGlyphCorner* c = font->glyphs[*p].corners;
        quads.push_back({x + pen + size * c[3].x, y - size + size * c[3].y, x + pen + size * c[1].x,
                         y - size + size * c[1].y, c[3].u, c[3].v, c[1].u, c[1].v});
        pen += font->widths[*p] * size;
    }

    int inkProbes = 0, emptyProbes = 0, outsideProbes = 0;
    for (int py = 0; py < kHeight; ++py)
        for (int px = 0; px < kWidth; ++px) {
            const float sx = px + 0.5f, sy = py + 0.5f;
            // Pixels on a quad's edge may or may not be covered; leave them alone.
            const PlacedQuad* inside = nullptr;
            int covering = 0;
            bool nearEdge = false;
            for (const PlacedQuad& q : quads) {
                if (sx > q.x0 - 1 && sx < q.x1 + 1 && sy > q.y0 - 1 && sy < q.y1 + 1) {
                    ++covering;
                    inside = &q;
                    if (sx < q.x0 + 1 || sx > q.x1 - 1 || sy < q.y0 + 1 || sy > q.y1 - 1) nearEdge = true;
                }
            }
            const glscene::Rgb got = glscene::ColourAt(shot, px, py);
            if (covering == 0) {
                ++outsideProbes;
                ASSERT_LE(got.Max(), 8) << "lit outside the text at " << px << "," << py;
                continue;
            }
            if (covering > 1 || nearEdge) continue;
            const PlacedQuad& q = *inside;
            const float u = q.u0 + (sx - q.x0) / (q.x1 - q.x0) * (q.u1 - q.u0);
            const float v = q.v0 + (sy - q.y0) / (q.y1 - q.y0) * (q.v1 - q.v0);
            const Texels texels = Around(atlas, u, v);
            switch (texels.kind) {
                case Texels::Ink:
                    ++inkProbes;
                    for (int ch = 0; ch < 3; ++ch) {
                        ASSERT_GE(got[ch], 255.0f * colour[ch] * texels.minAlpha - 4) << "ink at " << px << "," << py;
                        ASSERT_LE(got[ch], 255.0f * colour[ch] * texels.maxAlpha + 4) << "ink at " << px << "," << py;
                    }
                    break;
                case Texels::Empty:
                    ++emptyProbes;
                    ASSERT_LE(got.Max(), 8) << "lit in a glyph's gap at " << px << "," << py;
                    break;
                case Texels::Mixed: break;
            }
        }
    // Enough of each kind that a misplaced, flipped or missing glyph cannot pass.
    EXPECT_GT(inkProbes, 100);
    EXPECT_GT(emptyProbes, 500);
    EXPECT_GT(outsideProbes, 3000);
}

} // namespace
