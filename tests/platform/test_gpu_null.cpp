// The device layer without a screen: the null device's states, trace and lost/reset script, the
// adapter script, the projection matrices, and the texture utilities over the null device.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gpu/cpu_surface.h"
#include "platform/gpu/d3dx_math.h"
#include "platform/gpu/d3dx_tex.h"
#include "platform/gpu/device.h"
#include "platform/gpu/gl/gl_direct3d.h"
#include "platform/gpu/null/null_device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "support/temp_dir.h"

#include <SDL2/SDL_pixels.h>

using namespace gpu;

namespace {

PresentParameters Windowed(uint32_t w, uint32_t h) {
    PresentParameters pp;
    pp.BackBufferWidth = w;
    pp.BackBufferHeight = h;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.SwapEffect = D3DSWAPEFFECT_COPY;
    pp.Windowed = 1;
    pp.EnableAutoDepthStencil = 1;
    pp.AutoDepthStencilFormat = D3DFMT_D24S8;
    return pp;
}

class GpuNullDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        PresentParameters pp = Windowed(64, 48);
        DevicePtr dev;
        ASSERT_EQ(d3d.CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &dev), D3D_OK);
        device = d3d.LastDevice();
        ASSERT_TRUE(device);
        ASSERT_EQ(device.get(), dev.get());
    }

    uint32_t Rs(uint32_t state) {
        uint32_t v = 0;
        EXPECT_EQ(device->GetRenderState(state, &v), D3D_OK);
        return v;
    }
    uint32_t Tss(uint32_t stage, uint32_t type) {
        uint32_t v = 0;
        EXPECT_EQ(device->GetTextureStageState(stage, type, &v), D3D_OK);
        return v;
    }
    // Pixel (x, y) of a lockable surface as A8R8G8B8.
    static uint32_t Pixel(ISurface* s, int x, int y) {
        LockedRect lr;
        SurfaceDesc d;
        s->GetDesc(&d);
        EXPECT_EQ(s->LockRect(&lr, nullptr, D3DLOCK_READONLY), D3D_OK);
        uint32_t v =
            ReadPixelARGB(d.Format, static_cast<const uint8_t*>(lr.pBits) + y * lr.Pitch + x * BytesPerPixel(d.Format));
        s->UnlockRect();
        return v;
    }

    NullDirect3D d3d;
    std::shared_ptr<NullDevice> device;
};

