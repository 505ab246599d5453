// Text through the real renderer on the OpenGL device with the shipped font: "data\fonts.yml" and
// "data\shaders.yml" of the game folder are read as the game reads them, a line of "sysfont" text
// is drawn on the 2D overlay into a capture, and every pixel that lies inside exactly one glyph
// quad is compared with what the glyph's texels say should be there: lit in the text colour where
// the glyph is inked, dark where its texels are empty, and dark outside every quad. Runs under Xvfb
// (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "core/log.h"
#include "platform/gpu/device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/image/image.h"
#include "platform/window/window.h"
#include "render/font.h"
#include "render/font_loader.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/render_resource.h"
#include "render/shader_loader.h"
#include "render/video_mode.h"
#include "support/temp_dir.h"

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 64;

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

class TextGlTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir();
        LogReopen(dir_->File("log.txt"));
        for (const char* f : {"data/fonts.yml", "data/shaders.yml", "fonts/sysfont.dat", "textures/fonts/sysfont.png"})
            if (!std::filesystem::exists(GameFile(f))) missing_ += std::string(" ") + f;
        if (!missing_.empty()) return;

        window_ = new plat::Window();
        plat::WindowDesc desc;
        desc.title = "text test";
        desc.width = 160;
        desc.height = 120;
        if (!window_->Create(desc) || !DeviceHasUsableMode()) return;
        render_ = new Render_D3D();
        std::vector<YVideoMode> modes;
        render_->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        // The data files name their files relative to the game folder, as the game runs there.
        previousDir_ = new std::filesystem::path(std::filesystem::current_path());
        std::filesystem::current_path(KORVELIN_GAME_DIR);
        if (!render_->CreateDevice(window_->NativeHandle(), false, 0)) {
            delete render_;
            render_ = nullptr;
            std::filesystem::current_path(*previousDir_);
            return;
        }
        // As the framework does after making the device: textures from an earlier run of this
        // suite get their device textures again.
        RestoreRenderResources(RESOURCE_ALL);
        ParseFontFile("data\\fonts.yml");
        ParseShaderFile("data\\shaders.yml");
        std::filesystem::current_path(*previousDir_);
    }
    static void TearDownTestSuite() {
        delete render_;
        render_ = nullptr;
        delete window_;
        window_ = nullptr;
        delete previousDir_;
        previousDir_ = nullptr;
        LogReopen("");
        delete dir_;
        dir_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(missing_.empty()) << "the game folder lacks" << missing_ << " (build the game_data target)";
        if (!render_) GTEST_SKIP() << "no OpenGL display with a usable mode (run under xvfb-run)";
    }

    static TempDir* dir_;
    static plat::Window* window_;
    static Render_D3D* render_;
    static std::filesystem::path* previousDir_;
    static std::string missing_;
};

TempDir* TextGlTest::dir_ = nullptr;
plat::Window* TextGlTest::window_ = nullptr;
Render_D3D* TextGlTest::render_ = nullptr;
std::filesystem::path* TextGlTest::previousDir_ = nullptr;
std::string TextGlTest::missing_;

// Where one drawn glyph quad lies on the screen and in the atlas.
struct PlacedQuad {
    float x0, y0, x1, y1;  // screen
    float u0, v0, u1, v1;  // atlas, at (x0, y0) and (x1, y1)
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

    const char* text = "HTgx#";
    const float x = 6.0f, y = 60.0f, size = 56.0f;
    const float colour[4] = {1.0f, 0.5f, 0.25f, 1.0f};

    ASSERT_TRUE(render_->BeginCapture(kWidth, kHeight));
    render_->BeginFrame(true);
    render_->Set2D(0, 0, kWidth, kHeight);
    render_->SetShaderColor(font->shader, colour);
    const float drawn = font->DrawText(x, y, size, text);
    render_->EndFrame();
    const std::string file = dir_->File("text.bmp");
    ASSERT_TRUE(render_->SaveCapture(file.c_str()));
    render_->EndCapture();
    EXPECT_FLOAT_EQ(drawn, font->GetTextWidth(text) * size);

    plat::Image shot;
    ASSERT_TRUE(plat::LoadImage(file, shot));
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
            const uint8_t* got = shot.Pixel(px, py);
            if (covering == 0) {
                ++outsideProbes;
                ASSERT_LE(std::max({got[0], got[1], got[2]}), 8) << "lit outside the text at " << px << "," << py;
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
                ASSERT_LE(std::max({got[0], got[1], got[2]}), 8) << "lit in a glyph's gap at " << px << "," << py;
                break;
            case Texels::Mixed:
                break;
            }
        }
    // Enough of each kind that a misplaced, flipped or missing glyph cannot pass.
    EXPECT_GT(inkProbes, 100);
    EXPECT_GT(emptyProbes, 500);
    EXPECT_GT(outsideProbes, 3000);
}

} // namespace
