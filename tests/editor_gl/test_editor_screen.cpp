// The editor's frame on the OpenGL device: the whole editor is built in a scratch game folder (the
// shipped data linked in), driven through its console, and one frame is captured and probed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/console.h"
#include "core/log.h"
#include "editor/editor_framework.h"
#include "platform/image/image.h"
#include "platform/window/win_messages.h"
#include "render/camera.h"
#include "render/render.h"
#include "support/temp_dir.h"
#include "world/blocks/block.h"
#include "world/blocks/block_single.h"
#include "world/bonus/bonus_builders.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/physics/physics_world.h"

namespace {

namespace fs = std::filesystem;

struct Counts {
    int green = 0;
    int red = 0;
    double leftPanel = 0.0; // mean brightness of a strip inside the left panel
};

class EditorScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Real folders with links to the files, so that folder listings see what the game folder holds.
        const fs::path game = KORVELIN_GAME_DIR;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(game)) {
            const fs::path relative = fs::relative(e.path(), game);
            const std::string top = relative.begin()->string();
            if (top == "config.yml" || top == "log.txt" || top == "levels") continue;
            if (e.is_directory())
                fs::create_directories(dir_.path() / relative);
            else
                fs::create_symlink(e.path(), dir_.path() / relative);
        }
        std::ofstream(dir_.path() / "config.yml") << "<config>\n<video fullscreen=\"0\" mode=\"800x600:32\">\n"
                                                     "<window width=\"800\" height=\"600\" maximize=\"0\">\n"
                                                     "</config>\n";
        LogReopen((dir_.path() / "log.txt").string());
        // As the program's start does.
        PhysicsInit();
        LoadBonusConfigs("data\\bonuses.yml", BonusRegistrySize());
        editor_ = new EditorFramework("korvelin");
        if (!g_Render || !g_Render->IsDeviceReady()) GTEST_SKIP() << "no OpenGL display (run under xvfb-run)";
        // The console rests at its hidden position at once instead of sliding there.
        editor_->Console()->position = editor_->Console()->hiddenPosition;
    }
    void TearDown() override {
        delete editor_;
        BonusConfigs().clear();
        PhysicsShutdown();
        LogReopen("");
    }

    // One frame into an 800 x 600 capture, saved as `name` (also kept when KORVELIN_SHOTS names a
    // folder) and read back.
    Counts Shoot(const char* name) {
        Counts c;
        if (!g_Render->BeginCapture(800, 600)) {
            ADD_FAILURE() << "no capture target";
            return c;
        }
        EXPECT_TRUE(editor_->Frame());
        const std::string file = (dir_.path() / name).string();
        EXPECT_TRUE(g_Render->SaveCapture(file.c_str()));
        g_Render->EndCapture();
        if (const char* keep = std::getenv("KORVELIN_SHOTS"))
            fs::copy_file(file, fs::path(keep) / name, fs::copy_options::overwrite_existing);
        plat::Image img;
        EXPECT_TRUE(plat::LoadImage(file, img));
        if (img.Empty()) return c;
        double sum = 0.0;
        int n = 0;
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) {
                const uint8_t* p = &img.pixels[static_cast<std::size_t>(y * img.width + x) * 4];
                if (p[1] > 160 && p[0] < 90 && p[2] < 90) ++c.green;
                if (p[0] > 160 && p[1] < 90 && p[2] < 90) ++c.red;
                // A strip of the left panel below its status lines.
                if (x >= 20 && x < 80 && y >= 450 && y < 590) {
                    sum += (p[0] + p[1] + p[2]) / 3.0;
                    ++n;
                }
            }
        c.leftPanel = n ? sum / n : 0.0;
        return c;
    }

    // One frame into an 800 x 600 capture, read back.
    plat::Image Picture(const char* name) {
        plat::Image img;
        if (!g_Render->BeginCapture(800, 600)) {
            ADD_FAILURE() << "no capture target";
            return img;
        }
        EXPECT_TRUE(editor_->Frame());
        const std::string file = (dir_.path() / name).string();
        EXPECT_TRUE(g_Render->SaveCapture(file.c_str()));
        g_Render->EndCapture();
        if (const char* keep = std::getenv("KORVELIN_SHOTS"))
            fs::copy_file(file, fs::path(keep) / name, fs::copy_options::overwrite_existing);
        EXPECT_TRUE(plat::LoadImage(file, img));
        return img;
    }

    TempDir dir_{true};
    EditorFramework* editor_ = nullptr;
};

// Where a world point shows on the 800 x 600 picture of the editor's 45 degree view.
struct ScreenPoint {
    int x, y;
};
ScreenPoint Project(const YVector& world) {
    const YVector v = g_Camera.view.TransformPoint(world);
    const float scale = 1.0f / (-v.z * std::tan(22.5f * 3.14159265f / 180.0f));
    return {static_cast<int>((v.x * scale * 0.75f + 1.0f) * 0.5f * 800.0f),
            static_cast<int>((1.0f - v.y * scale) * 0.5f * 600.0f)};
}

