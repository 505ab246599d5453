// Level pictures made with the real renderer: the file is a 128 x 128 BMP that shows what was
// drawn; with the game's own host a shipped level is loaded, drawn from the still view and saved,
// and a second pass finds the picture and loads nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/file_list.h"
#include "menus/menu_test_support.h"
#include "platform/sys/files.h"
#include "render/render_resource.h"
#include "render/scene/environment_box.h"
#include "render/shader_loader.h"
#include "render/texture.h"
#include "render_gl/gl_scene_fixture.h"
#include "shell/level_thumbnails.h"
#include "shell/scene_camera.h"
#include "shell/thumbnail_host.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"
#include "world/table/table.h"
#include "world/table/table_materials.h"

namespace {

// Draws a level as two coloured halves, so a picture that shows one colour only was not drawn.
struct RealThumbs : ThumbnailHost {
    Render_D3D* render;
    explicit RealThumbs(Render_D3D* r) : render(r) {}

    bool FileExists(const std::string& path) override { return ::FileExists(path.c_str(), false); }
    bool MakeFolder(const std::string& path) override {
        std::error_code ec;
        std::filesystem::create_directories(plat::NativePath(path), ec);
        return !ec;
    }
    bool BeginCapture(int w, int h) override { return render->BeginCapture(w, h); }
    bool LoadLevel(const std::string&) override { return true; }
    void RenderStillView() override {
        glscene::SolidShader red(1, 0, 0), blue(0, 0, 1);
        render->BeginFrame(true);
        render->Set2D(0, 0, 128, 128);
        const YVector left[4] = {{0, 0, 0}, {64, 0, 0}, {64, 128, 0}, {0, 128, 0}};
        const YVector right[4] = {{64, 0, 0}, {128, 0, 0}, {128, 128, 0}, {64, 128, 0}};
        render->SetShader(&red, true);
        render->DrawQuad(left);
        render->SetShader(&blue, true);
        render->DrawQuad(right);
        render->SetShader(nullptr, true);
        render->EndFrame();
    }
    bool SaveCapture(const std::string& path) override { return render->SaveCapture(path.c_str()); }
    void EndCapture() override { render->EndCapture(); }
    void RestoreDefaults() override {}
};

uint32_t U32At(const std::string& bytes, std::size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

class ThumbnailsGl : public glscene::GlSceneTest<ThumbnailsGl> {
protected:
    static void SetUpTestSuite() {
        if (OpenScene("thumbnails", 160, 120)) MakeDevice();
    }
};

TEST_F(ThumbnailsGl, MissingPictureIsWrittenAt128PixelsAndShowsTheLevel) {
    std::filesystem::path work = dir_->File("game");
    std::filesystem::create_directories(work / "levels");
    glscene::WorkingDir cwd(work);
    Init config;
    menutest::TwoModes(config);
    RealThumbs host(render_);
    BuildLevelThumbnails(host, config, {"a01.lev"});

    const std::filesystem::path file = work / "levels" / "thumb" / "a01.lev.bmp";
    ASSERT_TRUE(std::filesystem::exists(file));
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(U32At(bytes, 18), 128u);
    EXPECT_EQ(U32At(bytes, 22) & 0x7FFFFFFFu, 128u);

    plat::Image img;
    ASSERT_TRUE(plat::LoadImage(file.string(), img));
    EXPECT_EQ(img.width, 128);
    EXPECT_EQ(img.height, 128);
    glscene::ExpectPixel(img, 20, 64, {255, 0, 0}, 8);
    glscene::ExpectPixel(img, 108, 64, {0, 0, 255}, 8);

    // The next start finds the picture and draws nothing.
    auto before = std::filesystem::last_write_time(file);
    RealThumbs again(render_);
    BuildLevelThumbnails(again, config, {"a01.lev"});
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
}

// The game folder as the game sees it, with a "levels" folder of its own holding one shipped
// level: the data is linked, the models copied (their caches are written beside them).
class GameThumbnailsGl : public glscene::GlSceneTest<GameThumbnailsGl> {
protected:
    static constexpr const char* LEVEL = "01_first_steps.lev";

    static void SetUpTestSuite() {
        namespace fs = std::filesystem;
        if (!OpenScene("game thumbnails", 320, 240,
                       {"data/shaders.yml", "data/shaders_env.yml", "data/shaders_blocks.yml", "data/env.yml",
                        "data/blocks.yml", "mesh/pyramid.mes", "levels/01_first_steps.lev"}))
            return;
        const fs::path game(KORVELIN_GAME_DIR);
        work_ = dir_->Path() / "game";
        fs::create_directories(work_ / "levels");
        for (const fs::directory_entry& entry : fs::directory_iterator(game)) {
            const fs::path name = entry.path().filename();
            if (!entry.is_directory() || name == "levels") continue;
            if (name == "mesh")
                fs::copy(entry.path(), work_ / name, fs::copy_options::recursive);
            else
                fs::create_directory_symlink(entry.path(), work_ / name);
        }
        fs::copy_file(game / "levels" / LEVEL, work_ / "levels" / LEVEL);
        glscene::WorkingDir cwd(work_);
        if (!MakeDevice()) return;
        RestoreRenderResources(RESOURCE_ALL);
        ParseShaderFile("data\\shaders.yml");
        ParseShaderFile("data\\shaders_env.yml");
        ParseShaderFile("data\\shaders_blocks.yml");
        LoadTableMaterials("data\\env.yml");
        LoadBlockMaterials("data\\blocks.yml");
        PhysicsInit();
        SetUpWorld(HeadlessWorldOutside());
        table_ = new YTable();
        g_EnvironmentBox.SetEnvironment("");
    }
    static void TearDownTestSuite() {
        DeleteAllBlocks();
        YZDelete::TickAll(1.0f);
        delete table_;
        TearDownWorld();
        table_ = nullptr;
        PhysicsShutdown();
        GlSceneTest<GameThumbnailsGl>::TearDownTestSuite();
    }

    static inline std::filesystem::path work_;
    static inline YTable* table_ = nullptr;
};

TEST_F(GameThumbnailsGl, AShippedLevelIsDrawnAndSavedOnce) {
    glscene::WorkingDir cwd(work_);
    Init config;
    menutest::TwoModes(config);
    YSceneCamera camera;
    const std::string thumb = "levels\\thumb\\" + std::string(LEVEL) + ".bmp";
    {
        GameThumbnailHost host(camera, 4.0f / 3.0f);
        BuildLevelThumbnails(host, config, {LEVEL});
    }
    const std::filesystem::path file = work_ / "levels" / "thumb" / (std::string(LEVEL) + ".bmp");
    ASSERT_TRUE(std::filesystem::exists(file));
    plat::Image img;
    ASSERT_TRUE(plat::LoadImage(file.string(), img));
    EXPECT_EQ(img.width, LEVEL_THUMB_SIZE);
    EXPECT_EQ(img.height, LEVEL_THUMB_SIZE);
    // A drawn scene, not a cleared or single-coloured target: sky, table and blocks give many
    // shades over most of the picture.
    std::set<int> colours;
    int lit = 0;
    for (int y = 0; y < img.height; y += 2) {
        for (int x = 0; x < img.width; x += 2) {
            const glscene::Rgb c = glscene::ColourAt(img, x, y);
            colours.insert((c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3));
            lit += c.Max() > 24;
        }
    }
    EXPECT_GT(colours.size(), 40u);
    EXPECT_GT(lit, img.width * img.height / 4 / 2);
    // Made, not loaded: the level choice loads the picture when it shows it.
    EXPECT_EQ(FindTexture(thumb), nullptr);
    // The level was loaded for the shot, and the table is the default one again.
    EXPECT_FALSE(g_BlockWorld.blocks.empty());
    EXPECT_EQ(g_TableSize.width, 20.0f);
    EXPECT_EQ(g_TableSize.depth, 20.0f);

    // The next start finds the picture: no level is loaded and the file stays as it is.
    DeleteAllBlocks();
    YZDelete::TickAll(1.0f);
    const auto written = std::filesystem::last_write_time(file);
    GameThumbnailHost again(camera, 4.0f / 3.0f);
    BuildLevelThumbnails(again, config, {LEVEL});
    EXPECT_TRUE(g_BlockWorld.blocks.empty());
    EXPECT_EQ(std::filesystem::last_write_time(file), written);
}

} // namespace