// The states the renderer never sends must hold the device defaults, at creation and after a reset
// that follows changes to all of them.
TEST_F(GpuNullDeviceTest, DefaultStatesHoldAtCreationAndAfterReset) {
    struct Row {
        uint32_t state, value;
    };
    const Row rows[] = {
        {D3DRS_LIGHTING, 1},
        {D3DRS_SPECULARENABLE, 0},
        {D3DRS_AMBIENT, 0},
        {D3DRS_LOCALVIEWER, 1},
        {D3DRS_NORMALIZENORMALS, 0},
        {D3DRS_TEXTUREFACTOR, 0xFFFFFFFFu},
        {D3DRS_STENCILMASK, 0xFFFFFFFFu},
        {D3DRS_STENCILWRITEMASK, 0xFFFFFFFFu},
        {D3DRS_ZENABLE, D3DZB_TRUE},
        {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
        {D3DRS_CULLMODE, D3DCULL_CCW},
        {D3DRS_ALPHABLENDENABLE, 0},
        {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (const Row& r : rows) EXPECT_EQ(Rs(r.state), r.value) << RenderStateName(r.state) << " pass " << pass;
        EXPECT_EQ(Tss(0, D3DTSS_COLOROP), D3DTOP_MODULATE);
        EXPECT_EQ(Tss(1, D3DTSS_COLOROP), D3DTOP_DISABLE);
        for (uint32_t s = 0; s < MAX_TEXTURE_STAGES; ++s) {
            EXPECT_EQ(Tss(s, D3DTSS_TEXCOORDINDEX), s);
            EXPECT_EQ(Tss(s, D3DTSS_TEXTURETRANSFORMFLAGS), D3DTTFF_DISABLE);
        }
        // Change everything, then reset.
        for (const Row& r : rows) device->SetRenderState(r.state, r.value + 5);
        device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
        device->SetTextureStageState(2, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
        PresentParameters pp = Windowed(64, 48);
        ASSERT_EQ(device->Reset(&pp), D3D_OK);
    }
}

TEST_F(GpuNullDeviceTest, TraceNamesStatesAndObjectsAndCopiesDirectVertices) {
    TexturePtr tex;
    ASSERT_EQ(device->CreateTexture(8, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    EXPECT_EQ(tex->GetLevelCount(), 4u); // 8x4, 4x2, 2x1, 1x1
    device->ClearTrace();
    const float tri[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    device->BeginScene();
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTexture(0, tex);
    device->SetTexture(1, nullptr);
    device->SetVertexShader(D3DFVF_XYZ);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, 12);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00FF0000, 1.0f, 0);
    device->EndScene();
    const std::vector<std::string> expected = {
        "BeginScene()",
        "SetRenderState(ZFUNC,2)",
        "SetTextureStageState(0,COLOROP,2)",
        "SetTexture(0," + NullDevice::NameOf(tex.get()) + ")",
        "SetTexture(1,null)",
        "SetVertexShader(0x2)",
        "DrawPrimitiveUP(TRIANGLELIST,1,12)",
        "Clear(0,0x3,0x00ff0000,1,0)",
        "EndScene()",
    };
    EXPECT_EQ(device->Trace(), expected);
    EXPECT_EQ(NullDevice::NameOf(tex.get()).rfind("tex#", 0), 0u);
    const NullCall& draw = device->Calls()[6];
    ASSERT_EQ(draw.vertices.size(), sizeof tri);
    EXPECT_EQ(std::memcmp(draw.vertices.data(), tri, sizeof tri), 0);
    EXPECT_EQ(device->BoundTexture(0), tex);
}

TEST_F(GpuNullDeviceTest, DrawsOutsideASceneOrPastTheirBuffersFail) {
    const float tri[9] = {};
    device->SetVertexShader(D3DFVF_XYZ);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, tri, 12), D3DERR_INVALIDCALL);
    VertexBufferPtr vb;
    IndexBufferPtr ib;
    ASSERT_EQ(device->CreateVertexBuffer(3 * 40, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED, &vb), D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(3 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib), D3D_OK);
    device->BeginScene();
    device->SetStreamSource(0, vb, 40);
    device->SetIndices(ib, 0);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3D_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 2), D3DERR_INVALIDCALL); // 6 indices
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 1, 3, 0, 1), D3DERR_INVALIDCALL); // vertex 3
    device->EndScene();
    void* p = nullptr;
    EXPECT_EQ(vb->Lock(40, 0, &p, 0), D3D_OK);            // size 0: to the end
    EXPECT_EQ(vb->Lock(0, 0, &p, 0), D3DERR_INVALIDCALL); // already locked
    EXPECT_EQ(vb->Unlock(), D3D_OK);
    EXPECT_EQ(vb->Lock(100, 40, &p, 0), D3DERR_INVALIDCALL); // past the end
}

// A primitive count whose vertex count does not fit 32 bits must not wrap round into a small one
// that passes the buffer checks.
TEST_F(GpuNullDeviceTest, PrimitiveCountsThatWrapRoundAreRefused) {
    VertexBufferPtr vb;
    ASSERT_EQ(device->CreateVertexBuffer(3 * 12, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, D3DPOOL_MANAGED, &vb), D3D_OK);
    const float tri[9] = {};
    device->SetVertexShader(D3DFVF_XYZ);
    device->BeginScene();
    device->SetStreamSource(0, vb, 12);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3D_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 0x55555556u), D3DERR_INVALIDCALL);  // 3n = 2 mod 2^32
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 0xFFFFFFFFu), D3DERR_INVALIDCALL); // n + 2 = 1
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 0xFFFFFFFFu, tri, 12), D3DERR_INVALIDCALL);
    device->EndScene();
}

