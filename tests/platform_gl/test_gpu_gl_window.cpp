// The OpenGL device's back buffer in the window itself: made when the window (asked for after the
// device layer, as the game does) has the back buffer's size, it moves into storage of its own when
// the window is resized and back when the size returns. In every state the back buffer holds what
// was drawn, reads back the same way and presents. Runs under Xvfb (label "gl"); without a display
// the tests skip.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "platform/gpu/d3dx_math.h"
#include "platform/gpu/device.h"
#include "platform/gpu/pixel_format.h"

using namespace gpu;

namespace {

constexpr int kSize = 64;

struct XYZ {
    float x, y, z;
};

class GlWindowBackBufferTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) GTEST_SKIP() << "no display (run under xvfb-run)";
        videoUp_ = true;
        // The device layer first: the window then gets the framebuffer it asks for.
        d3d_ = Direct3DCreate(D3D_SDK_VERSION);
        if (!d3d_) GTEST_SKIP() << "no OpenGL";
        window_ = SDL_CreateWindow("back buffer test", 0, 0, kSize, kSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window_) GTEST_SKIP() << "no window";
        PresentParameters pp;
        pp.BackBufferWidth = pp.BackBufferHeight = kSize;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.SwapEffect = D3DSWAPEFFECT_COPY;
        pp.Windowed = 1;
        pp.EnableAutoDepthStencil = 1;
        pp.AutoDepthStencilFormat = D3DFMT_D24S8;
        pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        if (Failed(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, 0, &pp, &dev_))) GTEST_SKIP() << "no device";
        Matrix proj;
        MatrixOrthoOffCenterLH(&proj, 0, kSize, kSize, 0, 0, 1);
        dev_->SetTransform(D3DTS_PROJECTION, &proj);
        dev_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        dev_->SetRenderState(D3DRS_LIGHTING, 1);
        dev_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        dev_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        dev_->SetVertexShader(D3DFVF_XYZ);
    }
    void TearDown() override {
        dev_.reset();
        d3d_.reset();
        if (window_) SDL_DestroyWindow(window_);
        if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    // A frame: a blue background with a red top-left quarter and a stencil-tested green square
    // (drawn only where a first pass marked the stencil), then Present.
    void DrawFrame() {
        ASSERT_EQ(dev_->BeginScene(), D3D_OK);
        ASSERT_EQ(dev_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF0000FF, 1.0f, 0),
                  D3D_OK);
        Flat(0xFFFF0000);
        Rect(0, 0, 32, 32);
        dev_->SetRenderState(D3DRS_STENCILENABLE, 1);
        dev_->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
        dev_->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_INCR);
        dev_->SetRenderState(D3DRS_ZWRITEENABLE, 0);
        dev_->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
        dev_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
        dev_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
        Rect(40, 40, 56, 56);
        dev_->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
        dev_->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_NOTEQUAL);
        dev_->SetRenderState(D3DRS_STENCILREF, 0);
        dev_->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
        Flat(0xFF00FF00);
        Rect(32, 32, 64, 64);
        dev_->SetRenderState(D3DRS_STENCILENABLE, 0);
        dev_->SetRenderState(D3DRS_ZWRITEENABLE, 1);
        ASSERT_EQ(dev_->EndScene(), D3D_OK);
        ReadBack();
        ASSERT_EQ(dev_->Present(), D3D_OK);
    }

    void Flat(uint32_t argb) {
        Material m;
        m.Diffuse = ColorValue{0, 0, 0, 1};
        m.Ambient = m.Specular = ColorValue{0, 0, 0, 1};
        m.Emissive =
            ColorValue{((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f, 1};
        dev_->SetMaterial(&m);
    }
    void Rect(float x0, float y0, float x1, float y1) { RectAt(x0, y0, x1, y1, 0.5f); }
    void RectAt(float x0, float y0, float x1, float y1, float z) {
        const XYZ v[4] = {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
        ASSERT_EQ(dev_->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(XYZ)), D3D_OK);
    }
    void ReadBack() {
        SurfacePtr bb;
        ASSERT_EQ(dev_->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &bb), D3D_OK);
        LockedRect lr;
        ASSERT_EQ(bb->LockRect(&lr, nullptr, D3DLOCK_READONLY), D3D_OK);
        pixels_.assign(kSize * kSize, 0);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                pixels_[y * kSize + x] =
                    ReadPixelARGB(D3DFMT_X8R8G8B8, static_cast<const uint8_t*>(lr.pBits) + y * lr.Pitch + x * 4) &
                    0xFFFFFF;
        bb->UnlockRect();
    }
    void ExpectPicture(const char* when) {
        // Top-left red, the marked square green, the rest of the bottom-right quarter blue.
        EXPECT_EQ(pixels_[8 * kSize + 8], 0xFF0000u) << when;
        EXPECT_EQ(pixels_[48 * kSize + 48], 0x00FF00u) << when;
        EXPECT_EQ(pixels_[34 * kSize + 34], 0x0000FFu) << when;
        EXPECT_EQ(pixels_[8 * kSize + 56], 0x0000FFu) << when;
    }
    void Resize(int w, int h) {
        SDL_SetWindowSize(window_, w, h);
        for (int i = 0; i < 50; ++i) {
            SDL_PumpEvents();
            int dw = 0, dh = 0;
            SDL_GL_GetDrawableSize(window_, &dw, &dh);
            if (dw == w && dh == h) return;
            SDL_Delay(10);
        }
    }

    bool videoUp_ = false;
    Direct3DPtr d3d_;
    SDL_Window* window_ = nullptr;
    DevicePtr dev_;
    std::vector<uint32_t> pixels_;
};

