#pragma once
// The renderer on the OpenGL device for the screenshot tests: a window from the window layer, a
// Render_D3D device made for it, the log in a scratch folder, captures saved as BMP and read back,
// and pixel probes of what they show. Each suite derives from GlSceneTest<itself>, so every suite
// has its own window and device for the life of the suite. Without a display, or without a mode
// the renderer accepts, the suite's tests skip; without the game folder's data they fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <system_error>
#include <vector>

#include "core/init.h"
#include "core/log.h"
#include "platform/gpu/device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/image/image.h"
#include "platform/window/window.h"
#include "render/camera.h"
#include "render/mesh/mesh_shadow.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/render_objects.h"
#include "render/scene/shadow_volume.h"
#include "render/video_mode.h"
#include "support/temp_dir.h"

namespace glscene {

// Whether the device layer lists a mode the renderer would accept: without one the renderer ends
// the program (as the game must), so the tests skip instead.
inline bool DeviceHasUsableMode() {
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

// A file of the assembled game folder, `relative` written with '/'.
inline std::string GameFile(const std::string& relative) { return std::string(KORVELIN_GAME_DIR) + "/" + relative; }

// The working directory moved to `dir` for the object's life. Data files name their files
// relative to the game folder, where the game runs.
class WorkingDir {
public:
    explicit WorkingDir(const std::filesystem::path& dir) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~WorkingDir() {
        std::error_code ec;
        std::filesystem::current_path(previous_, ec);
    }
    WorkingDir(const WorkingDir&) = delete;
    WorkingDir& operator=(const WorkingDir&) = delete;

private:
    std::filesystem::path previous_;
};

// A capture pixel, x right and y down from the top-left.
struct Pixel {
    int x, y;
};

struct Rgb {
    int r, g, b;
    int operator[](int channel) const { return channel == 0 ? r : channel == 1 ? g : b; }
    int Brightness() const { return (r + g + b) / 3; }
    int Max() const { return std::max({r, g, b}); }
};

// The colour of one pixel of a picture read from a capture.
inline Rgb ColourAt(const plat::Image& img, int x, int y) {
    const uint8_t* c = img.Pixel(x, y);
    return {c[0], c[1], c[2]};
}

// Each channel of pixel (x, y) within `tolerance` of `want`.
inline void ExpectPixel(const plat::Image& img, int x, int y, Rgb want, int tolerance) {
    ASSERT_FALSE(img.Empty());
    const Rgb got = ColourAt(img, x, y);
    EXPECT_NEAR(got.r, want.r, tolerance) << "red at " << x << "," << y;
    EXPECT_NEAR(got.g, want.g, tolerance) << "green at " << x << "," << y;
    EXPECT_NEAR(got.b, want.b, tolerance) << "blue at " << x << "," << y;
}

// The camera looking at `target` from `distance` units away, tilted `tilt` degrees from straight
// above towards -y, with the light travelling along `light`.
inline void LookAt(const YVector& target, float tilt, float distance, const YVector& light) {
    YMatrix shift, turn, back;
    shift.MatrixSetTranslation(YVector(-target.x, -target.y, -target.z));
    turn.SetRotationX(-tilt);
    back.MatrixSetTranslation(YVector(0, 0, -distance));
    const YMatrix view = back * (turn * shift); // shift, then tilt, then back
    g_Camera.SetView(&view);
    g_Camera.SetLightDir(&light);
}

// The pixel of a square capture `side` pixels across where the world point shows, for a
// perspective of `fov` degrees.
inline Pixel ScreenPixel(const YVector& world, int side, float fov) {
    const YVector v = g_Camera.view.TransformPoint(world);
    const float scale = 1.0f / (-v.z * std::tan(fov * 0.5f * 3.14159265f / 180.0f));
    return {static_cast<int>((v.x * scale + 1.0f) * 0.5f * side), static_cast<int>((1.0f - v.y * scale) * 0.5f * side)};
}

// Untextured, both sides, depth tested and written; the colour is the material's emissive one.
struct SolidShader : YShaderBase {
    SolidShader(float r, float g, float b) {
        renderStates[RS_CULL_MODE] = gpu::D3DCULL_NONE;
        const float colour[4] = {r, g, b, 1.0f};
        for (int i = 0; i < 4; ++i) material.emissive[i] = colour[i];
    }
};

template <class Suite>
class GlSceneTest : public ::testing::Test {
protected:
    // The scratch folder with the log, the files the game folder must hold (written with '/'),
    // the window and the renderer with the video modes listed. False when the suite goes no
    // further: data missing (its tests fail), or no display with a usable mode (they skip).
    static bool OpenScene(const char* title, int width, int height, std::initializer_list<const char*> gameFiles = {}) {
        dir_ = new testsupport::TempDir();
        LogReopen(dir_->File("log.txt"));
        for (const char* f : gameFiles)
            if (!std::filesystem::exists(GameFile(f))) missing_ += std::string(" ") + f;
        if (!missing_.empty()) return false;
        window_ = new plat::Window();
        plat::WindowDesc desc;
        desc.title = title;
        desc.width = width;
        desc.height = height;
        if (!window_->Create(desc) || !DeviceHasUsableMode()) return false;
        render_ = new Render_D3D();
        std::vector<YVideoMode> modes;
        render_->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        return true;
    }
    // The device for the window; without one the renderer goes and the tests skip.
    static bool MakeDevice() {
        if (render_->CreateDevice(window_->NativeHandle(), false, 0)) return true;
        delete render_;
        render_ = nullptr;
        return false;
    }
    static void TearDownTestSuite() {
        delete render_;
        render_ = nullptr;
        delete window_;
        window_ = nullptr;
        LogReopen("");
        delete dir_;
        dir_ = nullptr;
        missing_.clear();
    }
    void SetUp() override {
        ASSERT_TRUE(missing_.empty()) << "the game folder lacks" << missing_ << " (build the game_data target)";
        if (!render_) GTEST_SKIP() << "no OpenGL display with a usable mode (run under xvfb-run)";
    }

    // Draws `scene` into a capture of width x height pixels, saves it as BMP under `name` in the
    // scratch folder and reads it back. A capture that cannot be made, saved or read fails the
    // test, and the picture comes back empty.
    template <class Scene>
    static plat::Image Capture(const char* name, int width, int height, Scene&& scene) {
        plat::Image img;
        if (!render_->BeginCapture(width, height)) {
            ADD_FAILURE() << "no capture target";
            return img;
        }
        scene();
        const std::string file = dir_->File(name);
        EXPECT_TRUE(render_->SaveCapture(file.c_str()));
        render_->EndCapture();
        EXPECT_TRUE(plat::LoadImage(file, img));
        return img;
    }

    static inline testsupport::TempDir* dir_ = nullptr;
    static inline plat::Window* window_ = nullptr;
    static inline Render_D3D* render_ = nullptr;
    static inline std::string missing_;
};

// A suite whose scenes cast shadows: each test runs with shadows on and the meshes feeding the
// stencil volume, and the camera and the shadow option are put back after it.
template <class Suite>
class GlShadowSceneTest : public GlSceneTest<Suite> {
protected:
    void SetUp() override {
        GlSceneTest<Suite>::SetUp();
        if (this->IsSkipped() || this->HasFatalFailure()) return;
        savedCamera_ = g_Camera;
        savedShadows_ = GetInit().shadows;
        GetInit().shadows = true;
        SetMeshShadowSink(ShadowsEnabled, AddShadowEdge); // as the volume connects itself at start-up
    }
    void TearDown() override {
        g_ShadowVolume.Begin(0);
        GetInit().shadows = savedShadows_;
        g_Camera = savedCamera_;
    }

    YCamera savedCamera_;
    bool savedShadows_ = true;
};

} // namespace glscene