// The whole lost-device path: lost, then not reset, a failing reset, a refused reset while a
// render target lives, and a good reset.
TEST_F(GpuNullDeviceTest, LostDeviceIsResetOnlyWhenAllowedAndTargetsAreGone) {
    PresentParameters pp = Windowed(64, 48);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    device->DeclareLost();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Reset(&pp), D3DERR_DEVICELOST);

    device->DeclareNotReset();
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    device->FailNext("Reset", D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device->Reset(&pp), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);

    SurfacePtr target;
    ASSERT_EQ(device->CreateRenderTarget(64, 48, D3DFMT_X8R8G8B8, 0, false, &target), D3D_OK);
    EXPECT_EQ(device->Reset(&pp), D3DERR_INVALIDCALL);
    target.reset();
    pp.BackBufferWidth = 32;
    pp.BackBufferHeight = 16;
    EXPECT_EQ(device->Reset(&pp), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    SurfacePtr bb;
    SurfaceDesc desc;
    device->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &bb);
    bb->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 32u);
    EXPECT_EQ(desc.Height, 16u);
    Viewport vp;
    device->GetViewport(&vp);
    EXPECT_EQ(vp.Width, 32u);
    EXPECT_EQ(vp.Height, 16u);
}

TEST_F(GpuNullDeviceTest, ScriptedFailuresHitOnlyTheNamedCallAndQueue) {
    device->FailNext("CreateRenderTarget");
    device->FailNext("CreateRenderTarget", D3DERR_OUTOFVIDEOMEMORY);
    SurfacePtr s;
    TexturePtr t;
    EXPECT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    EXPECT_EQ(device->CreateRenderTarget(8, 8, D3DFMT_X8R8G8B8, 0, true, &s), D3DERR_INVALIDCALL);
    EXPECT_FALSE(s);
    EXPECT_EQ(device->CreateRenderTarget(8, 8, D3DFMT_X8R8G8B8, 0, true, &s), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device->CreateRenderTarget(8, 8, D3DFMT_X8R8G8B8, 0, true, &s), D3D_OK);
    EXPECT_TRUE(s);
}

// A new render target brings a full viewport; a clear then touches only the viewport set after it.
TEST_F(GpuNullDeviceTest, SetRenderTargetResetsViewportAndClearStaysInsideIt) {
    SurfacePtr target, oldTarget, oldDepth;
    device->GetRenderTarget(&oldTarget);
    device->GetDepthStencilSurface(&oldDepth);
    ASSERT_EQ(device->CreateRenderTarget(16, 8, D3DFMT_X8R8G8B8, 0, true, &target), D3D_OK);
    Viewport band{0, 2, 64, 10, 0, 1};
    ASSERT_EQ(device->SetViewport(&band), D3D_OK);
    ASSERT_EQ(device->SetRenderTarget(target, oldDepth), D3D_OK);
    Viewport vp;
    device->GetViewport(&vp);
    EXPECT_EQ(vp.X, 0u);
    EXPECT_EQ(vp.Y, 0u);
    EXPECT_EQ(vp.Width, 16u);
    EXPECT_EQ(vp.Height, 8u);
    Viewport inner{4, 2, 8, 4, 0, 1};
    ASSERT_EQ(device->SetViewport(&inner), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF204060, 1.0f, 0);
    EXPECT_EQ(Pixel(target.get(), 4, 2), 0xFF204060u);
    EXPECT_EQ(Pixel(target.get(), 11, 5), 0xFF204060u);
    EXPECT_EQ(Pixel(target.get(), 3, 2), 0xFF000000u);
    EXPECT_EQ(Pixel(target.get(), 12, 5), 0xFF000000u);
    EXPECT_EQ(Pixel(target.get(), 4, 6), 0xFF000000u);
    Viewport tooBig{10, 0, 8, 4, 0, 1};
    EXPECT_EQ(device->SetViewport(&tooBig), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->SetRenderTarget(oldTarget, oldDepth), D3D_OK);
    EXPECT_EQ(device->CurrentRenderTarget(), oldTarget);
}

