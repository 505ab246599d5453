// A two-stage shader from a shader file, drawn by the real renderer on the OpenGL device: stage 0
// shows texture A through the first texture-coordinate set, stage 1 multiplies it by texture B
// through the second set, and each stage scrolls its coordinates by its own speed. A quad is drawn
// before and after AnimateShaders and the captures are probed at texel centres: every probe must be
// A x B of the texels the stages should read there. Runs under Xvfb (label "gl"); without a display
// the tests skip.
#include <gtest/gtest.h>

#include <string>

#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "render/render.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "render/texture.h"
#include "render_gl/gl_scene_fixture.h"

namespace {

using glscene::Rgb;

constexpr int kSide = 64;     // capture and quad, in pixels
constexpr int kCells = 4;     // texels across both textures: one texel covers 16 pixels
constexpr float kStep = 0.5f; // seconds passed to AnimateShaders

// Texture A, 4 x 4: a red/green checker whose blue counts the column, so that a shift by any
// number of texels shows.
Rgb TexelA(int x, int y) {
    const int blue = 50 + 50 * x;
    return (x + y) % 2 == 0 ? Rgb{240, 40, blue} : Rgb{40, 240, blue};
}

// Texture B, 4 x 1: a horizontal gradient, red falling and green rising.
Rgb TexelB(int x) { return Rgb{255 - 60 * x, 105 + 50 * x, 200}; }

bool SaveTexture(const std::string& file, int w, int h, Rgb (*texel)(int, int)) {
    plat::Image img;
    img.Allocate(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = texel(x, y);
            uint8_t* p = img.Pixel(x, y);
            p[0] = static_cast<uint8_t>(c.r);
            p[1] = static_cast<uint8_t>(c.g);
            p[2] = static_cast<uint8_t>(c.b);
            p[3] = 255;
        }
    return plat::SavePng(file, img, false);
}

class ShaderGlTest : public glscene::GlSceneTest<ShaderGlTest> {
protected:
    static void SetUpTestSuite() {
        if (OpenScene("shader test", 160, 120)) MakeDevice();
    }

