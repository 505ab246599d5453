// The shipped start-up slides: "splash\config.yml" lists the slides in the order of the pictures
// texgen draws, each slide's shaders are defined by "splash\shaders.yml" without a logged fault,
// every picture keeps its proportions on screen, and both quads are drawn without the depth test
// (the background lies at the far depth, which the cleared depth buffer would hide).
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "content/content_files.h"
#include "core/color.h"
#include "core/init.h"
#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "render/render_d3d.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "render/texture.h"
#include "support/temp_dir.h"
#include "tools/common/texture_names.h"

namespace {

using content::GamePath;

struct Slide {
    std::string shader, background;
    YColor colour;
    float width, height;
};

TEST(SplashContent, EverySlideShowsAShippedPictureWithItsShaders) {
    TempDir dir;
    LogReopen(dir.File("log.txt"));
    auto d3d = std::make_shared<gpu::NullDirect3D>();
    auto render = std::make_unique<Render_D3D>([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });

    std::vector<Slide> slides;
    InitHooks().addSplashSlide = [&slides](const std::string& shader, const std::string& bg, const YColor& c, float w,
                                           float h) {
        slides.push_back({shader, bg, c, w, h});
    };
    {
        Init config;
        config.Load(GamePath("splash\\config.yml").c_str());
    }
    InitHooks().addSplashSlide = nullptr;
    ParseShaderFile(GamePath("splash\\shaders.yml").c_str());
    LogReopen("");

    std::istringstream log(dir.Read("log.txt"));
    for (std::string line; std::getline(log, line);) EXPECT_EQ(line.find("parser"), std::string::npos) << line;

    constexpr std::size_t pictures = std::size(content::SPLASH_PICTURES);
    ASSERT_EQ(slides.size(), pictures);
    for (std::size_t i = 0; i < pictures; ++i) {
        const content::TextureFile& picture = content::SPLASH_PICTURES[i];
        const Slide& slide = slides[i];
        SCOPED_TRACE(slide.shader);

        const YShader* s = FindShaderInList(slide.shader);
        ASSERT_NE(s, nullptr) << "no <shader name=\"" << slide.shader << "\"> in splash\\shaders.yml";
        ASSERT_FALSE(s->stages.empty());
        ASSERT_NE(s->stages[0]->texture, nullptr);
        EXPECT_EQ(s->stages[0]->texture->name, picture.path);
        EXPECT_EQ(s->renderStates[RS_DEPTH_ENABLE], gpu::D3DZB_FALSE);

        const YShader* bg = FindShaderInList(slide.background);
        ASSERT_NE(bg, nullptr) << "no <shader name=\"" << slide.background << "\"> in splash\\shaders.yml";
        EXPECT_EQ(bg->renderStates[RS_DEPTH_ENABLE], gpu::D3DZB_FALSE);

        // On the screen, in units of 800 x 600, with the picture's own proportions.
        EXPECT_GT(slide.width, 0.0f);
        EXPECT_LE(slide.width, 800.0f);
        EXPECT_GT(slide.height, 0.0f);
        EXPECT_LE(slide.height, 600.0f);
        EXPECT_FLOAT_EQ(slide.width / slide.height,
                        static_cast<float>(picture.width) / static_cast<float>(picture.height));
    }
    render.reset();
}

} // namespace