TEST_F(GpuNullDeviceTest, CopyRectsMovesTheWholeSurfaceOrRectanglesAndRefusesBadOnes) {
    SurfacePtr a, b;
    ASSERT_EQ(device->CreateRenderTarget(8, 8, D3DFMT_X8R8G8B8, 0, true, &a), D3D_OK);
    ASSERT_EQ(device->CreateRenderTarget(8, 8, D3DFMT_X8R8G8B8, 0, true, &b), D3D_OK);
    SurfacePtr ds;
    device->GetDepthStencilSurface(&ds);
    device->SetRenderTarget(a, ds);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF112233, 1.0f, 0);
    ASSERT_EQ(device->CopyRects(a.get(), nullptr, 0, b.get(), nullptr), D3D_OK);
    EXPECT_EQ(Pixel(b.get(), 7, 7), 0xFF112233u);
    Viewport corner{0, 0, 2, 2, 0, 1};
    device->SetViewport(&corner);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
    Rect r{0, 0, 2, 2};
    Point p{6, 6};
    ASSERT_EQ(device->CopyRects(a.get(), &r, 1, b.get(), &p), D3D_OK);
    EXPECT_EQ(Pixel(b.get(), 7, 7), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(b.get(), 5, 5), 0xFF112233u);
    Point outside{7, 7};
    EXPECT_EQ(device->CopyRects(a.get(), &r, 1, b.get(), &outside), D3DERR_INVALIDCALL);
    SurfacePtr small;
    device->CreateRenderTarget(4, 4, D3DFMT_X8R8G8B8, 0, true, &small);
    EXPECT_EQ(device->CopyRects(a.get(), nullptr, 0, small.get(), nullptr), D3DERR_INVALIDCALL);
}

TEST(GpuNullDirect3D, ScriptedAdapterAnswersAsWritten) {
    NullAdapterScript script;
    script.modes = {{800, 600, 60, D3DFMT_X8R8G8B8}, {1024, 768, 75, D3DFMT_R5G6B5}};
    script.refusedDisplayFormats = {D3DFMT_R5G6B5};
    script.formatsWithoutDepth = {D3DFMT_X1R5G5B5};
    script.createDeviceResults = {D3DERR_NOTAVAILABLE};
    NullDirect3D d3d(script);
    ASSERT_EQ(d3d.GetAdapterModeCount(0), 2u);
    DisplayMode m;
    ASSERT_EQ(d3d.EnumAdapterModes(0, 1, &m), D3D_OK);
    EXPECT_EQ(m.Width, 1024u);
    EXPECT_EQ(m.Format, D3DFMT_R5G6B5);
    EXPECT_EQ(d3d.EnumAdapterModes(0, 2, &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d.CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false), D3D_OK);
    EXPECT_EQ(d3d.CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, false), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(d3d.CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                    D3DFMT_D24S8),
              D3D_OK);
    EXPECT_EQ(d3d.CheckDeviceFormat(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                    D3DFMT_D24X4S4),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(d3d.CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X1R5G5B5, D3DFMT_X1R5G5B5, D3DFMT_D16),
              D3DERR_NOTAVAILABLE);
    PresentParameters pp = Windowed(0, 0);
    DevicePtr dev;
    EXPECT_EQ(d3d.CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &pp, &dev), D3DERR_NOTAVAILABLE);
    EXPECT_FALSE(dev);
    ASSERT_EQ(d3d.CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &pp, &dev), D3D_OK);
    // A windowed device without a size takes the window's.
    EXPECT_EQ(pp.BackBufferWidth, 800u);
    EXPECT_EQ(pp.BackBufferHeight, 600u);
    Caps caps;
    dev->GetDeviceCaps(&caps);
    EXPECT_EQ(caps.MaxSimultaneousTextures, 4u);
}

// A back buffer the device cannot make means no device, not a device without a back buffer.
TEST(GpuNullDirect3D, ABackBufferTooLargeToMakeGivesNoDevice) {
    NullDirect3D d3d;
    PresentParameters pp = Windowed(MAX_SURFACE_SIDE + 1, 600);
    DevicePtr dev;
    EXPECT_EQ(d3d.CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &pp, &dev), D3DERR_NOTAVAILABLE);
    EXPECT_FALSE(dev);
    EXPECT_FALSE(d3d.LastDevice());
}

TEST(GpuFactory, InstalledFactoryIsUsedAndOnlyForTheRightVersion) {
    auto null = std::make_shared<NullDirect3D>();
    SetDirect3DFactory([null](uint32_t) { return null; });
    EXPECT_EQ(Direct3DCreate(D3D_SDK_VERSION), null);
    EXPECT_EQ(Direct3DCreate(D3D_SDK_VERSION - 1), nullptr);
    SetDirect3DFactory(nullptr);
}