    // One frame with `shader` on a quad over the whole capture; u of the second coordinate set
    // runs the other way (1 - u), so a stage reading the wrong set shows.
    plat::Image Draw(YShader* shader, const char* name) {
        return Capture(name, kSide, kSide, [&] {
            render_->BeginFrame(true);
            render_->SetShader(shader, true);
            render_->Set2D(0, 0, kSide, kSide);
            const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
            YVertex quad[4];
            for (int k = 0; k < 4; ++k) {
                const float u = corners[k][0], v = corners[k][1];
                quad[k].pos = YVector(u * kSide, v * kSide, 0);
                quad[k].normal = YVector(0, 0, -1);
                quad[k].uv1 = YVector2(u, v);
                quad[k].uv2 = YVector2(1 - u, v);
            }
            render_->DrawLitQuad(quad);
            render_->EndFrame();
        });
    }
};

TEST_F(ShaderGlTest, TwoStagesModulateThroughTheirOwnCoordinatesAndScroll) {
    const std::string fileA = dir_->File("checker.png"), fileB = dir_->File("gradient.png");
    ASSERT_TRUE(SaveTexture(fileA, kCells, kCells, TexelA));
    ASSERT_TRUE(SaveTexture(fileB, kCells, 1, [](int x, int) { return TexelB(x); }));
    // Stage 0 scrolls 0.5 units per second (one texel of A after kStep), stage 1 one unit per
    // second (two texels of B).
    dir_->Write("two_stage.yml",
                "<shader name=\"two_stage_gl\">\n"
                "  <state cull=\"none\" zenable=\"false\"/>\n"
                "  <map texture=\"" +
                    fileA +
                    "\">\n"
                    "    <colorblend op=\"selectarg1\" arg1=\"texture\"/>\n"
                    "    <filter min=\"point\" mag=\"point\" mip=\"none\"/>\n"
                    "    <mod_scroll x=\"0.5\"/>\n"
                    "  </map>\n"
                    "  <map texture=\"" +
                    fileB +
                    "\">\n"
                    "    <colorblend op=\"modulate\" arg1=\"texture\" arg2=\"current\"/>\n"
                    "    <filter min=\"point\" mag=\"point\" mip=\"none\"/>\n"
                    "    <mod_scroll x=\"1.0\"/>\n"
                    "  </map>\n"
                    "</shader>\n");
    ParseShaderFile(dir_->File("two_stage.yml").c_str());
    EXPECT_EQ(dir_->Read("log.txt").find("Shader parser"), std::string::npos) << dir_->Read("log.txt");
    YShader* shader = FindShaderInList("two_stage_gl");
    ASSERT_NE(shader, nullptr);
    ASSERT_EQ(shader->stages.size(), 2u);
    YTexture* textureA = shader->Stage(0)->texture;
    YTexture* textureB = shader->Stage(1)->texture;
    ASSERT_TRUE(textureA && textureA->deviceTexture);
    ASSERT_TRUE(textureB && textureB->deviceTexture);
    ASSERT_GE(render_->DeviceStageCount(), 2);

    const plat::Image before = Draw(shader, "before.bmp");
    AnimateShaders(kStep);
    const plat::Image after = Draw(shader, "after.bmp");
    ASSERT_EQ(before.width, kSide);
    ASSERT_EQ(after.width, kSide);

    // Pixel (x, y) lies in row y / 16 of A; the texel columns each stage reads there, before and
    // after the step. Before: A column x / 16, B column 3 - x / 16 (the mirrored set). After: A one
    // column on, B two columns on, both wrapping.
    struct Probe {
        int x, y;
        int rowA;
        int colA[2];
        int colB[2];
    };
    const Probe probes[] = {
        {8, 8, 0, {0, 1}, {3, 1}},   {56, 8, 0, {3, 0}, {0, 2}}, {40, 24, 1, {2, 3}, {1, 3}},
        {24, 40, 2, {1, 2}, {2, 0}}, {8, 56, 3, {0, 1}, {3, 1}}, {56, 56, 3, {3, 0}, {0, 2}},
    };
    const plat::Image* shots[2] = {&before, &after};
    for (int when = 0; when < 2; ++when) {
        for (const Probe& p : probes) {
            const Rgb a = TexelA(p.colA[when], p.rowA);
            const Rgb b = TexelB(p.colB[when]);
            SCOPED_TRACE(when ? "after the step" : "before the step");
            glscene::ExpectPixel(*shots[when], p.x, p.y, {a.r * b.r / 255, a.g * b.g / 255, a.b * b.b / 255}, 3);
        }
    }

    // The shader goes first: its stages point at the textures.
    delete shader;
    delete textureA;
    delete textureB;
}

// Overlapping quads (later ones cover earlier ones, some wound the other way) drawn one by one and
// as one batch: the two pictures are the same, pixel for pixel.
TEST_F(ShaderGlTest, ABatchOfLitQuadsDrawsWhatTheQuadsDrawOneByOne) {
    const std::string file = dir_->File("batch_checker.png");
    ASSERT_TRUE(SaveTexture(file, kCells, kCells, TexelA));
    dir_->Write("batch.yml",
                "<shader name=\"lit_quad_batch_gl\">\n"
                "  <state cull=\"none\" zenable=\"false\"/>\n"
                "  <map texture=\"" +
                    file +
                    "\">\n"
                    "    <colorblend op=\"selectarg1\" arg1=\"texture\"/>\n"
                    "    <filter min=\"point\" mag=\"point\" mip=\"none\"/>\n"
                    "  </map>\n"
                    "</shader>\n");
    ParseShaderFile(dir_->File("batch.yml").c_str());
    YShader* shader = FindShaderInList("lit_quad_batch_gl");
    ASSERT_NE(shader, nullptr);
    YTexture* texture = shader->Stage(0)->texture;

    constexpr int kQuads = 12;
    YVertex quads[kQuads * 4];
    for (int q = 0; q < kQuads; ++q) {
        const float x = static_cast<float>((q * 7) % 40), y = static_cast<float>((q * 11) % 40), side = 24.0f;
        const bool mirrored = q % 3 == 0;
        const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int k = 0; k < 4; ++k) {
            const int c = mirrored ? 3 - k : k;
            YVertex& v = quads[q * 4 + k];
            v.pos = YVector(x + corners[c][0] * side, y + corners[c][1] * side, 0);
            v.normal = YVector(0, 0, -1);
            v.uv1 = YVector2(corners[c][0] + 0.25f * static_cast<float>(q % 4), corners[c][1]);
            v.uv2 = v.uv1;
        }
    }
    auto draw = [&](const char* name, bool batched) {
        return Capture(name, kSide, kSide, [&] {
            render_->BeginFrame(true);
            render_->SetShader(shader, true);
            render_->Set2D(0, 0, kSide, kSide);
            if (batched)
                render_->DrawLitQuads(quads, kQuads);
            else
                for (int q = 0; q < kQuads; ++q) render_->DrawLitQuad(&quads[q * 4]);
            render_->EndFrame();
        });
    };
    const plat::Image single = draw("one_by_one.bmp", false);
    const plat::Image batch = draw("batched.bmp", true);
    ASSERT_EQ(single.width, kSide);
    ASSERT_EQ(batch.width, kSide);
    int differ = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            for (int c = 0; c < 3; ++c) differ += single.Pixel(x, y)[c] != batch.Pixel(x, y)[c];
    EXPECT_EQ(differ, 0);

    delete shader;
    delete texture;
}

} // namespace
