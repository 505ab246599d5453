// The shipped blocks and levels: "data\blocks.yml" reads without a fault and every material names
// shaders the block shader file defines (outer shaders with the crack stage) and a known special;
// the starter levels read with the game's level codec, use only shipped materials, and between them
// use every material.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "content/content_files.h"
#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "render/render_d3d.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "support/temp_dir.h"
#include "world/blocks/block_material.h"
#include "world/level/level_file.h"

namespace {

using content::GamePath;

// The special kinds the game knows.
const std::set<std::string> kSpecials = {"fire", "water", "electro", "generator", "teleport", "heavy", "tnt"};

class BlockContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new testsupport::TempDir();
        auto d3d = std::make_shared<gpu::NullDirect3D>();
        render_ = new Render_D3D([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
        LogReopen(dir_->File("log.txt"));
        ParseShaderFile(GamePath("data\\shaders_blocks.yml").c_str());
        ResetBlockMaterials();
        LoadBlockMaterials(GamePath("data\\blocks.yml").c_str());
        LogReopen("");
        std::istringstream in(dir_->Read("log.txt"));
        for (std::string line; std::getline(in, line);) log_.push_back(line);
    }
    static void TearDownTestSuite() {
        ResetBlockMaterials();
        delete render_;
        delete dir_;
    }

    static testsupport::TempDir* dir_;
    static Render_D3D* render_;
    static std::vector<std::string> log_;
};

testsupport::TempDir* BlockContent::dir_ = nullptr;
Render_D3D* BlockContent::render_ = nullptr;
std::vector<std::string> BlockContent::log_;

TEST_F(BlockContent, TheMaterialsReadWithoutAFault) {
    for (const std::string& line : log_) {
        EXPECT_EQ(line.find("Block Marterial Loader error"), std::string::npos) << line;
        EXPECT_EQ(line.find("error"), std::string::npos) << line;
    }
    EXPECT_GE(BlockMaterials().size(), 6u);
    // "gl2" stands in for "teleport" in modes without teleports.
    EXPECT_NE(FindBlockMaterial("gl2"), nullptr);
    for (const char* name : {"wood", "stone", "glass", "metal", "ice", "rubber"})
        EXPECT_NE(FindBlockMaterial(name), nullptr) << name;
}

TEST_F(BlockContent, EveryMaterialNamesDefinedShadersAndAKnownSpecial) {
    for (const YBlockMaterial* m : BlockMaterials()) {
        ASSERT_NE(FindShaderInList(m->shader->name), nullptr) << m->name;
        EXPECT_FALSE(m->shader->stages.empty()) << m->name << ": " << m->shader->name << " has no stage";
        EXPECT_EQ(m->shader->stages.size(), 2u) << m->name << ": " << m->shader->name << " shows no cracks";
        EXPECT_FALSE(m->inShader->stages.empty()) << m->name << ": " << m->inShader->name << " has no stage";
        EXPECT_GT(m->mass, 0.0f) << m->name;
    }
    // Specials are checked by name in the file, since the kinds register themselves elsewhere.
    class SpecialReader : public XMLParser {
    public:
        SpecialReader() {
            XMLTag tag;
            AddTag(MakeTag(tag, "default", "mass", "1", "health", "200", "shader", "block", "in_shader", "in_block",
                           "scores", "25", "sound_stroke", "def_stroke", "sound_destroy", "def_destroy", "special", "",
                           nullptr));
            AddTag(MakeTag(tag, "material", "name", "", "mass", "1", "health", "200", "shader", "block", "in_shader",
                           "in_block", "scores", "25", "sound_stroke", "def_stroke", "sound_destroy", "def_destroy",
                           "special", "", nullptr));
        }
        std::vector<std::string> specials;

    protected:
        void OnTag(int id) override {
            const XMLAttribute* a = tags[id].FindAttribute("special");
            if (a && !a->value.empty()) specials.push_back(a->value);
        }
        bool OnError(const char*) override { return true; }
    } reader;
    reader.Load(GamePath("data\\blocks.yml").c_str());
    EXPECT_FALSE(reader.specials.empty());
    for (const std::string& s : reader.specials) EXPECT_TRUE(kSpecials.count(s)) << "unknown special " << s;
}

TEST_F(BlockContent, AtLeastTwelveLevelsReadAndUseEveryMaterial) {
    const std::vector<std::string> levels = content::ShippedLevels();
    EXPECT_GE(levels.size(), 12u);
    std::set<std::string> used;
    bool oldLayout = false, placedBonus = false, countedBonus = false, glued = false;
    for (const std::string& path : levels) {
        YLevelData level;
        std::string error;
        auto known = [](const std::string& m) { return FindBlockMaterial(m) != nullptr; };
        ASSERT_TRUE(ReadLevelFile(path.c_str(), level, error, known)) << path << ": " << error;
        oldLayout = oldLayout || level.oldLayout;
        for (int32_t c : level.bonusCounts) countedBonus = countedBonus || c > 0;
        const float hx = level.width * 0.5f, hy = level.depth * 0.5f;
        for (const YLevelSet& set : level.sets) {
            glued = glued || set.blocks.size() > 1;
            for (const YLevelBlock& b : set.blocks) {
                used.insert(b.material);
                placedBonus = placedBonus || b.bonus >= 0;
                if (level.oldLayout) continue; // centred by the game
                const YVector c((static_cast<float>(b.x) + static_cast<float>(b.sx) * 0.5f) * level.scale.x,
                                (static_cast<float>(b.y) + static_cast<float>(b.sy) * 0.5f) * level.scale.y, 0.0f);
                const YVector w = set.matrix.TransformPoint(c);
                EXPECT_LT(std::abs(w.x), hx) << path;
                EXPECT_LT(std::abs(w.y), hy) << path;
                // Clear of the racket's zone, where the stop plane holds blocks back.
                EXPECT_GT(w.y, -hy + 4.0f) << path;
            }
        }
    }
    EXPECT_TRUE(oldLayout);
    EXPECT_TRUE(placedBonus);
    EXPECT_TRUE(countedBonus);
    EXPECT_TRUE(glued);
    for (const YBlockMaterial* m : BlockMaterials()) {
        if (m->name == "gl1" || m->name == "gl2" || used.count(m->name)) continue;
        ADD_FAILURE() << "no level uses the material " << m->name;
    }
}

} // namespace