TEST(GpuDisplayFormat, SdlFormatsMapByStorage) {
    EXPECT_EQ(DisplayFormatFromSdl(SDL_PIXELFORMAT_RGB888), D3DFMT_X8R8G8B8); // 24 bits in 32
    EXPECT_EQ(DisplayFormatFromSdl(SDL_PIXELFORMAT_ARGB8888), D3DFMT_X8R8G8B8);
    EXPECT_EQ(DisplayFormatFromSdl(SDL_PIXELFORMAT_RGB24), D3DFMT_R8G8B8);
    EXPECT_EQ(DisplayFormatFromSdl(SDL_PIXELFORMAT_RGB565), D3DFMT_R5G6B5);
    EXPECT_EQ(DisplayFormatFromSdl(SDL_PIXELFORMAT_RGB555), D3DFMT_X1R5G5B5);
    EXPECT_EQ(DisplayFormatFromSdl(SDL_PIXELFORMAT_INDEX8), D3DFMT_UNKNOWN);
}

TEST(GpuPixelFormat, ColoursSurviveEveryLayoutToTheirPrecision) {
    struct Row {
        uint32_t format, in, out;
    };
    const Row rows[] = {
        {D3DFMT_A8R8G8B8, 0x80FF4010u, 0x80FF4010u}, {D3DFMT_X8R8G8B8, 0x80FF4010u, 0xFFFF4010u},
        {D3DFMT_R5G6B5, 0x00FF8000u, 0xFFFF8200u},   {D3DFMT_X1R5G5B5, 0x00FFFFFFu, 0xFFFFFFFFu},
        {D3DFMT_A1R5G5B5, 0x7FFF0000u, 0x00FF0000u}, {D3DFMT_A4R4G4B4, 0x8844CC11u, 0x8844CC11u},
    };
    for (const Row& r : rows) {
        uint8_t buf[4] = {};
        WritePixelARGB(r.format, buf, r.in);
        EXPECT_EQ(ReadPixelARGB(r.format, buf), r.out) << r.format;
    }
}

// ---- projections ----

void Transform(const Matrix& m, const float in[4], float out[4]) {
    for (int c = 0; c < 4; ++c) {
        out[c] = 0;
        for (int r = 0; r < 4; ++r) out[c] += in[r] * m.m[r * 4 + c];
    }
}

TEST(GpuProjection, PointsLandWhereTheConventionPutsThem) {
    Matrix ortho, persp;
    MatrixOrthoOffCenterLH(&ortho, 0, 800, 600, 0, -1, 1); // the 2-D overlay
    MatrixPerspectiveFovRH(&persp, 3.14159265f / 2, 2.0f, 1.0f, 3.0f);
    struct Row {
        const Matrix* m;
        float in[4];
        float ndc[3]; // after the divide
    };
    const Row rows[] = {
        {&ortho, {0, 0, 0, 1}, {-1, 1, 0.5f}},  // top left, 2-D depth 0 at 0.5
        {&ortho, {800, 600, 1, 1}, {1, -1, 1}}, // bottom right, far
        {&ortho, {400, 300, -1, 1}, {0, 0, 0}}, // centre, near
        {&persp, {0, 0, -1, 1}, {0, 0, 0}},     // near plane -> depth 0
        {&persp, {0, 0, -3, 1}, {0, 0, 1}},     // far plane -> depth 1
        {&persp, {2, 1, -1, 1}, {1, 1, 0}},     // xs = 1 / aspect at 90 degrees
    };
    for (const Row& r : rows) {
        float o[4];
        Transform(*r.m, r.in, o);
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(o[i] / o[3], r.ndc[i], 1e-5) << i;
    }
}

// ---- texture utilities on the null device ----

struct Mapping {
    uint32_t width, height;
    bool mismatch = false;
};

void CheckTruncation(float out[4], float u, float v, uint32_t x, uint32_t y, void* data) {
    auto* m = static_cast<Mapping*>(data);
    if (static_cast<uint32_t>(m->width * u - 0.5f) != x || static_cast<uint32_t>(m->height * v - 0.5f) != y)
        m->mismatch = true;
    out[0] = out[1] = out[2] = out[3] = 0;
}

