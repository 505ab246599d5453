// Screenshot of the table on the OpenGL device: its models with a table material, lit by the
// scene's light, probed at a floor pixel and a border pixel.
#include <filesystem>
#include <memory>

#include "render/mesh/mesh.h"
#include "render/render_resource.h"
#include "render/shader_loader.h"
#include "render_gl/gl_scene_fixture.h"
#include "world/table/table.h"
#include "world/table/table_materials.h"

namespace {

namespace fs = std::filesystem;
using glscene::Pixel;

constexpr int kCapture = 256;

class TableGlTest : public glscene::GlSceneTest<TableGlTest> {
protected:
    static void SetUpTestSuite() {
        if (!OpenScene("table test", 300, 300,
                       {"data/shaders_env.yml", "data/env.yml", "mesh/pyramid.mes", "mesh/border.mes"}))
            return;
        // A working folder of its own: the shipped data and pictures, and a copy of the two text
        // models, so the mesh caches this run writes stay out of the game folder.
        const fs::path game(KORVELIN_GAME_DIR);
        work_ = dir_->Path() / "game";
        fs::create_directories(work_ / "mesh");
        fs::create_directory_symlink(game / "data", work_ / "data");
        fs::create_directory_symlink(game / "textures", work_ / "textures");
        fs::copy_file(game / "mesh" / "pyramid.mes", work_ / "mesh" / "pyramid.mes");
        fs::copy_file(game / "mesh" / "border.mes", work_ / "mesh" / "border.mes");
        glscene::WorkingDir cwd(work_);
        if (!MakeDevice()) return;
        RestoreRenderResources(RESOURCE_ALL);
        ParseShaderFile("data\\shaders_env.yml");
        LoadTableMaterials("data\\env.yml");
    }

    static inline fs::path work_;
};

TEST_F(TableGlTest, FloorIsLitAndTheBorderStandsOnItsEdge) {
    glscene::WorkingDir cwd(work_);
    // From the racket's side, 45 degrees above, the light as in the game.
    glscene::LookAt(YVector(0, 0, 0), 45.0f, 40.0f, YVector(-0.1f, 0.2f, -0.3f));
    YTable table;
    EXPECT_TRUE(fs::exists(work_ / "mesh" / "pyramid.meb")) << "a first load writes the binary cache";

    struct Case {
        const char* material;
        bool blueFloor;
    };
    for (const Case& c : {Case{"default", false}, Case{"ice", true}}) {
        SCOPED_TRACE(c.material);
        table.Build(20.0f, 20.0f, c.material);
        const std::string file = std::string("table_") + c.material + ".bmp";
        const plat::Image img = Capture(file.c_str(), kCapture, kCapture, [&] {
            render_->BeginFrame(true);
            render_->SetPerspective(45.0f, 1.0f, 5.0f, 650.0f);
            render_->SetWorldMatrix(&g_Camera.view);
            table.Draw(TABLE_DRAW_FULL | TABLE_DRAW_OVERLAYS | TABLE_DRAW_BORDER);
            render_->EndFrame();
        });
        ASSERT_FALSE(img.Empty());
        const Pixel floorAt = glscene::ScreenPixel(YVector(1.5f, 1.5f, 0.0f), kCapture, 45.0f);
        const Pixel borderAt = glscene::ScreenPixel(YVector(0.0f, 10.2f, 1.0f), kCapture, 45.0f);
        const Pixel skyAt = {kCapture / 2, 2};
        const glscene::Rgb floor = glscene::ColourAt(img, floorAt.x, floorAt.y);
        const glscene::Rgb border = glscene::ColourAt(img, borderAt.x, borderAt.y);
        EXPECT_GT(floor.Brightness(), 60) << "the floor faces the light";
        EXPECT_GT(border.Brightness(), 40) << "the border's top is drawn";
        EXPECT_LT(glscene::ColourAt(img, skyAt.x, skyAt.y).Max(), 10) << "above the table nothing is drawn";
        if (c.blueFloor) {
            EXPECT_GT(floor.b, floor.r + 10) << "the ice material's floor";
        }
        // The border is another surface than the floor.
        EXPECT_GT(std::abs(floor.r - border.r) + std::abs(floor.g - border.g) + std::abs(floor.b - border.b), 20);
    }
}

} // namespace
