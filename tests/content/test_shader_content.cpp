// The shipped shader files: they read without a logged fault, in the order the game reads them,
// define every shader name the code asks for (content/shader_names.h) and every font's shader,
// and name only textures the game folder has.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "content/content_files.h"
#include "content/shader_names.h"
#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "platform/sys/files.h"
#include "render/render_d3d.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "render/texture.h"
#include "support/temp_dir.h"
#include "world/table/table_materials.h"

namespace {

// In the order both frameworks read them.
constexpr const char* SHADER_FILES[] = {"data\\shaders.yml", "data\\shaders_env.yml", "data\\shaders_blocks.yml"};

using content::AtlasFor;
using content::FontEntry;
using content::FontListReader;
using content::GamePath;
using content::SourcePath;

// Reads the shipped files once with a renderer over a null Direct3D object (no device, so no
// texture file is opened) and keeps what they logged.
class ShaderContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir();
        auto d3d = std::make_shared<gpu::NullDirect3D>();
        render_ = new Render_D3D([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
        LogReopen(dir_->File("log.txt"));
        for (const char* file : SHADER_FILES) ParseShaderFile(GamePath(file).c_str());
        LogReopen("");
        std::istringstream in(dir_->Read("log.txt"));
        for (std::string line; std::getline(in, line);) log_.push_back(line);
    }
    static void TearDownTestSuite() {
        delete render_;
        render_ = nullptr;
        delete dir_;
        dir_ = nullptr;
    }

    static TempDir* dir_;
    static Render_D3D* render_;
    static std::vector<std::string> log_;
};

TempDir* ShaderContent::dir_ = nullptr;
Render_D3D* ShaderContent::render_ = nullptr;
std::vector<std::string> ShaderContent::log_;

TEST_F(ShaderContent, EveryFileReadsWithoutAFault) {
    std::vector<std::string> expected;
    for (const char* file : SHADER_FILES) expected.push_back("Parse shaders from file, " + GamePath(file));
    EXPECT_EQ(log_, expected);
}

TEST_F(ShaderContent, EveryNameTheCodeAsksForIsDefined) {
    for (const content::ShaderName& n : content::SHADER_NAMES_USED_BY_CODE) {
        EXPECT_NE(FindShaderInList(std::string(n.name)), nullptr)
            << "no <shader name=\"" << n.name << "\"> (" << n.user << ")";
    }
    // Each name is listed once.
    std::set<std::string_view> seen;
    for (const content::ShaderName& n : content::SHADER_NAMES_USED_BY_CODE)
        EXPECT_TRUE(seen.insert(n.name).second) << n.name;
}

TEST_F(ShaderContent, EveryFontHasItsShaderWithItsGlyphTexture) {
    FontListReader reader;
    ASSERT_TRUE(reader.Load(SourcePath("data/fonts.yml").c_str()));
    ASSERT_FALSE(reader.fonts.empty());
    for (const FontEntry& font : reader.fonts) {
        SCOPED_TRACE(font.name);
        const YShader* s = FindShaderInList(font.shader);
        ASSERT_NE(s, nullptr) << "no <shader name=\"" << font.shader << "\">";
        ASSERT_FALSE(s->stages.empty());
        ASSERT_NE(s->stages[0]->texture, nullptr);
        EXPECT_EQ(s->stages[0]->texture->name, AtlasFor(font.data));
        // Glyphs are cut out by their alpha, over whatever was drawn before.
        EXPECT_TRUE(s->IsBlended());
    }
}

TEST_F(ShaderContent, EveryTextureNamedIsInTheGameFolder) {
    for (const YShader* s : ShaderList())
        for (const YShaderStageBase* stage : s->stages) {
            if (!stage->texture) continue;
            EXPECT_GE(plat::FileSize(GamePath(stage->texture->name)), 0)
                << s->name << " names the missing texture " << stage->texture->name;
        }
}

TEST_F(ShaderContent, TheEnvironmentShaderHasAStageForTheFacePictures) {
    // Each face of the sky box copies "environment" and puts its picture into the first stage.
    const YShader* env = FindShaderInList("environment");
    ASSERT_NE(env, nullptr);
    ASSERT_FALSE(env->stages.empty());
    EXPECT_EQ(env->stages[0]->texture, nullptr);
    EXPECT_NE(env->stages[0]->states[SS_COLOR_OP], gpu::D3DTOP_DISABLE);
    // The game draws the box after the table, at the far plane: it must pass the depth test only
    // where nothing was drawn (less or equal against the cleared 1.0) and write no depth.
    EXPECT_EQ(env->renderStates[RS_DEPTH_ENABLE], static_cast<uint32_t>(gpu::D3DZB_TRUE));
    EXPECT_EQ(env->renderStates[RS_DEPTH_FUNC], static_cast<uint32_t>(gpu::D3DCMP_LESSEQUAL));
    EXPECT_EQ(env->renderStates[RS_DEPTH_WRITE_ENABLE], 0u);
}

TEST_F(ShaderContent, EveryTableMaterialNamesDefinedShaders) {
    // Every name a material asks for must have been defined by the shader files: FindShader would
    // otherwise make an empty (black) one.
    std::set<std::string> defined;
    for (const YShader* s : ShaderList()) defined.insert(s->name);
    std::vector<YTableMaterial> materials;
    YTableMaterialLoader loader(materials);
    ASSERT_TRUE(loader.Load(GamePath("data\\env.yml").c_str()));
    ASSERT_FALSE(materials.empty());
    bool hasDefault = false;
    for (const YTableMaterial& m : materials) {
        hasDefault = hasDefault || m.name == "default";
        EXPECT_EQ(m.shaders.size(), 10u) << m.name << " is given once, with ten shaders";
        for (const YShader* s : m.shaders) EXPECT_TRUE(defined.count(s->name)) << m.name << ": " << s->name;
    }
    EXPECT_TRUE(hasDefault) << "the table builds with \"default\" at start";
}

} // namespace
