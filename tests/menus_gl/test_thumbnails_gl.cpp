// Level pictures made with the real renderer: the file is a 128 x 128 BMP that shows what was
// drawn.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/file_list.h"
#include "menus/menu_test_support.h"
#include "platform/sys/files.h"
#include "render_gl/gl_scene_fixture.h"
#include "shell/level_thumbnails.h"

namespace {

// Draws a level as two coloured halves, so a picture that shows one colour only was not drawn.
struct RealThumbs : ThumbnailHost {
    Render_D3D* render;
    std::vector<std::string> textures;
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
    void LoadTexture(const std::string& path) override { textures.push_back(path); }
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
    EXPECT_EQ(host.textures, std::vector<std::string>{"levels\\thumb\\a01.lev.bmp"});

    // The next start finds the picture and draws nothing.
    auto before = std::filesystem::last_write_time(file);
    RealThumbs again(render_);
    BuildLevelThumbnails(again, config, {"a01.lev"});
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
}

} // namespace
