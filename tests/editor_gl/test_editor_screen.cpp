// The editor's frame on the OpenGL device: the whole editor is built in a scratch game folder (the
// shipped data linked in), driven through its console, and one frame is captured and probed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/console.h"
#include "core/log.h"
#include "editor/editor_framework.h"
#include "platform/image/image.h"
#include "platform/window/win_messages.h"
#include "render/render.h"
#include "support/temp_dir.h"

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
        editor_ = new EditorFramework("korvelin");
        if (!g_Render || !g_Render->IsDeviceReady()) GTEST_SKIP() << "no OpenGL display (run under xvfb-run)";
        // The console rests at its hidden position at once instead of sliding there.
        editor_->Console()->position = editor_->Console()->hiddenPosition;
    }
    void TearDown() override {
        delete editor_;
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

    TempDir dir_{true};
    EditorFramework* editor_ = nullptr;
};

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