// Mean of green minus red over a small square of the picture.
double GreenOverRed(const plat::Image& img, ScreenPoint at, int half) {
    double sum = 0.0;
    int n = 0;
    for (int y = at.y - half; y <= at.y + half; ++y)
        for (int x = at.x - half; x <= at.x + half; ++x) {
            if (x < 0 || y < 0 || x >= img.width || y >= img.height) continue;
            const uint8_t* p = &img.pixels[static_cast<std::size_t>(y * img.width + x) * 4];
            sum += static_cast<double>(p[1]) - static_cast<double>(p[0]);
            ++n;
        }
    return n ? sum / n : 0.0;
}

TEST_F(EditorScreenTest, CursorTurnsRedOverABlockAndPanelsGoWithTheConsole) {
    YConsole* console = editor_->Console();
    console->Execute("mode=new");
    const Counts empty = Shoot("editor_empty.bmp");
    EXPECT_GT(empty.green, 50) << "the cursor box is green over free cells";

    console->Execute("size [1,0,0] action");
    EXPECT_EQ(editor_->Level().BlockCount(), 1);
    const Counts taken = Shoot("editor_taken.bmp");
    EXPECT_LT(taken.green, empty.green / 4) << "a block under the cursor turns it red";
    EXPECT_GT(taken.red, empty.red);

    console->shown = true;
    console->position = YConsole::SHOWN_POSITION;
    const Counts open = Shoot("editor_console.bmp");
    // The translucent panel tints whatever lies under it, lighter or darker.
    EXPECT_GT(std::abs(open.leftPanel - taken.leftPanel), 8.0) << "no status panels while the console is shown";
}

// A see-through block that carries a bonus shows the bonus inside itself, as in the game: the
// block holds the registry's builder of that kind, and the disk's icon gives its colour away (the
// extra life's ring is green, the lost life's red).
TEST_F(EditorScreenTest, AGlassBlockShowsItsBonusInside) {
    YConsole* console = editor_->Console();
    editor_->MouseWheel(-2000); // closer: 10 units away
    console->Execute("m=glass size [1,0,0] size [0,1,0] size [0,0,1] action x mode=bonus");
    ASSERT_EQ(editor_->Level().BlockCount(), 1);
    // The cursor steps off the block between the shots, so that its pulsing box is not drawn over it.
    const std::string away = "move [1,0,0] move [1,0,0] move [1,0,0]";
    const std::string back = "move [-1,0,0] move [-1,0,0] move [-1,0,0]";
    struct Shot {
        int kind;
        double greenOverRed = 0.0;
    } shots[] = {{14}, {15}};
    for (Shot& shot : shots) {
        SCOPED_TRACE(shot.kind);
        console->Execute("b=" + std::to_string(shot.kind) + " action x " + away);
        ASSERT_LT(editor_->Level().FindBlockAtCursor(), 0);
        ASSERT_EQ(g_BlockWorld.blocks.size(), 1u);
        auto* block = dynamic_cast<YBlockSingle*>(g_BlockWorld.blocks[0]);
        ASSERT_TRUE(block);
        auto* carried = dynamic_cast<YBonusBuilderGive*>(block->bonus);
        ASSERT_TRUE(carried) << "the block carries a falling bonus builder";
        std::unique_ptr<YBonusBuilder> fresh(CreateBonusBuilder(shot.kind));
        EXPECT_EQ(carried->factory, static_cast<YBonusBuilderGive*>(fresh.get())->factory);

        const plat::Image picture = Picture(shot.kind == 14 ? "editor_bonus_life.bmp" : "editor_bonus_death.bmp");
        ASSERT_FALSE(picture.Empty());
        // The disk faces the camera at the block's centre; its icon's ring lies 0.46 out.
        const YVector centre = block->GetPosition();
        shot.greenOverRed = GreenOverRed(picture, Project(centre + g_Camera.right * 0.46f), 1);
        console->Execute(back);
    }
    EXPECT_GT(shots[0].greenOverRed, shots[1].greenOverRed + 40.0)
        << "life " << shots[0].greenOverRed << ", death " << shots[1].greenOverRed;
}

} // namespace

namespace {

TEST_F(EditorScreenTest, F10DoesNothingAndClosingSavesTheConfiguration) {
    const std::string before = dir_.Read("config.yml");
    editor_->OnMessage(plat::WM_KEYDOWN, plat::VK_F10, 0);
    EXPECT_EQ(dir_.Read("config.yml"), before) << "F10 does not end the editor";
    editor_->OnMessage(plat::WM_CLOSE, 0, 0);
    const std::string after = dir_.Read("config.yml");
    EXPECT_NE(after, before);
    EXPECT_NE(after.find("<render"), std::string::npos) << after;
}

} // namespace