TEST_F(GlWindowBackBufferTest, ThePictureHoldsInTheWindowAndAfterResizes) {
    DrawFrame();
    ExpectPicture("in a window of the back buffer's size");
    DrawFrame();
    ExpectPicture("the next frame");
    Resize(kSize * 2, kSize);
    DrawFrame();
    ExpectPicture("in a wider window");
    Resize(kSize, kSize);
    DrawFrame();
    ExpectPicture("back at the back buffer's size");
}

// The depth written while drawing into the window holds when a render target takes over with the
// automatic depth-stencil buffer (as a background picture is drawn), and the other way round.
TEST_F(GlWindowBackBufferTest, DepthFollowsBetweenTheWindowAndRenderTargets) {
    SurfacePtr target, back, depth;
    ASSERT_EQ(dev_->CreateRenderTarget(kSize, kSize, D3DFMT_X8R8G8B8, 0, true, &target), D3D_OK);
    ASSERT_EQ(dev_->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &back), D3D_OK);
    ASSERT_EQ(dev_->GetDepthStencilSurface(&depth), D3D_OK);
    dev_->SetRenderState(D3DRS_ZENABLE, 1);
    dev_->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    ASSERT_EQ(dev_->BeginScene(), D3D_OK);
    ASSERT_EQ(dev_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 0), D3D_OK);
    Flat(0xFFFF0000);
    RectAt(0, 0, 32, 64, 0.2f); // near, left half, in the window
    ASSERT_EQ(dev_->SetRenderTarget(target, depth), D3D_OK);
    ASSERT_EQ(dev_->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0), D3D_OK);
    Flat(0xFF00FF00);
    RectAt(0, 0, 64, 64, 0.5f);  // farther: hidden on the left
    RectAt(32, 0, 64, 32, 0.1f); // nearest, top right: writes depth 0.1 there
    ASSERT_EQ(dev_->SetRenderTarget(back, depth), D3D_OK);
    Flat(0xFFFFFFFF);
    RectAt(32, 0, 64, 64, 0.3f); // hidden at the top right only
    ASSERT_EQ(dev_->EndScene(), D3D_OK);
    auto pixel = [](const SurfacePtr& s, int x, int y) {
        LockedRect lr;
        EXPECT_EQ(s->LockRect(&lr, nullptr, D3DLOCK_READONLY), D3D_OK);
        const uint32_t p =
            ReadPixelARGB(D3DFMT_X8R8G8B8, static_cast<const uint8_t*>(lr.pBits) + y * lr.Pitch + x * 4) & 0xFFFFFF;
        s->UnlockRect();
        return p;
    };
    EXPECT_EQ(pixel(target, 16, 32), 0x0000FFu) << "the window's depth hides the farther quad";
    EXPECT_EQ(pixel(target, 48, 48), 0x00FF00u);
    EXPECT_EQ(pixel(back, 48, 16), 0x000000u) << "the target's depth hides the window's quad";
    EXPECT_EQ(pixel(back, 48, 48), 0xFFFFFFu);
    EXPECT_EQ(pixel(back, 16, 32), 0xFF0000u);
}

} // namespace