TEST_F(GpuNullDeviceTest, FillTextureTexelCentresTruncateBackToTheirTexel) {
    for (uint32_t side : {1u, 3u, 5u, 7u, 100u, 333u, 512u}) {
        TexturePtr t;
        ASSERT_EQ(device->CreateTexture(side, side, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
        Mapping m{side, side};
        ASSERT_EQ(FillTexture(t.get(), CheckTruncation, &m), D3D_OK);
        EXPECT_FALSE(m.mismatch) << side;
    }
}

void Quadrants(float out[4], float, float, uint32_t x, uint32_t y, void*) {
    // 4x4 level 0: left half red, right half blue, bottom half with alpha 0.
    out[0] = x < 2 ? 1.0f : 0.0f;
    out[1] = 0.0f;
    out[2] = x < 2 ? 0.0f : 1.0f;
    out[3] = y < 2 ? 1.0f : 0.0f;
}

TEST_F(GpuNullDeviceTest, FilterTextureBoxFiltersEveryLowerLevel) {
    TexturePtr t;
    ASSERT_EQ(CreateTexture(device.get(), 4, 4, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &t), D3D_OK);
    ASSERT_EQ(t->GetLevelCount(), 3u);
    ASSERT_EQ(FillTexture(t.get(), Quadrants, nullptr), D3D_OK);
    ASSERT_EQ(FilterTexture(t.get(), 0, D3DX_FILTER_BOX | D3DX_FILTER_DITHER), D3D_OK);
    SurfacePtr level1, level2;
    t->GetSurfaceLevel(1, &level1);
    t->GetSurfaceLevel(2, &level2);
    EXPECT_EQ(Pixel(level1.get(), 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(level1.get(), 1, 1), 0x000000FFu);
    uint32_t mid = Pixel(level2.get(), 0, 0); // the mean of all four
    EXPECT_NEAR(static_cast<int>(mid >> 24), 128, 1);
    EXPECT_NEAR(static_cast<int>((mid >> 16) & 0xFF), 128, 1);
    EXPECT_NEAR(static_cast<int>(mid & 0xFF), 128, 1);
}

TEST_F(GpuNullDeviceTest, LoadSurfaceFromSurfaceConvertsFormats) {
    TexturePtr t;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &t), D3D_OK);
    ASSERT_EQ(FillTexture(t.get(), Quadrants, nullptr), D3D_OK); // alpha is dropped: X8
    SurfacePtr level0, copy;
    t->GetSurfaceLevel(0, &level0);
    ASSERT_EQ(device->CreateImageSurface(4, 4, D3DFMT_A8R8G8B8, &copy), D3D_OK);
    ASSERT_EQ(LoadSurfaceFromSurface(copy.get(), nullptr, level0.get(), nullptr, D3DX_DEFAULT, 0), D3D_OK);
    EXPECT_EQ(Pixel(copy.get(), 0, 3), 0xFFFF0000u);
    EXPECT_EQ(Pixel(copy.get(), 3, 0), 0xFF0000FFu);
}

TEST_F(GpuNullDeviceTest, TextureFromFileKeepsAlphaKindResizesAndFillsTheChain) {
    testsupport::TempDir dir;
    plat::Image img;
    img.Allocate(64, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = img.Pixel(x, y);
            p[0] = 200, p[1] = 100, p[2] = 50, p[3] = 128;
        }
    std::string png = (dir.Path() / "a.png").string(), jpg = (dir.Path() / "a.jpg").string();
    ASSERT_TRUE(plat::SavePng(png, img, true));
    ASSERT_TRUE(plat::SaveJpeg(jpg, img, 95));

    ImageFileInfo info;
    ASSERT_EQ(GetImageInfoFromFile(png.c_str(), &info), D3D_OK);
    EXPECT_EQ(info.Width, 64u);
    EXPECT_EQ(info.Format, D3DFMT_A8R8G8B8);

    TexturePtr t;
    ASSERT_EQ(CreateTextureFromFileEx(device.get(), png.c_str(), 16, 8, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                      D3DPOOL_MANAGED, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, nullptr, &t),
              D3D_OK);
    SurfaceDesc d;
    t->GetLevelDesc(0, &d);
    EXPECT_EQ(d.Width, 16u);
    EXPECT_EQ(d.Height, 8u);
    EXPECT_EQ(d.Format, D3DFMT_A8R8G8B8);
    ASSERT_EQ(t->GetLevelCount(), 5u);
    SurfacePtr last;
    t->GetSurfaceLevel(4, &last);
    EXPECT_EQ(Pixel(last.get(), 0, 0), 0x80C86432u);

    ASSERT_EQ(CreateTextureFromFileEx(device.get(), jpg.c_str(), 0, 0, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                      D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, nullptr, &t),
              D3D_OK);
    t->GetLevelDesc(0, &d);
    EXPECT_EQ(d.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d.Width, 64u);
}

TEST_F(GpuNullDeviceTest, TextureFromBadFileFailsWithoutATexture) {
    testsupport::TempDir dir;
    std::string bad = (dir.Path() / "bad.png").string();
    {
        std::ofstream f(bad, std::ios::binary);
        f << "\x89PNG\r\n\x1a\n truncated";
    }
    for (const std::string& file : {bad, (dir.Path() / "missing.png").string()}) {
        TexturePtr t;
        std::string why;
        EXPECT_NE(CreateTextureFromFileEx(device.get(), file.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                          D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, nullptr, &t, &why),
                  D3D_OK)
            << file;
        EXPECT_FALSE(t);
        EXPECT_FALSE(why.empty());
    }
}

TEST_F(GpuNullDeviceTest, SavedSurfaceReadsBackAsTheSamePicture) {
    testsupport::TempDir dir;
    SurfacePtr capture, ds;
    ASSERT_EQ(device->CreateRenderTarget(8, 4, D3DFMT_X8R8G8B8, 0, true, &capture), D3D_OK);
    device->GetDepthStencilSurface(&ds);
    device->SetRenderTarget(capture, ds);
    Viewport top{0, 0, 8, 1, 0, 1};
    device->SetViewport(&top);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF30A0F0, 1.0f, 0);
    std::string file = (dir.Path() / "shot.lev.bmp").string();
    ASSERT_EQ(SaveSurfaceToFile(file.c_str(), D3DXIFF_BMP, capture.get(), nullptr), D3D_OK);
    plat::Image back;
    ASSERT_TRUE(plat::LoadImage(file, back));
    ASSERT_EQ(back.width, 8);
    ASSERT_EQ(back.height, 4);
    EXPECT_EQ(back.Pixel(5, 0)[0], 0x30); // the top row is the cleared one
    EXPECT_EQ(back.Pixel(5, 0)[2], 0xF0);
    EXPECT_EQ(back.Pixel(5, 3)[0], 0x00);

    // A surface that cannot be read, and a folder that does not exist, are failures.
    SurfacePtr bb;
    device->GetBackBuffer(0, 0, &bb);
    EXPECT_NE(SaveSurfaceToFile(file.c_str(), D3DXIFF_BMP, bb.get(), nullptr), D3D_OK);
    std::string nowhere = (dir.Path() / "no" / "such" / "x.bmp").string();
    EXPECT_NE(SaveSurfaceToFile(nowhere.c_str(), D3DXIFF_BMP, capture.get(), nullptr), D3D_OK);
}

// Objects outlive the device safely.
TEST(GpuNullLifetime, ObjectsOutliveTheirDevice) {
    NullDirect3D d3d;
    PresentParameters pp = Windowed(8, 8);
    DevicePtr dev;
    ASSERT_EQ(d3d.CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, &pp, &dev), D3D_OK);
    TexturePtr t;
    dev->CreateTexture(4, 4, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t);
    dev->SetTexture(0, t);
    SurfacePtr level;
    t->GetSurfaceLevel(0, &level);
    dev.reset();
    EXPECT_FALSE(d3d.LastDevice());
    t.reset();
    SurfaceDesc d;
    EXPECT_EQ(level->GetDesc(&d), D3D_OK); // the level keeps its texture
    EXPECT_EQ(d.Width, 4u);
}

} // namespace
